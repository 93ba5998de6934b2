// SPDX-License-Identifier: MIT
#include "core/model/properties.hpp"

#include <array>
#include <utility>

namespace gattdb::tool {
namespace {

// Every bit has a name, so any property byte can be written as names.
constexpr std::array<std::pair<std::string_view, std::uint8_t>, 8> PROPERTY_NAMES = {{
    {"broadcast", PROPERTY_BROADCAST},
    {"read", 0x02},
    {"write-without-response", 0x04},
    {"write", 0x08},
    {"notify", PROPERTY_NOTIFY},
    {"indicate", PROPERTY_INDICATE},
    {"authenticated-signed-writes", 0x40},
    {"extended-properties", PROPERTY_EXTENDED_PROPERTIES},
}};

}  // namespace

std::optional<std::uint8_t> property_bit(std::string_view name) {
    for (const auto &[known, bit] : PROPERTY_NAMES) {
        if (known == name) return bit;
    }
    return std::nullopt;
}

std::vector<std::string> property_names(std::uint8_t properties) {
    std::vector<std::string> names;
    for (const auto &[name, bit] : PROPERTY_NAMES) {
        if ((properties & bit) != 0) names.emplace_back(name);
    }
    return names;
}

}  // namespace gattdb::tool
