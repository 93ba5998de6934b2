// SPDX-License-Identifier: MIT
// From HCI packets to the attribute protocol's PDUs of each connection: LE connections begin with the
// (Enhanced) Connection Complete event and end with Disconnection Complete, so a connection handle
// can stand for several connections in one capture; ACL fragments are joined per handle and
// direction into L2CAP frames, and the frames of the ATT channel are kept.
#pragma once

#include <string>
#include <vector>

#include "core/readers/capture/hci_packet.hpp"

namespace gattdb::tool {

struct att_pdu {
    std::size_t record;  // the record its first fragment came in
    hci_direction direction;
    std::vector<std::uint8_t> bytes;  // opcode first
};

struct capture_connection {
    unsigned handle;
    std::string peer;  // "C0:11:22:33:44:55", or empty when the capture holds no connection event
    std::size_t first_record;
    std::vector<att_pdu> att;
};

struct capture_connections {
    std::vector<capture_connection> connections;  // in the order they appear
    std::vector<capture_warning> warnings;
};

capture_connections split_connections(const hci_capture &capture);

}  // namespace gattdb::tool
