// SPDX-License-Identifier: MIT
#include "core/analysis/database_hash.hpp"

#include <vector>

#include "core/model/attributes.hpp"
#include "core/model/uuid.hpp"

namespace gattdb::tool {
namespace {

// Attribute types, as the attribute protocol gives them.
constexpr unsigned PRIMARY_SERVICE_TYPE = 0x2800;
constexpr unsigned CHARACTERISTIC_TYPE = 0x2803;
constexpr unsigned CLIENT_CONFIGURATION_TYPE = 0x2902;

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

cmac_tag database_hash(const database &db) {
    hash_input input;
    for (const attribute &a : attributes_of(db)) {
        switch (a.kind) {
        case attribute_kind::service:
            input.attribute(a.handle, PRIMARY_SERVICE_TYPE);
            input.uuid(a.uuid);
            break;
        case attribute_kind::declaration:
            input.attribute(a.handle, CHARACTERISTIC_TYPE);
            input.byte(db.services[a.service].characteristics[*a.characteristic].properties);
            input.little_endian(a.value_handle);
            input.uuid(a.uuid);
            break;
        case attribute_kind::value: break;  // values are not part of the hash
        case attribute_kind::descriptor: input.attribute(a.handle, CLIENT_CONFIGURATION_TYPE); break;
        }
    }
    return aes_cmac(aes_key{}, input.bytes());
}

}  // namespace gattdb::tool
