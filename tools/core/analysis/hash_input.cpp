// SPDX-License-Identifier: MIT
#include "core/analysis/hash_input.hpp"

#include <vector>

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

std::vector<std::uint8_t> database_hash_input(const database &db) {
    hash_input input;
    const std::vector<service_handles> handles = assign_handles(db);
    for (std::size_t i = 0; i < db.services.size(); ++i) {
        const service &s = db.services[i];
        input.attribute(handles[i].declaration, PRIMARY_SERVICE_TYPE);
        input.uuid(s.uuid);
        for (std::size_t j = 0; j < s.characteristics.size(); ++j) {
            const characteristic &c = s.characteristics[j];
            const characteristic_handles &h = handles[i].characteristics[j];
            input.attribute(h.declaration, CHARACTERISTIC_TYPE);
            input.byte(c.properties);
            input.little_endian(h.value);
            input.uuid(c.uuid);
            if (c.cccd) input.attribute(h.descriptor, CLIENT_CONFIGURATION_TYPE);
        }
    }
    return input.bytes();
}

}  // namespace gattdb::tool
