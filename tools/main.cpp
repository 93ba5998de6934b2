// SPDX-License-Identifier: MIT
// gattdb: builds database images from descriptions (JSON, .gatt), decodes, compares, checks, fixes and
// hashes them, and writes descriptions to start from.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>

#include "commands.hpp"
#include "core/analysis/checks.hpp"
#include "core/model/labels.hpp"
#include "core/reports/dump_views.hpp"
#include "core/support/c_names.hpp"
#include "core/writers/service_template.hpp"
#include "gattdb.h"

using namespace gattdb::tool;

namespace {

constexpr const char *PROGRAM = "gattdb";

int report(const std::string &message, int status) {
    std::cerr << PROGRAM << ": " << message << "\n";
    return status;
}

// --from, taking the names of the formats of the accepted kinds.
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

// -I and --lossy, for every command that reads descriptions; warnings go to standard error, one line each.
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

// The options of a command that reads descriptions and images alike, as diff does.
void add_either_input(CLI::App &command, input_options &options) {
    add_from(command, options, {input_kind::description, input_kind::image},
             "The inputs' format, when their names do not end in one (default bin)");
    command.add_flag("--hex", options.hex_input, "Read images as hex text (--from hex)");
    add_description_reading(command, options);
}

CLI::App *add_build(CLI::App &app, build_options &options) {
    CLI::App *build =
        app.add_subcommand("build", "Build a database image, or its handles by name, from a description");
    build->add_option("DESCRIPTION", options.description, "The description file, or - for standard input")
        ->required();
    add_from(*build, options.input, {input_kind::description},
             "The description's format, when its name does not end in it (default json)");
    add_description_reading(*build, options.input);
    build->add_option("-o,--output", options.output,
                      "Write here instead of standard output; only complete "
                      "output replaces the file");
    build
        ->add_option("-f,--format", options.format,
                     "What to write: " + output_format_names() +
                         " (default hex). c is the image as C source; header declares it and gives each "
                         "handle a constant; map gives the handles as JSON")
        ->check([](const std::string &name) {
            return output_format_named(name) ? "" : "unknown format: " + name;
        });
    build
        ->add_option("--name", options.symbol,
                     "The image's symbol in the c and header formats (default gatt_db); the header's "
                     "constants start with it in upper case. A C identifier, not a keyword")
        ->check([](const std::string &name) { return symbol_problem(name).value_or(""); });
    return build;
}

CLI::App *add_dump(CLI::App &app, dump_options &options) {
    CLI::App *dump = app.add_subcommand("dump", "Print the attributes of a database image");
    dump->add_option("IMAGE", options.image, "The image file, or - for standard input")->required();
    add_from(*dump, options.input, {input_kind::image}, "The image's format (default bin)");
    dump->add_flag("--hex", options.input.hex_input,
                   "Read the image as hex text, as build writes it by default (--from hex)");
    std::string views;
    for (const dump_view &view : dump_views())
        views += "\n  " + std::string(view.name) + ": " + std::string(view.help);
    CLI::Option *format = dump->add_option("-f,--format", options.view, "The view:" + views)
                              ->check([](const std::string &name) {
                                  return dump_view_named(name) ? ""
                                                               : "unknown view: " + name + " (expected " +
                                                                     dump_view_names() + ")";
                              });
    // The views these flags chose before there were more of them.
    for (const char *alias : {"json", "summary"}) {
        dump->add_flag_callback(
                "--" + std::string(alias), [&options, alias] { options.view = alias; },
                "Short for -f " + std::string(alias))
            ->excludes(format);
    }
    dump->get_option("--json")->excludes("--summary");
    return dump;
}

CLI::App *add_diff(CLI::App &app, diff_options &options) {
    CLI::App *diff = app.add_subcommand(
        "diff", "Compare two images or descriptions; exit 0 when equal, 1 when not, 2 on error");
    diff->add_option("OLD", options.old_path, "The old image or description")->required();
    diff->add_option("NEW", options.new_path, "The new image or description")->required();
    add_either_input(*diff, options.input);
    return diff;
}

CLI::App *add_import(CLI::App &app, import_options &options) {
    CLI::App *import =
        app.add_subcommand("import", "Write a .gatt file as the JSON description of the same image");
    import->add_option("DESCRIPTION", options.description, "The .gatt file, or - for standard input")
        ->required();
    add_from(*import, options.input, {input_kind::description},
             "The description's format, when its name does not end in it (default gatt)");
    import->add_option(
        "-o,--output", options.output,
        "Write here instead of standard output; only a complete description replaces the file");
    add_description_reading(*import, options.input);
    return import;
}

CLI::App *add_check(CLI::App &app, check_options &options) {
    CLI::App *check = app.add_subcommand(
        "check",
        "Find what makes a database unusable for clients; exit 0 when no error, 1 when one, 2 on bad input");
    check->add_option("INPUT", options.input_path, "The image or description")->required();
    check->add_option("--against", options.against,
                      "The released image or description: its handles must not move or disappear");
    std::vector<std::string> ids;
    for (const rule_summary &rule : check_rules()) ids.emplace_back(rule.id);
    const std::string rules = joined(ids, ", ");
    check->add_option("--ignore", options.ignored, "Leave out this rule (repeatable): " + rules)
        ->check([rules](const std::string &id) {
            const std::vector<rule_summary> known = check_rules();
            const bool found =
                std::any_of(known.begin(), known.end(), [&](const rule_summary &r) { return r.id == id; });
            return found ? "" : "unknown rule: " + id;
        });
    check->add_flag("--strict", options.strict, "Fail on warnings too");
    CLI::Option *fix = check->add_flag(
        "--fix", options.fix,
        "Write the description as JSON with every mechanical fix applied, and print each finding fixed; "
        "the findings that stay decide the exit status. With --against, a fix that would move a handle "
        "of the released database is not applied");
    check
        ->add_option("-o,--output", options.output,
                     "Where --fix writes the description (default standard output; the findings then go "
                     "to standard error)")
        ->needs(fix);
    check->add_option("-f,--format", options.format, "text (default): one line a finding; json: an array")
        ->check(CLI::IsMember({"text", "json"}));
    add_either_input(*check, options.input);
    return check;
}

CLI::App *add_new(CLI::App &app, new_options &options) {
    CLI::App *command = app.add_subcommand(
        "new", "Write a JSON description to start from: SIG services with their mandatory characteristics");
    command
        ->add_option(
            "SERVICE", options.services,
            "A SIG service by its 16-bit UUID (180D) or the last part of its identifier (heart_rate); "
            "repeatable, in order after Generic Access and Generic Attribute")
        ->check([](const std::string &name) {
            if (template_service_named(name)) return std::string();
            return "unknown service: " + name + " (closest: " + joined(closest_service_names(name), ", ") +
                   ")";
        });
    command->add_flag("--optional", options.optional, "Add the services' optional characteristics too");
    command->add_option("--device-name", options.device_name,
                        "The Device Name characteristic's value (default gattdb)");
    command->add_option(
        "-o,--output", options.output,
        "Write here instead of standard output; only a complete description replaces the file");
    options.warn = [](const std::string &warning) { report(warning, 0); };
    return command;
}

CLI::App *add_hash(CLI::App &app, hash_options &options) {
    CLI::App *hash =
        app.add_subcommand("hash", "Print the GATT Database Hash that clients compare to their cache");
    hash->add_option("INPUT", options.input_path, "The image or description")->required();
    add_either_input(*hash, options.input);
    return hash;
}

}  // namespace

