// SPDX-License-Identifier: MIT
#include "commands/build.hpp"

#include "core/support/c_names.hpp"
#include "core/support/files.hpp"
#include "core/writers/output_formats.hpp"

namespace gattdb::tool {

void add_build_options(CLI::App &command, build_options &options) {
    add_description_input(command, options.description, options.input,
                          "The description file, or - for standard input", "json");
    add_description_reading(command, options.input);
    add_capture_reading(command, options.input);
    command.add_option("-o,--output", options.output,
                       "Write here instead of standard output; only complete "
                       "output replaces the file");
    command
        .add_option("-f,--format", options.format,
                    "What to write: " + output_format_names() +
                        " (default hex). c is the image as C source; header declares it and gives each "
                        "handle a constant; map gives the handles as JSON")
        ->check([](const std::string &name) {
            return output_format_named(name) ? "" : "unknown format: " + name;
        });
    command
        .add_option("--name", options.symbol,
                    "The image's symbol in the c and header formats (default gatt_db); the header's "
                    "constants start with it in upper case. A C identifier, not a keyword")
        ->check([](const std::string &name) { return symbol_problem(name).value_or(""); });
}

int run_build(const build_options &options) {
    const database db = load(options.description, options.input, DESCRIPTIONS, "json");
    const named_image built = name_and_build(db, input_name(options.description));
    const output_format &format = *output_format_named(options.format);
    write_output(options.output, format.write({db, built.image, built.names, options.symbol}));
    return 0;
}

}  // namespace gattdb::tool
