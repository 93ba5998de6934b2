// SPDX-License-Identifier: MIT
// Characteristic property bits and the names descriptions and dumps give them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gattdb::tool {

inline constexpr std::uint8_t PROPERTY_BROADCAST = 0x01;
inline constexpr std::uint8_t PROPERTY_READ = 0x02;
inline constexpr std::uint8_t PROPERTY_NOTIFY = 0x10;
inline constexpr std::uint8_t PROPERTY_INDICATE = 0x20;
inline constexpr std::uint8_t PROPERTY_EXTENDED_PROPERTIES = 0x80;

std::optional<std::uint8_t> property_bit(std::string_view name);

// The names of the bits set, lowest bit first.
std::vector<std::string> property_names(std::uint8_t properties);

// A characteristic that notifies or indicates needs the client characteristic configuration
// descriptor, so a description gives it one unless it says otherwise.
constexpr bool needs_cccd(std::uint8_t properties) {
    return (properties & (PROPERTY_NOTIFY | PROPERTY_INDICATE)) != 0;
}

}  // namespace gattdb::tool
