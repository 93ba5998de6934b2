// SPDX-License-Identifier: MIT
// The forms `gattdb build` writes: the image itself (hex, bin, c) and, for firmware and host
// programs, its attribute handles by name (header, map). Each form is one writer and one row of the
// table of output formats; a new output format is a new writer and a new row.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/writers/built_database.hpp"

namespace gattdb::tool {

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
