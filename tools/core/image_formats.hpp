// The forms `gattdb build` writes: the image itself (hex, bin, c) and, for firmware and host
// programs, its attribute handles by name (header, map). Each form is one writer and one row of the
// table of output formats; a new output format is a new writer and a new row.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "database.hpp"
#include "handle_names.hpp"

namespace gattdb::tool {

// What a writer may use: the database, its image, the items' resolved names and the symbol of
// generated code (--name).
struct built_database {
    const database &db;
    std::span<const std::uint8_t> image;
    const std::vector<service_names> &names;
    std::string_view symbol;
};

// A description's items named and its image built: what the writers need beside the database.
struct named_image {
    std::vector<service_names> names;
    std::vector<std::uint8_t> image;
};

// Names db's items and builds its image. Every output refuses a description whose names collide, so
// this is the one place both happen. Throws input_error with input (the description's name, as
// errors name files) in front of the place.
named_image name_and_build(const database &db, const std::string &input);

// hex: two upper-case digits a byte, single spaces, 16 a line. bin: the bytes themselves. c: a C
// source defining `const uint8_t symbol[]` and `const uint16_t symbol_length`. header: a C and C++
// header declaring what c defines, with a constant for each handle. map: the handles as JSON.
struct output_format {
    std::string_view name;  // as -f takes it
    std::string (*write)(const built_database &built);
};

std::span<const output_format> output_formats();

// The format of that name, or null.
const output_format *output_format_named(std::string_view name);

// The names of the formats, "hex, bin, c, header or map", for usage texts.
std::string output_format_names();

}  // namespace gattdb::tool
