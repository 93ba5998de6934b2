// SPDX-License-Identifier: MIT
// The views `gattdb dump -f` gives of a database: one row each, so that a new view is a new
// function and a new row.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/model/database.hpp"

namespace gattdb::tool {

struct dump_view {
    std::string_view name;  // as -f takes it
    std::string_view help;
    // source names the input ("heart-rate.json", "standard input") for views that show it.
    std::string (*render)(const database &db, const std::string &source);
};

std::span<const dump_view> dump_views();

// The view of that name, or null.
const dump_view *dump_view_named(std::string_view name);

// "table|summary|json|markdown|html", for usage texts.
std::string dump_view_names();

}  // namespace gattdb::tool
