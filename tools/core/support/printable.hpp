// SPDX-License-Identifier: MIT
// Whether a value reads as text, for the dumps and the descriptions the tool writes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace gattdb::tool {

// Values shown (and written into descriptions) as text: two or more printable ASCII characters.
// Single bytes such as a battery level of 0x64 read better as hex than as "d".
inline bool is_printable_text(const std::vector<std::uint8_t> &value) {
    return value.size() >= 2 &&
           std::all_of(value.begin(), value.end(), [](std::uint8_t b) { return b >= 0x20 && b < 0x7F; });
}

}  // namespace gattdb::tool
