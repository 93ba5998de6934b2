// SPDX-License-Identifier: MIT
// gattdb check: an image or description in; what makes it unusable for clients out, answering like a
// linter.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "commands/options.hpp"

namespace gattdb::tool {

struct check_options {
    std::string input_path;
    std::optional<std::string> against;
    std::vector<std::string> ignored;  // rule ids, checked by the command line
    bool strict = false;               // a warning fails too
    std::string format = "text";       // or "json": the findings as a JSON array; checked by the command line
    bool fix = false;                  // write the description with every mechanical fix applied
    std::string output = "-";          // where --fix writes it
    input_options input;
};

void add_check_options(CLI::App &command, check_options &options);
int run_check(const check_options &options);

}  // namespace gattdb::tool
