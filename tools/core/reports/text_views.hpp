// SPDX-License-Identifier: MIT
// The plain-text views of `gattdb dump`: the attribute table and the summary by service.
#pragma once

#include <string>

#include "core/model/database.hpp"

namespace gattdb::tool {

// One row per attribute: handle, attribute type, UUID with its SIG name, and properties, value
// handle or value (hex, and text where printable).
std::string attribute_table(const database &db);

// One line per service (handle range, characteristics, bytes) and a total line.
std::string summary(const database &db);

}  // namespace gattdb::tool
