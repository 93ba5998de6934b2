#include "image_formats.hpp"

#include <algorithm>
#include <array>
#include <cctype>

#include "hex.hpp"

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

std::string hex_lines(std::span<const std::uint8_t> image) {
    return by_lines(image, HEX_BYTES_PER_LINE, [](auto bytes) { return hex_text(bytes, " ") + "\n"; });
}

std::string c_source(std::span<const std::uint8_t> image, std::string_view symbol) {
    const std::string name(symbol);
    const std::string size = std::to_string(image.size());
    return "#include <stdint.h>\n\nconst uint8_t " + name + "[" + size + "] = {\n" +
           by_lines(image, C_BYTES_PER_LINE,
                    [](auto bytes) { return "    0x" + hex_text(bytes, ", 0x") + ",\n"; }) +
           "};\nconst uint16_t " + name + "_length = " + size + ";\n";
}

constexpr std::array<std::pair<std::string_view, image_format>, 3> FORMAT_NAMES = {{
    {"hex", image_format::hex},
    {"bin", image_format::bin},
    {"c", image_format::c},
}};

}  // namespace

std::optional<image_format> image_format_named(std::string_view name) {
    for (const auto &[known, format] : FORMAT_NAMES) {
        if (known == name) return format;
    }
    return std::nullopt;
}

std::string format_image(std::span<const std::uint8_t> image, image_format format, std::string_view symbol) {
    switch (format) {
    case image_format::hex: return hex_lines(image);
    case image_format::bin: return std::string(image.begin(), image.end());
    case image_format::c: return c_source(image, symbol);
    }
    return {};
}

bool is_c_identifier(std::string_view name) {
    auto word_character = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    return !name.empty() && !std::isdigit(static_cast<unsigned char>(name[0])) &&
           std::all_of(name.begin(), name.end(), word_character);
}

}  // namespace gattdb::tool
