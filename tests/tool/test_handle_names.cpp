// SPDX-License-Identifier: MIT
// The names generated code gives services and characteristics: the rules in one table.
#include <gtest/gtest.h>

#include <set>

#include "core/readers/description_reader.hpp"
#include "core/writers/handle_formats.hpp"
#include "core/writers/handle_names.hpp"
#include "error_table.hpp"

namespace gattdb::tool {
namespace {

// The input is the description's services array, inside its brackets; the message is
// "SERVICE(CHARACTERISTIC, ...) ...", or the error's place and start.
using naming_case = testing::error_case<std::string>;

std::string flattened(const std::vector<service_names> &names) {
    std::string text;
    for (const service_names &s : names) {
        text += (text.empty() ? "" : " ") + s.name + "(";
        for (std::size_t i = 0; i < s.characteristics.size(); ++i)
            text += (i == 0 ? "" : ", ") + s.characteristics[i];
        text += ")";
    }
    return text;
}

std::string resolved(const std::string &services) {
    std::string names;
    const std::string error = testing::error_of(
        [&] { names = flattened(resolve_names(read_description(R"({"services": [)" + services + "]}"))); });
    return error.empty() ? names : error;
}

class naming_rules : public ::testing::TestWithParam<naming_case> {};

TEST_P(naming_rules, give_each_item_one_name) {
    EXPECT_TRUE(testing::starts_with(resolved(GetParam().input), GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(
    all, naming_rules,
    ::testing::Values(
        naming_case{
            "sig_names",
            R"({"uuid": "1800", "characteristics": [{"uuid": "2A04"}, {"uuid": "2AA0"}, {"uuid": "2AE7"}]})",
            "GENERIC_ACCESS(PERIPHERAL_PREFERRED_CONNECTION_PARAMETERS, MAGNETIC_FLUX_DENSITY_2D, "
            "CIE_13_3_1995_COLOR_RENDERING_INDEX)"},
        naming_case{
            "sig_names_of_wide_forms",
            R"({"uuid": "0000180D", "characteristics": [{"uuid": "00002A37-0000-1000-8000-00805F9B34FB"}]})",
            "HEART_RATE(HEART_RATE_MEASUREMENT)"},
        naming_case{
            "uuid_fallback_never_a_vendor_name",
            R"({"uuid": "6E400001-B5A3-F393-E0A9-E50E24DCCA9E", "characteristics": [{"uuid": "fff1"}]},
                       {"uuid": "abcd0001"})",
            "UUID_6E400001B5A3F393E0A9E50E24DCCA9E(UUID_FFF1) UUID_ABCD0001()"},
        naming_case{
            "explicit_names_in_upper_case",
            R"({"uuid": "180D", "name": "hr", "characteristics": [{"uuid": "2A37", "name": "Pulse_2"}]})",
            "HR(PULSE_2)"},
        naming_case{"suffixes_in_image_order",
                    R"({"uuid": "180F", "characteristics": [{"uuid": "2A19"}]},
                       {"uuid": "180F", "characteristics": [{"uuid": "2A19"}, {"uuid": "2A19"}]})",
                    "BATTERY_SERVICE(BATTERY_LEVEL) BATTERY_SERVICE_2(BATTERY_LEVEL_2, BATTERY_LEVEL_3)"},
        naming_case{"explicit_names_are_taken_first",
                    R"({"uuid": "180F"}, {"uuid": "180F"}, {"uuid": "1800", "name": "battery_service_2"})",
                    "BATTERY_SERVICE() BATTERY_SERVICE_3() BATTERY_SERVICE_2()"},
        naming_case{"kinds_apart",
                    R"({"uuid": "180D", "name": "X", "characteristics": [{"uuid": "2A37", "name": "x"}]})",
                    "X(X)"},
        naming_case{"service_collision", R"({"uuid": "180D", "name": "hr"}, {"uuid": "180F", "name": "HR"})",
                    "services[1]: the name \"HR\" is already used by services[0]"},
        naming_case{"characteristic_collision_across_services",
                    R"({"uuid": "180D", "characteristics": [{"uuid": "2A37", "name": "level"}]},
                       {"uuid": "180F", "characteristics": [{"uuid": "2A19", "name": "Level"}]})",
                    "services[1].characteristics[0]: the name \"Level\" is already used by "
                    "services[0].characteristics[0]"}),
    testing::case_name);

// Names chosen so that one item's constants look like another's: the header's constants still all
// differ, since each kind's suffixes end no other's.
TEST(header_constants, differ_whatever_the_names) {
    const database db = read_description(R"({"services": [
        {"uuid": "180D", "name": "A", "characteristics": [
            {"uuid": "2A37", "name": "A_SERVICE", "properties": ["notify"]}, {"uuid": "2A38", "name": "A_END"}]},
        {"uuid": "180F", "name": "A_VALUE", "characteristics": [
            {"uuid": "2A19", "name": "A_CCCD", "properties": ["notify"]}, {"uuid": "2A39", "name": "HANDLE"}]},
        {"uuid": "1800", "name": "A_DECLARATION"}, {"uuid": "1801", "name": "HANDLE_COUNT"}]})");
    const std::vector<service_names> names = resolve_names(db);
    const std::uint8_t image[1] = {};
    const std::string header = write_header({db, image, names, "db"});
    std::set<std::string> constants;
    std::size_t defines = 0;
    for (std::size_t at = header.find("#define DB_", header.find("#include")); at != std::string::npos;
         at = header.find("#define DB_", at + 1), ++defines) {
        constants.insert(header.substr(at, header.find(' ', at + 8) - at));
    }
    EXPECT_EQ(defines, 2u * 4 + 3 * 2 + 2 * 2 + 2);
    EXPECT_EQ(constants.size(), defines);
}

}  // namespace
}  // namespace gattdb::tool
