// Names the Bluetooth SIG gives its 16-bit UUIDs, from tools/data/sig-uuids.tsv, compiled in so
// the tool needs no data file at run time.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace gattdb::tool {

struct sig_name_entry {
    std::uint16_t number;
    std::string_view name;
};

// Sorted by number; generated at build time.
extern const std::span<const sig_name_entry> SIG_NAMES;

// The SIG name of a canonical UUID (see sig_number), or nullopt when it has none.
std::optional<std::string_view> sig_name(const std::string &canonical_uuid);

}  // namespace gattdb::tool
