// SPDX-License-Identifier: MIT
// Reads descriptions: the JSON files people write for `gattdb build`.
#pragma once

#include <string>
#include <string_view>

#include "core/model/database.hpp"

namespace gattdb::tool {

// Reads and checks a description. Throws input_error naming the JSON path of the fault (for
// example services[1].characteristics[0].uuid), or its line and column when the text is not JSON;
// a description it accepts always builds.
database read_description(std::string_view json_text);

}  // namespace gattdb::tool
