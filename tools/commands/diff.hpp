// SPDX-License-Identifier: MIT
// gattdb diff: two images or descriptions in; their differences out, one a line, answering like diff(1).
#pragma once

#include <string>

#include "commands/options.hpp"

namespace gattdb::tool {

struct diff_options {
    std::string old_path;
    std::string new_path;
    input_options input;
};

void add_diff_options(CLI::App &command, diff_options &options);
int run_diff(const diff_options &options);

}  // namespace gattdb::tool
