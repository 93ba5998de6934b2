// SPDX-License-Identifier: MIT
#include "core/readers/value_parts.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/readers/json_path.hpp"
#include "core/support/hex.hpp"
#include "core/support/input_error.hpp"

namespace gattdb::tool {
namespace {

constexpr integer_format FORMATS[] = {
    {"uint8", "u8", 1, false},   {"uint16", "u16", 2, false}, {"uint24", "u24", 3, false},
    {"uint32", "u32", 4, false}, {"uint48", "u48", 6, false}, {"uint64", "u64", 8, false},
    {"int8", "s8", 1, true},     {"int16", "s16", 2, true},   {"int24", "s24", 3, true},
    {"int32", "s32", 4, true},   {"int64", "s64", 8, true},
};

constexpr std::string_view UTF8 = "utf8";

std::string range_text(const integer_format &format) {
    const unsigned bits = format.bytes * 8;
    if (!format.is_signed) {
        const std::uint64_t largest =
            bits == 64 ? std::numeric_limits<std::uint64_t>::max() : (1ULL << bits) - 1;
        return "0 to " + std::to_string(largest);
    }
    const std::int64_t largest =
        bits == 64 ? std::numeric_limits<std::int64_t>::max() : (1LL << (bits - 1)) - 1;
    return std::to_string(-largest - 1) + " to " + std::to_string(largest);
}

std::string format_names() {
    std::string names;
    for (const integer_format &format : FORMATS) names += std::string(format.name) + ", ";
    return names + std::string(UTF8);
}

}  // namespace

std::span<const integer_format> integer_formats() { return FORMATS; }

const integer_format *integer_format_named(std::string_view name) {
    const auto found = std::find_if(std::begin(FORMATS), std::end(FORMATS), [&](const integer_format &f) {
        return f.name == name || f.short_name == name;
    });
    return found == std::end(FORMATS) ? nullptr : found;
}

std::vector<std::uint8_t> integer_bytes(const integer_format &format, const nlohmann::json &number,
                                        const std::string &path) {
    if (number.is_number_float()) {
        const double x = number.get<double>();
        // nlohmann reads an integer too large for 64 bits as a floating-point number.
        const bool whole = std::isfinite(x) && std::floor(x) == x;
        throw input_error(path, number.dump() + (whole ? " is out of range " + range_text(format)
                                                       : " is a fraction; expected an integer"));
    }
    if (!number.is_number_integer()) throw input_error(path, "expected an integer");
    const unsigned bits = format.bytes * 8;
    std::uint64_t pattern = 0;  // the number in two's complement, 64 bits wide
    bool in_range = false;
    if (number.is_number_unsigned()) {
        const std::uint64_t n = number.get<std::uint64_t>();
        const unsigned value_bits = format.is_signed ? bits - 1 : bits;
        in_range = value_bits == 64 || n < (1ULL << value_bits);
        pattern = n;
    } else {
        const std::int64_t n = number.get<std::int64_t>();
        in_range = format.is_signed && (bits == 64 || n >= -(1LL << (bits - 1)));
        pattern = static_cast<std::uint64_t>(n);
    }
    if (!in_range) throw input_error(path, number.dump() + " is out of range " + range_text(format));
    std::vector<std::uint8_t> bytes;
    for (unsigned i = 0; i < format.bytes; ++i)
        bytes.push_back(static_cast<std::uint8_t>(pattern >> (8 * i)));
    return bytes;
}

std::vector<std::uint8_t> read_value_parts(const nlohmann::json &parts, const std::string &path) {
    std::vector<std::uint8_t> value;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const nlohmann::json &part = parts[i];
        const std::string part_path = indexed(path, i);
        std::vector<std::uint8_t> bytes;
        if (part.is_string()) {
            const std::optional<std::vector<std::uint8_t>> hex =
                parse_hex(part.get_ref<const std::string &>());
            if (!hex) throw input_error(part_path, "not an even number of hex digits");
            bytes = *hex;
        } else if (part.is_object()) {
            if (part.size() != 1) {
                throw input_error(part_path, "expected one key (" + format_names() + "), found " +
                                                 std::to_string(part.size()));
            }
            const std::string &key = part.begin().key();
            const std::string key_path = member(part_path, key);
            if (key == UTF8) {
                if (!part.begin()->is_string()) throw input_error(key_path, "expected a string");
                const std::string &text = part.begin()->get_ref<const std::string &>();
                bytes.assign(text.begin(), text.end());
            } else if (const integer_format *format = integer_format_named(key);
                       format && format->name == key) {
                bytes = integer_bytes(*format, *part.begin(), key_path);
            } else {
                throw input_error(key_path,
                                  "unknown key " + in_quotes(key) + " (expected " + format_names() + ")");
            }
        } else {
            throw input_error(part_path,
                              "expected a string of hex digits or an object such as {\"uint16\": 72}");
        }
        value.insert(value.end(), bytes.begin(), bytes.end());
    }
    return value;
}

namespace {

bool is_separator(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ','; }

// The text's next part as written: a quoted string with its quotes, or a run of other characters.
std::string_view next_token(std::string_view &text) {
    while (!text.empty() && is_separator(text.front())) text.remove_prefix(1);
    std::size_t end = 0;
    if (!text.empty() && text.front() == '"') {
        for (end = 1; end < text.size() && text[end] != '"'; ++end) {
            if (text[end] == '\\') ++end;
        }
        end = std::min(end + 1, text.size());
    } else {
        while (end < text.size() && !is_separator(text[end])) ++end;
    }
    const std::string_view token = text.substr(0, end);
    text.remove_prefix(end);
    return token;
}

nlohmann::json token_json(std::string_view token) {
    return nlohmann::json::parse(token.begin(), token.end(), nullptr, false);
}

}  // namespace

std::vector<std::uint8_t> read_value_text(std::string_view text) {
    std::vector<std::uint8_t> value;
    for (std::size_t part = 1;; ++part) {
        const std::string place = "part " + std::to_string(part);
        const std::string_view token = next_token(text);
        if (token.empty()) break;
        std::vector<std::uint8_t> bytes;
        if (token.front() == '"') {
            const nlohmann::json string = token_json(token);
            if (!string.is_string()) throw input_error(place, "a string without its closing quote");
            const std::string &characters = string.get_ref<const std::string &>();
            bytes.assign(characters.begin(), characters.end());
        } else if (const integer_format *format = integer_format_named(token)) {
            const std::string_view number = next_token(text);
            if (number.empty()) throw input_error(place, "no number after " + std::string(token));
            const nlohmann::json parsed = token_json(number);
            if (parsed.is_discarded()) throw input_error(place, std::string(number) + " is not a number");
            bytes = integer_bytes(*format, parsed, place);
        } else if (const std::optional<std::vector<std::uint8_t>> hex = parse_hex(token)) {
            bytes = *hex;
        } else {
            throw input_error(place,
                              in_quotes(token) + " is neither hex digits nor one of " + format_names());
        }
        value.insert(value.end(), bytes.begin(), bytes.end());
    }
    return value;
}

}  // namespace gattdb::tool
