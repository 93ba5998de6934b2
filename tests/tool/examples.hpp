// SPDX-License-Identifier: MIT
// Test support: the examples, which CMake finds (every examples/*.json), each with golden files
// here, and the paths of both.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace gattdb::tool::testing {

// "battery-device-information", "custom-128-bit", ...: the names CMake gives, comma-separated.
inline std::vector<std::string> example_names() {
    std::vector<std::string> names;
    std::istringstream list(GATTDB_EXAMPLE_NAMES);
    for (std::string name; std::getline(list, name, ',');) names.push_back(name);
    return names;
}

inline std::string example_path(const std::string &name, const std::string &extension = ".json") {
    return std::string(GATTDB_EXAMPLES_DIR) + "/" + name + extension;
}

inline std::string golden_path(const std::string &name, const std::string &extension = ".hex") {
    return std::string(GATTDB_GOLDEN_DIR) + "/" + name + extension;
}

inline std::string file_text(const std::string &path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace gattdb::tool::testing
