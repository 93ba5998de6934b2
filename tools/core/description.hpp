// Descriptions: the JSON files `gattdb build` reads and `gattdb dump --json` writes.
#pragma once

#include <string>
#include <string_view>

#include "database.hpp"

namespace gattdb::tool {

// Reads and checks a description. Throws input_error naming the JSON path of the fault (for
// example services[1].characteristics[0].uuid), or its line and column when the text is not JSON;
// a description it accepts always builds.
database read_description(std::string_view json_text);

// Writes db as a description that reads back as the same database, indented, ending in a newline.
std::string write_description(const database &db);

}  // namespace gattdb::tool
