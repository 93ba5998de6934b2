// SPDX-License-Identifier: MIT
// The UUIDs the tool knows by name: the Bluetooth SIG's 16-bit services, characteristics and
// descriptors, with their identifiers, and well-known vendor UUIDs. From tools/data/gatt-uuids.tsv,
// compiled in so that the tool needs no data file at run time.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace gattdb::tool {

enum class uuid_role { service, characteristic, descriptor };

struct known_uuid {
    std::string_view uuid;  // canonical: 4 or 32 upper-case hex digits
    uuid_role role;
    std::string_view name;        // "Heart Rate Measurement"
    std::string_view identifier;  // "org.bluetooth.characteristic.heart_rate_measurement"
    bool sig_assigned;            // false for a vendor's own UUID
};

// Sorted by uuid, then identifier; a UUID may appear more than once under other identifiers.
// Generated at build time.
extern const std::span<const known_uuid> KNOWN_UUIDS;

// The entry for a canonical UUID, or null. A 32-bit UUID below 0x10000 and a 128-bit UUID built on
// the Bluetooth base UUID stand for the same 16-bit UUID and find its entry.
const known_uuid *find_known_uuid(const std::string &canonical_uuid);

// The entry with that identifier ("org.bluetooth.service.heart_rate"), or null.
const known_uuid *find_uuid_identifier(std::string_view identifier);

std::string_view role_name(uuid_role role);

}  // namespace gattdb::tool
