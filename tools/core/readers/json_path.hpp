// SPDX-License-Identifier: MIT
// The JSON paths that messages about descriptions name ("services[1].characteristics[0].uuid").
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace gattdb::tool {

inline std::string indexed(const std::string &path, std::size_t index) {
    return path + "[" + std::to_string(index) + "]";
}

inline std::string member(const std::string &path, std::string_view key) {
    return path.empty() ? std::string(key) : path + "." + std::string(key);
}

// In JSON's own quoting, so that whatever a string holds, the message stays on one line.
inline std::string in_quotes(std::string_view text) { return nlohmann::json(text).dump(); }

}  // namespace gattdb::tool
