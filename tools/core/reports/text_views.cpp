// SPDX-License-Identifier: MIT
#include "core/reports/text_views.hpp"

#include <algorithm>

#include "core/model/labels.hpp"
#include "core/reports/attribute_rows.hpp"

namespace gattdb::tool {
namespace {

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
