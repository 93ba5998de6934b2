// SPDX-License-Identifier: MIT
// The databases `gattdb new` starts people from: every service of the requirements table gives one
// that builds and that check finds nothing in.
#include <gtest/gtest.h>

#include "core/analysis/checks.hpp"
#include "core/model/service_requirements.hpp"
#include "core/readers/description_reader.hpp"
#include "core/writers/built_database.hpp"
#include "core/writers/description_writer.hpp"
#include "core/writers/service_template.hpp"

namespace gattdb::tool {
namespace {

std::vector<std::string> messages(const std::vector<finding> &findings) {
    std::vector<std::string> lines;
    for (const finding &f : findings) lines.push_back(f.rule + ": " + f.message);
    return lines;
}

class every_service : public ::testing::TestWithParam<bool> {};

TEST_P(every_service, builds_and_checks_clean) {
    const std::vector<sig_service> services = sig_services();
    ASSERT_EQ(services.size(), 34u);
    for (const sig_service &s : services) {
        SCOPED_TRACE(std::string(s.short_name));
        std::vector<std::string> warnings;
        const database db = database_template({{s.uuid}, GetParam(), "gattdb"}, warnings);
        // Through the description, as `gattdb new` writes it and `gattdb build` reads it.
        const database written = read_description(write_description(db));
        EXPECT_EQ(written, db);
        EXPECT_EQ(messages(check_database(written)), std::vector<std::string>{});
        EXPECT_FALSE(name_and_build(written, "template").image.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(with_and_without_optional, every_service, ::testing::Bool());

TEST(service_template, starts_with_generic_access_and_attribute_then_the_services_in_order) {
    std::vector<std::string> warnings;
    const database db = database_template({{0x180D, 0x180F}, false, "sensor"}, warnings);
    EXPECT_EQ(
        db,
        (database{{
            {"1800", {{"2A00", 0x02, {'s', 'e', 'n', 's', 'o', 'r'}, false}, {"2A01", 0x02, {0, 0}, false}}},
            {"1801", {{"2A05", 0x20, {}, true}}},
            {"180D", {{"2A37", 0x10, {}, true}}},
            {"180F", {{"2A19", 0x02, {}, false}}},
        }}));
    EXPECT_EQ(warnings, std::vector<std::string>{});
    const database optional = database_template({{0x180D}, true, "gattdb"}, warnings);
    EXPECT_EQ(optional.services[2].characteristics.size(), 2u);  // 2A38, not the conditional 2A39
}

TEST(service_template, leaves_out_what_needs_a_descriptor_the_image_cannot_hold) {
    std::vector<std::string> warnings;
    const service automation = service_template(0x1815, {}, warnings);
    // Digital needs Number of Digitals; Analog and Aggregate stay.
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0],
              "left out characteristic 2A56 Digital of service 1815 Automation IO: it needs the "
              "number_of_digitals descriptor, which the image cannot hold");
    EXPECT_EQ(automation.characteristics.size(), 2u);
}

TEST(service_template, names_services_by_uuid_or_short_name_and_suggests_the_closest) {
    EXPECT_EQ(template_service_named("heart_rate"), 0x180D);
    EXPECT_EQ(template_service_named("180d"), 0x180D);
    EXPECT_EQ(template_service_named("battery_service"), 0x180F);
    EXPECT_EQ(template_service_named("heart"), std::nullopt);
    EXPECT_EQ(template_service_named("2A37"), std::nullopt);
    EXPECT_EQ(closest_service_names("hart_rate").front(), "heart_rate");
    EXPECT_EQ(closest_service_names("batery").front(), "battery_service");
}

TEST(service_template, refuses_more_than_the_image_holds) {
    std::vector<std::string> warnings;
    EXPECT_THROW(database_template({std::vector<std::uint16_t>(19, 0x180D), false, "x"}, warnings),
                 input_error);
    EXPECT_THROW(database_template({{0x181C}, false, std::string(256, 'x')}, warnings), input_error);
}

}  // namespace
}  // namespace gattdb::tool