int main(int argc, char **argv) {
    CLI::App app("Builds, dumps, compares, checks and hashes Bluetooth LE GATT database images.", PROGRAM);
    app.set_version_flag("--version", std::string(PROGRAM) + " " + GATTDB_VERSION_STRING);
    app.require_subcommand(1);
    build_options build;
    dump_options dump;
    diff_options diff;
    import_options import;
    check_options check;
    hash_options hash;
    new_options new_database;
    const CLI::App *build_command = add_build(app, build);
    const CLI::App *dump_command = add_dump(app, dump);
    const CLI::App *diff_command = add_diff(app, diff);
    const CLI::App *import_command = add_import(app, import);
    const CLI::App *check_command = add_check(app, check);
    const CLI::App *hash_command = add_hash(app, hash);
    const CLI::App *new_command = add_new(app, new_database);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp &request) {
        return app.exit(request);
    } catch (const CLI::CallForAllHelp &request) {
        return app.exit(request);
    } catch (const CLI::CallForVersion &request) {
        return app.exit(request);
    } catch (const CLI::ParseError &error) {
        return report(std::string(error.what()) + " (see " + PROGRAM + " --help)", EXIT_USAGE);
    }

    const int failure = diff_command->parsed()    ? DIFF_TROUBLE
                        : check_command->parsed() ? CHECK_TROUBLE
                                                  : EXIT_BAD_INPUT;
    try {
        if (build_command->parsed()) return run_build(build);
        if (dump_command->parsed()) return run_dump(dump);
        if (import_command->parsed()) return run_import(import);
        if (check_command->parsed()) return run_check(check);
        if (hash_command->parsed()) return run_hash(hash);
        if (new_command->parsed()) return run_new(new_database);
        return run_diff(diff);
    } catch (const std::exception &error) {  // input_error and file_error name the file themselves
        return report(error.what(), failure);
    }
}
