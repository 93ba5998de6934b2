// SPDX-License-Identifier: MIT
// Arbitrary text as a UUID, through both adding calls: each must accept exactly the texts of 4, 8 or
// 32 hex digits, and an accepted UUID must reach the image as the model writes it.
#include <cstdint>
#include <string>

#include "differential.hpp"
#include "gattdb.h"
#include "model.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    // The library sees the text up to its first zero byte, as any C caller would pass it.
    const std::string text(reinterpret_cast<const char *>(data), size);
    model::database expected;
    init_db();

    FUZZ_CHECK(add_primary_service(text.c_str()) == expected.add_primary_service(text.c_str()));
    // A service that is certainly there, so the characteristic's result depends on its text alone.
    FUZZ_CHECK(add_primary_service("1800") == expected.add_primary_service("1800"));
    FUZZ_CHECK(add_characteristic(text.c_str(), 0x02, 0, nullptr, 0) ==
               expected.add_characteristic(text.c_str(), 0x02, 0, nullptr, 0));
    fuzz::check_image(expected);

    init_db();
    return 0;
}
