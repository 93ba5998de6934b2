// SPDX-License-Identifier: MIT
// The databases the benchmarks build, added through the C interface exactly as a host adds them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gattdb_bench {

// The largest database the image can express: 5 services of 25 characteristics, every UUID 128-bit,
// every value 255 bytes, no descriptors. That is 5 + 125 * 2 = 255 handles, the most a one-byte
// handle allows, and the largest image, since a 255-byte value without a descriptor carries the most
// bytes per handle.
inline constexpr std::size_t LARGEST_SERVICES = 5;
inline constexpr std::size_t LARGEST_CHARACTERISTICS_PER_SERVICE = 25;
inline constexpr std::uint16_t LARGEST_IMAGE_SIZE = 35090;

// Every slot of the table in use (20 services of 40 characteristics, shaped like the largest
// database's), which is more than any image can express but what init_db can be handed.
inline constexpr std::size_t FULL_SERVICES = 20;
inline constexpr std::size_t FULL_CHARACTERISTICS_PER_SERVICE = 40;

// The heart-rate database: service 180D with 2A37 (notify, value 00 48, a descriptor) and 2A38
// (read, value 01).
inline constexpr std::uint16_t HEART_RATE_IMAGE_SIZE = 30;

// The tables the scaling benchmark compares: a small one and every slot in use, each built from
// 16-bit UUIDs and empty values, so that a call's cost is the table's bookkeeping and the reading of
// its text, nothing else.
struct table_shape {
    std::size_t services;
    std::size_t characteristics_per_service;
};
inline constexpr table_shape SMALL_TABLE{1, 10};
inline constexpr table_shape FULL_TABLE{FULL_SERVICES, FULL_CHARACTERISTICS_PER_SERVICE};

// Each adds to the table (after init_db, which they do not call) and returns whether every call
// succeeded.
bool add_largest_database();
bool add_full_table();
bool add_heart_rate_database();
bool add_short_uuid_table(table_shape shape);

}  // namespace gattdb_bench
