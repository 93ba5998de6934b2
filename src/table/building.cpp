// The building calls: init_db, add_primary_service and add_characteristic.
#include <cstdlib>
#include <cstring>

#include "gattdb.h"
#include "table.hpp"
#include "uuid_text.hpp"

namespace gattdb {
namespace {

// The characteristic goes into the service added last; only when that one is full does it go into
// the latest earlier service with room, after the characteristics that service already holds.
characteristic_record *free_characteristic_slot() {
    const auto services = services_in_use();
    for (auto service = services.rbegin(); service != services.rend(); ++service) {
        const std::size_t used = characteristics_in_use(*service).size();
        if (used < MAX_CHARACTERISTICS) return &service->characteristics[used];
    }
    return nullptr;
}

}  // namespace
}  // namespace gattdb

using namespace gattdb;

extern "C" void init_db(void) {
    for (service_record &service : services_in_use()) {
        for (characteristic_record &characteristic : characteristics_in_use(service)) {
            std::free(characteristic.value);
            characteristic = characteristic_record{};
        }
        service.uuid = uuid_record{};
    }
}

extern "C" int32_t add_primary_service(const char *uuid_text) {
    uuid_record uuid;
    if (!parse_uuid(uuid_text, uuid)) return 0;
    const std::size_t used = services_in_use().size();
    if (used == MAX_SERVICES) return 0;
    service_table[used].uuid = uuid;
    return 1;
}

extern "C" int32_t add_characteristic(const char *uuid_text, int32_t properties, uint8_t value_length,
                                      const uint8_t *value, uint8_t cccd_flag) {
    if (value_length != 0 && value == nullptr) return 0;
    uuid_record uuid;
    if (!parse_uuid(uuid_text, uuid)) return 0;
    characteristic_record *slot = free_characteristic_slot();
    if (slot == nullptr) return 0;

    std::uint8_t *copy = nullptr;
    if (value_length != 0) {
        copy = static_cast<std::uint8_t *>(std::malloc(value_length));
        if (copy == nullptr) return 0;
        std::memcpy(copy, value, value_length);
    }
    *slot = characteristic_record{uuid, properties, value_length, copy, cccd_flag};
    return 1;
}
