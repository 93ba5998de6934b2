// SPDX-License-Identifier: MIT
#include "core/readers/capture/btsnoop.hpp"

#include <algorithm>
#include <string_view>

#include "core/support/input_error.hpp"

namespace gattdb::tool {
namespace {

constexpr std::string_view MAGIC{"btsnoop\0", 8};
constexpr std::size_t HEADER_SIZE = 16;
constexpr std::size_t RECORD_HEADER_SIZE = 24;
constexpr std::uint32_t VERSION = 1;
constexpr std::uint32_t DATALINK_HCI = 1001;
constexpr std::uint32_t DATALINK_H4 = 1002;
constexpr std::uint32_t DATALINK_MONITOR = 2001;
// Datalink 1001's flags: bit 0 the direction (set: received), bit 1 command or event rather than data.
constexpr std::uint32_t FLAG_RECEIVED = 0x1;
constexpr std::uint32_t FLAG_COMMAND_OR_EVENT = 0x2;

std::optional<hci_packet> packet_of(std::uint32_t datalink, std::size_t record, std::uint32_t flags,
                                    std::span<const std::uint8_t> data, std::string &why) {
    const hci_direction direction = flags & FLAG_RECEIVED ? hci_direction::received : hci_direction::sent;
    if (datalink == DATALINK_H4) return h4_packet(record, direction, data, why);
    if (datalink == DATALINK_MONITOR) return monitor_packet(record, flags & 0xFFFF, data, why);
    // 1001 tells commands from events by direction only, and ACL from SCO not at all; a
    // connection's ACL traffic is what the capture is read for.
    const hci_type type = flags & FLAG_COMMAND_OR_EVENT
                              ? (direction == hci_direction::sent ? hci_type::command : hci_type::event)
                              : hci_type::acl;
    return hci_packet{record, type, direction, {data.begin(), data.end()}};
}

}  // namespace

bool is_btsnoop(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= MAGIC.size() && std::equal(MAGIC.begin(), MAGIC.end(), bytes.begin());
}

hci_capture read_btsnoop(std::span<const std::uint8_t> bytes) {
    if (!is_btsnoop(bytes)) throw input_error("header", "not a btsnoop file (no \"btsnoop\" magic number)");
    if (bytes.size() < HEADER_SIZE) throw input_error("header", "the file ends inside its 16-byte header");
    const std::uint32_t version = big_endian32(bytes, 8);
    const std::uint32_t datalink = big_endian32(bytes, 12);
    if (version != VERSION)
        throw input_error("header", "btsnoop version " + std::to_string(version) + ", expected 1");
    if (datalink != DATALINK_HCI && datalink != DATALINK_H4 && datalink != DATALINK_MONITOR) {
        throw input_error("header", "btsnoop datalink " + std::to_string(datalink) +
                                        ": expected 1001 (HCI), 1002 (HCI UART) or 2001 (Linux monitor)");
    }
    hci_capture capture;
    std::uint32_t drops = 0;
    for (std::size_t at = HEADER_SIZE; at < bytes.size();) {
        const std::size_t record = ++capture.records;
        const std::string place = "record " + std::to_string(record);
        std::string problem;
        if (bytes.size() - at < RECORD_HEADER_SIZE) {
            problem = "the file ends inside the record's header";
        } else if (big_endian32(bytes, at + 4) > bytes.size() - at - RECORD_HEADER_SIZE) {
            problem = "its length " + std::to_string(big_endian32(bytes, at + 4)) +
                      " goes past the end of the file";
        }
        if (!problem.empty()) {
            // Records have no marker to find the next by: the rest of the file is lost.
            if (record == 1) throw input_error(place, problem);
            capture.warnings.push_back({record, problem + "; the rest of the file is skipped"});
            break;
        }
        const std::uint32_t original = big_endian32(bytes, at);
        const std::uint32_t included = big_endian32(bytes, at + 4);
        const std::uint32_t flags = big_endian32(bytes, at + 8);
        const std::uint32_t dropped = big_endian32(bytes, at + 12);
        const std::span<const std::uint8_t> data = bytes.subspan(at + RECORD_HEADER_SIZE, included);
        at += RECORD_HEADER_SIZE + included;
        if (dropped > drops) {
            capture.warnings.push_back({record, "the capture dropped " + std::to_string(dropped - drops) +
                                                    " packets before this one"});
        }
        drops = std::max(drops, dropped);
        if (included < original) {
            capture.warnings.push_back({record, "the packet was cut short when captured; skipped"});
            continue;
        }
        std::string why;
        if (std::optional<hci_packet> packet = packet_of(datalink, record, flags, data, why)) {
            capture.packets.push_back(std::move(*packet));
        } else if (!why.empty()) {
            capture.warnings.push_back({record, why + "; skipped"});
        }
    }
    return capture;
}

}  // namespace gattdb::tool
