// SPDX-License-Identifier: MIT
// The subcommands of the gattdb tool. Each returns the exit status and lets input_error and
// file_error escape for main to report.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/readers/input_formats.hpp"
#include "core/writers/output_formats.hpp"

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
    std::string view = "table";  // checked by the command line
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

struct check_options {
    std::string input_path;
    std::optional<std::string> against;
    std::vector<std::string> ignored;  // rule ids, checked by the command line
    bool strict = false;               // a warning fails too
    std::string format = "text";       // or "json": the findings as a JSON array; checked by the command line
    bool fix = false;                  // write the description with every mechanical fix applied
    std::string output = "-";          // where --fix writes it
    input_options input;
};

struct new_options {
    std::vector<std::string> services;  // UUIDs or SIG short names, checked by the command line
    bool optional = false;
    std::string device_name = "gattdb";
    std::string output = "-";
    std::function<void(const std::string &)> warn;
};

struct hash_options {
    std::string input_path;
    input_options input;
};

// Exit statuses: bad input is 1 for build, dump and hash; diff answers like diff(1), check like a
// linter.
inline constexpr int EXIT_BAD_INPUT = 1;
inline constexpr int EXIT_USAGE = 2;
inline constexpr int DIFF_SAME = 0;
inline constexpr int DIFF_DIFFERENT = 1;
inline constexpr int DIFF_TROUBLE = 2;
inline constexpr int CHECK_PASSED = 0;
inline constexpr int CHECK_FAILED = 1;
inline constexpr int CHECK_TROUBLE = 2;  // bad usage or an input it cannot read

int run_build(const build_options &options);
int run_dump(const dump_options &options);
int run_diff(const diff_options &options);
int run_import(const import_options &options);
int run_check(const check_options &options);
int run_hash(const hash_options &options);
int run_new(const new_options &options);

}  // namespace gattdb::tool
