// SPDX-License-Identifier: MIT
#include "core/readers/capture/hci_packet.hpp"

#include <array>

namespace gattdb::tool {
namespace {

struct monitor_opcode {
    unsigned opcode;
    hci_type type;
    hci_direction direction;
};

// The Linux monitor's opcodes for HCI traffic; the others (indexes, notes, logs, control
// sockets) are the monitor's own.
constexpr std::array<monitor_opcode, 8> MONITOR_OPCODES = {{
    {2, hci_type::command, hci_direction::sent},
    {3, hci_type::event, hci_direction::received},
    {4, hci_type::acl, hci_direction::sent},
    {5, hci_type::acl, hci_direction::received},
    {6, hci_type::sco, hci_direction::sent},
    {7, hci_type::sco, hci_direction::received},
    {18, hci_type::iso, hci_direction::sent},
    {19, hci_type::iso, hci_direction::received},
}};

constexpr std::array<std::pair<std::uint8_t, hci_type>, 5> H4_TYPES = {{
    {1, hci_type::command},
    {2, hci_type::acl},
    {3, hci_type::sco},
    {4, hci_type::event},
    {5, hci_type::iso},
}};

}  // namespace

std::optional<hci_packet> h4_packet(std::size_t record, hci_direction direction,
                                    std::span<const std::uint8_t> bytes, std::string &why) {
    if (bytes.empty()) {
        why = "an empty packet";
        return std::nullopt;
    }
    for (const auto &[code, type] : H4_TYPES) {
        if (code == bytes[0]) return hci_packet{record, type, direction, {bytes.begin() + 1, bytes.end()}};
    }
    why = "unknown HCI packet type " + std::to_string(bytes[0]);
    return std::nullopt;
}

std::optional<hci_packet> monitor_packet(std::size_t record, unsigned opcode,
                                         std::span<const std::uint8_t> bytes, std::string &why) {
    why.clear();
    for (const monitor_opcode &known : MONITOR_OPCODES) {
        if (known.opcode == opcode)
            return hci_packet{record, known.type, known.direction, {bytes.begin(), bytes.end()}};
    }
    return std::nullopt;
}

}  // namespace gattdb::tool
