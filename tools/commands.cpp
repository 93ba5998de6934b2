// SPDX-License-Identifier: MIT
#include "commands.hpp"

#include <algorithm>

#include "core/analysis/checks.hpp"
#include "core/analysis/database_hash.hpp"
#include "core/analysis/diff.hpp"
#include "core/model/labels.hpp"
#include "core/reports/check_output.hpp"
#include "core/reports/dump_views.hpp"
#include "core/support/files.hpp"
#include "core/support/hex.hpp"
#include "core/writers/description_writer.hpp"

namespace gattdb::tool {
namespace {

// The input at path, in the format options name, or its contents or extension give, or else fallback.
database load(const std::string &path, const input_options &options,
              std::initializer_list<input_kind> accepted, std::string_view fallback) {
    return load_input(path, options.from, accepted, fallback, options.reading);
}

// A capture as the device served it, for the commands that show or compare databases.
input_options as_served(const input_options &options, bool complete = false) {
    input_options served = options;
    served.reading.as_served = true;
    served.reading.complete = complete;
    return served;
}

// Values a capture did not hold are not compared; say so once.
void note_unknown_values(const database &db, const std::string &path, const read_options &options) {
    std::size_t unknown = 0;
    for (const service &s : db.services) {
        for (const characteristic &c : s.characteristics) unknown += c.served.value_known ? 0 : 1;
    }
    if (unknown != 0 && options.warn) {
        options.warn(input_name(path) + ": the capture holds no whole value for " +
                     count_of(unknown, "characteristic") + "; those values are not compared");
    }
}

// What an image is read as when nothing else says: bytes, or hex text with --hex.
std::string_view image_default(const input_options &options) { return options.hex_input ? "hex" : "bin"; }

constexpr std::initializer_list<input_kind> DESCRIPTIONS = {input_kind::description, input_kind::capture};
constexpr std::initializer_list<input_kind> IMAGES = {input_kind::image, input_kind::capture};
constexpr std::initializer_list<input_kind> EITHER = {input_kind::description, input_kind::image,
                                                      input_kind::capture};

}  // namespace

int run_build(const build_options &options) {
    const database db = load(options.description, options.input, DESCRIPTIONS, "json");
    const named_image built = name_and_build(db, input_name(options.description));
    const output_format &format = *output_format_named(options.format);
    write_output(options.output, format.write({db, built.image, built.names, options.symbol}));
    return 0;
}

int run_dump(const dump_options &options) {
    const database db = load(options.image, as_served(options.input), IMAGES, image_default(options.input));
    write_output("-", dump_view_named(options.view)->render(db, input_name(options.image)));
    return 0;
}

int run_diff(const diff_options &options) {
    const input_options input = as_served(options.input);
    const database old_db = load(options.old_path, input, EITHER, image_default(input));
    const database new_db = load(options.new_path, input, EITHER, image_default(input));
    note_unknown_values(old_db, options.old_path, input.reading);
    note_unknown_values(new_db, options.new_path, input.reading);
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
    const input_options input = as_served(options.input);
    const database db = load(options.input_path, input, EITHER, image_default(input));
    check_settings settings{std::nullopt, options.ignored};
    if (options.against) {
        settings.against = load(*options.against, input, EITHER, image_default(input));
        note_unknown_values(db, options.input_path, input.reading);
    }
    const std::vector<finding> findings = check_database(db, settings);
    write_output("-", options.format == "json" ? finding_json(findings)
                                               : finding_lines(input_name(options.input_path), findings));
    const bool failed = std::any_of(findings.begin(), findings.end(), [&](const finding &f) {
        return f.level == severity::error || options.strict;
    });
    return failed ? CHECK_FAILED : CHECK_PASSED;
}

int run_hash(const hash_options &options) {
    const database db =
        load(options.input_path, as_served(options.input, true), EITHER, image_default(options.input));
    write_output("-", hex_text(database_hash(db), "") + "\n");
    return 0;
}

}  // namespace gattdb::tool
