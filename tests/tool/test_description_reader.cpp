// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "core/readers/description_reader.hpp"
#include "error_table.hpp"

namespace gattdb::tool {
namespace {

std::string service_with(const std::string &characteristic) {
    return R"({"services": [{"uuid": "180D", "characteristics": [)" + characteristic + "]}]}";
}

std::string repeated(const std::string &item, std::size_t count) {
    std::string list;
    for (std::size_t i = 0; i < count; ++i) list += (i == 0 ? "" : ",") + item;
    return list;
}

using bad_description = testing::error_case<std::string>;

class description_errors : public ::testing::TestWithParam<bad_description> {};

TEST_P(description_errors, name_the_json_path_and_the_reason) {
    EXPECT_TRUE(testing::starts_with(testing::error_of([this] { read_description(GetParam().input); }),
                                     GetParam().message));
}

const std::string CHARACTERISTIC_WITH_CCCD = R"({"uuid": "2A37", "properties": ["notify"]})";

INSTANTIATE_TEST_SUITE_P(
    all, description_errors,
    ::testing::Values(
        bad_description{"not_json", "{\"services\": [", "line 1, column 14: not valid JSON: "},
        bad_description{"not_json_on_line_two", "{\n  \"services\": x",
                        "line 2, column 15: not valid JSON: "},
        bad_description{"number_overflow", "{\"services\": [1e999]}",
                        "top level: not usable JSON: number overflow parsing '1e999'"},
        bad_description{"repeated_key", service_with(R"({"uuid": "2A37", "value": "01", "value": "02"})"),
                        "services[0].characteristics[0].value: repeated key"},
        bad_description{"top_level_array", "[]", "top level: expected an object"},
        bad_description{"unknown_top_key", R"({"services": [], "version": 1})",
                        "version: unknown key \"version\""},
        bad_description{"no_services_key", "{}", "top level: missing \"services\""},
        bad_description{"no_services", R"({"services": []})", "services: no services"},
        bad_description{"service_not_object", R"({"services": [1]})", "services[0]: expected an object"},
        bad_description{"service_without_uuid", R"({"services": [{}]})", "services[0]: missing \"uuid\""},
        bad_description{"uuid_not_string", R"({"services": [{"uuid": 6157}]})",
                        "services[0].uuid: expected a string"},
        bad_description{"uuid_wrong_length", R"({"services": [{"uuid": "180"}]})",
                        "services[0].uuid: \"180\" is not 4, 8 or 32 hex digits"},
        bad_description{"uuid_with_prefix", R"({"services": [{"uuid": "0x180D"}]})", "services[0].uuid: "},
        bad_description{"uuid_dashes_misplaced",
                        R"({"services": [{"uuid": "0000180D0-000-1000-8000-00805F9B34FB"}]})",
                        "services[0].uuid: "},
        bad_description{"characteristics_not_array",
                        R"({"services": [{"uuid": "180D", "characteristics": {}}]})",
                        "services[0].characteristics: expected an array"},
        bad_description{"unknown_characteristic_key", service_with(R"({"uuid": "2A37", "colour": "red"})"),
                        "services[0].characteristics[0].colour: unknown key"},
        bad_description{"characteristic_uuid", service_with(R"({"uuid": "2A3G"})"),
                        "services[0].characteristics[0].uuid: \"2A3G\""},
        bad_description{"properties_too_big", service_with(R"({"uuid": "2A37", "properties": 256})"),
                        "services[0].characteristics[0].properties: expected an integer 0 to 255"},
        bad_description{"properties_negative", service_with(R"({"uuid": "2A37", "properties": -1})"),
                        "services[0].characteristics[0].properties: expected an integer"},
        bad_description{"properties_fraction", service_with(R"({"uuid": "2A37", "properties": 2.5})"),
                        "services[0].characteristics[0].properties: expected an integer"},
        bad_description{"property_unknown",
                        service_with(R"({"uuid": "2A37", "properties": ["read", "sing"]})"),
                        "services[0].characteristics[0].properties[1]: unknown property \"sing\""},
        bad_description{"property_not_string", service_with(R"({"uuid": "2A37", "properties": [2]})"),
                        "services[0].characteristics[0].properties[0]: expected a property name"},
        bad_description{"value_odd_digits", service_with(R"({"uuid": "2A37", "value": "123"})"),
                        "services[0].characteristics[0].value: not an even number of hex digits"},
        bad_description{"value_not_hex", service_with(R"({"uuid": "2A37", "value": "0x12"})"),
                        "services[0].characteristics[0].value: not an even number of hex digits"},
        bad_description{"value_too_long",
                        service_with(R"({"uuid": "2A37", "value": ")" + std::string(512, 'A') + "\"}"),
                        "services[0].characteristics[0].value: value of 256 bytes, at most 255"},
        bad_description{"text_too_long",
                        service_with(R"({"uuid": "2A37", "text": ")" + std::string(300, 'a') + "\"}"),
                        "services[0].characteristics[0].text: value of 300 bytes"},
        bad_description{"value_and_text", service_with(R"({"uuid": "2A37", "value": "01", "text": "a"})"),
                        "services[0].characteristics[0]: both \"value\" and \"text\""},
        bad_description{"name_not_identifier", R"({"services": [{"uuid": "180D", "name": "heart-rate"}]})",
                        "services[0].name: \"heart-rate\" is not 1 to 64 letters, digits and underscores"},
        bad_description{"name_too_long",
                        service_with(R"({"uuid": "2A37", "name": ")" + std::string(65, 'n') + "\"}"),
                        "services[0].characteristics[0].name: \"nnn"},
        bad_description{"name_not_string", service_with(R"({"uuid": "2A37", "name": 1})"),
                        "services[0].characteristics[0].name: expected a string"},
        bad_description{"cccd_not_boolean", service_with(R"({"uuid": "2A37", "cccd": 1})"),
                        "services[0].characteristics[0].cccd: expected true or false"},
        bad_description{"too_many_services", R"({"services": [)" + repeated(R"({"uuid": "1800"})", 21) + "]}",
                        "services[20]: more than 20 services"},
        bad_description{"too_many_characteristics", service_with(repeated(R"({"uuid": "2A00"})", 41)),
                        "services[0].characteristics[40]: more than 40 characteristics"},
        // Two full services take 242 handles; the third service's fifth characteristic needs 256-258.
        bad_description{"beyond_handle_255",
                        R"({"services": [)" +
                            repeated(R"({"uuid": "1800", "characteristics": [)" +
                                         repeated(CHARACTERISTIC_WITH_CCCD, 40) + "]}",
                                     3) +
                            "]}",
                        "services[2].characteristics[4]: needs more than 255 handles"}),
    testing::case_name);

