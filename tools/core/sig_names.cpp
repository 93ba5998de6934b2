#include "sig_names.hpp"

#include <algorithm>

#include "uuid.hpp"

namespace gattdb::tool {

std::optional<std::string_view> sig_name(const std::string &canonical_uuid) {
    const std::optional<std::uint16_t> number = sig_number(canonical_uuid);
    if (!number) return std::nullopt;
    const auto found =
        std::lower_bound(SIG_NAMES.begin(), SIG_NAMES.end(), *number,
                         [](const sig_name_entry &entry, std::uint16_t n) { return entry.number < n; });
    if (found == SIG_NAMES.end() || found->number != *number) return std::nullopt;
    return found->name;
}

}  // namespace gattdb::tool
