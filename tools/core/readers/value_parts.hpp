// SPDX-License-Identifier: MIT
// Values written as parts: hex text, little-endian integers of the SIG's formats and UTF-8 text,
// joined in order, so that nobody has to write 72 beats a minute as "4800".
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace gattdb::tool {

struct integer_format {
    std::string_view name;        // "uint16", the key of a part
    std::string_view short_name;  // "u16"
    unsigned bytes;
    bool is_signed;
};

// uint8 to uint64 and int8 to int64, as the SIG's formats name them.
std::span<const integer_format> integer_formats();

// The format with that name or short name, or null.
const integer_format *integer_format_named(std::string_view name);

// The bytes of a JSON integer in the format, least significant first. Throws input_error at path
// when the number is no integer or out of the format's range.
std::vector<std::uint8_t> integer_bytes(const integer_format &format, const nlohmann::json &number,
                                        const std::string &path);

// Reads an array of parts: each a string of hex digits or an object with one key, an integer
// format's name with a JSON integer, or utf8 with a string. Throws input_error naming the JSON path
// of the part (path is the array's) and the reason. The caller checks the whole value's length.
std::vector<std::uint8_t> read_value_parts(const nlohmann::json &parts, const std::string &path);

// Reads the short form a form field takes: parts separated by blanks or commas, each an integer
// format's name or short name with its number ("u16 72", "int8 -1"), a quoted string taken as UTF-8
// ("\"abc\""), or hex digits. Throws input_error naming the part ("part 2") and the reason.
std::vector<std::uint8_t> read_value_text(std::string_view text);

}  // namespace gattdb::tool
