// SPDX-License-Identifier: MIT
// gattdb hash: an image or description in; the GATT Database Hash that clients compare out, as hex.
#pragma once

#include <string>

#include "commands/options.hpp"

namespace gattdb::tool {

struct hash_options {
    std::string input_path;
    input_options input;
};

void add_hash_options(CLI::App &command, hash_options &options);
int run_hash(const hash_options &options);

}  // namespace gattdb::tool
