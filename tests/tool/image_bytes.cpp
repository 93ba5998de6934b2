// SPDX-License-Identifier: MIT
#include "image_bytes.hpp"

#include "core/support/hex.hpp"
#include "examples.hpp"

namespace gattdb::tool::testing {

bytes service16(std::uint16_t uuid) {
    return {0x00, 0x02, static_cast<std::uint8_t>(uuid), static_cast<std::uint8_t>(uuid >> 8)};
}

bytes characteristic16(std::uint8_t properties, std::uint8_t value_handle, std::uint16_t uuid,
                       const bytes &value, bool cccd) {
    const auto length = static_cast<std::uint8_t>(value.size());
    bytes entries = {0x30,
                     0x05,
                     properties,
                     value_handle,
                     0x00,
                     static_cast<std::uint8_t>(uuid),
                     static_cast<std::uint8_t>(uuid >> 8),
                     0x00,
                     static_cast<std::uint8_t>(length == 0 ? 0xDC : 0xD0),
                     length};
    for (const std::uint8_t byte : value)
        entries.push_back(byte);  // insert() trips a g++ 12 -O3 false warning
    if (length % 2 != 0) entries.push_back(0x00);
    if (cccd) {
        entries.push_back(0x6C);
        entries.push_back(0x00);
    }
    return entries;
}

bytes operator+(bytes a, const bytes &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

bytes golden_image(const std::string &example) { return read_hex_image(file_text(golden_path(example))); }

}  // namespace gattdb::tool::testing
