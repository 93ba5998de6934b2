// SPDX-License-Identifier: MIT
// gattdb dump: an image in; its attributes out, in one of the dump views.
#pragma once

#include <string>

#include "commands/options.hpp"

namespace gattdb::tool {

struct dump_options {
    std::string image;
    input_options input;
    std::string view = "table";  // checked by the command line
};

void add_dump_options(CLI::App &command, dump_options &options);
int run_dump(const dump_options &options);

}  // namespace gattdb::tool
