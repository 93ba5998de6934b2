// SPDX-License-Identifier: MIT
// What the subcommands share: choosing and reading an input (--from, --hex, -I, --lossy), the one-line
// messages on standard error, and the exit statuses.
#pragma once

#include <CLI/CLI.hpp>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "core/readers/input_formats.hpp"

namespace gattdb::tool {

inline constexpr const char *PROGRAM = "gattdb";

// Exit statuses: bad input is 1 for build, dump, import and hash; diff answers like diff(1), check
// like a linter.
inline constexpr int EXIT_BAD_INPUT = 1;
inline constexpr int EXIT_USAGE = 2;
inline constexpr int DIFF_SAME = 0;
inline constexpr int DIFF_DIFFERENT = 1;
inline constexpr int DIFF_TROUBLE = 2;
inline constexpr int CHECK_PASSED = 0;
inline constexpr int CHECK_FAILED = 1;
inline constexpr int CHECK_TROUBLE = 2;  // bad usage or an input it cannot read

// How an input's format is chosen: --from names it; otherwise its file name's extension; otherwise
// the command's default (images are read as hex text with --hex).
struct input_options {
    std::optional<std::string> from;
    bool hex_input = false;
    read_options reading;
};

// Every command reads captures too, whatever else it reads.
inline constexpr std::initializer_list<input_kind> DESCRIPTIONS = {input_kind::description,
                                                                   input_kind::capture};
inline constexpr std::initializer_list<input_kind> IMAGES = {input_kind::image, input_kind::capture};
inline constexpr std::initializer_list<input_kind> EITHER = {input_kind::description, input_kind::image,
                                                             input_kind::capture};

// Writes "gattdb: message" to standard error and gives back status.
int report(const std::string &message, int status);

// --from, taking the names of the formats of the accepted kinds.
void add_from(CLI::App &command, input_options &options, std::initializer_list<input_kind> accepted,
              const std::string &help);

// -I and --lossy, for every command that reads descriptions; warnings go to standard error, one line each.
void add_description_reading(CLI::App &command, input_options &options);

// --connection and --local, for every command, since every one reads captures.
void add_capture_reading(CLI::App &command, input_options &options);

// The description a command reads: its argument, which help describes, and --from, whose default is
// fallback.
void add_description_input(CLI::App &command, std::string &path, input_options &options,
                           const std::string &help, std::string_view fallback);

// The options of a command that reads descriptions and images alike, as diff does.
void add_either_input(CLI::App &command, input_options &options);

// The input at path, in the format options name, or its contents or extension give, or else fallback.
database load(const std::string &path, const input_options &options,
              std::initializer_list<input_kind> accepted, std::string_view fallback);

// A capture as the device served it, for the commands that show or compare databases; complete
// refuses one whose discovery missed part of the database.
input_options as_served(const input_options &options, bool complete = false);

// Values a capture did not hold are not compared; says so once, on standard error.
void note_unknown_values(const database &db, const std::string &path, const input_options &options);

// What an image is read as when nothing else says: bytes, or hex text with --hex.
std::string_view image_default(const input_options &options);

}  // namespace gattdb::tool
