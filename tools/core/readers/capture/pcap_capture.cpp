// SPDX-License-Identifier: MIT
#include "core/readers/capture/pcap_capture.hpp"

#include <pcap/pcap.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

#include "core/support/input_error.hpp"

namespace gattdb::tool {
namespace {

constexpr int LINKTYPE_H4 = 187;
constexpr int LINKTYPE_H4_WITH_DIRECTION = 201;
constexpr int LINKTYPE_LINUX_MONITOR = 254;
// The air as a sniffer hears it: link-layer packets, not the HCI traffic of a host.
constexpr std::array<int, 4> SNIFFER_LINKTYPES = {251, 255, 256, 272};
constexpr std::size_t DIRECTION_HEADER_SIZE = 4;
constexpr std::size_t MONITOR_HEADER_SIZE = 4;  // adapter index and opcode, big-endian

constexpr std::array<std::uint32_t, 5> MAGICS = {0xA1B2C3D4, 0xD4C3B2A1, 0xA1B23C4D, 0x4D3CB2A1, 0x0A0D0D0A};

struct pcap_closer {
    void operator()(pcap_t *p) const { pcap_close(p); }
};

std::optional<hci_packet> packet_of(int linktype, std::size_t record, std::span<const std::uint8_t> data,
                                    std::string &why) {
    if (linktype == LINKTYPE_H4) return h4_packet(record, hci_direction::unknown, data, why);
    const std::size_t header =
        linktype == LINKTYPE_H4_WITH_DIRECTION ? DIRECTION_HEADER_SIZE : MONITOR_HEADER_SIZE;
    if (data.size() < header) {
        why = "a packet shorter than its " + std::to_string(header) + "-byte header";
        return std::nullopt;
    }
    const std::uint32_t field = big_endian32(data, 0);
    if (linktype == LINKTYPE_LINUX_MONITOR)
        return monitor_packet(record, field & 0xFFFF, data.subspan(header), why);
    return h4_packet(record, field & 1 ? hci_direction::received : hci_direction::sent, data.subspan(header),
                     why);
}

}  // namespace

bool is_pcap(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 4 &&
           std::find(MAGICS.begin(), MAGICS.end(), big_endian32(bytes, 0)) != MAGICS.end();
}

hci_capture read_pcap(std::span<const std::uint8_t> bytes) {
    if (!is_pcap(bytes)) throw input_error("header", "not a pcap or pcapng file (no magic number of either)");
    // libpcap reads from a stream; the bytes are already in memory, so the stream is over them.
    FILE *stream = fmemopen(const_cast<std::uint8_t *>(bytes.data()), bytes.size(), "rb");
    if (!stream) throw input_error("header", "cannot open the capture in memory");
    std::array<char, PCAP_ERRBUF_SIZE> error{};
    std::unique_ptr<pcap_t, pcap_closer> pcap(pcap_fopen_offline(stream, error.data()));
    if (!pcap) {
        std::fclose(stream);
        throw input_error("header", error.data());
    }
    const int linktype = pcap_datalink(pcap.get());
    if (std::find(SNIFFER_LINKTYPES.begin(), SNIFFER_LINKTYPES.end(), linktype) != SNIFFER_LINKTYPES.end()) {
        throw input_error("header", "link type " + std::to_string(linktype) +
                                        " is a sniffer's capture of the air, not HCI; capture on the host "
                                        "(Android's HCI snoop log, btmon -w) instead");
    }
    if (linktype != LINKTYPE_H4 && linktype != LINKTYPE_H4_WITH_DIRECTION &&
        linktype != LINKTYPE_LINUX_MONITOR) {
        throw input_error("header",
                          "link type " + std::to_string(linktype) +
                              ": expected Bluetooth HCI H4 (187), H4 with direction (201) or Linux monitor "
                              "(254)");
    }
    hci_capture capture;
    for (;;) {
        pcap_pkthdr *header = nullptr;
        const std::uint8_t *data = nullptr;
        const int got = pcap_next_ex(pcap.get(), &header, &data);
        if (got == PCAP_ERROR_BREAK) break;
        const std::size_t record = ++capture.records;
        if (got != 1) {
            const std::string why = pcap_geterr(pcap.get());
            if (record == 1) throw input_error("record 1", why);
            capture.warnings.push_back({record, why + "; the rest of the file is skipped"});
            break;
        }
        if (header->caplen < header->len) {
            capture.warnings.push_back({record, "the packet was cut short when captured; skipped"});
            continue;
        }
        std::string why;
        if (std::optional<hci_packet> packet = packet_of(linktype, record, {data, header->caplen}, why))
            capture.packets.push_back(std::move(*packet));
        else if (!why.empty())
            capture.warnings.push_back({record, why + "; skipped"});
    }
    return capture;
}

}  // namespace gattdb::tool
