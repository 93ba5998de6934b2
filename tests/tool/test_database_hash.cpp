// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "core/analysis/database_hash.hpp"
#include "core/support/hex.hpp"

namespace gattdb::tool {
namespace {

std::vector<std::uint8_t> hex(std::string_view digits) { return parse_hex(digits).value(); }

std::string hex(const cmac_tag &tag) { return hex_text(tag, ""); }

// RFC 4493, section 4: the key and message that every example takes a prefix of.
constexpr std::string_view RFC_KEY = "2B7E151628AED2A6ABF7158809CF4F3C";
constexpr std::string_view RFC_MESSAGE =
    "6BC1BEE22E409F96E93D7E117393172AAE2D8A571E03AC9C9EB76FAC45AF8E51"
    "30C81C46A35CE411E5FBC1191A0A52EFF69F2445DF4F9B17AD2B417BE66C3710";

TEST(aes_cmac, gives_the_rfc_4493_examples) {
    const struct {
        std::size_t length;
        std::string_view tag;
    } examples[] = {{0, "BB1D6929E95937287FA37D129B756746"},
                    {16, "070A16B46B4D4144F79BDD9DD04A287C"},
                    {40, "DFA66747DE9AE63030CA32611497C827"},
                    {64, "51F0BEBF7E3B9D92FC49741779363CFE"}};
    aes_key key;
    const std::vector<std::uint8_t> key_bytes = hex(RFC_KEY);
    std::copy(key_bytes.begin(), key_bytes.end(), key.begin());
    const std::vector<std::uint8_t> message = hex(RFC_MESSAGE);
    for (const auto &example : examples) {
        EXPECT_EQ(hex(aes_cmac(key, std::span(message).first(example.length))), example.tag)
            << example.length;
    }
}

// The hash input written out by hand: handle and type of each attribute, little-endian, then the
// declaration's value; descriptors without a value; characteristic values left out.
TEST(database_hash, covers_declarations_and_descriptors_in_handle_order) {
    const database db{{
        {"180D", {{"2A37", 0x10, {0x00, 0x48}, true}, {"2A38", 0x02, {0x01}, false}}},
        {"12345678", {{"0000FFE1000010008000AABBCCDDEEFF", 0x08, {}, false}}},
    }};
    // clang-format off
    const std::vector<std::uint8_t> expected_input = hex(
        "01000028" "0D18"                                  // service 180D
        "02000328" "10" "0300" "372A"                      // declaration: notify, value handle 3, 2A37
        "04000229"                                         // its descriptor
        "05000328" "02" "0600" "382A"                      // declaration: read, value handle 6, 2A38
        "07000028" "000000000000000000000000" "78563412"   // service 12345678, in a 16-byte field
        "08000328" "08" "0900" "FFEEDDCCBBAA008000100000E1FF0000");  // write, value handle 9
    // clang-format on
    EXPECT_EQ(hex(database_hash(db)), hex(aes_cmac(aes_key{}, expected_input)));

    database other_values = db;
    other_values.services[0].characteristics[0].value = {0x01, 0x02, 0x03};
    EXPECT_EQ(hex(database_hash(other_values)), hex(database_hash(db)));
}

}  // namespace
}  // namespace gattdb::tool
