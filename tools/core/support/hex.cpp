// SPDX-License-Identifier: MIT
#include "core/support/hex.hpp"

#include <cctype>

#include "core/support/input_error.hpp"

namespace gattdb::tool {
namespace {

constexpr std::string_view DIGITS = "0123456789ABCDEF";

std::uint8_t digit_value(char c) {
    if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
    return static_cast<std::uint8_t>(std::toupper(static_cast<unsigned char>(c)) - 'A' + 10);
}

bool is_space(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string describe_character(char c) {
    if (std::isprint(static_cast<unsigned char>(c))) return std::string("'") + c + "'";
    return "byte 0x" + hex_text(std::span(reinterpret_cast<const std::uint8_t *>(&c), 1), "");
}

}  // namespace

bool is_hex_digit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

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
        if (!is_hex_digit(digits[i]) || !is_hex_digit(digits[i + 1])) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(digit_value(digits[i]) << 4 | digit_value(digits[i + 1])));
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
