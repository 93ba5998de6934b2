// SPDX-License-Identifier: MIT
// The attribute table: the library's whole state, one fixed-capacity table with static storage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "gattdb.h"

namespace gattdb {

enum uuid_kind : std::uint8_t {
    UUID_NONE = 0,  // not a UUID: what reading an invalid text gives
    UUID_16 = 1,
    UUID_32 = 2,
    UUID_128 = 3,
};

// A UUID's bytes as its image field holds them, so that encoding it is a plain copy: least
// significant first, a 16-bit UUID in bytes 0-1, a 32-bit one in bytes 12-15 after twelve zeros (its
// field is as wide as a 128-bit one's). Bytes outside the field are 0.
struct uuid_record {
    uuid_kind kind;
    std::uint8_t bytes[16];
};

// What the table keeps of each entry is where the entry store holds its encoded bytes and what gives
// their size. The UUID, the properties and the value are in those bytes only.
struct characteristic_record {
    std::uint8_t *entries;  // its declaration, value and descriptor entries, as the image has them
    uuid_kind kind;
    std::uint8_t value_length;
    std::uint8_t cccd_flag;
};

inline constexpr std::size_t MAX_SERVICES = GATTDB_MAX_SERVICES;
inline constexpr std::size_t MAX_CHARACTERISTICS = GATTDB_MAX_CHARACTERISTICS;

struct service_record {
    std::uint8_t *entry;  // its service entry, as the image has it
    uuid_kind kind;
    std::uint8_t characteristic_count;  // slots in use, from the first
    characteristic_record characteristics[MAX_CHARACTERISTICS];
};

// Slots are taken lowest-free-first and only ever freed all at once by init_db, and a call that fails
// never takes a slot, so the slots in use always form a prefix and their counts say where it ends.
// Keeping the counts spares every call a walk over the table, and spares init_db clearing the slots:
// a slot past the count is never read, and taking it writes all of it.
struct attribute_table {
    std::size_t service_count;
    // What the image needs, added up by the adding calls so that sizing it is no walk either. Neither
    // can wrap: a full table needs about 226,000 bytes and 2,420 handles.
    std::uint32_t image_bytes;
    std::uint32_t handles;
    // Set once a characteristic has gone into a service before the last, whose entries then follow
    // later services' in the entry store; until then the store holds the image as it is, value
    // handles included.
    bool stored_out_of_order;
    service_record services[MAX_SERVICES];
};

// Zero-filled at load time, so the table starts empty and needs no constructor.
extern attribute_table table;

inline std::span<service_record> services_in_use() { return {table.services, table.service_count}; }

inline std::span<characteristic_record> characteristics_in_use(service_record &service) {
    return {service.characteristics, service.characteristic_count};
}

}  // namespace gattdb
