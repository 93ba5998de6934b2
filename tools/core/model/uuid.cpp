// SPDX-License-Identifier: MIT
#include "core/model/uuid.hpp"

#include <algorithm>
#include <array>
#include <vector>

#include "core/support/c_names.hpp"
#include "core/support/hex.hpp"

namespace gattdb::tool {
namespace {

constexpr std::array<std::size_t, 4> DASH_POSITIONS = {8, 13, 18, 23};
constexpr std::size_t DASHED_LENGTH = 36;
// The Bluetooth base UUID 0000xxxx-0000-1000-8000-00805F9B34FB without its 16-bit slot.
constexpr std::string_view BASE_UUID_PREFIX = "0000";
constexpr std::string_view BASE_UUID_SUFFIX = "00001000800000805F9B34FB";
// The image pads a 32-bit UUID to a 16-byte field with zeros in front of it.
constexpr std::size_t PADDED_32_BIT_ZEROS = 12;

bool is_dashed_form(std::string_view text) {
    return text.size() == DASHED_LENGTH && std::all_of(DASH_POSITIONS.begin(), DASH_POSITIONS.end(),
                                                       [&](std::size_t i) { return text[i] == '-'; });
}

}  // namespace

std::optional<std::string> normalise_uuid(std::string_view text) {
    std::string digits;
    if (is_dashed_form(text)) {
        std::copy_if(text.begin(), text.end(), std::back_inserter(digits), [](char c) { return c != '-'; });
    } else {
        digits = text;
    }
    const bool valid_length = digits.size() == 4 || digits.size() == 8 || digits.size() == 32;
    if (!valid_length || !std::all_of(digits.begin(), digits.end(), is_hex_digit)) return std::nullopt;
    return upper_case(digits);
}

std::string display_uuid(const std::string &canonical) {
    if (canonical.size() != 32) return canonical;
    std::string dashed = canonical;
    for (std::size_t position : DASH_POSITIONS) dashed.insert(position, 1, '-');
    return dashed;
}

std::string uuid_from_field(std::span<const std::uint8_t> field) {
    if (field.size() == 16 && std::all_of(field.begin(), field.begin() + PADDED_32_BIT_ZEROS,
                                          [](std::uint8_t b) { return b == 0; })) {
        field = field.subspan(PADDED_32_BIT_ZEROS);
    }
    const std::vector<std::uint8_t> most_significant_first(field.rbegin(), field.rend());
    return hex_text(most_significant_first, "");
}

std::vector<std::uint8_t> uuid_field(const std::string &canonical) {
    const std::vector<std::uint8_t> digits = parse_hex(canonical).value_or(std::vector<std::uint8_t>{});
    std::vector<std::uint8_t> field(digits.rbegin(), digits.rend());
    if (field.size() == 4) field.insert(field.begin(), PADDED_32_BIT_ZEROS, 0);
    return field;
}

std::optional<std::uint16_t> sig_number(const std::string &canonical) {
    std::string_view text = canonical;
    if (text.size() == 32 && text.ends_with(BASE_UUID_SUFFIX)) text.remove_suffix(BASE_UUID_SUFFIX.size());
    if (text.size() == 8 && text.starts_with(BASE_UUID_PREFIX)) text.remove_prefix(BASE_UUID_PREFIX.size());
    if (text.size() != 4) return std::nullopt;
    const std::optional<std::vector<std::uint8_t>> bytes = parse_hex(text);
    if (!bytes) return std::nullopt;
    return static_cast<std::uint16_t>((*bytes)[0] << 8 | (*bytes)[1]);
}

std::string uuid16_text(std::uint16_t number) {
    constexpr char DIGITS[] = "0123456789ABCDEF";
    std::string text;
    for (int shift = 12; shift >= 0; shift -= 4) text += DIGITS[(number >> shift) & 0xF];
    return text;
}

}  // namespace gattdb::tool
