// SPDX-License-Identifier: MIT
// Values written as parts in descriptions: what each part gives, and how a bad one is refused.
#include <gtest/gtest.h>

#include "core/readers/description_reader.hpp"
#include "core/readers/value_parts.hpp"
#include "error_table.hpp"

namespace gattdb::tool {
namespace {

std::string with_value(const std::string &value) {
    return R"({"services": [{"uuid": "180D", "characteristics": [{"uuid": "2A37", "value": )" + value +
           "}]}]}";
}

struct typed_value {
    const char *name;
    std::string value;  // the JSON of "value"
    std::vector<std::uint8_t> bytes;
    std::string error;  // empty when accepted; else how the message starts
};

void PrintTo(const typed_value &c, std::ostream *os) { *os << c.name; }

const std::string AT = "services[0].characteristics[0].value";

const typed_value CASES[] = {
    {"heart_rate_measurement", R"([{"uint8": 0}, {"uint16": 72}])", {0x00, 0x48, 0x00}, ""},
    {"hex_and_text_parts", R"(["0A0b", {"utf8": "hi"}])", {0x0A, 0x0B, 'h', 'i'}, ""},
    {"no_parts", "[]", {}, ""},
    {"uint24_little_endian", R"([{"uint24": 1193046}])", {0x56, 0x34, 0x12}, ""},
    {"uint48_largest", R"([{"uint48": 281474976710655}])", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, ""},
    {"uint64_largest", R"([{"uint64": 18446744073709551615}])", std::vector<std::uint8_t>(8, 0xFF), ""},
    {"int8_smallest", R"([{"int8": -128}])", {0x80}, ""},
    {"int16_minus_one", R"([{"int16": -1}])", {0xFF, 0xFF}, ""},
    {"int24_negative", R"([{"int24": -2}])", {0xFE, 0xFF, 0xFF}, ""},
    {"int32_positive", R"([{"int32": 2147483647}])", {0xFF, 0xFF, 0xFF, 0x7F}, ""},
    {"int64_smallest", R"([{"int64": -9223372036854775808}])", {0, 0, 0, 0, 0, 0, 0, 0x80}, ""},
    {"uint8_too_large", R"([{"uint8": 256}])", {}, AT + "[0].uint8: 256 is out of range 0 to 255"},
    {"uint16_negative", R"([{"uint16": -1}])", {}, AT + "[0].uint16: -1 is out of range 0 to 65535"},
    {"int8_too_small", R"([{"int8": -129}])", {}, AT + "[0].int8: -129 is out of range -128 to 127"},
    {"int64_too_large",
     R"([{"int64": 9223372036854775808}])",
     {},
     AT + "[0].int64: 9223372036854775808 is out of range -9223372036854775808 to 9223372036854775807"},
    {"beyond_64_bits", R"([{"uint64": 18446744073709551616}])", {}, AT + "[0].uint64: "},
    {"fraction",
     R"(["00", {"uint16": 72.5}])",
     {},
     AT + "[1].uint16: 72.5 is a fraction; expected an integer"},
    {"number_as_text", R"([{"uint16": "72"}])", {}, AT + "[0].uint16: expected an integer"},
    {"unknown_key", R"([{"uint12": 1}])", {}, AT + "[0].uint12: unknown key \"uint12\" (expected uint8, "},
    {"short_name_is_no_key", R"([{"u16": 1}])", {}, AT + "[0].u16: unknown key \"u16\""},
    {"two_keys", R"([{"uint8": 1, "uint16": 2}])", {}, AT + "[0]: expected one key (uint8, "},
    {"utf8_not_text", R"([{"utf8": 5}])", {}, AT + "[0].utf8: expected a string"},
    {"odd_hex", R"(["ABC"])", {}, AT + "[0]: not an even number of hex digits"},
    {"number_part", "[5]", {}, AT + "[0]: expected a string of hex digits or an object"},
    {"not_array_or_string", "5", {}, AT + ": expected a string of hex digits or an array of parts"},
    {"too_long_in_all",
     R"([{"utf8": ")" + std::string(200, 'a') + R"("}, ")" + std::string(112, 'F') + R"("])",
     {},
     AT + ": value of 256 bytes, at most 255"},
};

class typed_values : public ::testing::TestWithParam<typed_value> {};

TEST_P(typed_values, give_their_bytes_or_name_the_path_and_reason) {
    const typed_value &c = GetParam();
    if (c.error.empty()) {
        EXPECT_EQ(read_description(with_value(c.value)).services[0].characteristics[0].value, c.bytes);
    } else {
        EXPECT_TRUE(
            testing::starts_with(testing::error_of([&] { read_description(with_value(c.value)); }), c.error));
    }
}

INSTANTIATE_TEST_SUITE_P(each, typed_values, ::testing::ValuesIn(CASES),
                         [](const auto &info) { return std::string(info.param.name); });

// The short form of the page's value field reads through the same formats.
TEST(value_text, reads_formats_strings_and_hex_and_names_the_bad_part) {
    EXPECT_EQ(read_value_text("u8 0, u16 72"), (std::vector<std::uint8_t>{0x00, 0x48, 0x00}));
    EXPECT_EQ(read_value_text(R"(int16 -2 "a b" 0A)"),
              (std::vector<std::uint8_t>{0xFE, 0xFF, 'a', ' ', 'b', 0x0A}));
    EXPECT_EQ(read_value_text("  "), std::vector<std::uint8_t>{});
    const std::pair<const char *, const char *> refused[] = {
        {"u8 1 u16 70000", "part 2: 70000 is out of range 0 to 65535"},
        {"u16", "part 1: no number after u16"},
        {"u16 x", "part 1: x is not a number"},
        {"u16 7.5", "part 1: 7.5 is a fraction; expected an integer"},
        {"u12 1", "part 1: \"u12\" is neither hex digits nor one of uint8, "},
        {R"("open)", "part 1: a string without its closing quote"},
    };
    for (const auto &[text, message] : refused) {
        try {
            read_value_text(text);
            ADD_FAILURE() << text << " accepted";
        } catch (const input_error &error) {
            EXPECT_EQ(std::string(error.what()).substr(0, std::string(message).size()), message)
                << error.what();
        }
    }
}

}  // namespace
}  // namespace gattdb::tool
