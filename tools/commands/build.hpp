// SPDX-License-Identifier: MIT
// gattdb build: a description in; the image, as hex, bytes or C, or its handles by name out.
#pragma once

#include <string>

#include "commands/options.hpp"

namespace gattdb::tool {

struct build_options {
    std::string description;
    input_options input;
    std::string output = "-";
    std::string format = "hex";  // checked by the command line
    std::string symbol = "gatt_db";
};

void add_build_options(CLI::App &command, build_options &options);
int run_build(const build_options &options);

}  // namespace gattdb::tool
