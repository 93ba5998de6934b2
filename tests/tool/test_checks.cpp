// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "clean_database.hpp"
#include "core/analysis/checks.hpp"
#include "error_table.hpp"

namespace gattdb::tool {
namespace {

using rule_ids = std::vector<std::string>;

using namespace samples;

rule_ids fired(const std::vector<finding> &findings) {
    rule_ids ids;
    for (const finding &f : findings) ids.push_back(f.rule);
    return ids;
}

struct rule_case {
    const char *name;
    database db;
    rule_ids expected;
};

// One small database per rule: it fires, and nothing else does.
const rule_case RULE_CASES[] = {
    {"clean", with({}), {}},
    {"cccd_missing", with({{"180D", {{"2A37", NOTIFY, {}, false}}}}), {"cccd-missing"}},
    {"cccd_unused", with({{"1826", {{"2A38", READ, {}, true}}}}), {"cccd-unused"}},
    {"extended_properties", with({{"1826", {{"2A38", READ | 0x80, {}, false}}}}), {"extended-properties"}},
    {"broadcast", with({{"1826", {{"2A38", READ | 0x01, {}, false}}}}), {"broadcast"}},
    {"no_access", with({{"1826", {{"2A38", 0, {}, false}}}}), {"no-access"}},
    {"uuid_kind_service_as_characteristic", with({{"1826", {{"180F", READ, {}, false}}}}), {"uuid-kind"}},
    {"uuid_kind_characteristic_as_service", with({{"2A19", {{"2A19", READ, {}, false}}}}), {"uuid-kind"}},
    {"uuid_kind_descriptor", with({{"1826", {{"2902", READ, {}, false}}}}), {"uuid-kind"}},
    {"uuid_kind_either_kind_in_the_table",
     with({{"8E400001F3154F609FB8838830DAEA50", {{"8E400001F3154F609FB8838830DAEA50", READ, {}, false}}}}),
     {}},
    {"uuid16_unassigned", with({{"7777", {{"2A19", READ, {}, false}}}}), {"uuid16-unassigned"}},
    {"uuid16_member_range", with({{"FE00", {{"2A19", READ, {}, false}}}}), {}},
    {"uuid128_on_base",
     with({{"0000182600001000800000805F9B34FB", {{"2A38", READ, {}, false}}}}),
     {"uuid128-on-base"}},
    {"uuid32_field", with({{"1234ABCD", {{"2A19", READ, {}, false}}}}), {"uuid32-field"}},
    {"service_changed", database{{BATTERY}}, {"service-changed"}},
    {"service_changed_as_32_bit_is_not_seen",
     database{{{"00001801", {{"00002A05", INDICATE, {}, true}}}, BATTERY}},
     {"service-changed", "uuid32-field", "uuid32-field"}},
    {"service_changed_indicate",
     database{{{"1801", {{"2A05", READ, {}, false}}}, BATTERY}},
     {"service-changed-indicate", "property-not-allowed"}},
    {"empty_service", with({{"1826", {}}}), {"empty-service"}},
    // The SIG's requirements for the services in their table (1826 is not in it).
    {"mandatory_missing", with({{"180D", {{"2A38", READ, {}, false}}}}), {"mandatory-missing"}},
    {"conditional_not_required", with({{"1822", {{"2A60", READ, {}, false}}}}), {}},
    {"property_missing", with({{"180F", {{"2A19", NOTIFY, {}, true}}}}), {"property-missing"}},
    {"property_not_allowed",
     with({{"180D", {{"2A37", NOTIFY, {}, true}, {"2A38", READ | 0x08, {}, false}}}}),
     {"property-not-allowed"}},
    {"characteristic_unknown",
     with({{"180D", {{"2A37", NOTIFY, {}, true}, {"2A19", READ, {}, false}}}}),
     {"characteristic-unknown"}},
    {"own_128_bit_characteristic_in_a_sig_service",
     with({{"180D", {{"2A37", NOTIFY, {}, true}, {"7D3B01015E1A4C2B8D6E0F1A2B3C4D5E", READ, {}, false}}}}),
     {}},
    {"service_on_the_base_uuid_is_held_to_its_requirements",
     with({{"0000180F00001000800000805F9B34FB", {{"2A19", NOTIFY, {}, true}}}}),
     {"uuid128-on-base", "property-missing"}},
};

void PrintTo(const rule_case &c, std::ostream *out) { *out << c.name; }

class rules : public ::testing::TestWithParam<rule_case> {};

TEST_P(rules, fire_alone) { EXPECT_EQ(fired(check_database(GetParam().db)), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(each, rules, ::testing::ValuesIn(RULE_CASES), testing::case_name);

TEST(check, names_the_place_and_handle_and_leaves_out_ignored_rules) {
    database db = with({{"180D", {{"2A37", NOTIFY, {}, false}}}});
    db.services[2].characteristics[0].from.place = "services[2].characteristics[0]";
    EXPECT_EQ(
        check_database(db),
        (std::vector<finding>{{"cccd-missing", severity::error, "services[2].characteristics[0]", 9,
                               "characteristic 2A37 Heart Rate Measurement can notify but has no client "
                               "characteristic configuration descriptor: clients cannot subscribe"}}));
    db.services[2].characteristics[0].from.place.clear();
    EXPECT_EQ(check_database(db)[0].place, "handle 9");
    EXPECT_EQ(check_database(db, {std::nullopt, {"cccd-missing"}}), std::vector<finding>{});
}

TEST(check, update_gate_refuses_moved_and_removed_handles_and_takes_appended_ones) {
    const database released = with({{"180D", {{"2A37", NOTIFY, {}, true}, {"2A38", READ, {}, false}}}});
    const auto gate = [&](const database &update) {
        std::vector<std::string> lines;
        for (const finding &f : check_database(update, {released, {}})) {
            lines.push_back(f.rule + " " + f.place + ": " + f.message);
        }
        return lines;
    };

    database moved = released;
    moved.services[1].characteristics.insert(
        moved.services[1].characteristics.begin(),
        characteristic{"7D3B01015E1A4C2B8D6E0F1A2B3C4D5E", READ, {}, false});
    EXPECT_EQ(
        gate(moved),
        (std::vector<std::string>{
            "handle-moved handle 8: characteristic 2A19 Battery Level in service 180F Battery Service "
            "moved (declaration 6 -> 8, value 7 -> 9): bonded clients use the handles they cached",
            "handle-moved handle 10: service 180D Heart Rate moved (handle 8 -> 10): bonded clients use "
            "the handles they cached",
            "handle-moved handle 11: characteristic 2A37 Heart Rate Measurement in service 180D Heart "
            "Rate moved (declaration 9 -> 11, value 10 -> 12, descriptor 11 -> 13): bonded clients use "
            "the handles they cached",
            "handle-moved handle 14: characteristic 2A38 Body Sensor Location in service 180D Heart Rate "
            "moved (declaration 12 -> 14, value 13 -> 15): bonded clients use the handles they cached"}));

    database removed = released;
    removed.services[2].characteristics.pop_back();
    EXPECT_EQ(gate(removed), (std::vector<std::string>{
                                 "attribute-removed handle 12: characteristic 2A38 Body Sensor Location in "
                                 "service 180D Heart Rate (handles 12-13 in the old database) is missing: "
                                 "bonded clients use the handles they cached"}));

    database appended = released;
    appended.services[2].characteristics.push_back({"2A39", 0x08, {}, false});
    appended.services.push_back({"180A", {{"2A29", READ, {}, false}}});
    EXPECT_EQ(gate(appended), std::vector<std::string>{});
}

}  // namespace
}  // namespace gattdb::tool
