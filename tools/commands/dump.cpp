// SPDX-License-Identifier: MIT
#include "commands/dump.hpp"

#include "core/reports/dump_views.hpp"
#include "core/support/files.hpp"

namespace gattdb::tool {

void add_dump_options(CLI::App &command, dump_options &options) {
    command.add_option("IMAGE", options.image, "The image or capture file, or - for standard input")
        ->required();
    add_from(command, options.input, IMAGES,
             "The image's format (default bin; a capture is known by its contents)");
    add_capture_reading(command, options.input);
    command.add_flag("--hex", options.input.hex_input,
                     "Read the image as hex text, as build writes it by default (--from hex)");
    std::string views;
    for (const dump_view &view : dump_views())
        views += "\n  " + std::string(view.name) + ": " + std::string(view.help);
    CLI::Option *format = command.add_option("-f,--format", options.view, "The view:" + views)
                              ->check([](const std::string &name) {
                                  return dump_view_named(name) ? ""
                                                               : "unknown view: " + name + " (expected " +
                                                                     dump_view_names() + ")";
                              });
    // The views these flags chose before there were more of them.
    for (const char *alias : {"json", "summary"}) {
        command
            .add_flag_callback(
                "--" + std::string(alias), [&options, alias] { options.view = alias; },
                "Short for -f " + std::string(alias))
            ->excludes(format);
    }
    command.get_option("--json")->excludes("--summary");
}

int run_dump(const dump_options &options) {
    const database db = load(options.image, as_served(options.input), IMAGES, image_default(options.input));
    write_output("-", dump_view_named(options.view)->render(db, input_name(options.image)));
    return 0;
}

}  // namespace gattdb::tool
