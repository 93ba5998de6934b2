// SPDX-License-Identifier: MIT
// Hex text: values in descriptions, images in the default output of `build`.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace gattdb::tool {

bool is_hex_digit(char c);

// Two upper-case digits a byte, separated by separator.
std::string hex_text(std::span<const std::uint8_t> bytes, std::string_view separator);

// Reads an even number of hex digits, either case, nothing else; nullopt otherwise.
std::optional<std::vector<std::uint8_t>> parse_hex(std::string_view digits);

// Reads an image written as hex text: groups of an even number of digits separated by white
// space (so `build`'s "00 02 0D 18" as well as "00020D18"). Throws input_error naming the line
// and column of the first fault.
std::vector<std::uint8_t> read_hex_image(std::string_view text);

}  // namespace gattdb::tool
