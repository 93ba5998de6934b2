// SPDX-License-Identifier: MIT
// Arbitrary text through the .gatt reader, strictly and with --lossy. It must refuse with input_error
// or accept; it must never crash, and its messages stay one printable line. Whatever it accepts builds,
// decodes back to the same database and builds again from the JSON description that `dump --json`
// and `import` write. What it accepts strictly it accepts with --lossy too, the same and without a warning.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/image/builder.hpp"
#include "core/image/decoder.hpp"
#include "core/readers/description_reader.hpp"
#include "core/readers/gatt_reader.hpp"
#include "core/writers/description_writer.hpp"
#include "differential.hpp"

namespace {

using namespace gattdb::tool;

// Imports come from memory: the input itself, so that a cycle is one line away, and one shared file
// in the folder given with -I.
constexpr std::string_view INPUT_PATH = "input.gatt";
constexpr std::string_view SHARED_PATH = "lib/shared.gatt";
constexpr std::string_view SHARED =
    "PRIMARY_SERVICE, GAP_SERVICE\nCHARACTERISTIC, GAP_DEVICE_NAME, READ, \"fuzz\"\n";

bool is_one_printable_line(std::string_view message) {
    return std::all_of(message.begin(), message.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

std::optional<database> read(std::string_view text, bool lossy, std::size_t &warnings) {
    const read_options options{{"lib"}, lossy, [&](const std::string &warning) {
                                   FUZZ_CHECK(is_one_printable_line(warning));
                                   ++warnings;
                               }};
    const gatt_file_source files = [&](const std::string &path) -> std::optional<std::string> {
        if (path == INPUT_PATH) return std::string(text);
        if (path == SHARED_PATH) return std::string(SHARED);
        return std::nullopt;
    };
    try {
        return read_gatt_text(std::string(INPUT_PATH), text, options, files);
    } catch (const input_error &error) {
        FUZZ_CHECK(is_one_printable_line(error.what()));
        return std::nullopt;
    }
}

void check_accepted(const database &db) {
    const std::vector<std::uint8_t> image = build_image(db);
    FUZZ_CHECK(decode_image(image) == db);
    FUZZ_CHECK(build_image(read_description(write_description(db))) == image);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    std::size_t strict_warnings = 0;
    std::size_t lossy_warnings = 0;
    const std::optional<database> strict = read(text, false, strict_warnings);
    const std::optional<database> lossy = read(text, true, lossy_warnings);
    FUZZ_CHECK(strict_warnings == 0);
    if (strict) FUZZ_CHECK(lossy && *lossy == *strict && lossy_warnings == 0);
    if (lossy) check_accepted(*lossy);
    return 0;
}
