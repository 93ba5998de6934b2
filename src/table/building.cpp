// SPDX-License-Identifier: MIT
// The building calls: init_db, add_primary_service and add_characteristic.
#include "../image/entries.hpp"
#include "../image/layout.hpp"
#include "entry_store.hpp"
#include "gattdb.h"
#include "table.hpp"
#include "uuid_text.hpp"

namespace gattdb {
namespace {

// The characteristic goes into the service added last; only when that one is full does it go into
// the latest earlier service with room, after the characteristics that service already holds.
service_record *service_with_room() {
    for (std::size_t i = table.service_count; i > 0; --i) {
        service_record &service = table.services[i - 1];
        if (service.characteristic_count < MAX_CHARACTERISTICS) return &service;
    }
    return nullptr;
}

static_assert(characteristic_entries_size(UUID_128, GATTDB_MAX_VALUE_LENGTH, true) <= MAX_STORED_ENTRY_SIZE,
              "the entry store takes any characteristic's entries");

}  // namespace
}  // namespace gattdb

using namespace gattdb;

extern "C" void init_db(void) {
    release_entries();
    table.service_count = 0;
    table.image_bytes = 0;
    table.handles = 0;
    table.stored_out_of_order = false;
}

extern "C" int32_t add_primary_service(const char *uuid_text) {
    uuid_record uuid;
    if (!parse_uuid(uuid_text, uuid) || table.service_count == MAX_SERVICES) return 0;
    std::uint8_t *entry = store_entry(service_entry_size(uuid.kind));
    if (entry == nullptr) return 0;
    write_service_entry(entry, uuid);

    service_record &service = table.services[table.service_count];
    service.entry = entry;
    service.kind = uuid.kind;
    service.characteristic_count = 0;
    ++table.service_count;
    table.image_bytes += service_entry_size(uuid.kind);
    table.handles += 1;
    return 1;
}

extern "C" int32_t add_characteristic(const char *uuid_text, int32_t properties, uint8_t value_length,
                                      const uint8_t *value, uint8_t cccd_flag) {
    if (value_length != 0 && value == nullptr) return 0;
    uuid_record uuid;
    if (!parse_uuid(uuid_text, uuid)) return 0;
    service_record *service = service_with_room();
    if (service == nullptr) return 0;

    const bool cccd = cccd_flag != 0;
    const std::size_t size = characteristic_entries_size(uuid.kind, value_length, cccd);
    std::uint8_t *entries = store_entry(size);
    if (entries == nullptr) return 0;
    // The value handle it has while it is the last characteristic in the image; if it is not,
    // stored_out_of_order has generate_db number it afresh.
    write_characteristic_entries(entries, uuid, static_cast<std::uint8_t>(properties),
                                 static_cast<std::uint8_t>(table.handles + 2), value, value_length, cccd);
    if (service != &table.services[table.service_count - 1]) table.stored_out_of_order = true;

    service->characteristics[service->characteristic_count++] =
        characteristic_record{entries, uuid.kind, value_length, cccd_flag};
    table.image_bytes += size;
    table.handles += characteristic_handles(cccd);
    return 1;
}
