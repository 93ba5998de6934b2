// SPDX-License-Identifier: MIT
// gattdb: builds database images from descriptions (JSON, .gatt), decodes, compares, checks, fixes and
// hashes them, and writes descriptions to start from. The table below is the list of subcommands; --help, the
// manual page's test and the completion's test all read it.
#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>
#include <string_view>
#include <vector>

#include "commands/build.hpp"
#include "commands/check.hpp"
#include "commands/diff.hpp"
#include "commands/dump.hpp"
#include "commands/hash.hpp"
#include "commands/import.hpp"
#include "commands/new.hpp"
#include "commands/subcommand.hpp"
#include "gattdb.h"

using namespace gattdb::tool;

namespace {

// The subcommands, in the order --help lists them; a new subcommand is a file in commands/ and a row.
std::vector<subcommand> subcommands() {
    return {
        row("build", "Build a database image, or its handles by name, from a description", add_build_options,
            run_build),
        row("dump", "Print the attributes of a database image, or of the database a capture shows",
            add_dump_options, run_dump),
        row("diff", "Compare two images or descriptions; exit 0 when equal, 1 when not, 2 on error",
            add_diff_options, run_diff, DIFF_TROUBLE),
        row("import",
            "Write a .gatt file, or the database a capture shows, as the JSON description of the same image",
            add_import_options, run_import),
        row("check",
            "Find what makes a database unusable for clients; exit 0 when no error, 1 when one, 2 on bad "
            "input",
            add_check_options, run_check, CHECK_TROUBLE),
        row("hash", "Print the GATT Database Hash that clients compare to their cache", add_hash_options,
            run_hash),
        row("new",
            "Write a JSON description to start from: SIG services with their mandatory characteristics",
            add_new_options, run_new),
    };
}

}  // namespace

int main(int argc, char **argv) {
    CLI::App app("Builds, dumps, compares, checks and hashes Bluetooth LE GATT database images.", PROGRAM);
    app.set_version_flag("--version", std::string(PROGRAM) + " " + GATTDB_VERSION_STRING);
    app.require_subcommand(1);
    const std::vector<subcommand> table = subcommands();
    // The table for the tests of the manual page and the completion, one "name<TAB>summary" a line;
    // not an option, so that --help, which is for people, leaves it out.
    if (argc == 2 && std::string_view(argv[1]) == "--list-commands") {
        for (const subcommand &command : table) std::cout << command.name << '\t' << command.summary << '\n';
        return 0;
    }
    std::vector<CLI::App *> parsers;
    std::vector<std::function<int()>> runs;
    for (const subcommand &command : table) {
        parsers.push_back(app.add_subcommand(std::string(command.name), std::string(command.summary)));
        runs.push_back(command.attach(*parsers.back()));
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success &done) {  // --help, --help-all, --version
        return app.exit(done);
    } catch (const CLI::ParseError &error) {
        return report(std::string(error.what()) + " (see " + PROGRAM + " --help)", EXIT_USAGE);
    }

    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!parsers[i]->parsed()) continue;
        try {
            return runs[i]();
        } catch (const std::exception &error) {  // input_error and file_error name the file themselves
            return report(error.what(), table[i].trouble);
        }
    }
    return EXIT_USAGE;  // require_subcommand lets no parse through without one
}
