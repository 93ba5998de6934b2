// SPDX-License-Identifier: MIT
// Writes descriptions: the JSON that `gattdb dump -f json` and `gattdb import` give.
#pragma once

#include <string>

#include "core/model/database.hpp"

namespace gattdb::tool {

// Writes db as a description that reads back as the same database, indented, ending in a newline;
// with_names keeps the names the description read gave its items (what the web page saves).
std::string write_description(const database &db, bool with_names = false);

}  // namespace gattdb::tool
