// SPDX-License-Identifier: MIT
// Writing a word least significant byte first, the order of the image's UUID fields.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace gattdb {

// On a little-endian host this is one store; the shifts serve any other. The host's order is a
// parameter so that a test can run the shifts on a little-endian machine too.
template <std::endian host = std::endian::native>
void store_least_significant_first(std::uint8_t *out, std::uint64_t word) {
    if constexpr (host == std::endian::little) {
        std::memcpy(out, &word, sizeof word);
    } else {
        for (std::size_t i = 0; i < sizeof word; ++i) out[i] = static_cast<std::uint8_t>(word >> 8 * i);
    }
}

}  // namespace gattdb
