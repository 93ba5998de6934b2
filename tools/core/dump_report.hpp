// What `gattdb dump` prints: one row per attribute, or one line per service.
#pragma once

#include <string>

#include "database.hpp"

namespace gattdb::tool {

// One row per attribute: handle, attribute type, UUID with its SIG name, and properties, value
// handle or value (hex, and text where printable).
std::string attribute_table(const database &db);

// One line per service (handle range, characteristics, bytes) and a total line.
std::string summary(const database &db);

}  // namespace gattdb::tool
