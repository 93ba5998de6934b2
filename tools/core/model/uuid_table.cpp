// SPDX-License-Identifier: MIT
#include "core/model/uuid_table.hpp"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "core/model/uuid.hpp"

namespace gattdb::tool {

// Looked up for every attribute of every build the page makes, so without allocating: the key
// of a SIG UUID is its four hex digits, written into a buffer.
const known_uuid *find_known_uuid(const std::string &canonical_uuid) {
    const std::optional<std::uint16_t> number = sig_number(canonical_uuid);
    std::array<char, 4> digits{};
    std::string_view key = canonical_uuid;
    if (number) {
        static constexpr char HEX[] = "0123456789ABCDEF";
        for (std::size_t i = 0; i < digits.size(); ++i) digits[i] = HEX[(*number >> (12 - 4 * i)) & 0xF];
        key = std::string_view(digits.data(), digits.size());
    }
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
