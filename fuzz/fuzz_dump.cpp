// SPDX-License-Identifier: MIT
// Arbitrary bytes through the tool's image decoder, as binary and as hex text. The decoder must
// refuse with input_error or accept; it must never crash or read outside the input. It accepts
// exactly the images the library writes, so an accepted image must build again byte for byte and
// survive the trip through a description; and every view, the checks and the hash must take it.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "core/analysis/checks.hpp"
#include "core/analysis/database_hash.hpp"
#include "core/image/builder.hpp"
#include "core/image/decoder.hpp"
#include "core/readers/description_reader.hpp"
#include "core/reports/dump_views.hpp"
#include "core/support/hex.hpp"
#include "core/writers/description_writer.hpp"
#include "differential.hpp"

namespace {

using namespace gattdb::tool;

void check_decoded(std::span<const std::uint8_t> image) {
    database db;
    try {
        db = decode_image(image);
    } catch (const input_error &) {
        return;
    }
    for (const dump_view &view : dump_views()) FUZZ_CHECK(!view.render(db, "image").empty());
    // An image's findings are placed by handle, a database passes the update gate against itself,
    // and its hash leaves values out.
    const std::vector<finding> findings = check_database(db);
    for (const finding &f : findings) {
        FUZZ_CHECK(f.place == (f.handle == 0 ? "" : "handle " + std::to_string(f.handle)));
    }
    FUZZ_CHECK(check_database(db, {db, {}}) == findings);
    database without_values = db;
    for (service &s : without_values.services) {
        for (characteristic &c : s.characteristics) c.value.clear();
    }
    FUZZ_CHECK(database_hash(without_values) == database_hash(db));
    FUZZ_CHECK(build_image(db) == std::vector<std::uint8_t>(image.begin(), image.end()));
    FUZZ_CHECK(read_description(write_description(db)) == db);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    check_decoded({data, size});
    try {
        check_decoded(read_hex_image({reinterpret_cast<const char *>(data), size}));
    } catch (const input_error &) {
    }
    return 0;
}
