// SPDX-License-Identifier: MIT
// The building calls: init_db, add_primary_service and add_characteristic.
#include "../image/layout.hpp"
#include "gattdb.h"
#include "table.hpp"
#include "uuid_text.hpp"
#include "value_store.hpp"

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

}  // namespace
}  // namespace gattdb

using namespace gattdb;

extern "C" void init_db(void) {
    release_values();
    table.service_count = 0;
    table.image_bytes = 0;
    table.handles = 0;
}

extern "C" int32_t add_primary_service(const char *uuid_text) {
    uuid_record uuid;
    if (!parse_uuid(uuid_text, uuid) || table.service_count == MAX_SERVICES) return 0;
    service_record &service = table.services[table.service_count];
    service.uuid = uuid;
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

    std::uint8_t *copy = nullptr;
    if (value_length != 0) {
        copy = copy_value(value, value_length);
        if (copy == nullptr) return 0;
    }
    service->characteristics[service->characteristic_count++] =
        characteristic_record{uuid, static_cast<std::uint8_t>(properties), value_length, cccd_flag, copy};
    table.image_bytes += characteristic_entries_size(uuid.kind, value_length, cccd_flag != 0);
    table.handles += characteristic_handles(cccd_flag != 0);
    return 1;
}
