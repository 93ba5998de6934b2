// SPDX-License-Identifier: MIT
#include "commands/options.hpp"

#include <algorithm>
#include <iostream>
#include <vector>

#include "core/model/labels.hpp"
#include "core/support/files.hpp"

namespace gattdb::tool {

int report(const std::string &message, int status) {
    std::cerr << PROGRAM << ": " << message << "\n";
    return status;
}

void add_from(CLI::App &command, input_options &options, std::initializer_list<input_kind> accepted,
              const std::string &help) {
    const std::string names = input_format_names(accepted);
    const std::vector<input_kind> kinds(accepted);  // the list's own array lives only for this call
    command.add_option("--from", options.from, help + ": " + names)
        ->check([kinds, names](const std::string &name) {
            const input_format *format = input_format_named(name);
            const bool fits = format && std::find(kinds.begin(), kinds.end(), format->kind) != kinds.end();
            return fits ? "" : "unknown input format: " + name + " (expected " + names + ")";
        });
}

void add_description_reading(CLI::App &command, input_options &options) {
    command
        .add_option("-I,--import-dir", options.reading.include_dirs,
                    "Look here for files a .gatt file imports, after its own folder (repeatable)")
        ->allow_extra_args(false)
        ->check(CLI::ExistingDirectory);
    command.add_flag("--lossy", options.reading.lossy,
                     "Leave out, with a warning, what the image cannot hold instead of refusing it");
    options.reading.warn = [](const std::string &warning) { report(warning, 0); };
}

void add_capture_reading(CLI::App &command, input_options &options) {
    command
        .add_option("--connection", options.reading.connection,
                    "Read this connection of a capture (from 1, in capture order) instead of the one whose "
                    "discovery covers the most attributes")
        ->check(CLI::PositiveNumber);
    command.add_flag("--local", options.reading.local,
                     "A capture's server is the capturing host itself, not the remote device");
    options.reading.warn = [](const std::string &warning) { report(warning, 0); };
}

void add_description_input(CLI::App &command, std::string &path, input_options &options,
                           const std::string &help, std::string_view fallback) {
    command.add_option("DESCRIPTION", path, help)->required();
    add_from(
        command, options, DESCRIPTIONS,
        "The description's format, when its name does not end in it (default " + std::string(fallback) + ")");
}

void add_either_input(CLI::App &command, input_options &options) {
    add_from(command, options, EITHER,
             "The inputs' format, when their names do not end in one (default bin)");
    command.add_flag("--hex", options.hex_input, "Read images as hex text (--from hex)");
    add_description_reading(command, options);
    add_capture_reading(command, options);
}

database load(const std::string &path, const input_options &options,
              std::initializer_list<input_kind> accepted, std::string_view fallback) {
    return load_input(path, options.from, accepted, fallback, options.reading);
}

input_options as_served(const input_options &options, bool complete) {
    input_options served = options;
    served.reading.as_served = true;
    served.reading.complete = complete;
    return served;
}

void note_unknown_values(const database &db, const std::string &path, const input_options &options) {
    std::size_t unknown = 0;
    for (const service &s : db.services) {
        for (const characteristic &c : s.characteristics) unknown += c.served.value_known ? 0 : 1;
    }
    if (unknown != 0 && options.reading.warn) {
        options.reading.warn(input_name(path) + ": the capture holds no whole value for " +
                             count_of(unknown, "characteristic") + "; those values are not compared");
    }
}

std::string_view image_default(const input_options &options) { return options.hex_input ? "hex" : "bin"; }

}  // namespace gattdb::tool
