// SPDX-License-Identifier: MIT
// Reading inputs and writing outputs, with "-" for the standard streams.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace gattdb::tool {

// A file that cannot be read or written; the message names the file and the system's reason.
class file_error : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
};

// The whole file, or standard input for "-".
std::string read_input(const std::string &path);

// Writes bytes to standard output for "-", otherwise to path through a temporary file beside it
// that is renamed into place only once complete and on disk: a failed run leaves no partial or
// truncated file and an existing one untouched. The folder is flushed after the rename, so that the
// new file survives a power loss.
void write_output(const std::string &path, std::string_view bytes);

// The contents of the regular file at path, or none when there is none there (no file, a folder).
std::optional<std::string> read_regular_file(const std::string &path);

// The one path of the existing file at path, links and dots resolved; none when it does not exist.
std::optional<std::string> canonical_path(const std::string &path);

// The name people read for path: "standard input" for "-".
std::string input_name(const std::string &path);

}  // namespace gattdb::tool
