// SPDX-License-Identifier: MIT
// Byte-exact images of whole databases.
#include <functional>

#include "image_helpers.hpp"

namespace gattdb_test {
namespace {

struct GoldenImage {
    const char *name;
    std::function<void()> build;
    std::string expected;  // bars separate entries, for the reader only
};

// By name: the default printer would dump the object's bytes, std::function's unset ones among them.
void PrintTo(const GoldenImage &image, std::ostream *out) { *out << image.name; }

std::string without_bars(std::string text) {
    std::erase(text, '|');
    return text;
}

const std::string uuid128_a = "0000180D00001000800000805F9B34FB";
const std::string uuid128_b = "00002A3700001000800000805F9B34FB";

const GoldenImage golden_images[] = {
    {"heart_rate",
     [] {
         add_primary_service("180D");
         add_characteristic_value("2A37", 0x10, {0x00, 0x48}, 1);
         add_characteristic_value("2A38", 0x02, {0x01}, 0);
     },
     golden_hex("heart-rate")},
    {"uuid_128_empty_value_with_descriptor",
     [] {
         add_primary_service(uuid128_a.c_str());
         add_characteristic(uuid128_b.c_str(), 0x12, 0, nullptr, 1);
     },
     "00 10 FB 34 9B 5F 80 00 00 80 00 10 00 00 0D 18 00 00 | "
     "30 13 12 03 00 FB 34 9B 5F 80 00 00 80 00 10 00 00 37 2A 00 00 | 00 CC 00 | 6C 00"},
    {"uuid_32_padded_to_16_bytes",
     [] {
         add_primary_service("12345678");
         add_characteristic_value("ABCDEF01", 0x0A, {0x01, 0x02, 0x03}, 0);
     },
     "00 10 x12 00 78 56 34 12 | 30 13 0A 03 00 x12 00 01 EF CD AB | 00 C8 03 01 02 03 00"},
    {"handles_run_across_services",
     [] {
         add_primary_service("1800");
         add_characteristic_value("2A00", 0x02, {0x61, 0x62, 0x63}, 0);
         add_characteristic_value("2A01", 0x0A, {0x40, 0x00}, 1);
         add_primary_service("1801");
         add_characteristic_value("2A05", 0x20, {0x01, 0x00, 0xFF, 0xFF}, 1);
         add_characteristic("2A04", 0x02, 0, nullptr, 0);
         add_primary_service("180F");
         add_characteristic_value("2A19", 0x12, {0x64}, 1);
         add_characteristic_value("12345678", 0x08, {0x09, 0x08, 0x07, 0x06, 0x05}, 0);
     },
     "00 02 00 18 | 30 05 02 03 00 00 2A | 00 D0 03 61 62 63 00 | 30 05 0A 05 00 01 2A | 00 D0 02 40 00 | "
     "6C 00 | 00 02 01 18 | 30 05 20 09 00 05 2A | 00 D0 04 01 00 FF FF | 6C 00 | 30 05 02 0C 00 04 2A | "
     "00 DC 00 | 00 02 0F 18 | 30 05 12 0F 00 19 2A | 00 D0 01 64 00 | 6C 00 | 30 13 08 12 00 x12 00 78 56 "
     "34 12 | 00 C8 05 09 08 07 06 05 00"},
    {"service_without_characteristics", [] { add_primary_service("abcd"); }, "00 02 CD AB"},
    {"only_the_low_properties_byte_is_written",
     [] {
         add_primary_service("1800");
         add_characteristic("2A00", 0x1FF, 0, nullptr, 0);
         add_characteristic("2A01", -1, 0, nullptr, 0);
     },
     "00 02 00 18 | 30 05 FF 03 00 00 2A | 00 DC 00 | 30 05 FF 05 00 01 2A | 00 DC 00"},
    {"descriptor_whatever_the_properties",
     [] {
         add_primary_service("1800");
         add_characteristic("2A00", 0x00, 0, nullptr, 0xFF);
     },
     "00 02 00 18 | 30 05 00 03 00 00 2A | 00 DC 00 | 6C 00"},
    {"uuid_128_characteristic_in_uuid_16_service_empty_value",
     [] {
         add_primary_service("180F");
         add_characteristic(uuid128_b.c_str(), 0x02, 0, nullptr, 0);
         add_characteristic_value("2A19", 0x02, {0x64, 0x00}, 0);
     },
     "00 02 0F 18 | 30 13 02 03 00 FB 34 9B 5F 80 00 00 80 00 10 00 00 37 2A 00 00 | 00 CC 00 | "
     "30 05 02 05 00 19 2A | 00 D0 02 64 00"},
};

class GoldenImages : public EmptyTable, public ::testing::WithParamInterface<GoldenImage> {};

TEST_P(GoldenImages, EncodeByteForByte) {
    GetParam().build();
    EXPECT_EQ(current_image(), from_hex(without_bars(GetParam().expected)));
}

INSTANTIATE_TEST_SUITE_P(Databases, GoldenImages, ::testing::ValuesIn(golden_images),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(EmptyTable, ValueLengthsArePaddedToEven) {
    for (const std::size_t length : {1u, 2u, 3u, 254u, 255u}) {
        init_db();
        add_primary_service("1800");
        const bytes value(length, 0x5A);
        ASSERT_EQ(add_characteristic_value("2A00", 0x02, value, 0), 1);

        const bytes image = current_image();
        const std::size_t padded = length + length % 2;
        ASSERT_EQ(image.size(), 4 + 7 + 3 + padded) << "length " << length;
        EXPECT_EQ(image[4 + 7 + 2], length);
        EXPECT_EQ(bytes(image.begin() + 14, image.begin() + 14 + length), value);
        if (padded != length) {
            EXPECT_EQ(image.back(), 0x00);
        }
    }
}

}  // namespace
}  // namespace gattdb_test