TEST(description, fills_in_defaults_and_normalises_uuids) {
    const database db = read_description(R"({"services": [
        {"uuid": "0000180d-0000-1000-8000-00805f9b34fb", "characteristics": [
            {"uuid": "2a37", "properties": ["notify", "read", "notify"]},
            {"uuid": "2A38", "properties": 34, "cccd": false},
            {"uuid": "2A39", "text": "hi"},
            {"uuid": "abcdef01", "properties": ["write"], "cccd": true, "value": "00ff"}]},
        {"uuid": "1800"}]})");
    const database expected{{
        {"0000180D00001000800000805F9B34FB",
         {{"2A37", 0x12, {}, true},
          {"2A38", 0x22, {}, false},
          {"2A39", 0, {'h', 'i'}, false},
          {"ABCDEF01", 0x08, {0x00, 0xFF}, true}}},
        {"1800", {}},
    }};
    EXPECT_EQ(db, expected);
}

TEST(description, takes_exactly_the_limits) {
    const std::string full_service = R"({"uuid": "1800", "characteristics": [)" +
                                     repeated(R"({"uuid": "2A00", "value": "01"})", 40) + "]}";
    // 3 services of 40 two-handle characteristics use 243 handles; 12 one-handle services reach 255.
    const std::string at_limit = repeated(full_service, 3) + "," + repeated(R"({"uuid": "1801"})", 12);
    const database db = read_description(R"({"services": [)" + at_limit + "]}");
    EXPECT_EQ(assign_handles(db).back().last, 255u);
    EXPECT_THROW(read_description(R"({"services": [)" + at_limit + R"(, {"uuid": "1802"}]})"), input_error);
}

}  // namespace
}  // namespace gattdb::tool
