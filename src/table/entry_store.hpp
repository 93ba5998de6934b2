// SPDX-License-Identifier: MIT
// The image's entries, encoded by the building calls as they add them and kept one after another in
// memory the library owns. While every entry has been added at the image's end, the store, read in
// order, is the image itself.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gattdb {

// The most one stored entry may take: more than a characteristic's declaration, value and descriptor
// entries with a 128-bit UUID and the longest value.
inline constexpr std::size_t MAX_STORED_ENTRY_SIZE = 288;

// Room for length bytes (1 to MAX_STORED_ENTRY_SIZE) after everything stored, for the caller to fill;
// null, changing nothing, when no memory can be had.
std::uint8_t *store_entry(std::size_t length);

// Copies everything stored, in the order it was stored, to out.
void copy_stored_entries(std::uint8_t *out);

// Releases everything stored.
void release_entries();

}  // namespace gattdb
