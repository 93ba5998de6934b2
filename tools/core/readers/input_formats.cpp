// SPDX-License-Identifier: MIT
#include "core/readers/input_formats.hpp"

#include <algorithm>
#include <array>
#include <cctype>

#include "core/image/decoder.hpp"
#include "core/readers/description_reader.hpp"
#include "core/readers/gatt_reader.hpp"
#include "core/support/files.hpp"
#include "core/support/hex.hpp"
#include "core/support/named_rows.hpp"

namespace gattdb::tool {
namespace {

// Errors in an input are reported with its name in front of the place.
template <typename Read>
database naming_the_file(const std::string &path, Read read) {
    try {
        return read();
    } catch (const input_error &error) {
        throw input_error(input_name(path), error);
    }
}

database read_json(const std::string &path, const std::string &contents, const read_options &) {
    return naming_the_file(path, [&] { return read_description(contents); });
}

database read_bin(const std::string &path, const std::string &contents, const read_options &) {
    return naming_the_file(
        path, [&] { return decode_image(std::vector<std::uint8_t>(contents.begin(), contents.end())); });
}

database read_hex(const std::string &path, const std::string &contents, const read_options &) {
    return naming_the_file(path, [&] { return decode_image(read_hex_image(contents)); });
}

constexpr std::array<input_format, 4> FORMATS = {{
    {"json", input_kind::description, ".json", read_json},
    {"gatt", input_kind::description, ".gatt", read_gatt},
    {"bin", input_kind::image, ".bin", read_bin},
    {"hex", input_kind::image, ".hex", read_hex},
}};

bool accepts(std::initializer_list<input_kind> accepted, input_kind kind) {
    return std::find(accepted.begin(), accepted.end(), kind) != accepted.end();
}

// Extensions match in either case: people and some file systems write "DB.JSON" for "db.json".
bool ends_in(const std::string &path, std::string_view extension) {
    if (path.size() < extension.size()) return false;
    const std::string_view end = std::string_view(path).substr(path.size() - extension.size());
    return std::equal(end.begin(), end.end(), extension.begin(), extension.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

// Nothing but hex digits and white space, with at least one digit: an image as hex text.
bool looks_like_hex_text(std::string_view contents) {
    bool digits = false;
    for (const char c : contents) {
        if (is_hex_digit(c)) {
            digits = true;
        } else if (!std::isspace(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return digits;
}

}  // namespace

std::span<const input_format> input_formats() { return FORMATS; }

const input_format *input_format_named(std::string_view name) {
    return row_named<input_format>(FORMATS, name);
}

const input_format &input_format_for(const std::string &path, const std::optional<std::string> &from,
                                     std::initializer_list<input_kind> accepted, std::string_view fallback,
                                     const std::string *contents) {
    if (from) {
        const input_format *named = input_format_named(*from);
        if (!named || !accepts(accepted, named->kind)) {
            throw input_error(input_name(path), "unknown input format \"" + *from + "\"; expected " +
                                                    input_format_names(accepted));
        }
        return *named;
    }
    for (const input_format &format : FORMATS) {
        if (accepts(accepted, format.kind) && !format.extension.empty() && ends_in(path, format.extension))
            return format;
    }
    if (contents && accepts(accepted, input_kind::image) && looks_like_hex_text(*contents))
        return *input_format_named("hex");
    return *input_format_named(fallback);
}

std::string input_format_names(std::initializer_list<input_kind> accepted) {
    std::string names;
    for (const input_format &format : FORMATS) {
        if (!accepts(accepted, format.kind)) continue;
        if (!names.empty()) names += '|';
        names += format.name;
    }
    return names;
}

database read_input_file(const std::string &path, const input_format &format, const read_options &options) {
    return format.read(path, read_input(path), options);
}

}  // namespace gattdb::tool
