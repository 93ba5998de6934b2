// SPDX-License-Identifier: MIT
#include "commands.hpp"

#include <algorithm>
#include <iostream>

#include "core/analysis/checks.hpp"
#include "core/analysis/database_hash.hpp"
#include "core/analysis/diff.hpp"
#include "core/reports/check_output.hpp"
#include "core/reports/dump_views.hpp"
#include "core/support/files.hpp"
#include "core/support/hex.hpp"
#include "core/writers/description_writer.hpp"
#include "core/writers/service_template.hpp"

namespace gattdb::tool {
namespace {

// The input at path, in the format options name, or its extension gives, or else fallback.
database load(const std::string &path, const input_options &options,
              std::initializer_list<input_kind> accepted, std::string_view fallback) {
    return read_input_file(path, input_format_for(path, options.from, accepted, fallback), options.reading);
}

// What an image is read as when nothing else says: bytes, or hex text with --hex.
std::string_view image_default(const input_options &options) { return options.hex_input ? "hex" : "bin"; }

constexpr std::initializer_list<input_kind> DESCRIPTIONS = {input_kind::description};
constexpr std::initializer_list<input_kind> IMAGES = {input_kind::image};
constexpr std::initializer_list<input_kind> EITHER = {input_kind::description, input_kind::image};

}  // namespace

int run_build(const build_options &options) {
    const database db = load(options.description, options.input, DESCRIPTIONS, "json");
    const named_image built = name_and_build(db, input_name(options.description));
    const output_format &format = *output_format_named(options.format);
    write_output(options.output, format.write({db, built.image, built.names, options.symbol}));
    return 0;
}

int run_dump(const dump_options &options) {
    const database db = load(options.image, options.input, IMAGES, image_default(options.input));
    write_output("-", dump_view_named(options.view)->render(db, input_name(options.image)));
    return 0;
}

int run_diff(const diff_options &options) {
    const database old_db = load(options.old_path, options.input, EITHER, image_default(options.input));
    const database new_db = load(options.new_path, options.input, EITHER, image_default(options.input));
    const std::vector<std::string> differences = compare_databases(old_db, new_db);
    std::string text;
    for (const std::string &line : differences) text += line + "\n";
    write_output("-", text);
    return differences.empty() ? DIFF_SAME : DIFF_DIFFERENT;
}

// Reads any description, .gatt unless named otherwise, and writes it as JSON that builds the same image.
int run_import(const import_options &options) {
    write_output(options.output,
                 write_description(load(options.description, options.input, DESCRIPTIONS, "gatt")));
    return 0;
}

int run_check(const check_options &options) {
    const database db = load(options.input_path, options.input, EITHER, image_default(options.input));
    check_settings settings{std::nullopt, options.ignored};
    if (options.against)
        settings.against = load(*options.against, options.input, EITHER, image_default(options.input));
    const std::string file = input_name(options.input_path);
    const bool json = options.format == "json";
    std::vector<finding> findings;
    std::string report;
    if (options.fix) {
        fix_report fixed = fix_database(db, settings);
        write_output(options.output, write_description(fixed.fixed));
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

int run_hash(const hash_options &options) {
    const database db = load(options.input_path, options.input, EITHER, image_default(options.input));
    write_output("-", hex_text(database_hash(db), "") + "\n");
    return 0;
}

int run_new(const new_options &options) {
    template_request request;
    for (const std::string &name : options.services)
        request.services.push_back(*template_service_named(name));
    request.optional = options.optional;
    request.device_name = options.device_name;
    std::vector<std::string> warnings;
    const database db = database_template(request, warnings);
    for (const std::string &warning : warnings) options.warn("warning: " + warning);
    write_output(options.output, write_description(db));
    return 0;
}

}  // namespace gattdb::tool
