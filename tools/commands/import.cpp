// SPDX-License-Identifier: MIT
#include "commands/import.hpp"

#include "core/support/files.hpp"
#include "core/writers/description_writer.hpp"

namespace gattdb::tool {

void add_import_options(CLI::App &command, import_options &options) {
    add_description_input(command, options.description, options.input,
                          "The .gatt file or capture, or - for standard input", "gatt");
    command.add_option(
        "-o,--output", options.output,
        "Write here instead of standard output; only a complete description replaces the file");
    add_description_reading(command, options.input);
    add_capture_reading(command, options.input);
}

int run_import(const import_options &options) {
    write_output(options.output,
                 write_description(load(options.description, options.input, DESCRIPTIONS, "gatt")));
    return 0;
}

}  // namespace gattdb::tool
