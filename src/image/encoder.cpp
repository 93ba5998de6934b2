// generate_db: writes the image in slot order, numbering handles from 1.
#include <cstring>

#include "gattdb.h"
#include "layout.hpp"

namespace gattdb {
namespace {

// Reverses eight bytes with one load, one byte swap and one store, whatever the host's byte order.
void write_reversed_word(std::uint8_t *out, const std::uint8_t *in) {
    std::uint64_t word;
    std::memcpy(&word, in, sizeof word);
    word = __builtin_bswap64(word);
    std::memcpy(out, &word, sizeof word);
}

// UUIDs are held most significant byte first and written least significant byte first. A 16-byte
// field is reversed a word at a time: byte by byte, the UUIDs took as long as the value copies.
std::uint8_t *write_uuid_field(std::uint8_t *out, const uuid_record &uuid) {
    const std::size_t length = uuid_field_length(uuid.kind);
    std::size_t i = 0;
    for (; i + sizeof(std::uint64_t) <= length; i += sizeof(std::uint64_t)) {
        write_reversed_word(out + i, uuid.bytes + length - sizeof(std::uint64_t) - i);
    }
    for (; i < length; ++i) out[i] = uuid.bytes[length - 1 - i];
    return out + length;
}

std::uint8_t *write_service(std::uint8_t *out, const service_record &service) {
    *out++ = SERVICE_MARKER;
    *out++ = static_cast<std::uint8_t>(uuid_field_length(service.uuid.kind));
    return write_uuid_field(out, service.uuid);
}

std::uint8_t *write_characteristic(std::uint8_t *out, const characteristic_record &characteristic,
                                   std::uint8_t value_handle) {
    const uuid_kind kind = characteristic.uuid.kind;
    *out++ = DECLARATION_MARKER;
    *out++ = static_cast<std::uint8_t>(declaration_entry_size(kind) - 2);
    *out++ = static_cast<std::uint8_t>(characteristic.properties);
    *out++ = value_handle;
    *out++ = 0;
    out = write_uuid_field(out, characteristic.uuid);

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
