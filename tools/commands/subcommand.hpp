// SPDX-License-Identifier: MIT
// A row of the table of subcommands: its name, its one-line summary, the options it adds to the
// command line, its run, and the exit status when an input cannot be read.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <memory>
#include <string_view>

#include "commands/options.hpp"

namespace gattdb::tool {

struct subcommand {
    std::string_view name;
    std::string_view summary;
    int trouble;  // the exit status for bad input or a file that cannot be written
    // Adds the options to the subcommand and gives back its run, which reads what the parse set.
    std::function<std::function<int()>(CLI::App &)> attach;
};

// A row from a subcommand's two functions; its options live as long as the run given back.
template <class Options>
subcommand row(std::string_view name, std::string_view summary, void (*options)(CLI::App &, Options &),
               int (*run)(const Options &), int trouble = EXIT_BAD_INPUT) {
    return {name, summary, trouble, [options, run](CLI::App &command) {
                auto parsed = std::make_shared<Options>();
                options(command, *parsed);
                return std::function<int()>([parsed, run] { return run(*parsed); });
            }};
}

}  // namespace gattdb::tool
