// SPDX-License-Identifier: MIT
// `gattdb dump -f markdown`: the attribute table and the services, as GitHub-flavoured Markdown.
#include "core/reports/markdown_view.hpp"

#include <string_view>

#include "core/model/labels.hpp"
#include "core/model/uuid.hpp"
#include "core/reports/attribute_rows.hpp"

namespace gattdb::tool {
namespace {

// Values are the image's bytes shown as text, so any of them may be Markdown syntax; a backslash
// makes each such character literal, and keeps "|" from ending a table cell.
std::string escaped(std::string_view text) {
    constexpr std::string_view SPECIAL = "\\`*_[]<>|~#!&";
    std::string out;
    for (char c : text) {
        if (SPECIAL.find(c) != std::string_view::npos) out += '\\';
        out += c;
    }
    return out;
}

std::string row(std::initializer_list<std::string> cells) {
    std::string line = "|";
    for (const std::string &cell : cells) line += " " + cell + " |";
    return line + "\n";
}

std::string code(const std::string &uuid) {
    std::string span = "`";
    span += display_uuid(uuid);
    return span + "`";
}

}  // namespace

std::string markdown_view(const database &db) {
    std::string text = "## Attributes\n\n" + row({"Handle", "Attribute", "UUID", "Name", "Details"}) +
                       "|---:|---|---|---|---|\n";
    for (const attribute_row &a : attribute_rows(db)) {
        text += row(
            {std::to_string(a.handle), a.type, code(a.uuid), escaped(uuid_name(a.uuid)), escaped(a.details)});
    }
    text += "\n## Services\n\n" + row({"Handles", "Service", "Name", "Characteristics", "Bytes"}) +
            "|---|---|---|---|---:|\n";
    for (const service_row &s : service_rows(db)) {
        text += row({std::to_string(s.first_handle) + "-" + std::to_string(s.last_handle), code(s.uuid),
                     escaped(uuid_name(s.uuid)), joined(s.characteristics, ", "), std::to_string(s.bytes)});
    }
    return text + "\nTotal: " + usage_text(db) + ".\n";
}

}  // namespace gattdb::tool
