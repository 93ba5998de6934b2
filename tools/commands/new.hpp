// SPDX-License-Identifier: MIT
// gattdb new: SIG services named in; a JSON description to start from out, with the characteristics
// and properties their specifications make mandatory.
#pragma once

#include <string>
#include <vector>

#include "commands/options.hpp"

namespace gattdb::tool {

struct new_options {
    std::vector<std::string> services;  // UUIDs or SIG short names, checked by the command line
    bool optional = false;
    std::string device_name = "gattdb";
    std::string output = "-";
};

void add_new_options(CLI::App &command, new_options &options);
int run_new(const new_options &options);

}  // namespace gattdb::tool
