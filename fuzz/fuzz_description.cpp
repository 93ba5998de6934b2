// SPDX-License-Identifier: MIT
// Arbitrary text through the tool's description loader. It must refuse with input_error or accept;
// it must never crash. A description it accepts always builds, the image decodes back to the same
// database, and every output format writes it once its names resolve.
#include <cstdint>
#include <string_view>

#include "core/image/builder.hpp"
#include "core/image/decoder.hpp"
#include "core/readers/description_reader.hpp"
#include "core/writers/output_formats.hpp"
#include "differential.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace gattdb::tool;
    database db;
    std::vector<service_names> names;
    try {
        db = read_description({reinterpret_cast<const char *>(data), size});
        names = resolve_names(db);
    } catch (const input_error &) {
        return 0;
    }
    const std::vector<std::uint8_t> image = build_image(db);
    FUZZ_CHECK(decode_image(image) == db);
    for (const output_format &format : output_formats())
        FUZZ_CHECK(!format.write({db, image, names, "db"}).empty());
    return 0;
}
