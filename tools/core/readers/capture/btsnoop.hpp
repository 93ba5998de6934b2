// SPDX-License-Identifier: MIT
// btsnoop version 1, as Android's HCI snoop log and btmon write it: a 16-byte header ("btsnoop\0",
// version, datalink) and then records of original and included length, flags, cumulative drops and
// a timestamp, all big-endian. Datalinks 1001 (HCI, the packet type in the flags), 1002 (H4: a type
// byte first) and 2001 (Linux monitor: the opcode in the flags).
#pragma once

#include <cstdint>
#include <span>

#include "core/readers/capture/hci_packet.hpp"

namespace gattdb::tool {

bool is_btsnoop(std::span<const std::uint8_t> bytes);

// Throws input_error (its place "record N" or "header") when the file cannot be read at all; a bad
// record after readable ones ends the file with a warning.
hci_capture read_btsnoop(std::span<const std::uint8_t> bytes);

}  // namespace gattdb::tool
