// SPDX-License-Identifier: MIT
// gattdb import: any description in, .gatt unless named otherwise; the JSON description of the same
// image out.
#pragma once

#include <string>

#include "commands/options.hpp"

namespace gattdb::tool {

struct import_options {
    std::string description;
    input_options input;
    std::string output = "-";
};

void add_import_options(CLI::App &command, import_options &options);
int run_import(const import_options &options);

}  // namespace gattdb::tool
