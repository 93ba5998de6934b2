// SPDX-License-Identifier: MIT
// The copies of characteristic values the table refers to.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gattdb {

// Copies length bytes (at least 1) from value into memory the store owns; returns the copy, or null,
// changing nothing, when no memory can be had.
std::uint8_t *copy_value(const std::uint8_t *value, std::size_t length);

// Releases every copy.
void release_values();

}  // namespace gattdb
