// SPDX-License-Identifier: MIT
#include "commands/diff.hpp"

#include <vector>

#include "core/analysis/diff.hpp"
#include "core/support/files.hpp"

namespace gattdb::tool {

void add_diff_options(CLI::App &command, diff_options &options) {
    command.add_option("OLD", options.old_path, "The old image or description")->required();
    command.add_option("NEW", options.new_path, "The new image or description")->required();
    add_either_input(command, options.input);
}

int run_diff(const diff_options &options) {
    const input_options input = as_served(options.input);
    const database old_db = load(options.old_path, input, EITHER, image_default(input));
    const database new_db = load(options.new_path, input, EITHER, image_default(input));
    note_unknown_values(old_db, options.old_path, input);
    note_unknown_values(new_db, options.new_path, input);
    const std::vector<std::string> differences = compare_databases(old_db, new_db);
    std::string text;
    for (const std::string &line : differences) text += line + "\n";
    write_output("-", text);
    return differences.empty() ? DIFF_SAME : DIFF_DIFFERENT;
}

}  // namespace gattdb::tool
