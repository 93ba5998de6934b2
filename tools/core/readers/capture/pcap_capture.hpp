// SPDX-License-Identifier: MIT
// pcap and pcapng captures, read with libpcap, of the link types that carry HCI: H4 (187), H4 with a
// direction header (201) and the Linux monitor (254). Captures of the air from a sniffer hold the
// link layer rather than HCI and are refused with the reason.
#pragma once

#include <cstdint>
#include <span>

#include "core/readers/capture/hci_packet.hpp"

namespace gattdb::tool {

// A pcap (either byte order, micro- or nanoseconds) or pcapng magic number.
bool is_pcap(std::span<const std::uint8_t> bytes);

// Throws input_error when libpcap cannot read the file or the link type is not HCI.
hci_capture read_pcap(std::span<const std::uint8_t> bytes);

}  // namespace gattdb::tool
