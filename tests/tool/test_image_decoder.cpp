// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "core/image/decoder.hpp"
#include "error_table.hpp"
#include "image_bytes.hpp"

namespace gattdb::tool {
namespace {

using namespace testing;

// Service 180D; 2A37 notify, value 00 48, with its descriptor; 2A38 read, value 01.
const bytes HEART_RATE = golden_image("heart-rate");

bytes with_byte(bytes image, std::size_t offset, std::uint8_t value) {
    image.at(offset) = value;
    return image;
}

bytes services(std::size_t count) {
    bytes image;
    for (std::size_t i = 0; i < count; ++i) image = image + service16(0x1800);
    return image;
}

// Three services of 40 characteristics with descriptors need 363 handles; the one-byte value
// handles written here wrap, as a careless encoder's would.
bytes beyond_handle_255() {
    bytes image;
    unsigned handle = 0;
    for (int s = 0; s < 3; ++s) {
        image = image + service16(0x1800);
        ++handle;
        for (int c = 0; c < 40; ++c, handle += 3) {
            image = image + characteristic16(0x10, static_cast<std::uint8_t>(handle + 2), 0x2A00, {}, true);
        }
    }
    return image;
}

using bad_image = error_case<bytes>;

class image_errors : public ::testing::TestWithParam<bad_image> {};

TEST_P(image_errors, name_the_byte_offset_and_the_reason) {
    EXPECT_TRUE(starts_with(error_of([this] { decode_image(GetParam().input); }), GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(
    all, image_errors,
    ::testing::Values(
        bad_image{"empty", {}, "offset 0: the image is empty"},
        bad_image{"unknown_marker", with_byte(HEART_RATE, 4, 0x31), "offset 4: unknown entry marker 0x31"},
        bad_image{"declaration_first", characteristic16(0x02, 2, 0x2A00, {}, false),
                  "offset 0: characteristic declaration before any service"},
        bad_image{"service_length", with_byte(HEART_RATE, 1, 0x04), "offset 1: service UUID length 4"},
        bad_image{"service_cut_off", bytes{0x00, 0x10, 0x01, 0x02}, "offset 2: service UUID cut off"},
        bad_image{"service_header_cut_off", bytes{0x00}, "offset 0: service entry cut off"},
        bad_image{"declaration_length", with_byte(HEART_RATE, 5, 0x06), "offset 5: declaration length 6"},
        bad_image{"declaration_cut_off", bytes(HEART_RATE.begin(), HEART_RATE.begin() + 8),
                  "offset 6: characteristic declaration cut off by the end of the image"},
        bad_image{"value_handle_out_of_sequence", with_byte(HEART_RATE, 7, 0x04),
                  "offset 7: value handle 4 breaks the handle sequence, expected 3"},
        bad_image{"value_handle_high_byte", with_byte(HEART_RATE, 8, 0x01),
                  "offset 7: value handle 259 breaks the handle sequence, expected 3"},
        bad_image{"value_missing", bytes(HEART_RATE.begin(), HEART_RATE.begin() + 11),
                  "offset 11: characteristic value entry missing"},
        bad_image{"value_marker", with_byte(HEART_RATE, 11, 0x30),
                  "offset 11: marker of the characteristic value entry is 0x30, expected 0x00"},
        bad_image{"value_flags", with_byte(HEART_RATE, 12, 0xC8), "offset 12: value flags 0xC8 do not fit"},
        bad_image{"value_flags_for_empty",
                  service16(0x1800) + bytes{0x30, 0x05, 0x02, 0x03, 0x00, 0x00, 0x2A, 0x00, 0xD0, 0x00},
                  "offset 12: value flags 0xD0 do not fit a 0-byte value"},
        bad_image{"value_cut_off", bytes(HEART_RATE.begin(), HEART_RATE.begin() + 15),
                  "offset 14: characteristic value cut off"},
        bad_image{"filler_not_zero", with_byte(HEART_RATE, 29, 0x07),
                  "offset 29: filler byte after the odd-length value is 0x07"},
        bad_image{"descriptor_second_byte", with_byte(HEART_RATE, 17, 0x01),
                  "offset 17: second byte of the descriptor entry is 0x01"},
        bad_image{"descriptor_after_service", service16(0x1800) + bytes{0x6C, 0x00},
                  "offset 4: descriptor entry that follows no characteristic value"},
        bad_image{"too_many_services", services(21), "offset 80: more than 20 services"},
        bad_image{"beyond_handle_255", beyond_handle_255(), "offset 1020: needs more than 255 handles"}),
    case_name);

TEST(image_decoder, reads_uuids_of_every_width) {
    const bytes image =
        bytes{0x00, 0x10, 0xFB, 0x34, 0x9B, 0x5F, 0x80, 0x00, 0x00,
              0x80, 0x00, 0x10, 0x00, 0x00, 0x0D, 0x18, 0x00, 0x00} +
        bytes{0x30, 0x13, 0x0A, 0x03, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0xEF, 0xCD, 0xAB} +
        bytes{0x00, 0xC8, 0x03, 0x01, 0x02, 0x03, 0x00};
    const database expected{{{"0000180D00001000800000805F9B34FB", {{"ABCDEF01", 0x0A, {1, 2, 3}, false}}}}};
    EXPECT_EQ(decode_image(image), expected);
}

}  // namespace
}  // namespace gattdb::tool
