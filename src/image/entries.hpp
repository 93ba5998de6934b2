// SPDX-License-Identifier: MIT
// Writing the image's entries. The building calls write each into the entry store as they add it, so
// that generate_db mostly copies.
#pragma once

#include <cstdint>
#include <cstring>

#include "../table/byte_order.hpp"
#include "layout.hpp"

namespace gattdb {
namespace entries_detail {

// The table holds each UUID as its field is written. Two fixed-size copies rather than one of variable
// length, which would be a call into the C library.
inline std::uint8_t *write_uuid_field(std::uint8_t *out, const uuid_record &uuid) {
    if (uuid.kind == UUID_16) {
        std::memcpy(out, uuid.bytes, uuid_field_length(UUID_16));
        return out + uuid_field_length(UUID_16);
    }
    std::memcpy(out, uuid.bytes, uuid_field_length(UUID_128));
    return out + uuid_field_length(UUID_128);
}

}  // namespace entries_detail

// Writes service_entry_size(uuid.kind) bytes.
inline void write_service_entry(std::uint8_t *out, const uuid_record &uuid) {
    *out++ = SERVICE_MARKER;
    *out++ = static_cast<std::uint8_t>(uuid_field_length(uuid.kind));
    entries_detail::write_uuid_field(out, uuid);
}

// Writes characteristic_entries_size(uuid.kind, length, cccd) bytes: the declaration, the value and,
// with cccd, the descriptor.
inline void write_characteristic_entries(std::uint8_t *out, const uuid_record &uuid, std::uint8_t properties,
                                         std::uint8_t value_handle, const std::uint8_t *value,
                                         std::uint8_t length, bool cccd) {
    // The declaration's five bytes (the value handle's high byte is 0) in one 8-byte store: the three
    // bytes past them lie within the UUID field and value entry that always follow, written next.
    store_least_significant_first(
        out, std::uint64_t{DECLARATION_MARKER} | (declaration_entry_size(uuid.kind) - 2) << 8 |
                 std::uint64_t{properties} << 16 | std::uint64_t{value_handle} << 24);
    out = entries_detail::write_uuid_field(out + 5, uuid);

    *out++ = VALUE_MARKER;
    *out++ = (uuid.kind == UUID_16 ? VALUE_FLAGS_UUID_16 : VALUE_FLAGS_WIDE_UUID) |
             (length == 0 ? VALUE_FLAGS_EMPTY : 0);
    *out++ = length;
    if (length != 0) std::memcpy(out, value, length);
    out += length;
    if (length % 2 != 0) *out++ = 0;

    if (cccd) {
        *out++ = DESCRIPTOR_MARKER;
        *out++ = 0;
    }
}

}  // namespace gattdb
