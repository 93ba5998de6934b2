// SPDX-License-Identifier: MIT
// generate_db: the image is the entries the building calls wrote into the entry store, numbered with
// handles from 1.
#include <cstring>

#include "../table/entry_store.hpp"
#include "gattdb.h"
#include "layout.hpp"

namespace gattdb {
namespace {

// Once a characteristic has gone into an earlier service, the store's order is not the image's: the
// entries are copied one by one in slot order and every value handle numbered afresh.
void copy_in_slot_order(std::uint8_t *out) {
    std::uint8_t handle = 0;  // the handle last assigned; encodable_image_size keeps it within 255
    for (service_record &service : services_in_use()) {
        const std::size_t service_size = service_entry_size(service.kind);
        std::memcpy(out, service.entry, service_size);
        out += service_size;
        ++handle;
        for (const characteristic_record &characteristic : characteristics_in_use(service)) {
            const bool cccd = characteristic.cccd_flag != 0;
            const std::size_t size =
                characteristic_entries_size(characteristic.kind, characteristic.value_length, cccd);
            std::memcpy(out, characteristic.entries, size);
            out[VALUE_HANDLE_OFFSET] = static_cast<std::uint8_t>(handle + 2);
            out += size;
            handle = static_cast<std::uint8_t>(handle + characteristic_handles(cccd));
        }
    }
}

}  // namespace
}  // namespace gattdb

using namespace gattdb;

extern "C" int32_t generate_db(uint8_t *out) {
    if (out == nullptr || encodable_image_size() == 0) return 0;
    if (table.stored_out_of_order) {
        copy_in_slot_order(out);
    } else {
        copy_stored_entries(out);
    }
    return 1;
}
