// SPDX-License-Identifier: MIT
#include "core/model/uuid_table.hpp"

#include <algorithm>
#include <optional>
#include <string_view>

#include "core/model/uuid.hpp"

namespace gattdb::tool {

// Looked up for every attribute of every build the page makes, so the key is a view: of the UUID
// itself, or of the four digits of a SIG UUID (short enough that the string holds them in place).
const known_uuid *find_known_uuid(const std::string &canonical_uuid) {
    const std::optional<std::uint16_t> number = sig_number(canonical_uuid);
    const std::string digits = number ? uuid16_text(*number) : std::string();
    const std::string_view key = number ? std::string_view(digits) : std::string_view(canonical_uuid);
    const auto found =
        std::lower_bound(KNOWN_UUIDS.begin(), KNOWN_UUIDS.end(), key,
                         [](const known_uuid &entry, std::string_view k) { return entry.uuid < k; });
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
