// SPDX-License-Identifier: MIT
#include "core/reports/attribute_rows.hpp"

#include <algorithm>

#include "core/image/layout.hpp"
#include "core/model/labels.hpp"
#include "core/model/uuid.hpp"
#include "core/support/hex.hpp"
#include "core/support/printable.hpp"

namespace gattdb::tool {
namespace {

// The client characteristic configuration descriptor's UUID; the image implies it.
constexpr const char *CCCD_UUID = "2902";

std::string value_details(const std::vector<std::uint8_t> &value) {
    if (value.empty()) return "(empty)";
    std::string details = hex_text(value, " ");
    if (is_printable_text(value)) details += "  \"" + std::string(value.begin(), value.end()) + "\"";
    return details;
}

std::string padded(std::string text, std::size_t width) {
    text.resize(std::max(width, text.size()), ' ');
    return text;
}

std::string right_aligned(const std::string &text, std::size_t width) {
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

constexpr std::size_t HANDLE_WIDTH = 6;
constexpr std::size_t TYPE_WIDTH = 13;  // "declaration" and two spaces

std::string table_line(const std::string &handle, const std::string &type, const std::string &uuid,
                       std::size_t uuid_width, const std::string &details) {
    std::string line =
        right_aligned(handle, HANDLE_WIDTH) + "  " + padded(type, TYPE_WIDTH) + padded(uuid, uuid_width);
    if (!details.empty()) line += "  " + details;
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line + "\n";
}

}  // namespace

std::vector<attribute_row> attribute_rows(const database &db) {
    std::vector<attribute_row> rows;
    const std::vector<service_handles> handles = assign_handles(db);
    std::size_t offset = 0;
    auto add = [&](unsigned handle, const char *type, const std::string &uuid, std::string details,
                   std::size_t size) {
        rows.push_back({handle, type, uuid, std::move(details), offset, size});
        offset += size;
    };
    for (std::size_t i = 0; i < db.services.size(); ++i) {
        const service &s = db.services[i];
        add(handles[i].declaration, "service", s.uuid, "", layout::service_entry_size(s));
        for (std::size_t j = 0; j < s.characteristics.size(); ++j) {
            const characteristic &c = s.characteristics[j];
            const characteristic_handles &h = handles[i].characteristics[j];
            add(h.declaration, "declaration", c.uuid,
                properties_label(c.properties) + "; value handle " + std::to_string(h.value),
                layout::declaration_entry_size(c));
            add(h.value, "value", c.uuid, value_details(c.value), layout::value_entry_size(c));
            if (c.cccd) add(h.descriptor, "descriptor", CCCD_UUID, "", layout::DESCRIPTOR_ENTRY_SIZE);
        }
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

std::string attribute_table(const database &db) {
    std::vector<attribute_row> rows = attribute_rows(db);
    for (attribute_row &row : rows) row.uuid = uuid_label(row.uuid);
    std::size_t uuid_width = 0;
    for (const attribute_row &row : rows) uuid_width = std::max(uuid_width, row.uuid.size());
    std::string table = table_line("handle", "attribute", "uuid", uuid_width, "details");
    for (const attribute_row &row : rows) {
        table += table_line(std::to_string(row.handle), row.type, row.uuid, uuid_width, row.details);
    }
    return table;
}

std::string usage_text(const database &db) {
    std::size_t bytes = 0;
    for (const service &s : db.services) bytes += layout::encoded_size(s);
    return std::to_string(handles_used(db)) + " of " + std::to_string(MAX_HANDLE) + " handles, " +
           std::to_string(bytes) + " bytes";
}

std::string summary(const database &db) {
    std::string text;
    for (const service_row &row : service_rows(db)) {
        const std::string characteristics = joined(row.characteristics, ", ");
        text += handle_range(row.first_handle, row.last_handle) + "  " + uuid_label(row.uuid) + ": " +
                count_of(row.characteristics.size(), "characteristic") +
                (characteristics.empty() ? "" : " (" + characteristics + ")") + ", " +
                std::to_string(row.bytes) + " bytes\n";
    }
    return text + "total: " + usage_text(db) + "\n";
}

}  // namespace gattdb::tool
