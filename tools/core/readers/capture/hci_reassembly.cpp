// SPDX-License-Identifier: MIT
#include "core/readers/capture/hci_reassembly.hpp"

#include <cstdio>
#include <map>
#include <optional>
#include <utility>

namespace gattdb::tool {
namespace {

constexpr std::uint8_t EVENT_DISCONNECTION_COMPLETE = 0x05;
constexpr std::uint8_t EVENT_LE_META = 0x3E;
constexpr std::uint8_t LE_CONNECTION_COMPLETE = 0x01;
constexpr std::uint8_t LE_ENHANCED_CONNECTION_COMPLETE = 0x0A;
constexpr std::uint8_t LE_ENHANCED_CONNECTION_COMPLETE_V2 = 0x29;
constexpr std::uint16_t ATT_CHANNEL = 0x0004;
constexpr std::size_t ACL_HEADER_SIZE = 4;
constexpr std::size_t L2CAP_HEADER_SIZE = 4;
constexpr unsigned PACKET_BOUNDARY_CONTINUATION = 0x1;

unsigned little_endian(const std::vector<std::uint8_t> &bytes, std::size_t at) {
    return bytes[at] | static_cast<unsigned>(bytes[at + 1]) << 8;
}

// Least significant byte first on the air, most significant first as people write it.
std::string address_text(const std::vector<std::uint8_t> &bytes, std::size_t at) {
    char text[18];
    std::snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", bytes[at + 5], bytes[at + 4],
                  bytes[at + 3], bytes[at + 2], bytes[at + 1], bytes[at]);
    return text;
}

class splitter {
   public:
    capture_connections run(const hci_capture &capture) && {
        for (const hci_packet &packet : capture.packets) {
            if (packet.type == hci_type::event) event(packet);
            if (packet.type == hci_type::acl) acl(packet);
        }
        return std::move(out_);
    }

   private:
    struct pending_frame {
        std::size_t record;
        std::vector<std::uint8_t> bytes;
    };

    void warn(std::size_t record, const std::string &what) {
        out_.warnings.push_back({record, what + "; skipped"});
    }

    void event(const hci_packet &packet) {
        const std::vector<std::uint8_t> &b = packet.bytes;
        if (b.size() < 2 || b.size() - 2 < b[1])
            return warn(packet.record, "an HCI event shorter than its length");
        if (b[0] == EVENT_DISCONNECTION_COMPLETE && b.size() >= 6 && b[2] == 0) {
            const unsigned handle = little_endian(b, 3) & 0x0FFF;
            open_.erase(handle);
            for (auto frame = pending_.begin(); frame != pending_.end();)
                frame = frame->first.first == handle ? pending_.erase(frame) : std::next(frame);
        }
        const bool connected = b[0] == EVENT_LE_META && b.size() >= 14 &&
                               (b[2] == LE_CONNECTION_COMPLETE || b[2] == LE_ENHANCED_CONNECTION_COMPLETE ||
                                b[2] == LE_ENHANCED_CONNECTION_COMPLETE_V2);
        if (connected && b[3] == 0) {  // status 0: the connection is up
            const unsigned handle = little_endian(b, 4) & 0x0FFF;
            open_[handle] = out_.connections.size();
            out_.connections.push_back({handle, address_text(b, 8), packet.record, {}});
        }
    }

    capture_connection &connection(unsigned handle, std::size_t record) {
        const auto open = open_.find(handle);
        if (open != open_.end()) return out_.connections[open->second];
        // Traffic on a connection made before the capture began.
        open_[handle] = out_.connections.size();
        return out_.connections.emplace_back(capture_connection{handle, "", record, {}});
    }

    void acl(const hci_packet &packet) {
        const std::vector<std::uint8_t> &b = packet.bytes;
        if (b.size() < ACL_HEADER_SIZE) return warn(packet.record, "an ACL packet shorter than its header");
        const unsigned handle = little_endian(b, 0) & 0x0FFF;
        const unsigned boundary = (b[1] >> 4) & 0x3;
        const std::size_t length = little_endian(b, 2);
        if (length != b.size() - ACL_HEADER_SIZE) {
            return warn(packet.record, "an ACL packet of " + std::to_string(b.size() - ACL_HEADER_SIZE) +
                                           " bytes says it holds " + std::to_string(length));
        }
        const std::pair key{handle, packet.direction};
        auto pending = pending_.find(key);
        if (boundary == PACKET_BOUNDARY_CONTINUATION) {
            if (pending == pending_.end()) return warn(packet.record, "an ACL continuation without a start");
            pending->second.bytes.insert(pending->second.bytes.end(), b.begin() + ACL_HEADER_SIZE, b.end());
        } else {
            if (pending != pending_.end()) {
                warn(pending->second.record, "an L2CAP frame whose last fragments never came");
                pending_.erase(pending);
            }
            pending =
                pending_.emplace(key, pending_frame{packet.record, {b.begin() + ACL_HEADER_SIZE, b.end()}})
                    .first;
        }
        const std::vector<std::uint8_t> &frame = pending->second.bytes;
        if (frame.size() < L2CAP_HEADER_SIZE) return;
        const std::size_t frame_length = L2CAP_HEADER_SIZE + little_endian(frame, 0);
        if (frame.size() < frame_length) return;
        const std::size_t record = pending->second.record;
        if (frame.size() > frame_length) {
            warn(record,
                 "an L2CAP frame longer than its length " + std::to_string(frame_length - L2CAP_HEADER_SIZE));
        } else if (little_endian(frame, 2) == ATT_CHANNEL && frame_length > L2CAP_HEADER_SIZE) {
            connection(handle, record)
                .att.push_back({record, packet.direction, {frame.begin() + L2CAP_HEADER_SIZE, frame.end()}});
        }
        pending_.erase(pending);
    }

    capture_connections out_;
    std::map<unsigned, std::size_t> open_;  // connection handle -> its connection in out_
    std::map<std::pair<unsigned, hci_direction>, pending_frame> pending_;
};

}  // namespace

capture_connections split_connections(const hci_capture &capture) { return splitter().run(capture); }

}  // namespace gattdb::tool
