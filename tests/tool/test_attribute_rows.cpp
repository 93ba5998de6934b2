// SPDX-License-Identifier: MIT
// The one walk over the attributes, as the rows every view and the page read show it.
#include <gtest/gtest.h>

#include "core/image/decoder.hpp"
#include "core/reports/attribute_rows.hpp"
#include "core/writers/handle_names.hpp"
#include "image_bytes.hpp"

namespace gattdb::tool {
namespace {

TEST(attribute_rows, give_each_attribute_its_item_entry_and_constant) {
    const testing::bytes image = testing::golden_image("heart-rate");
    const database db = decode_image(image);
    const struct {
        unsigned handle;
        attribute_kind kind;
        std::optional<std::size_t> characteristic;
        std::string uuid;
        std::size_t offset;
        std::size_t size;
        std::string constant;
    } expected[] = {
        {1, attribute_kind::service, std::nullopt, "180D", 0, 4, "HEART_RATE_SERVICE_HANDLE"},
        {2, attribute_kind::declaration, 0, "2A37", 4, 7, "HEART_RATE_MEASUREMENT_DECLARATION_HANDLE"},
        {3, attribute_kind::value, 0, "2A37", 11, 5, "HEART_RATE_MEASUREMENT_VALUE_HANDLE"},
        {4, attribute_kind::descriptor, 0, "2902", 16, 2, "HEART_RATE_MEASUREMENT_CCCD_HANDLE"},
        {5, attribute_kind::declaration, 1, "2A38", 18, 7, "BODY_SENSOR_LOCATION_DECLARATION_HANDLE"},
        {6, attribute_kind::value, 1, "2A38", 25, 5, "BODY_SENSOR_LOCATION_VALUE_HANDLE"},
    };
    const std::vector<attribute_row> rows = attribute_rows(db);
    const std::vector<service_names> names = resolve_names(db);
    ASSERT_EQ(rows.size(), std::size(expected));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const attribute_row &row = rows[i];
        EXPECT_EQ(row.handle, expected[i].handle) << i;
        EXPECT_EQ(row.kind, expected[i].kind) << i;
        EXPECT_EQ(row.type, std::string(kind_name(expected[i].kind))) << i;
        EXPECT_EQ(row.service, 0u) << i;
        EXPECT_EQ(row.characteristic, expected[i].characteristic) << i;
        EXPECT_EQ(row.uuid, expected[i].uuid) << i;
        EXPECT_EQ(row.offset, expected[i].offset) << i;
        EXPECT_EQ(row.size, expected[i].size) << i;
        EXPECT_EQ(handle_constant(item_name(names, row.service, row.characteristic), row.kind),
                  expected[i].constant)
            << i;
    }
    EXPECT_EQ(rows.back().offset + rows.back().size, image.size());
    EXPECT_EQ(handles_used(db), 6u);
}

}  // namespace
}  // namespace gattdb::tool
