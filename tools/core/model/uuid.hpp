// SPDX-License-Identifier: MIT
// UUID text as descriptions write it, as the library takes it and as the image holds it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace gattdb::tool {

// Reads 4, 8 or 32 hex digits in either case, or the dashed 36-character form of a 128-bit UUID,
// and gives the canonical text the library takes: the digits alone, upper case. nullopt otherwise.
std::optional<std::string> normalise_uuid(std::string_view text);

// The form people read: 128-bit UUIDs dashed, shorter ones as they are.
std::string display_uuid(const std::string &canonical);

// Reads a UUID field of the image (least significant byte first). A 16-byte field whose 12 least
// significant bytes are zero is how the library writes a 32-bit UUID, so it reads back as 8 digits;
// a 128-bit UUID of that shape gives the same field, so either reading builds the same image.
std::string uuid_from_field(std::span<const std::uint8_t> field);

// The UUID field the image holds for a canonical UUID, least significant byte first: 2 bytes for a
// 16-bit UUID, 16 for the others (a 32-bit one after 12 zero bytes).
std::vector<std::uint8_t> uuid_field(const std::string &canonical);

// The 16-bit Bluetooth SIG number a UUID stands for: a 16-bit UUID itself, a 32-bit one below
// 0x10000, or a 128-bit one built on the Bluetooth base UUID.
std::optional<std::uint16_t> sig_number(const std::string &canonical);

// The canonical text of a 16-bit UUID: four upper-case hex digits.
std::string uuid16_text(std::uint16_t number);

}  // namespace gattdb::tool
