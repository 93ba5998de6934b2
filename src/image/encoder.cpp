// SPDX-License-Identifier: MIT
// generate_db: writes the image in slot order, numbering handles from 1.
#include <cstring>

#include "../table/byte_order.hpp"
#include "gattdb.h"
#include "layout.hpp"

namespace gattdb {
namespace {

// The table holds each UUID as its field is written. Two fixed-size copies rather than one of variable
// length, which would be a call into the C library.
std::uint8_t *write_uuid_field(std::uint8_t *out, const uuid_record &uuid) {
    if (uuid.kind == UUID_16) {
        std::memcpy(out, uuid.bytes, uuid_field_length(UUID_16));
        return out + uuid_field_length(UUID_16);
    }
    std::memcpy(out, uuid.bytes, uuid_field_length(UUID_128));
    return out + uuid_field_length(UUID_128);
}

std::uint8_t *write_service(std::uint8_t *out, const service_record &service) {
    *out++ = SERVICE_MARKER;
    *out++ = static_cast<std::uint8_t>(uuid_field_length(service.uuid.kind));
    return write_uuid_field(out, service.uuid);
}

std::uint8_t *write_characteristic(std::uint8_t *out, const characteristic_record &characteristic,
                                   std::uint8_t value_handle) {
    const uuid_kind kind = characteristic.uuid.kind;
    // The declaration's five bytes (the value handle's high byte is 0) in one 8-byte store: the three
    // bytes past them lie within the UUID field and value entry that always follow, written next.
    store_least_significant_first(
        out, std::uint64_t{DECLARATION_MARKER} | (declaration_entry_size(kind) - 2) << 8 |
                 std::uint64_t{characteristic.properties} << 16 | std::uint64_t{value_handle} << 24);
    out = write_uuid_field(out + 5, characteristic.uuid);

    const std::uint8_t length = characteristic.value_length;
    *out++ = VALUE_MARKER;
    *out++ = (kind == UUID_16 ? VALUE_FLAGS_UUID_16 : VALUE_FLAGS_WIDE_UUID) |
             (length == 0 ? VALUE_FLAGS_EMPTY : 0);
    *out++ = length;
    if (length != 0) std::memcpy(out, characteristic.value, length);
    out += length;
    if (length % 2 != 0) *out++ = 0;

    if (characteristic.cccd_flag != 0) {
        *out++ = DESCRIPTOR_MARKER;
        *out++ = 0;
    }
    return out;
}

}  // namespace
}  // namespace gattdb

using namespace gattdb;

extern "C" int32_t generate_db(uint8_t *out) {
    if (out == nullptr || encodable_image_size() == 0) return 0;
    std::uint8_t handle = 0;  // the handle last assigned; encodable_image_size keeps it within 255
    for (service_record &service : services_in_use()) {
        out = write_service(out, service);
        ++handle;
        for (const characteristic_record &characteristic : characteristics_in_use(service)) {
            out = write_characteristic(out, characteristic, static_cast<std::uint8_t>(handle + 2));
            handle =
                static_cast<std::uint8_t>(handle + characteristic_handles(characteristic.cccd_flag != 0));
        }
    }
    return 1;
}
