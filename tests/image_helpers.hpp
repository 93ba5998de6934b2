// SPDX-License-Identifier: MIT
// Shared helpers for tests that build databases through the C interface and read back images.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gattdb.h"
#include "hex_bytes.hpp"

namespace gattdb_test {

// The image as get_db_size and generate_db give it. Also checks that generate_db writes nothing past
// the size it reported and that asking twice gives the same image.
bytes current_image();

// Adds a characteristic with the given value bytes.
int32_t add_characteristic_value(const char *uuid, int32_t properties, const bytes &value, uint8_t cccd);

// Every test starts and ends with an empty table, so none depends on another's leftovers and the
// value copies are released before the process ends.
class EmptyTable : public ::testing::Test {
   protected:
    void SetUp() override { init_db(); }
    void TearDown() override { init_db(); }
};

}  // namespace gattdb_test
