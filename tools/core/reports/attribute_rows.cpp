// SPDX-License-Identifier: MIT
#include "core/reports/attribute_rows.hpp"

#include "core/image/layout.hpp"
#include "core/model/labels.hpp"
#include "core/model/uuid.hpp"
#include "core/support/hex.hpp"
#include "core/support/printable.hpp"

namespace gattdb::tool {
namespace {

std::string value_details(const std::vector<std::uint8_t> &value, bool known = true) {
    if (!known && value.empty()) return "(not read)";
    if (value.empty()) return "(empty)";
    std::string details = hex_text(value, " ");
    if (is_printable_text(value)) details += "  \"" + std::string(value.begin(), value.end()) + "\"";
    return known ? details : details + "  (only its start was read)";
}

// Properties and value handle of a declaration, the value as hex and text, the range an include
// names, a served descriptor's value; nothing for the others.
std::string details(const database &db, const attribute &a) {
    if (a.include) return handle_range(a.include->service, a.include->last);
    if (a.served) return value_details(a.served->value, a.served->value_known);
    if (!a.characteristic) return "";
    const characteristic &c = db.services[a.service].characteristics[*a.characteristic];
    switch (a.kind) {
    case attribute_kind::declaration:
        return properties_label(c.properties) + "; value handle " + std::to_string(a.value_handle);
    case attribute_kind::value: return value_details(c.value, c.served.value_known);
    default: return "";
    }
}

}  // namespace

std::vector<attribute_row> attribute_rows(const database &db) {
    std::vector<attribute_row> rows;
    std::size_t offset = 0;
    for (const attribute &a : attributes_of(db)) {
        const std::size_t size = layout::entry_size(db, a);
        const bool secondary = a.kind == attribute_kind::service && db.services[a.service].served.secondary;
        rows.push_back({a.handle, secondary ? "secondary" : kind_name(a.kind), a.uuid, details(db, a), offset,
                        size, a.kind, a.service, a.characteristic});
        offset += size;
    }
    return rows;
}

std::vector<service_row> service_rows(const database &db) {
    const std::vector<service_handles> handles = assign_handles(db);
    std::vector<service_row> rows;
    for (std::size_t i = 0; i < db.services.size(); ++i) {
        const service &s = db.services[i];
        service_row row{handles[i].declaration, handles[i].last, s.uuid, {}, layout::encoded_size(s)};
        for (const characteristic &c : s.characteristics) row.characteristics.push_back(display_uuid(c.uuid));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string usage_text(const database &db) {
    std::size_t bytes = 0;
    for (const service &s : db.services) bytes += layout::encoded_size(s);
    return std::to_string(handles_used(db)) + " of " + std::to_string(MAX_HANDLE) + " handles, " +
           std::to_string(bytes) + " bytes";
}

}  // namespace gattdb::tool
