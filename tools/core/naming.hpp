// How dumps and diffs name UUIDs and property sets.
#pragma once

#include <cstdint>
#include <string>

namespace gattdb::tool {

// "180D Heart Rate" where the SIG names the UUID, else the UUID alone (128-bit ones dashed).
std::string uuid_label(const std::string &canonical_uuid);

// "read, notify", or "none".
std::string properties_label(std::uint8_t properties);

}  // namespace gattdb::tool
