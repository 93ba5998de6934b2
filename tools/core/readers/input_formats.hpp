// SPDX-License-Identifier: MIT
// The forms the tool reads: descriptions, which people write, images, which the library writes, and
// captures of a client discovering a device's database. Each form is one reader into the database model and
// one row of the table below; a new input format is a new reader and a new row.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/database.hpp"
#include "core/readers/read_options.hpp"

namespace gattdb::tool {

enum class input_kind { description, image, capture };

struct input_format {
    std::string_view name;  // as --from takes it
    input_kind kind;
    std::array<std::string_view, 3> extensions;  // file name endings that select this format; empty ones none
    // Whether contents are of this format whatever the file's name (a magic number); null for none.
    bool (*recognises)(std::string_view contents);
    // Reads contents, which came from path ("-" for standard input). Throws input_error whose place
    // names the file; a description it accepts always builds.
    database (*read)(const std::string &path, const std::string &contents, const read_options &options);
};

std::span<const input_format> input_formats();

// The format of that name, or null.
const input_format *input_format_named(std::string_view name);

// The format to read path with: the one named by from when given; otherwise, when the caller has the
// contents, the one they are recognised as (a capture's magic number, whatever the name); otherwise the
// one whose extension path ends in, in either case ("DB.JSON" is JSON, "IMAGE.HEX" hex text);
// otherwise fallback. Only formats of the accepted kinds count. Throws input_error when from names no
// such format.
const input_format &input_format_for(const std::string &path, const std::optional<std::string> &from,
                                     std::initializer_list<input_kind> accepted, std::string_view fallback,
                                     const std::string *contents = nullptr);

// Nothing but hex digits and white space, with at least one digit: what an image as hex text looks
// like. The page, which has no --hex, opens such a file as hex text.
bool looks_like_hex_text(std::string_view contents);

// The names of the formats of the accepted kinds, "json|gatt", for usage texts and messages.
std::string input_format_names(std::initializer_list<input_kind> accepted);

// Reads path (or standard input for "-") in the format input_format_for chooses.
database read_input_file(const std::string &path, const input_format &format, const read_options &options);

// Reads path in the format input_format_for chooses from its name and its contents.
database load_input(const std::string &path, const std::optional<std::string> &from,
                    std::initializer_list<input_kind> accepted, std::string_view fallback,
                    const read_options &options);

}  // namespace gattdb::tool
