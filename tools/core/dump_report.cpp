#include "dump_report.hpp"

#include <algorithm>

#include "hex.hpp"
#include "image_layout.hpp"
#include "naming.hpp"
#include "printable.hpp"
#include "uuid.hpp"

namespace gattdb::tool {
namespace {

// The client characteristic configuration descriptor's UUID; the image implies it.
constexpr const char *CCCD_UUID = "2902";

struct attribute_row {
    unsigned handle;
    const char *type;
    std::string uuid;
    std::string details;
};

std::string value_details(const std::vector<std::uint8_t> &value) {
    if (value.empty()) return "(empty)";
    std::string details = hex_text(value, " ");
    if (is_printable_text(value)) details += "  \"" + std::string(value.begin(), value.end()) + "\"";
    return details;
}

std::vector<attribute_row> attribute_rows(const database &db) {
    std::vector<attribute_row> rows;
    const std::vector<service_handles> handles = assign_handles(db);
    for (std::size_t i = 0; i < db.services.size(); ++i) {
        const service &s = db.services[i];
        rows.push_back({handles[i].declaration, "service", uuid_label(s.uuid), ""});
        for (std::size_t j = 0; j < s.characteristics.size(); ++j) {
            const characteristic &c = s.characteristics[j];
            const characteristic_handles &h = handles[i].characteristics[j];
            rows.push_back({h.declaration, "declaration", uuid_label(c.uuid),
                            properties_label(c.properties) + "; value handle " + std::to_string(h.value)});
            rows.push_back({h.value, "value", uuid_label(c.uuid), value_details(c.value)});
            if (c.cccd) rows.push_back({h.descriptor, "descriptor", uuid_label(CCCD_UUID), ""});
        }
    }
    return rows;
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

std::string attribute_table(const database &db) {
    const std::vector<attribute_row> rows = attribute_rows(db);
    std::size_t uuid_width = 0;
    for (const attribute_row &row : rows) uuid_width = std::max(uuid_width, row.uuid.size());
    std::string table = table_line("handle", "attribute", "uuid", uuid_width, "details");
    for (const attribute_row &row : rows) {
        table += table_line(std::to_string(row.handle), row.type, row.uuid, uuid_width, row.details);
    }
    return table;
}

std::string summary(const database &db) {
    const std::vector<service_handles> handles = assign_handles(db);
    std::string text;
    std::size_t total_bytes = 0;
    for (std::size_t i = 0; i < db.services.size(); ++i) {
        const service &s = db.services[i];
        const std::size_t bytes = layout::encoded_size(s);
        total_bytes += bytes;
        std::string characteristics;
        for (const characteristic &c : s.characteristics) {
            characteristics += (characteristics.empty() ? "" : ", ") + display_uuid(c.uuid);
        }
        text += handle_range(handles[i].declaration, handles[i].last) + "  " + uuid_label(s.uuid) + ": " +
                count_of(s.characteristics.size(), "characteristic") +
                (characteristics.empty() ? "" : " (" + characteristics + ")") + ", " + std::to_string(bytes) +
                " bytes\n";
    }
    const unsigned used = handles.empty() ? 0 : handles.back().last;
    text += "total: " + std::to_string(used) + " of " + std::to_string(MAX_HANDLE) + " handles, " +
            std::to_string(total_bytes) + " bytes\n";
    return text;
}

}  // namespace gattdb::tool
