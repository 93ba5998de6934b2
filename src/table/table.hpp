// The attribute table: the library's whole state, one fixed-capacity table with static storage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "gattdb.h"

namespace gattdb {

enum uuid_kind : std::uint32_t {
    UUID_NONE = 0,  // marks a free slot
    UUID_16 = 1,
    UUID_32 = 2,
    UUID_128 = 3,
};

// A UUID's bytes in the order of its text, most significant first; unused positions stay 0.
struct uuid_record {
    uuid_kind kind;
    std::uint8_t bytes[16];
};

struct characteristic_record {
    uuid_record uuid;
    std::int32_t properties;  // kept as passed; only the low 8 bits reach the image
    std::uint8_t value_length;
    std::uint8_t *value;  // heap copy owned by the slot; null when value_length is 0
    std::uint8_t cccd_flag;
};

inline constexpr std::size_t MAX_SERVICES = GATTDB_MAX_SERVICES;
inline constexpr std::size_t MAX_CHARACTERISTICS = GATTDB_MAX_CHARACTERISTICS;

struct service_record {
    uuid_record uuid;
    characteristic_record characteristics[MAX_CHARACTERISTICS];
};

// Zero-filled at load time, so the table starts empty and needs no constructor.
//
// Slots are taken lowest-free-first and only ever freed all at once by init_db, and a call that
// fails never takes a slot, so the slots in use always form a prefix and every free slot is all
// zero. The walks below rely on that: they stop at the first free slot and never touch the rest.
extern service_record service_table[MAX_SERVICES];

template <typename Slot>
std::size_t slots_in_use(std::span<Slot> slots) {
    std::size_t count = 0;
    while (count < slots.size() && slots[count].uuid.kind != UUID_NONE) ++count;
    return count;
}

inline std::span<service_record> services_in_use() {
    std::span<service_record> all(service_table);
    return all.first(slots_in_use(all));
}

inline std::span<characteristic_record> characteristics_in_use(service_record &service) {
    std::span<characteristic_record> all(service.characteristics);
    return all.first(slots_in_use(all));
}

}  // namespace gattdb
