// The forms `gattdb build` writes an image in.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace gattdb::tool {

enum class image_format { hex, bin, c };

// The format of that name: "hex", "bin" or "c".
std::optional<image_format> image_format_named(std::string_view name);

// hex: two upper-case digits a byte, single spaces, 16 a line. bin: the bytes themselves.
// c: a C fragment defining `const uint8_t symbol[]` and `symbol_length`.
std::string format_image(std::span<const std::uint8_t> image, image_format format, std::string_view symbol);

// A C identifier, as the c format needs for its symbol.
bool is_c_identifier(std::string_view name);

}  // namespace gattdb::tool
