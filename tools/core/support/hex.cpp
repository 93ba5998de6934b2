// SPDX-License-Identifier: MIT
#include "core/support/hex.hpp"

#include <array>
#include <cctype>

#include "core/support/input_error.hpp"

namespace gattdb::tool {
namespace {

constexpr std::string_view DIGITS = "0123456789ABCDEF";

// Each byte's value as a hex digit, or NOT_HEX: a value of 255 bytes is 510 digits, and the page
// reads every value of the description at every keystroke, so a digit is one load, not a call into
// the C library's locale-aware character classes.
constexpr std::uint8_t NOT_HEX = 0xFF;
constexpr std::array<std::uint8_t, 256> DIGIT_VALUES = [] {
    std::array<std::uint8_t, 256> values{};
    values.fill(NOT_HEX);
    for (int i = 0; i < 10; ++i) values['0' + i] = static_cast<std::uint8_t>(i);
    for (int i = 0; i < 6; ++i) values['A' + i] = values['a' + i] = static_cast<std::uint8_t>(10 + i);
    return values;
}();

std::uint8_t digit_value(char c) { return DIGIT_VALUES[static_cast<unsigned char>(c)]; }

bool is_space(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string describe_character(char c) {
    if (std::isprint(static_cast<unsigned char>(c))) return std::string("'") + c + "'";
    return "byte 0x" + hex_text(std::span(reinterpret_cast<const std::uint8_t *>(&c), 1), "");
}

}  // namespace

bool is_hex_digit(char c) { return digit_value(c) != NOT_HEX; }

std::string hex_text(std::span<const std::uint8_t> bytes, std::string_view separator) {
    std::string text;
    text.reserve(bytes.size() * (2 + separator.size()));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i != 0) text += separator;
        text += DIGITS[bytes[i] >> 4];
        text += DIGITS[bytes[i] & 0x0F];
    }
    return text;
}

std::optional<std::vector<std::uint8_t>> parse_hex(std::string_view digits) {
    if (digits.size() % 2 != 0) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(digits.size() / 2);
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const std::uint8_t high = digit_value(digits[i]);
        const std::uint8_t low = digit_value(digits[i + 1]);
        if (high == NOT_HEX || low == NOT_HEX) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return bytes;
}

std::vector<std::uint8_t> read_hex_image(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    std::size_t line = 1;
    std::size_t line_start = 0;
    auto place = [&](std::size_t index) {
        return "line " + std::to_string(line) + ", column " + std::to_string(index - line_start + 1);
    };
    std::size_t i = 0;
    while (i < text.size()) {
        if (is_space(text[i])) {
            if (text[i] == '\n') {
                ++line;
                line_start = i + 1;
            }
            ++i;
            continue;
        }
        const std::size_t group_start = i;
        while (i < text.size() && is_hex_digit(text[i])) ++i;
        if (i < text.size() && !is_space(text[i])) {
            throw input_error(place(i), describe_character(text[i]) + " is not a hex digit");
        }
        if ((i - group_start) % 2 != 0)
            throw input_error(place(group_start), "odd number of hex digits in a group");
        const std::vector<std::uint8_t> group = *parse_hex(text.substr(group_start, i - group_start));
        bytes.insert(bytes.end(), group.begin(), group.end());
    }
    return bytes;
}

}  // namespace gattdb::tool
