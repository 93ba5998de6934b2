// SPDX-License-Identifier: MIT
// Test support for the library's tests: bytes from hex text, and the golden images as hex text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gattdb_test {

using bytes = std::vector<std::uint8_t>;

// "00 02 0D 18" or "00020D18" to bytes; "x12" repeats the next byte twelve times ("x12 00").
bytes from_hex(const std::string &text);

// The golden image of an example, as the hex text gattdb build writes (tests/tool/golden/NAME.hex).
std::string golden_hex(const std::string &example);

}  // namespace gattdb_test
