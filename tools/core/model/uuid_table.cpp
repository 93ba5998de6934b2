// SPDX-License-Identifier: MIT
#include "core/model/uuid_table.hpp"

#include <algorithm>
#include <optional>

#include "core/model/uuid.hpp"
#include "core/support/hex.hpp"

namespace gattdb::tool {

const known_uuid *find_known_uuid(const std::string &canonical_uuid) {
    const std::optional<std::uint16_t> number = sig_number(canonical_uuid);
    const std::string key =
        number ? hex_text(std::array<std::uint8_t, 2>{static_cast<std::uint8_t>(*number >> 8),
                                                      static_cast<std::uint8_t>(*number)},
                          "")
               : canonical_uuid;
    const auto found =
        std::lower_bound(KNOWN_UUIDS.begin(), KNOWN_UUIDS.end(), key,
                         [](const known_uuid &entry, const std::string &k) { return entry.uuid < k; });
    if (found == KNOWN_UUIDS.end() || found->uuid != key) return nullptr;
    return &*found;
}

const known_uuid *find_uuid_identifier(std::string_view identifier) {
    const auto found = std::find_if(KNOWN_UUIDS.begin(), KNOWN_UUIDS.end(),
                                    [&](const known_uuid &entry) { return entry.identifier == identifier; });
    return found == KNOWN_UUIDS.end() ? nullptr : &*found;
}

std::string_view role_name(uuid_role role) {
    switch (role) {
    case uuid_role::service: return "service";
    case uuid_role::characteristic: return "characteristic";
    case uuid_role::descriptor: return "descriptor";
    }
    return {};
}

}  // namespace gattdb::tool
