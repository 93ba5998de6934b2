// SPDX-License-Identifier: MIT
// The byte layout of the database image: entry markers, field widths and entry sizes.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "../table/table.hpp"

namespace gattdb {

inline constexpr std::uint8_t SERVICE_MARKER = 0x00;
inline constexpr std::uint8_t DECLARATION_MARKER = 0x30;
inline constexpr std::uint8_t VALUE_MARKER = 0x00;
inline constexpr std::uint8_t DESCRIPTOR_MARKER = 0x6C;

inline constexpr std::uint8_t VALUE_FLAGS_UUID_16 = 0xD0;
inline constexpr std::uint8_t VALUE_FLAGS_WIDE_UUID = 0xC8;  // 32- and 128-bit UUIDs
inline constexpr std::uint8_t VALUE_FLAGS_EMPTY = 0x0C;      // added when the value is empty

// Handles are one byte wide in the image (the value handle's high byte is always 0).
inline constexpr std::uint32_t MAX_HANDLE = GATTDB_MAX_HANDLE;

// A 32-bit UUID takes a 16-byte field like a 128-bit one, padded with zeros, not a base UUID.
constexpr std::size_t uuid_field_length(uuid_kind kind) { return kind == UUID_16 ? 2 : 16; }

constexpr std::size_t service_entry_size(uuid_kind kind) { return 2 + uuid_field_length(kind); }
constexpr std::size_t declaration_entry_size(uuid_kind kind) { return 5 + uuid_field_length(kind); }
// Where a declaration entry, and so a characteristic's entries, hold the value handle's low byte.
inline constexpr std::size_t VALUE_HANDLE_OFFSET = 3;
// Values are padded to an even length.
constexpr std::size_t value_entry_size(std::size_t length) { return 3 + length + length % 2; }
inline constexpr std::size_t DESCRIPTOR_ENTRY_SIZE = 2;

constexpr std::size_t characteristic_entries_size(uuid_kind kind, std::size_t value_length, bool cccd) {
    return declaration_entry_size(kind) + value_entry_size(value_length) + (cccd ? DESCRIPTOR_ENTRY_SIZE : 0);
}
constexpr std::uint32_t characteristic_handles(bool cccd) { return cccd ? 3 : 2; }

// The handle bound alone keeps every encodable image inside the 16-bit size and write position: no
// attribute costs more than 140 bytes per handle (a 128-bit characteristic with a 255-byte value and
// no descriptor: 280 bytes over 2 handles), so 255 handles stay below 36,000 bytes.
inline constexpr std::size_t MAX_BYTES_PER_HANDLE = std::max(
    {service_entry_size(UUID_128), characteristic_entries_size(UUID_128, GATTDB_MAX_VALUE_LENGTH, false) / 2,
     characteristic_entries_size(UUID_128, GATTDB_MAX_VALUE_LENGTH, true) / 3});
static_assert(MAX_BYTES_PER_HANDLE == 140);
static_assert(MAX_HANDLE * MAX_BYTES_PER_HANDLE <= UINT16_MAX);

// The image size, or 0 when the table is empty or needs a handle above MAX_HANDLE: refused rather
// than encoded with wrapped handles. See MAX_BYTES_PER_HANDLE for why the byte count then always fits.
inline std::uint16_t encodable_image_size() {
    if (table.handles > MAX_HANDLE) return 0;
    return static_cast<std::uint16_t>(table.image_bytes);
}

}  // namespace gattdb
