// SPDX-License-Identifier: MIT
// What every capture format comes down to: the HCI packets between a host and its controller, in
// capture order, each with the record it came from so that messages can name it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace gattdb::tool {

// Capture headers are big-endian, whatever the HCI inside them is.
inline std::uint32_t big_endian32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) << 24 | static_cast<std::uint32_t>(bytes[at + 1]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 8 | bytes[at + 3];
}

enum class hci_type { command, acl, sco, event, iso };

// Sent: from the capturing host to its controller (and on to the remote device). Unknown only in
// formats that do not record it (H4 without a direction header).
enum class hci_direction { sent, received, unknown };

struct hci_packet {
    std::size_t record;  // 1-based, in the file
    hci_type type;
    hci_direction direction;
    std::vector<std::uint8_t> bytes;  // the packet without its type byte
};

// A record skipped, or something a reader noticed about it.
struct capture_warning {
    std::size_t record;
    std::string text;
};

struct hci_capture {
    std::vector<hci_packet> packets;
    std::vector<capture_warning> warnings;
    std::size_t records = 0;  // records read, kept or not
};

// An H4 packet: its first byte is the packet type (1 command, 2 ACL, 3 SCO, 4 event, 5 ISO). Null,
// with the reason in why, for an unknown type or an empty packet.
std::optional<hci_packet> h4_packet(std::size_t record, hci_direction direction,
                                    std::span<const std::uint8_t> bytes, std::string &why);

// A Linux monitor packet, as btmon writes it: the opcode says the packet's type and direction.
// Null for the monitor's own records (index added, notes, ...), which carry no HCI traffic; why
// stays empty for those.
std::optional<hci_packet> monitor_packet(std::size_t record, unsigned opcode,
                                         std::span<const std::uint8_t> bytes, std::string &why);

}  // namespace gattdb::tool
