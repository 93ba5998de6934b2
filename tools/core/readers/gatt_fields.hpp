// SPDX-License-Identifier: MIT
// The pieces of a .gatt line: its fields, and the UUIDs, property lists and values they hold. Each
// reader throws input_error at the place it is given ("profile.gatt:12") when a field is not of its
// kind; what the image cannot hold is handed back for the line's reader to refuse or leave out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gattdb::tool {

// The line without its comment: from "//" on, unless inside a double-quoted string.
std::string_view without_comment(std::string_view line);

// The comma-separated fields of a line, white space around each trimmed; commas inside a
// double-quoted string do not separate. One empty field after a trailing comma is dropped.
std::vector<std::string_view> split_fields(std::string_view line);

std::string_view trimmed(std::string_view text);

// A piece of the input as messages show it: in double quotes, with \" and \\, and bytes other than
// printable ASCII as \xNN, so that a message stays one readable line whatever the file holds.
std::string quoted_input(std::string_view text);

// 4 hex digits (also with 0x), a dashed 128-bit UUID, an ORG_BLUETOOTH_… symbol or a short form such
// as GAP_SERVICE; gives the canonical UUID.
std::string read_gatt_uuid(std::string_view field, const std::string &place);

struct gatt_properties {
    std::uint8_t bits = 0;
    std::vector<std::string_view> unkept;  // security and permission flags: the image has no place for them
};

// Property names joined by '|'.
gatt_properties read_gatt_properties(std::string_view field, const std::string &place);

// Empty, a double-quoted string (its bytes), or hex bytes separated by spaces; at most
// MAX_VALUE_LENGTH bytes.
std::vector<std::uint8_t> read_gatt_value(std::string_view field, const std::string &place);

// Whether keyword is the statement of a Bluetooth SIG descriptor (CHARACTERISTIC_USER_DESCRIPTION):
// the last part of the descriptor's identifier as a symbol.
bool is_descriptor_statement(std::string_view keyword);

}  // namespace gattdb::tool
