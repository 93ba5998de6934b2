// SPDX-License-Identifier: MIT
// Building the image of a database through the library: the only caller of gattdb.h in the core.
#pragma once

#include <cstdint>
#include <vector>

#include "core/model/database.hpp"

namespace gattdb::tool {

// Builds db's image (as read_description or decode_image give it, so within the limits) through the library's
// C interface. The library keeps one process-wide table, so this clears it before and after; call it from one
// thread at a time. Throws input_error naming the entry the library refused, which read_description's checks
// leave only for lack of memory.
std::vector<std::uint8_t> build_image(const database &db);

}  // namespace gattdb::tool
