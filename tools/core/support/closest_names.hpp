// SPDX-License-Identifier: MIT
// The names nearest a mistyped one, for "did you mean" answers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace gattdb::tool {

// Up to count of names, the nearest to wanted first (by edits ignoring case, to the whole name or
// its start; ties in the names' order).
std::vector<std::string> closest_names(std::string_view wanted, const std::vector<std::string> &names,
                                       std::size_t count);

}  // namespace gattdb::tool
