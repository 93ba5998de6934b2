// SPDX-License-Identifier: MIT
#include "core/model/properties.hpp"

#include <algorithm>

namespace gattdb::tool {
namespace {

std::optional<std::uint8_t> bit_where(std::string_view property::*column, std::string_view text) {
    const auto found = std::find_if(PROPERTIES.begin(), PROPERTIES.end(),
                                    [&](const property &p) { return p.*column == text; });
    if (found == PROPERTIES.end()) return std::nullopt;
    return found->bit;
}

}  // namespace

std::optional<std::uint8_t> property_bit(std::string_view name) { return bit_where(&property::name, name); }

std::optional<std::uint8_t> property_bit_of_symbol(std::string_view symbol) {
    return bit_where(&property::gatt_symbol, symbol);
}

std::vector<std::string> property_names(std::uint8_t properties) {
    std::vector<std::string> names;
    for (const property &p : PROPERTIES) {
        if ((properties & p.bit) != 0) names.emplace_back(p.name);
    }
    return names;
}

}  // namespace gattdb::tool
