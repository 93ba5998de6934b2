// SPDX-License-Identifier: MIT
// Test support: images written entry by entry, so tests can make the faulty ones the library
// never writes, and the golden images of the examples.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gattdb::tool::testing {

using bytes = std::vector<std::uint8_t>;

bytes service16(std::uint16_t uuid);
// A characteristic with a 16-bit UUID: declaration, value and, with cccd, descriptor entries.
bytes characteristic16(std::uint8_t properties, std::uint8_t value_handle, std::uint16_t uuid,
                       const bytes &value, bool cccd);
bytes operator+(bytes a, const bytes &b);

// The golden image of an example (examples.hpp), read from its hex file.
bytes golden_image(const std::string &example);

}  // namespace gattdb::tool::testing
