#include "commands.hpp"

#include <iostream>

#include "core/database_diff.hpp"
#include "core/description.hpp"
#include "core/dump_report.hpp"
#include "core/files.hpp"
#include "core/hex.hpp"
#include "core/image_builder.hpp"
#include "core/image_decoder.hpp"

namespace gattdb::tool {
namespace {

// Errors in an input are reported with its name in front of the place.
template <typename Read>
auto reading(const std::string &path, Read read) {
    try {
        return read();
    } catch (const input_error &error) {
        throw input_error(path == "-" ? "standard input" : path, error.what());
    }
}

std::vector<std::uint8_t> image_bytes(const std::string &contents, bool hex_input) {
    if (hex_input) return read_hex_image(contents);
    return std::vector<std::uint8_t>(contents.begin(), contents.end());
}

database load_image(const std::string &path, bool hex_input) {
    const std::string contents = read_input(path);
    return reading(path, [&] { return decode_image(image_bytes(contents, hex_input)); });
}

std::vector<std::uint8_t> build_description(const std::string &path) {
    const std::string contents = read_input(path);
    return reading(path, [&] { return build_image(read_description(contents)); });
}

// diff takes descriptions too: they are built first and read back like any image.
database load_either(const std::string &path, bool hex_input) {
    if (path.ends_with(".json")) return decode_image(build_description(path));
    return load_image(path, hex_input);
}

}  // namespace

int run_build(const build_options &options) {
    const std::vector<std::uint8_t> image = build_description(options.description);
    write_output(options.output, format_image(image, *image_format_named(options.format), options.symbol));
    return 0;
}

int run_dump(const dump_options &options) {
    const database db = load_image(options.image, options.hex_input);
    const std::string text = options.json      ? write_description(db)
                             : options.summary ? summary(db)
                                               : attribute_table(db);
    write_output("-", text);
    return 0;
}

int run_diff(const diff_options &options) {
    const database old_db = load_either(options.old_path, options.hex_input);
    const database new_db = load_either(options.new_path, options.hex_input);
    const std::vector<std::string> differences = compare_databases(old_db, new_db);
    std::string text;
    for (const std::string &line : differences) text += line + "\n";
    write_output("-", text);
    return differences.empty() ? DIFF_SAME : DIFF_DIFFERENT;
}

}  // namespace gattdb::tool
