// SPDX-License-Identifier: MIT
// The .gatt text format: one statement a line (PRIMARY_SERVICE, CHARACTERISTIC, #import, ...), read into
// the database model as far as the image can hold it. docs/tool.md describes the format as read here.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/model/database.hpp"
#include "core/readers/read_options.hpp"

namespace gattdb::tool {

// Where imported files come from: the contents of the file at path, or nullopt when there is none.
using gatt_file_source = std::function<std::optional<std::string>(const std::string &path)>;

// Reads text, the contents of the .gatt file at path ("-" for standard input), taking imported files
// from files: first beside the importing file, then in each of options.include_dirs. Throws
// input_error whose place is "FILE:LINE", FILE being the file that line is in as it was found. What
// the image cannot hold is refused, or with options.lossy left out and reported to options.warn. A
// database it returns always builds.
database read_gatt_text(const std::string &path, std::string_view text, const read_options &options,
                        const gatt_file_source &files);

// The input format table's reader: imported files come from options.files, or the file system.
database read_gatt(const std::string &path, const std::string &contents, const read_options &options);

}  // namespace gattdb::tool
