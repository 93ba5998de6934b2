#include "gattdb.h"
#include "layout.hpp"

namespace gattdb {

std::uint16_t encodable_image_size() {
    std::size_t bytes = 0;
    std::uint32_t handles = 0;
    for (service_record &service : services_in_use()) {
        bytes += service_entry_size(service.uuid.kind);
        handles += 1;
        for (const characteristic_record &characteristic : characteristics_in_use(service)) {
            const bool cccd = characteristic.cccd_flag != 0;
            bytes += characteristic_entries_size(characteristic.uuid.kind, characteristic.value_length, cccd);
            handles += characteristic_handles(cccd);
        }
    }
    // Refused rather than encoded with wrapped handles; see MAX_BYTES_PER_HANDLE for why the byte
    // count then always fits.
    if (handles > MAX_HANDLE) return 0;
    return static_cast<std::uint16_t>(bytes);
}

}  // namespace gattdb

extern "C" uint16_t get_db_size(void) { return gattdb::encodable_image_size(); }
