// SPDX-License-Identifier: MIT
#include "core/analysis/hash_input.hpp"

#include <optional>
#include <vector>

#include "core/model/attributes.hpp"
#include "core/model/uuid.hpp"

namespace gattdb::tool {
namespace {

// Attribute types, as the attribute protocol gives them.
constexpr unsigned PRIMARY_SERVICE_TYPE = 0x2800;
constexpr unsigned SECONDARY_SERVICE_TYPE = 0x2801;
constexpr unsigned INCLUDE_TYPE = 0x2802;
constexpr unsigned CHARACTERISTIC_TYPE = 0x2803;
constexpr unsigned CLIENT_CONFIGURATION_TYPE = 0x2902;
// The descriptors the hash covers, and of those the two whose values it covers too.
constexpr unsigned FIRST_HASHED_DESCRIPTOR = 0x2900;
constexpr unsigned LAST_HASHED_DESCRIPTOR = 0x2905;
constexpr unsigned EXTENDED_PROPERTIES_TYPE = 0x2900;
constexpr unsigned AGGREGATE_FORMAT_TYPE = 0x2905;

class hash_input {
   public:
    void attribute(unsigned handle, unsigned type) {
        little_endian(handle);
        little_endian(type);
    }
    void byte(std::uint8_t b) { bytes_.push_back(b); }
    void little_endian(unsigned number) {
        byte(static_cast<std::uint8_t>(number));
        byte(static_cast<std::uint8_t>(number >> 8));
    }
    void uuid(const std::string &canonical) {
        const std::vector<std::uint8_t> field = uuid_field(canonical);
        bytes_.insert(bytes_.end(), field.begin(), field.end());
    }
    const std::vector<std::uint8_t> &bytes() const { return bytes_; }

   private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace

std::vector<std::uint8_t> database_hash_input(const database &db) {
    hash_input input;
    for (const attribute &a : attributes_of(db)) {
        const service &s = db.services[a.service];
        switch (a.kind) {
        case attribute_kind::service:
            input.attribute(a.handle, s.served.secondary ? SECONDARY_SERVICE_TYPE : PRIMARY_SERVICE_TYPE);
            input.uuid(a.uuid);
            break;
        case attribute_kind::include:
            input.attribute(a.handle, INCLUDE_TYPE);
            input.little_endian(a.include->service);
            input.little_endian(a.include->last);
            if (a.include->uuid.size() == 4) input.uuid(a.include->uuid);
            break;
        case attribute_kind::declaration:
            input.attribute(a.handle, CHARACTERISTIC_TYPE);
            input.byte(s.characteristics[*a.characteristic].properties);
            input.little_endian(a.value_handle);
            input.uuid(a.uuid);
            break;
        case attribute_kind::value: break;  // values are not part of the hash
        case attribute_kind::descriptor: {
            if (!a.served) {
                input.attribute(a.handle, CLIENT_CONFIGURATION_TYPE);
                break;
            }
            const std::optional<std::uint16_t> type = a.uuid.size() == 4 ? sig_number(a.uuid) : std::nullopt;
            if (!type || *type < FIRST_HASHED_DESCRIPTOR || *type > LAST_HASHED_DESCRIPTOR) break;
            input.attribute(a.handle, *type);
            if (*type == EXTENDED_PROPERTIES_TYPE || *type == AGGREGATE_FORMAT_TYPE) {
                for (const std::uint8_t b : a.served->value) input.byte(b);
            }
            break;
        }
        }
    }
    return input.bytes();
}

}  // namespace gattdb::tool
