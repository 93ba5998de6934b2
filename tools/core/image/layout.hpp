// SPDX-License-Identifier: MIT
// The byte layout of the library's database image, as the tool reads it back: entry markers,
// value flags and entry sizes, written apart from the encoder so that the decoder checks it rather
// than sharing its mistakes. docs/image-format.md describes the format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/model/attributes.hpp"
#include "core/model/database.hpp"

namespace gattdb::tool::layout {

inline constexpr std::uint8_t SERVICE_MARKER = 0x00;
inline constexpr std::uint8_t DECLARATION_MARKER = 0x30;
inline constexpr std::uint8_t VALUE_MARKER = 0x00;
inline constexpr std::uint8_t DESCRIPTOR_MARKER = 0x6C;

inline constexpr std::uint8_t VALUE_FLAGS_UUID_16 = 0xD0;
inline constexpr std::uint8_t VALUE_FLAGS_WIDE_UUID = 0xC8;  // 32- and 128-bit UUIDs
inline constexpr std::uint8_t VALUE_FLAGS_EMPTY = 0x0C;      // added when the value is empty

// The declaration's length byte counts properties, the two-byte value handle and the UUID field.
inline constexpr std::size_t DECLARATION_FIXED_BYTES = 3;
inline constexpr std::size_t DESCRIPTOR_ENTRY_SIZE = 2;

// A 32-bit UUID takes a 16-byte field, like a 128-bit one.
inline std::size_t uuid_field_length(const std::string &canonical_uuid) {
    return canonical_uuid.size() == 4 ? 2 : 16;
}

inline std::uint8_t value_flags(std::size_t uuid_field, std::size_t value_length) {
    return (uuid_field == 2 ? VALUE_FLAGS_UUID_16 : VALUE_FLAGS_WIDE_UUID) |
           (value_length == 0 ? VALUE_FLAGS_EMPTY : 0);
}

// The size of each entry, and so of each attribute, in the image.
inline std::size_t service_entry_size(const service &s) { return 2 + uuid_field_length(s.uuid); }
inline std::size_t declaration_entry_size(const characteristic &c) {
    return 2 + DECLARATION_FIXED_BYTES + uuid_field_length(c.uuid);
}
inline std::size_t value_entry_size(const characteristic &c) {
    const std::size_t n = c.value.size();
    return 3 + n + n % 2;  // odd values get a filler byte
}

// The size of the attribute's entry in db's image.
inline std::size_t entry_size(const database &db, const attribute &a) {
    if (!a.in_image()) return 0;  // what only a device serves takes no bytes of an image
    const service &s = db.services[a.service];
    switch (a.kind) {
    case attribute_kind::service: return service_entry_size(s);
    case attribute_kind::declaration: return declaration_entry_size(s.characteristics[*a.characteristic]);
    case attribute_kind::value: return value_entry_size(s.characteristics[*a.characteristic]);
    case attribute_kind::descriptor: return DESCRIPTOR_ENTRY_SIZE;
    case attribute_kind::include: return 0;
    }
    return 0;
}

inline std::size_t encoded_size(const characteristic &c) {
    return declaration_entry_size(c) + value_entry_size(c) + (c.cccd ? DESCRIPTOR_ENTRY_SIZE : 0);
}

inline std::size_t encoded_size(const service &s) {
    std::size_t bytes = service_entry_size(s);
    for (const characteristic &c : s.characteristics) bytes += encoded_size(c);
    return bytes;
}

}  // namespace gattdb::tool::layout
