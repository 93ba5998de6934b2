// Arbitrary text through the tool's description loader. It must refuse with input_error or accept;
// it must never crash. A description it accepts always builds, and the image decodes back to the
// same database.
#include <cstdint>
#include <string_view>

#include "../tools/core/description.hpp"
#include "../tools/core/image_builder.hpp"
#include "../tools/core/image_decoder.hpp"
#include "differential.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace gattdb::tool;
    database db;
    try {
        db = read_description({reinterpret_cast<const char *>(data), size});
    } catch (const input_error &) {
        return 0;
    }
    FUZZ_CHECK(decode_image(build_image(db)) == db);
    return 0;
}
