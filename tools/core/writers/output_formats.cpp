// SPDX-License-Identifier: MIT
#include "core/writers/output_formats.hpp"

#include <algorithm>
#include <array>

#include "core/support/hex.hpp"
#include "core/support/named_rows.hpp"
#include "core/writers/handle_formats.hpp"

namespace gattdb::tool {
namespace {

constexpr std::size_t HEX_BYTES_PER_LINE = 16;
constexpr std::size_t C_BYTES_PER_LINE = 12;  // "0xNN, " twelve times fits 80 columns

template <typename Line>
std::string by_lines(std::span<const std::uint8_t> image, std::size_t per_line, Line line) {
    std::string text;
    for (std::size_t start = 0; start < image.size(); start += per_line) {
        text += line(image.subspan(start, std::min(per_line, image.size() - start)));
    }
    return text;
}

std::string write_hex(const built_database &built) {
    return by_lines(built.image, HEX_BYTES_PER_LINE, [](auto bytes) { return hex_text(bytes, " ") + "\n"; });
}

std::string write_bin(const built_database &built) {
    return std::string(built.image.begin(), built.image.end());
}

std::string write_c(const built_database &built) {
    const std::string name(built.symbol);
    const std::string size = std::to_string(built.image.size());
    return "#include <stdint.h>\n\nconst uint8_t " + name + "[" + size + "] = {\n" +
           by_lines(built.image, C_BYTES_PER_LINE,
                    [](auto bytes) { return "    0x" + hex_text(bytes, ", 0x") + ",\n"; }) +
           "};\nconst uint16_t " + name + "_length = " + size + ";\n";
}

constexpr std::array<output_format, 5> FORMATS = {{
    {"hex", write_hex},
    {"bin", write_bin},
    {"c", write_c},
    {"header", write_header},
    {"map", write_map},
}};

}  // namespace

std::span<const output_format> output_formats() { return FORMATS; }

const output_format *output_format_named(std::string_view name) {
    return row_named<output_format>(FORMATS, name);
}

std::string output_format_names() {
    std::string names;
    for (std::size_t i = 0; i < FORMATS.size(); ++i) {
        names += i == 0 ? "" : i + 1 == FORMATS.size() ? " or " : ", ";
        names += FORMATS[i].name;
    }
    return names;
}

}  // namespace gattdb::tool
