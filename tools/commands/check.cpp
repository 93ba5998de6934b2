// SPDX-License-Identifier: MIT
#include "commands/check.hpp"

#include <algorithm>

#include "core/analysis/checks.hpp"
#include "core/model/labels.hpp"
#include "core/reports/check_output.hpp"
#include "core/support/files.hpp"

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
    command.add_option("-f,--format", options.format, "text (default): one line a finding; json: an array")
        ->check(CLI::IsMember({"text", "json"}));
    add_either_input(command, options.input);
}

int run_check(const check_options &options) {
    const database db = load(options.input_path, options.input, EITHER, image_default(options.input));
    check_settings settings{std::nullopt, options.ignored};
    if (options.against)
        settings.against = load(*options.against, options.input, EITHER, image_default(options.input));
    const std::vector<finding> findings = check_database(db, settings);
    write_output("-", options.format == "json" ? finding_json(findings)
                                               : finding_lines(input_name(options.input_path), findings));
    const bool failed = std::any_of(findings.begin(), findings.end(), [&](const finding &f) {
        return f.level == severity::error || options.strict;
    });
    return failed ? CHECK_FAILED : CHECK_PASSED;
}

}  // namespace gattdb::tool
