// SPDX-License-Identifier: MIT
// Slot rules, capacity and refusals of the building calls, observed through the image.
#include <cstdio>
#include <functional>
#include <string>

#include "image_helpers.hpp"

namespace gattdb_test {
namespace {

std::string uuid16(unsigned number) {
    char text[5];
    std::snprintf(text, sizeof text, "%04X", number & 0xFFFF);
    return text;
}

// Adds services of `characteristics` 128-bit characteristics each, with 255-byte values.
void add_large_services(unsigned services, unsigned characteristics, uint8_t cccd) {
    const bytes value(255, 0xEE);
    for (unsigned s = 0; s < services; ++s) {
        ASSERT_EQ(add_primary_service("0000180D00001000800000805F9B34FB"), 1);
        for (unsigned c = 0; c < characteristics; ++c) {
            ASSERT_EQ(add_characteristic_value("00002A3700001000800000805F9B34FB", 0x02, value, cccd), 1);
        }
    }
}

TEST_F(EmptyTable, StartsEmptyAndInitDbEmptiesIt) {
    EXPECT_EQ(get_db_size(), 0);
    add_primary_service("180D");
    add_characteristic_value("2A37", 0x10, {0x00, 0x48}, 1);
    ASSERT_NE(get_db_size(), 0);

    init_db();
    EXPECT_EQ(get_db_size(), 0);
    uint8_t buffer[4] = {1, 2, 3, 4};
    EXPECT_EQ(generate_db(buffer), 0);
    EXPECT_EQ(bytes(buffer, buffer + 4), bytes({1, 2, 3, 4}));
}

TEST_F(EmptyTable, GenerateDbRefusesANullBuffer) {
    add_primary_service("180D");
    EXPECT_EQ(generate_db(nullptr), 0);
}

TEST_F(EmptyTable, TwentyServicesFitAndTheTwentyFirstIsRefused) {
    for (int i = 0; i < 20; ++i) ASSERT_EQ(add_primary_service("180D"), 1) << i;
    const bytes before = current_image();
    EXPECT_EQ(add_primary_service("180F"), 0);
    EXPECT_EQ(current_image(), before);
    EXPECT_EQ(before.size(), 20u * 4);
}

TEST_F(EmptyTable, FullServiceOverflowsIntoTheLatestEarlierServiceWithRoom) {
    add_primary_service("1800");
    add_primary_service("1801");
    for (unsigned i = 0; i < 40; ++i)
        ASSERT_EQ(add_characteristic(uuid16(0x2A00 + i).c_str(), 2, 0, nullptr, 0), 1);
    ASSERT_EQ(add_characteristic("2B00", 0x02, 0, nullptr, 0), 1);

    const bytes image = current_image();
    ASSERT_EQ(image.size(), 4 + 10 + 4 + 40 * 10u);
    // The 41st characteristic is listed under the first service and takes handles 2 and 3.
    EXPECT_EQ(bytes(image.begin(), image.begin() + 18),
              from_hex("00 02 00 18 30 05 02 03 00 00 2B 00 DC 00 00 02 01 18"));
}

TEST_F(EmptyTable, CharacteristicWithNoRoomIsRefusedAndChangesNothing) {
    EXPECT_EQ(add_characteristic("2A00", 0x02, 0, nullptr, 0), 0);
    EXPECT_EQ(get_db_size(), 0);

    add_primary_service("1800");
    for (unsigned i = 0; i < 40; ++i) ASSERT_EQ(add_characteristic("2A00", 0x02, 0, nullptr, 0), 1);
    const bytes before = current_image();
    EXPECT_EQ(add_characteristic_value("2A01", 0x02, {1, 2, 3}, 1), 0);
    EXPECT_EQ(current_image(), before);
}

// Each rejected call leaves the image exactly as it was, and the next call takes the same slot.
TEST_F(EmptyTable, RejectedCallsLeaveNothingBehind) {
    const uint8_t value[] = {0x11, 0x22};
    const std::function<int32_t()> rejected_calls[] = {
        [] { return add_primary_service(nullptr); },
        [] { return add_primary_service("18G0"); },
        [] { return add_primary_service("0000180D-0000-1000-8000-00805F9B34FB"); },
        [] { return add_characteristic(nullptr, 0x02, 0, nullptr, 0); },
        [&] { return add_characteristic(nullptr, 0x02, sizeof value, value, 1); },
        [&] { return add_characteristic("2A3", 0x02, sizeof value, value, 1); },
        [] { return add_characteristic("2A37", 0x02, 2, nullptr, 1); },
    };
    for (std::size_t i = 0; i < std::size(rejected_calls); ++i) {
        init_db();
        add_primary_service("1800");
        add_characteristic_value("2A00", 0x02, {0x61}, 0);
        const bytes before = current_image();
        EXPECT_EQ(rejected_calls[i](), 0) << "call " << i;
        EXPECT_EQ(current_image(), before) << "call " << i;

        add_characteristic_value("2A01", 0x02, {0x62}, 0);
        add_primary_service("1801");
        EXPECT_EQ(current_image(), from_hex("00 02 00 18 30 05 02 03 00 00 2A 00 D0 01 61 00 "
                                            "30 05 02 05 00 01 2A 00 D0 01 62 00 00 02 01 18"))
            << "call " << i;
    }
}

TEST_F(EmptyTable, RejectedServiceLeavesCharacteristicsWithThePreviousService) {
    add_primary_service("1800");
    EXPECT_EQ(add_primary_service("18 D"), 0);
    EXPECT_EQ(add_characteristic("2A00", 0x02, 0, nullptr, 0), 1);
    EXPECT_EQ(current_image(), from_hex("00 02 00 18 30 05 02 03 00 00 2A 00 DC 00"));
}

TEST_F(EmptyTable, EmptyValuePointerIsNeverRead) {
    add_primary_service("1800");
    const auto *dangling = reinterpret_cast<const uint8_t *>(alignof(std::max_align_t));
    EXPECT_EQ(add_characteristic("2A00", 0x02, 0, dangling, 0), 1);
    EXPECT_EQ(current_image(), from_hex("00 02 00 18 30 05 02 03 00 00 2A 00 DC 00"));
}

TEST_F(EmptyTable, ValueIsCopiedDuringTheCall) {
    add_primary_service("1800");
    bytes value = {0x01, 0x02};
    add_characteristic_value("2A00", 0x02, value, 0);
    value = {0xFF, 0xFF};
    EXPECT_EQ(current_image(), from_hex("00 02 00 18 30 05 02 03 00 00 2A 00 D0 02 01 02"));
}

TEST_F(EmptyTable, SameUuidMayBeAddedAnyNumberOfTimes) {
    for (int i = 0; i < 20; ++i) EXPECT_EQ(add_primary_service("180D"), 1);
    EXPECT_EQ(add_primary_service("180D"), 0);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(add_characteristic("180D", 0x02, 0, nullptr, 0), 1);
}

// The image's handles are one byte wide: 255 handles encode, more are refused rather than wrapped.
TEST_F(EmptyTable, DatabaseBeyondHandle255IsRefused) {
    struct Case {
        unsigned services, characteristics;
        uint8_t cccd;
        std::uint16_t expected_size;
    };
    const Case cases[] = {
        // 5 + 5 * 25 * 2 = 255 handles: the largest image, 5 * 18 + 125 * 280 bytes.
        {5, 25, 0, 5 * 18 + 125 * 280},
        // 3 + 3 * 28 * 3 = 255 handles, with descriptors.
        {3, 28, 1, 3 * 18 + 84 * 282},
        {6, 25, 0, 0},   // 256 handles
        {20, 40, 1, 0},  // the full table
    };
    for (const Case &c : cases) {
        init_db();
        add_large_services(c.services, c.characteristics, c.cccd);
        EXPECT_EQ(get_db_size(), c.expected_size) << c.services << " x " << c.characteristics;
        if (c.expected_size != 0) continue;
        bytes buffer(64, 0xA5);
        EXPECT_EQ(generate_db(buffer.data()), 0);
        EXPECT_EQ(buffer, bytes(64, 0xA5));
    }
}

TEST_F(EmptyTable, Handle255IsTheLastValueHandleWritten) {
    add_large_services(5, 25, 0);
    const bytes image = current_image();
    // The last declaration starts 280 bytes before the end; its value handle follows the properties.
    EXPECT_EQ(image[image.size() - 280 + 3], 255);
}

}  // namespace
}  // namespace gattdb_test
