// The subcommands of the gattdb tool. Each returns the exit status and lets input_error and
// file_error escape for main to report.
#pragma once

#include <optional>
#include <string>

#include "core/image_formats.hpp"
#include "core/input_formats.hpp"

namespace gattdb::tool {

// How an input's format is chosen: --from names it; otherwise its file name's extension; otherwise
// the command's default (images are read as hex text with --hex).
struct input_options {
    std::optional<std::string> from;
    bool hex_input = false;
    read_options reading;
};

struct build_options {
    std::string description;
    input_options input;
    std::string output = "-";
    std::string format = "hex";  // checked by the command line
    std::string symbol = "gatt_db";
};

struct dump_options {
    std::string image;
    input_options input;
    bool json = false;
    bool summary = false;
};

struct import_options {
    std::string description;
    input_options input;
    std::string output = "-";
};

struct diff_options {
    std::string old_path;
    std::string new_path;
    input_options input;
};

// Exit statuses: bad input is 1 for build and dump; diff answers like diff(1).
inline constexpr int EXIT_BAD_INPUT = 1;
inline constexpr int EXIT_USAGE = 2;
inline constexpr int DIFF_SAME = 0;
inline constexpr int DIFF_DIFFERENT = 1;
inline constexpr int DIFF_TROUBLE = 2;

int run_build(const build_options &options);
int run_dump(const dump_options &options);
int run_diff(const diff_options &options);
int run_import(const import_options &options);

}  // namespace gattdb::tool
