// SPDX-License-Identifier: MIT
#include "commands/hash.hpp"

#include "core/analysis/database_hash.hpp"
#include "core/support/files.hpp"
#include "core/support/hex.hpp"

namespace gattdb::tool {

void add_hash_options(CLI::App &command, hash_options &options) {
    command.add_option("INPUT", options.input_path, "The image or description")->required();
    add_either_input(command, options.input);
}

int run_hash(const hash_options &options) {
    // A hash of part of a database is no device's: the capture must hold the whole discovery.
    const database db =
        load(options.input_path, as_served(options.input, true), EITHER, image_default(options.input));
    write_output("-", hex_text(database_hash(db), "") + "\n");
    return 0;
}

}  // namespace gattdb::tool
