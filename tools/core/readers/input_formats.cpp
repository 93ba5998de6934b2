// SPDX-License-Identifier: MIT
#include "core/readers/input_formats.hpp"

#include <algorithm>
#include <array>
#include <cctype>

#include "core/image/decoder.hpp"
#include "core/readers/capture_reader.hpp"
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

#ifdef __EMSCRIPTEN__
constexpr std::size_t FORMAT_COUNT = 5;
#else
constexpr std::size_t FORMAT_COUNT = 6;
#endif

constexpr std::array<input_format, FORMAT_COUNT> FORMATS = {{
    {"json", input_kind::description, {".json"}, nullptr, read_json},
    {"gatt", input_kind::description, {".gatt"}, nullptr, read_gatt},
    {"bin", input_kind::image, {".bin"}, nullptr, read_bin},
    {"hex", input_kind::image, {".hex"}, nullptr, read_hex},
    {"btsnoop", input_kind::capture, {".btsnoop", ".log", ".cfa"}, looks_like_btsnoop, read_btsnoop_file},
#ifndef __EMSCRIPTEN__
    {"pcap", input_kind::capture, {".pcap", ".pcapng"}, looks_like_pcap, read_pcap_file},
#endif
}};

// Extensions match in either case: people and some file systems write "DB.JSON" for "db.json".
bool ends_in(const std::string &path, std::string_view extension) {
    if (extension.empty() || path.size() < extension.size()) return false;
    const std::string_view end = std::string_view(path).substr(path.size() - extension.size());
    return std::equal(end.begin(), end.end(), extension.begin(), extension.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

bool has_extension(const input_format &format, const std::string &path) {
    return std::any_of(format.extensions.begin(), format.extensions.end(),
                       [&](std::string_view e) { return ends_in(path, e); });
}

bool accepts(std::initializer_list<input_kind> accepted, input_kind kind) {
    return std::find(accepted.begin(), accepted.end(), kind) != accepted.end();
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
    if (contents) {
        for (const input_format &format : FORMATS) {
            if (accepts(accepted, format.kind) && format.recognises && format.recognises(*contents))
                return format;
        }
    }
    for (const input_format &format : FORMATS) {
        if (accepts(accepted, format.kind) && has_extension(format, path)) return format;
    }
    return *input_format_named(fallback);
}

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

database load_input(const std::string &path, const std::optional<std::string> &from,
                    std::initializer_list<input_kind> accepted, std::string_view fallback,
                    const read_options &options) {
    const std::string contents = read_input(path);
    return input_format_for(path, from, accepted, fallback, &contents).read(path, contents, options);
}

}  // namespace gattdb::tool
