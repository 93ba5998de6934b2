// SPDX-License-Identifier: MIT
#include "commands/new.hpp"

#include "core/model/labels.hpp"
#include "core/support/files.hpp"
#include "core/writers/description_writer.hpp"
#include "core/writers/service_template.hpp"

namespace gattdb::tool {

void add_new_options(CLI::App &command, new_options &options) {
    command
        .add_option("SERVICE", options.services,
                    "A SIG service by its 16-bit UUID (180D) or the last part of its identifier "
                    "(heart_rate); repeatable, in order after Generic Access and Generic Attribute")
        ->check([](const std::string &name) {
            if (template_service_named(name)) return std::string();
            return "unknown service: " + name + " (closest: " + joined(closest_service_names(name), ", ") +
                   ")";
        });
    command.add_flag("--optional", options.optional, "Add the services' optional characteristics too");
    command.add_option("--device-name", options.device_name,
                       "The Device Name characteristic's value (default gattdb)");
    command.add_option(
        "-o,--output", options.output,
        "Write here instead of standard output; only a complete description replaces the file");
}

int run_new(const new_options &options) {
    template_request request;
    for (const std::string &name : options.services)
        request.services.push_back(*template_service_named(name));
    request.optional = options.optional;
    request.device_name = options.device_name;
    std::vector<std::string> warnings;
    const database db = database_template(request, warnings);
    for (const std::string &warning : warnings) report("warning: " + warning, 0);
    write_output(options.output, write_description(db));
    return 0;
}

}  // namespace gattdb::tool
