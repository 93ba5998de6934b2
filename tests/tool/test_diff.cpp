// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "core/analysis/diff.hpp"

namespace gattdb::tool {
namespace {

using lines = std::vector<std::string>;

const database HEART_RATE{{
    {"180D", {{"2A37", 0x10, {0x00, 0x48}, true}, {"2A38", 0x02, {0x01}, false}}},
    {"180F", {{"2A19", 0x12, {0x64}, true}}},
}};

TEST(diff, nothing_for_the_same_database) { EXPECT_EQ(compare_databases(HEART_RATE, HEART_RATE), lines{}); }

TEST(diff, reports_moved_handles_first) {
    database changed = HEART_RATE;
    changed.services[0].characteristics.insert(changed.services[0].characteristics.begin() + 1,
                                               characteristic{"2A39", 0x08, {}, false});
    EXPECT_EQ(
        compare_databases(HEART_RATE, changed),
        (lines{
            "moved: characteristic 2A38 Body Sensor Location in service 180D Heart Rate: declaration 5 -> 7, "
            "value 6 -> 8",
            "moved: service 180F Battery Service: handle 7 -> 9",
            "moved: characteristic 2A19 Battery Level in service 180F Battery Service: declaration 8 -> 10, "
            "value 9 -> 11, descriptor 10 -> 12",
            "added: characteristic 2A39 Heart Rate Control Point in service 180D Heart Rate (handles 5-6)"}));
}

TEST(diff, reports_changed_properties_value_and_descriptor) {
    database changed = HEART_RATE;
    characteristic &level = changed.services[1].characteristics[0];
    level.properties = 0x02;
    level.value = {0x32};
    level.cccd = false;
    EXPECT_EQ(
        compare_databases(HEART_RATE, changed),
        (lines{
            "changed: characteristic 2A19 Battery Level in service 180F Battery Service: properties read, "
            "notify -> read",
            "changed: characteristic 2A19 Battery Level in service 180F Battery Service: value 64 -> 32",
            "changed: characteristic 2A19 Battery Level in service 180F Battery Service: descriptor removed "
            "(was handle 10)"}));
}

TEST(diff, matches_equal_uuids_by_order_and_reports_removed_services) {
    database old_db{{{"1800", {{"2A00", 0x02, {}, false}, {"2A00", 0x02, {}, false}}}, {"180F", {}}}};
    database new_db{{{"1800", {{"2A00", 0x02, {}, false}}}}};
    EXPECT_EQ(
        compare_databases(old_db, new_db),
        (lines{"removed: characteristic 2A00 Device Name #2 in service 1800 Generic Access (handles 4-5)",
               "removed: service 180F Battery Service (handle 6)"}));
    EXPECT_EQ(compare_databases(new_db, old_db),
              (lines{"added: characteristic 2A00 Device Name #2 in service 1800 Generic Access (handles 4-5)",
                     "added: service 180F Battery Service (handle 6)"}));
}

}  // namespace
}  // namespace gattdb::tool
