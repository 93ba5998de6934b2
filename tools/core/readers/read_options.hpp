// SPDX-License-Identifier: MIT
// What some readers take beside the text itself: where imported files are searched, and whether
// what the image cannot hold is refused or left out with a warning.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace gattdb::tool {

// What some readers need beyond the text itself.
struct read_options {
    std::vector<std::string> include_dirs;  // searched for imported files after the importer's folder
    bool lossy = false;  // leave out, with a warning, what the image cannot hold instead of refusing it
    std::function<void(const std::string &)> warn;  // receives each warning as one line
};

}  // namespace gattdb::tool
