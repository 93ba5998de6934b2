// SPDX-License-Identifier: MIT
#include "commands/check.hpp"

#include <algorithm>
#include <iostream>

#include "core/analysis/checks.hpp"
#include "core/model/labels.hpp"
#include "core/reports/check_output.hpp"
#include "core/support/files.hpp"
#include "core/writers/description_writer.hpp"

namespace gattdb::tool {

void add_check_options(CLI::App &command, check_options &options) {
    command.add_option("INPUT", options.input_path, "The image or description")->required();
    command.add_option("--against", options.against,
                       "The released image or description: its handles must not move or disappear");
    std::vector<std::string> ids;
    for (const rule_summary &rule : check_rules()) ids.emplace_back(rule.id);
    const std::string rules = joined(ids, ", ");
    command.add_option("--ignore", options.ignored, "Leave out this rule (repeatable): " + rules)
        ->check([rules](const std::string &id) {
            const std::vector<rule_summary> known = check_rules();
            const bool found =
                std::any_of(known.begin(), known.end(), [&](const rule_summary &r) { return r.id == id; });
            return found ? "" : "unknown rule: " + id;
        });
    command.add_flag("--strict", options.strict, "Fail on warnings too");
    CLI::Option *fix = command.add_flag(
        "--fix", options.fix,
        "Write the description as JSON with every mechanical fix applied, and print each finding fixed; "
        "the findings that stay decide the exit status. With --against, a fix that would move a handle "
        "of the released database is not applied");
    command
        .add_option("-o,--output", options.output,
                    "Where --fix writes the description (default standard output; the findings then go "
                    "to standard error)")
        ->needs(fix);
    command.add_option("-f,--format", options.format, "text (default): one line a finding; json: an array")
        ->check(CLI::IsMember({"text", "json"}));
    add_either_input(command, options.input);
}

int run_check(const check_options &options) {
    const input_options input = as_served(options.input);
    const database db = load(options.input_path, input, EITHER, image_default(input));
    check_settings settings{std::nullopt, options.ignored};
    if (options.against) {
        settings.against = load(*options.against, input, EITHER, image_default(input));
        note_unknown_values(db, options.input_path, input);
    }
    const std::string file = input_name(options.input_path);
    const bool json = options.format == "json";
    std::vector<finding> findings;
    std::string report;
    if (options.fix) {
        fix_report fixed = fix_database(db, settings);
        write_output(options.output, write_description(fixed.fixed, true));
        findings = std::move(fixed.remaining);
        report = json ? fix_json(fixed.applied, findings)
                      : finding_lines(file, fixed.applied, "fixed") + finding_lines(file, findings);
    } else {
        findings = check_database(db, settings);
        report = json ? finding_json(findings) : finding_lines(file, findings);
    }
    // The fixed description may be on standard output; then the findings go beside it, to standard
    // error.
    if (options.fix && options.output == "-") {
        std::cerr << report;
    } else {
        write_output("-", report);
    }
    const bool failed = std::any_of(findings.begin(), findings.end(), [&](const finding &f) {
        return f.level == severity::error || options.strict;
    });
    return failed ? CHECK_FAILED : CHECK_PASSED;
}

}  // namespace gattdb::tool
