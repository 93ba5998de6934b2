// SPDX-License-Identifier: MIT
#include "core/reports/dump_views.hpp"

#include <algorithm>
#include <array>

#include "core/reports/html_view.hpp"
#include "core/reports/markdown_view.hpp"
#include "core/reports/text_views.hpp"
#include "core/support/named_rows.hpp"
#include "core/writers/description_writer.hpp"

namespace gattdb::tool {
namespace {

constexpr std::array<dump_view, 5> VIEWS = {{
    {"table", "one row per attribute (the default)",
     [](const database &db, const std::string &) { return attribute_table(db); }},
    {"summary", "one line per service and a total",
     [](const database &db, const std::string &) { return summary(db); }},
    {"json", "a description that builds the same image",
     [](const database &db, const std::string &) { return write_description(db); }},
    {"markdown", "the attributes and services as Markdown tables",
     [](const database &db, const std::string &) { return markdown_view(db); }},
    {"html", "a self-contained page with a byte map and the check findings", html_view},
}};

}  // namespace

std::span<const dump_view> dump_views() { return VIEWS; }

const dump_view *dump_view_named(std::string_view name) { return row_named<dump_view>(VIEWS, name); }

std::string dump_view_names() {
    std::string names;
    for (const dump_view &view : VIEWS) {
        if (!names.empty()) names += '|';
        names += view.name;
    }
    return names;
}

}  // namespace gattdb::tool
