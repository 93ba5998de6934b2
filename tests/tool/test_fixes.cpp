// SPDX-License-Identifier: MIT
// The mechanical fixes of `gattdb check --fix`: each makes its finding go and leaves nothing to do a
// second time, and none gets past the update gate by moving a released handle.
#include <gtest/gtest.h>

#include <algorithm>

#include "clean_database.hpp"
#include "core/analysis/checks.hpp"

namespace gattdb::tool {
namespace {

using namespace samples;

bool has(const std::vector<finding> &findings, const std::string &rule) {
    return std::any_of(findings.begin(), findings.end(), [&](const finding &f) { return f.rule == rule; });
}

struct fix_case {
    const char *name;
    std::string rule;
    database db;
};

void PrintTo(const fix_case &c, std::ostream *out) { *out << c.name; }

// 1826 (Fitness Machine) is a SIG service the requirements table does not list.
const fix_case FIX_CASES[] = {
    {"cccd_missing", "cccd-missing", with({{"1826", {{"2A37", NOTIFY, {}, false}}}})},
    {"cccd_unused", "cccd-unused", with({{"1826", {{"2A38", READ, {}, true}}}})},
    {"uuid128_on_base_service", "uuid128-on-base",
     with({{"0000182600001000800000805F9B34FB", {{"2A38", READ, {}, false}}}})},
    {"uuid128_on_base_characteristic", "uuid128-on-base",
     with({{"1826", {{"00002A3800001000800000805F9B34FB", READ, {}, false}}}})},
    {"service_changed_appended", "service-changed", database{{BATTERY}}},
    {"service_changed_into_generic_attribute", "service-changed",
     database{{{"1801", {{"2B2A", READ, {}, false}}}, BATTERY}}},
    {"service_changed_indicate", "service-changed-indicate",
     database{{{"1801", {{"2A05", 0, {}, false}}}, BATTERY}}},
    {"property_missing", "property-missing", with({{"180F", {{"2A19", NOTIFY, {}, true}}}})},
    {"property_missing_adds_the_descriptor", "property-missing", with({{"180D", {{"2A37", 0, {}, false}}}})},
    {"broadcast", "broadcast", with({{"1826", {{"2A38", READ | 0x01, {}, false}}}})},
    {"extended_properties", "extended-properties", with({{"1826", {{"2A38", READ | 0x80, {}, false}}}})},
};

class fixes : public ::testing::TestWithParam<fix_case> {};

TEST_P(fixes, make_their_finding_go_and_change_nothing_a_second_time) {
    const fix_case &c = GetParam();
    ASSERT_TRUE(has(check_database(c.db), c.rule));
    const fix_report once = fix_database(c.db);
    EXPECT_TRUE(has(once.applied, c.rule));
    EXPECT_FALSE(has(once.remaining, c.rule));
    EXPECT_FALSE(has(once.remaining, "cccd-missing"));  // a property added brings its descriptor
    const fix_report twice = fix_database(once.fixed);
    EXPECT_EQ(twice.fixed, once.fixed);
    EXPECT_EQ(twice.applied, std::vector<finding>{});
}

INSTANTIATE_TEST_SUITE_P(each, fixes, ::testing::ValuesIn(FIX_CASES),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(fix, every_rule_with_a_fix_has_a_case) {
    std::size_t fixable = 0;
    for (const rule_summary &r : check_rules()) {
        if (!r.fixable) continue;
        ++fixable;
        EXPECT_TRUE(std::any_of(std::begin(FIX_CASES), std::end(FIX_CASES), [&](const fix_case &c) {
            return c.rule == r.id;
        })) << r.id;
    }
    EXPECT_EQ(fixable, 8u);
}

TEST(fix, the_update_gate_refuses_a_fix_that_moves_a_released_handle) {
    // The descriptor 2A37 lacks would move 2A38; Service Changed appended at the end moves nothing.
    const database released{{BATTERY, {"180D", {{"2A37", NOTIFY, {}, false}, {"2A38", READ, {}, false}}}}};
    const fix_report report = fix_database(released, {released, {}});
    ASSERT_EQ(report.applied.size(), 1u);
    EXPECT_EQ(report.applied[0].rule, "service-changed");
    EXPECT_EQ(report.fixed.services.size(), 3u);
    EXPECT_FALSE(report.fixed.services[1].characteristics[0].cccd);
    std::vector<std::string> remaining;
    for (const finding &f : report.remaining) remaining.push_back(f.rule + ": " + f.message);
    EXPECT_EQ(remaining, std::vector<std::string>{
                             "cccd-missing: characteristic 2A37 Heart Rate Measurement can notify but has no "
                             "client characteristic configuration descriptor: clients cannot subscribe (not "
                             "fixed: the fix would move a handle of the released database)"});
    // Without the gate, the same fix is applied.
    EXPECT_TRUE(fix_database(released).fixed.services[1].characteristics[0].cccd);
}

TEST(fix, is_not_applied_where_the_image_has_no_room) {
    database full;
    full.services.assign(MAX_SERVICES, BATTERY);
    const fix_report report = fix_database(full);
    EXPECT_EQ(report.fixed, full);
    EXPECT_TRUE(has(report.remaining, "service-changed"));
}

}  // namespace
}  // namespace gattdb::tool
