// SPDX-License-Identifier: MIT
// Characteristic property bits: the one table of them, with the names descriptions and dumps give
// them and the symbols .gatt files write.
#pragma once

#include <array>
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

struct property {
    std::uint8_t bit;
    std::string_view name;         // in descriptions and dumps
    std::string_view gatt_symbol;  // in .gatt files
};

// Every bit has a name, so any property byte can be written as names; lowest bit first.
inline constexpr std::array<property, 8> PROPERTIES = {{
    {PROPERTY_BROADCAST, "broadcast", "BROADCAST"},
    {0x02, "read", "READ"},
    {0x04, "write-without-response", "WRITE_WITHOUT_RESPONSE"},
    {0x08, "write", "WRITE"},
    {PROPERTY_NOTIFY, "notify", "NOTIFY"},
    {PROPERTY_INDICATE, "indicate", "INDICATE"},
    {0x40, "authenticated-signed-writes", "AUTHENTICATED_SIGNED_WRITE"},
    {PROPERTY_EXTENDED_PROPERTIES, "extended-properties", "EXTENDED_PROPERTIES"},
}};

// The bit of the property a description names, or none.
std::optional<std::uint8_t> property_bit(std::string_view name);

// The bit of the property a .gatt file names, or none.
std::optional<std::uint8_t> property_bit_of_symbol(std::string_view symbol);

// The names of the bits set, lowest bit first.
std::vector<std::string> property_names(std::uint8_t properties);

// A characteristic that notifies or indicates needs the client characteristic configuration
// descriptor, so a description gives it one unless it says otherwise.
constexpr bool needs_cccd(std::uint8_t properties) {
    return (properties & (PROPERTY_NOTIFY | PROPERTY_INDICATE)) != 0;
}

}  // namespace gattdb::tool
