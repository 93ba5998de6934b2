// SPDX-License-Identifier: MIT
// UUID text: exactly 4, 8 or 32 hex digits; everything else is refused, never read leniently.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "table/byte_order.hpp"
#include "table/uuid_text.hpp"

namespace gattdb {
namespace {

struct AcceptedText {
    std::string text;
    uuid_kind kind;
    std::vector<std::uint8_t> bytes;  // as the image's field holds them
};

TEST(UuidText, AcceptsHexDigitsOfTheThreeWidths) {
    const AcceptedText cases[] = {
        {"180D", UUID_16, {0x0D, 0x18}},
        {"180d", UUID_16, {0x0D, 0x18}},
        {"aBcF", UUID_16, {0xCF, 0xAB}},
        {"12345678", UUID_32, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x78, 0x56, 0x34, 0x12}},
        {"0000180D00001000800000805F9B34FB",
         UUID_128,
         {0xFB, 0x34, 0x9B, 0x5F, 0x80, 0x00, 0x00, 0x80, 0x00, 0x10, 0x00, 0x00, 0x0D, 0x18, 0x00, 0x00}},
        {"0123456789abcdefFEDCBA9876543210",
         UUID_128,
         {0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE, 0xEF, 0xCD, 0xAB, 0x89, 0x67, 0x45, 0x23, 0x01}},
        {"ffffffffffffffffffffffffffffffff", UUID_128, std::vector<std::uint8_t>(16, 0xFF)},
    };
    for (const AcceptedText &c : cases) {
        uuid_record record{};
        std::fill(std::begin(record.bytes), std::end(record.bytes), 0xAA);  // parsing must clear stale bytes
        ASSERT_TRUE(parse_uuid(c.text.c_str(), record)) << c.text;
        EXPECT_EQ(record.kind, c.kind) << c.text;
        std::vector<std::uint8_t> expected = c.bytes;
        expected.resize(16, 0);
        EXPECT_EQ(std::vector<std::uint8_t>(record.bytes, record.bytes + 16), expected) << c.text;
    }
}

TEST(UuidText, RefusesEverythingElseAndLeavesTheRecordAlone) {
    const std::string rejected[] = {
        "",
        "1",
        "180",
        "123456",
        "1234567",
        "123456789",
        std::string(31, 'A'),
        std::string(33, 'A'),
        std::string(34, 'A'),
        "0000180D-0000-1000-8000-00805F9B34FB",
        "18G0",
        "180D ",
        " 180D",
        " 1AB",  // lenient readings would give 01AB
        "+1FF",
        "-1FF",  // would give FFFF
        "0x1F",
        "12\t4",
        "18 D",  // would give 180D
        "180D\n",
        "1 80D0000",
        std::string(520, 'A'),  // a count kept in 8 bits would wrap to 8 digits
        std::string(264, 'A'),
    };
    for (const std::string &text : rejected) {
        uuid_record record{UUID_16, {0x12, 0x34}};
        EXPECT_FALSE(parse_uuid(text.c_str(), record)) << '"' << text << '"';
        EXPECT_EQ(record.kind, UUID_16);
        EXPECT_EQ(record.bytes[0], 0x12);
        EXPECT_EQ(record.bytes[1], 0x34);
    }
}

TEST(UuidText, RefusesNull) {
    uuid_record record{};
    EXPECT_FALSE(parse_uuid(nullptr, record));
    EXPECT_EQ(record.kind, UUID_NONE);
}

// Hosts of either byte order store a word alike. The host's own way, and the shifts that serve
// big-endian hosts, which give the same bytes on any host and so run on little-endian ones too. (The
// one store of little-endian hosts is right only on them.)
TEST(ByteOrder, EveryHostStoresTheLeastSignificantByteFirst) {
    const std::uint64_t word = 0x0123456789ABCDEF;
    const std::vector<std::uint8_t> expected = {0xEF, 0xCD, 0xAB, 0x89, 0x67, 0x45, 0x23, 0x01};
    for (auto store : {store_least_significant_first<std::endian::native>,
                       store_least_significant_first<std::endian::big>}) {
        std::vector<std::uint8_t> out(8);
        store(out.data(), word);
        EXPECT_EQ(out, expected);
    }
}

}  // namespace
}  // namespace gattdb
