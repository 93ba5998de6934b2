// SPDX-License-Identifier: MIT
// How dumps and diffs name UUIDs and property sets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gattdb::tool {

// "180D Heart Rate" where the UUID table names the UUID (the SIG or a vendor), else the UUID alone
// (128-bit ones dashed).
std::string uuid_label(const std::string &canonical_uuid);

// The UUID table's name for the UUID ("Heart Rate"), or empty.
std::string uuid_name(const std::string &canonical_uuid);

// "read, notify", or "none".
std::string properties_label(std::uint8_t properties);

// "handle 5" or "handles 5-9".
std::string handle_range(unsigned first, unsigned last);

// The texts with separator between them.
std::string joined(const std::vector<std::string> &texts, std::string_view separator);

// "1 characteristic", "3 characteristics".
std::string count_of(std::size_t count, const std::string &noun);

}  // namespace gattdb::tool
