// SPDX-License-Identifier: MIT
#include "core/analysis/database_hash.hpp"

#include <algorithm>
#include <optional>
#include <vector>

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

cmac_tag database_hash(const database &db) {
    hash_input input;
    const std::vector<service_handles> handles = assign_handles(db);
    for (std::size_t i = 0; i < db.services.size(); ++i) {
        const service &s = db.services[i];
        input.attribute(handles[i].declaration,
                        s.served.secondary ? SECONDARY_SERVICE_TYPE : PRIMARY_SERVICE_TYPE);
        input.uuid(s.uuid);
        for (const served_include &include : s.served.includes) {
            input.attribute(include.handle, INCLUDE_TYPE);
            input.little_endian(include.service);
            input.little_endian(include.last);
            if (include.uuid.size() == 4) input.uuid(include.uuid);
        }
        for (std::size_t j = 0; j < s.characteristics.size(); ++j) {
            const characteristic &c = s.characteristics[j];
            const characteristic_handles &h = handles[i].characteristics[j];
            input.attribute(h.declaration, CHARACTERISTIC_TYPE);
            input.byte(c.properties);
            input.little_endian(h.value);
            input.uuid(c.uuid);
            // A device's descriptors in handle order, the configuration among them.
            std::vector<std::pair<unsigned, const served_descriptor *>> descriptors;
            if (c.cccd) descriptors.emplace_back(h.descriptor, nullptr);
            for (const served_descriptor &d : c.served.descriptors) descriptors.emplace_back(d.handle, &d);
            std::sort(descriptors.begin(), descriptors.end());
            for (const auto &[handle, d] : descriptors) {
                if (!d) {
                    input.attribute(handle, CLIENT_CONFIGURATION_TYPE);
                    continue;
                }
                const std::optional<std::uint16_t> type =
                    d->uuid.size() == 4 ? sig_number(d->uuid) : std::nullopt;
                if (!type || *type < FIRST_HASHED_DESCRIPTOR || *type > LAST_HASHED_DESCRIPTOR) continue;
                input.attribute(handle, *type);
                if (*type == EXTENDED_PROPERTIES_TYPE || *type == AGGREGATE_FORMAT_TYPE) {
                    for (const std::uint8_t b : d->value) input.byte(b);
                }
            }
        }
    }
    return aes_cmac(aes_key{}, input.bytes());
}

}  // namespace gattdb::tool
