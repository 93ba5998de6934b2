// SPDX-License-Identifier: MIT
// The tool's tables of formats and views are arrays of rows, each with a `name` that the command
// line takes; this finds a row by it.
#pragma once

#include <algorithm>
#include <span>
#include <string_view>

namespace gattdb::tool {

// The row of that name, or null.
template <typename Row>
const Row *row_named(std::span<const Row> rows, std::string_view name) {
    const auto found =
        std::find_if(rows.begin(), rows.end(), [&](const Row &row) { return row.name == name; });
    return found == rows.end() ? nullptr : &*found;
}

}  // namespace gattdb::tool
