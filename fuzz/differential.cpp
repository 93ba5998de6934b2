// SPDX-License-Identifier: MIT
#include "differential.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "gattdb.h"

namespace fuzz {

void fail(const char *condition, const char *file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

void check_image(const model::database &expected) {
    const std::uint16_t size = get_db_size();
    FUZZ_CHECK(size == expected.get_db_size());

    const model::bytes image = expected.image();
    std::unique_ptr<std::uint8_t[]> out(new std::uint8_t[size]);
    // Each byte starts as the complement of the expected one, so a byte left unwritten shows.
    std::transform(image.begin(), image.end(), out.get(),
                   [](std::uint8_t b) { return static_cast<std::uint8_t>(~b); });
    FUZZ_CHECK(generate_db(out.get()) == (image.empty() ? 0 : 1));
    FUZZ_CHECK(std::equal(image.begin(), image.end(), out.get(), out.get() + size));

    FUZZ_CHECK(generate_db(nullptr) == 0);
    FUZZ_CHECK(get_db_size() == size);
}

}  // namespace fuzz
