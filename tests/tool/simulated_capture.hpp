// SPDX-License-Identifier: MIT
// A client discovering a server's database, as its host's HCI log would show it: the test's own
// small ATT server over the database's attributes answers a GATT client's discovery, the frames go
// out in ACL fragments, and the log is written as btsnoop (H4) or pcap (H4 with direction).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/model/database.hpp"
#include "core/readers/capture/hci_packet.hpp"

namespace gattdb::tool::test {

struct simulation {
    unsigned mtu = 40;             // agreed in an MTU exchange; 23 leaves it out
    std::size_t acl_payload = 27;  // the controller's ACL buffer: longer frames go in fragments
    unsigned connection = 0x0040;
    // A second connection, to another device, whose traffic (a service discovery and nothing
    // more) is interleaved with the first's.
    bool second_connection = true;
    bool read_values = true;
};

// The HCI packets of the discovery, in the order the log holds them.
std::vector<hci_packet> simulate_discovery(const database &db, const simulation &how = {});

// Datalink 1002 (H4) unless told 1001 (the type in the flags) or 2001 (Linux monitor).
std::string btsnoop_log(const std::vector<hci_packet> &packets, std::uint32_t datalink = 1002);
std::string pcap_log(const std::vector<hci_packet> &packets, std::uint32_t linktype = 201);

}  // namespace gattdb::tool::test
