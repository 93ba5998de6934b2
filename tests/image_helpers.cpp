// SPDX-License-Identifier: MIT
#include "image_helpers.hpp"

namespace gattdb_test {

bytes current_image() {
    constexpr std::size_t guard = 64;
    constexpr std::uint8_t untouched = 0xA5;
    const std::uint16_t size = get_db_size();
    bytes buffer(size + guard, untouched);
    const int32_t written = generate_db(buffer.data());
    EXPECT_EQ(written, size == 0 ? 0 : 1);
    EXPECT_EQ(bytes(buffer.begin() + size, buffer.end()), bytes(guard, untouched)) << "wrote past the image";
    buffer.resize(size);

    bytes again(size + guard, untouched);
    generate_db(again.data());
    again.resize(size);
    EXPECT_EQ(get_db_size(), size);
    EXPECT_EQ(again, buffer) << "generating changed the table";
    return buffer;
}

int32_t add_characteristic_value(const char *uuid, int32_t properties, const bytes &value, uint8_t cccd) {
    return add_characteristic(uuid, properties, static_cast<uint8_t>(value.size()), value.data(), cccd);
}

}  // namespace gattdb_test
