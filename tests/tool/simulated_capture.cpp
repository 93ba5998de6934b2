// SPDX-License-Identifier: MIT
#include "simulated_capture.hpp"

#include <algorithm>
#include <optional>

#include "core/model/uuid.hpp"

namespace gattdb::tool::test {
namespace {

using bytes = std::vector<std::uint8_t>;

struct attribute {
    unsigned handle;
    unsigned type;  // 16-bit for declarations and descriptors; 0 for a characteristic value
    bytes type_field;
    bytes value;
    unsigned group_end = 0;  // a service's last handle
};

void put16(bytes &b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

// The UUID as ATT sends it: 2 bytes, or all 16 (32-bit UUIDs on the base UUID).
bytes att_uuid(const std::string &canonical) {
    bytes field = uuid_field(canonical);
    if (canonical.size() == 8) {
        bytes full = {0xFB, 0x34, 0x9B, 0x5F, 0x80, 0x00, 0x00, 0x80, 0x00, 0x10, 0x00, 0x00};
        full.insert(full.end(), field.end() - 4, field.end());
        return full;
    }
    return field;
}

bytes type16(unsigned type) {
    bytes b;
    put16(b, type);
    return b;
}

std::vector<attribute> attributes_of(const database &db) {
    std::vector<attribute> table;
    const std::vector<service_handles> handles = assign_handles(db);
    for (std::size_t i = 0; i < db.services.size(); ++i) {
        const service &s = db.services[i];
        table.push_back({handles[i].declaration, 0x2800, type16(0x2800), att_uuid(s.uuid), handles[i].last});
        for (std::size_t j = 0; j < s.characteristics.size(); ++j) {
            const characteristic &c = s.characteristics[j];
            const characteristic_handles &h = handles[i].characteristics[j];
            bytes declaration = {c.properties};
            put16(declaration, h.value);
            const bytes uuid = att_uuid(c.uuid);
            declaration.insert(declaration.end(), uuid.begin(), uuid.end());
            table.push_back({h.declaration, 0x2803, type16(0x2803), declaration});
            table.push_back({h.value, 0, uuid, c.value});
            if (c.cccd) table.push_back({h.descriptor, 0x2902, type16(0x2902), {0, 0}});
        }
    }
    return table;
}

bytes error_response(std::uint8_t request, unsigned handle, std::uint8_t code) {
    bytes b = {0x01, request};
    put16(b, handle);
    b.push_back(code);
    return b;
}

// The server's side: answers each request as a GATT server over the attribute table.
class server {
   public:
    server(std::vector<attribute> table, unsigned mtu) : table_(std::move(table)), mtu_(mtu) {}

    bytes answer(const bytes &req) const {
        const unsigned first = req.size() >= 3 ? req[1] | req[2] << 8 : 0;
        const unsigned last = req.size() >= 5 ? req[3] | req[4] << 8 : 0;
        switch (req[0]) {
        case 0x02: return {0x03, static_cast<std::uint8_t>(mtu_), static_cast<std::uint8_t>(mtu_ >> 8)};
        case 0x10: return grouped(req, first, last);
        case 0x08: return by_type(req, first, last);
        case 0x04: return information(first, last);
        case 0x0A: return read(req[0], first, 0);
        case 0x0C: return read(req[0], first, req[3] | req[4] << 8);
        default: return error_response(req[0], first, 0x06);
        }
    }

   private:
    std::vector<const attribute *> in_range(unsigned first, unsigned last, unsigned type) const {
        std::vector<const attribute *> found;
        for (const attribute &a : table_) {
            if (a.handle >= first && a.handle <= last && a.type == type) found.push_back(&a);
        }
        return found;
    }

    // Entries of one length, as many as fit in the MTU.
    bytes entries(std::uint8_t opcode, const std::vector<bytes> &list, unsigned handle) const {
        if (list.empty()) return error_response(opcode - 1, handle, 0x0A);
        bytes rsp = {opcode, static_cast<std::uint8_t>(list[0].size())};
        for (const bytes &entry : list) {
            if (entry.size() != list[0].size() || rsp.size() + entry.size() > mtu_) break;
            rsp.insert(rsp.end(), entry.begin(), entry.end());
        }
        return rsp;
    }

    bytes grouped(const bytes &req, unsigned first, unsigned last) const {
        std::vector<bytes> list;
        for (const attribute *a : in_range(first, last, req[5] | req[6] << 8)) {
            bytes entry;
            put16(entry, a->handle);
            put16(entry, a->group_end);
            entry.insert(entry.end(), a->value.begin(), a->value.end());
            list.push_back(entry);
        }
        return entries(0x11, list, first);
    }

    bytes by_type(const bytes &req, unsigned first, unsigned last) const {
        std::vector<bytes> list;
        for (const attribute *a : in_range(first, last, req[5] | req[6] << 8)) {
            bytes entry;
            put16(entry, a->handle);
            entry.insert(entry.end(), a->value.begin(), a->value.end());
            list.push_back(entry);
        }
        return entries(0x09, list, first);
    }

    bytes information(unsigned first, unsigned last) const {
        bytes rsp;
        for (const attribute &a : table_) {
            if (a.handle < first || a.handle > last) continue;
            if (rsp.empty()) rsp = {0x05, static_cast<std::uint8_t>(a.type_field.size() == 2 ? 1 : 2)};
            if ((a.type_field.size() == 2) != (rsp[1] == 1) || rsp.size() + 2 + a.type_field.size() > mtu_)
                break;
            put16(rsp, a.handle);
            rsp.insert(rsp.end(), a.type_field.begin(), a.type_field.end());
        }
        return rsp.empty() ? error_response(0x04, first, 0x0A) : rsp;
    }

    bytes read(std::uint8_t opcode, unsigned handle, std::size_t offset) const {
        const auto a = std::find_if(table_.begin(), table_.end(),
                                    [&](const attribute &x) { return x.handle == handle; });
        if (a == table_.end()) return error_response(opcode, handle, 0x01);
        if (offset > a->value.size()) return error_response(opcode, handle, 0x07);
        bytes rsp = {static_cast<std::uint8_t>(opcode + 1)};
        const std::size_t count = std::min<std::size_t>(a->value.size() - offset, mtu_ - 1);
        rsp.insert(rsp.end(), a->value.begin() + offset, a->value.begin() + offset + count);
        return rsp;
    }

    std::vector<attribute> table_;
    unsigned mtu_;
};

// The client's side: GATT's discovery procedures, one request at a time.
class client {
   public:
    client(const server &s, unsigned mtu, bool read_values)
        : server_(s), mtu_(mtu), read_values_(read_values) {}

    // Each request and its answer, in order.
    std::vector<std::pair<bytes, bytes>> run(bool services_only) {
        if (mtu_ != 23) ask({0x02, static_cast<std::uint8_t>(mtu_), static_cast<std::uint8_t>(mtu_ >> 8)});
        struct group {
            unsigned first, last;
        };
        std::vector<group> services;
        for (unsigned from = 1; from <= 0xFFFF;) {
            const bytes rsp = ask(range(0x10, from, 0xFFFF, 0x2800));
            if (rsp[0] != 0x11) break;
            for (std::size_t at = 2; at < rsp.size(); at += rsp[1]) {
                services.push_back({u16(rsp, at), u16(rsp, at + 2)});
                from = u16(rsp, at + 2) + 1;
            }
        }
        if (services_only) return std::move(log_);
        struct found {
            unsigned declaration, value, end;
        };
        std::vector<found> characteristics;
        for (const group &s : services) {
            const std::size_t first = characteristics.size();
            for (unsigned from = s.first + 1; from <= s.last;) {
                const bytes rsp = ask(range(0x08, from, s.last, 0x2803));
                if (rsp[0] != 0x09) break;
                for (std::size_t at = 2; at < rsp.size(); at += rsp[1]) {
                    characteristics.push_back({u16(rsp, at), u16(rsp, at + 3), s.last});
                    from = u16(rsp, at) + 1;
                }
            }
            for (std::size_t k = first; k + 1 < characteristics.size(); ++k)
                characteristics[k].end = characteristics[k + 1].declaration - 1;
        }
        for (const found &c : characteristics) {
            for (unsigned from = c.value + 1; from <= c.end;) {
                const bytes rsp = ask(range(0x04, from, c.end, 0));
                if (rsp[0] != 0x05) break;
                const std::size_t entry = rsp[1] == 1 ? 4 : 18;
                from = u16(rsp, rsp.size() - entry) + 1;
            }
        }
        if (read_values_) {
            for (const found &c : characteristics) read_long(c.value);
        }
        return std::move(log_);
    }

   private:
    static unsigned u16(const bytes &b, std::size_t at) { return b[at] | b[at + 1] << 8; }

    static bytes range(std::uint8_t opcode, unsigned first, unsigned last, unsigned type) {
        bytes req = {opcode};
        put16(req, first);
        put16(req, last);
        if (type != 0) put16(req, type);
        return req;
    }

    bytes ask(bytes req) {
        bytes rsp = server_.answer(req);
        log_.emplace_back(std::move(req), rsp);
        return rsp;
    }

    // Read, then Read Blob while a response comes back full.
    void read_long(unsigned handle) {
        bytes req = {0x0A};
        put16(req, handle);
        std::size_t length = ask(req).size() - 1;
        for (std::size_t got = length; got == mtu_ - 1;) {
            bytes blob = {0x0C};
            put16(blob, handle);
            put16(blob, static_cast<unsigned>(length));
            const bytes rsp = ask(blob);
            if (rsp[0] != 0x0D) break;
            got = rsp.size() - 1;
            length += got;
        }
    }

    const server &server_;
    unsigned mtu_;
    bool read_values_;
    std::vector<std::pair<bytes, bytes>> log_;
};

// An L2CAP frame on the ATT channel in ACL packets of at most payload bytes each.
std::vector<hci_packet> acl_packets(unsigned handle, hci_direction direction, const bytes &pdu,
                                    std::size_t payload) {
    bytes frame;
    put16(frame, static_cast<unsigned>(pdu.size()));
    put16(frame, 0x0004);
    frame.insert(frame.end(), pdu.begin(), pdu.end());
    std::vector<hci_packet> packets;
    for (std::size_t at = 0; at < frame.size(); at += payload) {
        const std::size_t count = std::min(payload, frame.size() - at);
        // A host starts a frame with "first, not automatically flushable", a controller with "first".
        const unsigned boundary = at != 0 ? 0x1 : direction == hci_direction::sent ? 0x0 : 0x2;
        bytes acl;
        put16(acl, handle | boundary << 12);
        put16(acl, static_cast<unsigned>(count));
        acl.insert(acl.end(), frame.begin() + at, frame.begin() + at + count);
        packets.push_back({0, hci_type::acl, direction, acl});
    }
    return packets;
}

hci_packet connection_complete(unsigned handle, std::uint8_t last_address_byte) {
    bytes event = {0x3E, 19, 0x01, 0x00};
    put16(event, handle);
    event.insert(event.end(), {0x00, 0x01, last_address_byte, 0x22, 0x33, 0x44, 0x55, 0xC0});
    event.insert(event.end(), {0x18, 0x00, 0x00, 0x00, 0xC8, 0x00, 0x00});
    return {0, hci_type::event, hci_direction::received, event};
}

std::vector<hci_packet> exchange(unsigned handle, const std::vector<std::pair<bytes, bytes>> &log,
                                 std::size_t payload) {
    std::vector<hci_packet> packets;
    for (const auto &[req, rsp] : log) {
        for (hci_packet &p : acl_packets(handle, hci_direction::sent, req, payload))
            packets.push_back(std::move(p));
        for (hci_packet &p : acl_packets(handle, hci_direction::received, rsp, payload))
            packets.push_back(std::move(p));
    }
    return packets;
}

void put32be(std::string &out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(v >> shift));
}

void put32le(std::string &out, std::uint32_t v) {
    for (int shift = 0; shift <= 24; shift += 8) out.push_back(static_cast<char>(v >> shift));
}

std::string h4(const hci_packet &p) {
    constexpr std::uint8_t TYPES[] = {1, 2, 3, 4, 5};  // in hci_type's order
    std::string bytes(1, static_cast<char>(TYPES[static_cast<int>(p.type)]));
    bytes.append(p.bytes.begin(), p.bytes.end());
    return bytes;
}

}  // namespace

std::vector<hci_packet> simulate_discovery(const database &db, const simulation &how) {
    const server device(attributes_of(db), how.mtu);
    const std::vector<hci_packet> first =
        exchange(how.connection, client(device, how.mtu, how.read_values).run(false), how.acl_payload);
    std::vector<hci_packet> packets = {connection_complete(how.connection, 0x11)};
    if (!how.second_connection) {
        packets.insert(packets.end(), first.begin(), first.end());
        return packets;
    }
    // Another device, with one service of its own, discovered on a connection made meanwhile.
    database other{{{"180F", {{"2A19", 0x12, {0x64}, true}}}}};
    const server other_device(attributes_of(other), 23);
    const std::vector<hci_packet> second =
        exchange(how.connection + 1, client(other_device, 23, false).run(true), how.acl_payload);
    packets.push_back(connection_complete(how.connection + 1, 0x12));
    for (std::size_t i = 0; i < std::max(first.size(), second.size()); ++i) {
        if (i < first.size()) packets.push_back(first[i]);
        if (i < second.size()) packets.push_back(second[i]);
    }
    return packets;
}

// The Linux monitor's opcode for a packet: its type and direction.
std::uint32_t monitor_opcode(const hci_packet &p) {
    const bool sent = p.direction == hci_direction::sent;
    switch (p.type) {
    case hci_type::command: return 2;
    case hci_type::event: return 3;
    case hci_type::acl: return sent ? 4 : 5;
    case hci_type::sco: return sent ? 6 : 7;
    case hci_type::iso: return sent ? 18 : 19;
    }
    return 0;
}

std::string btsnoop_log(const std::vector<hci_packet> &packets, std::uint32_t datalink) {
    std::string out("btsnoop\0", 8);
    put32be(out, 1);
    put32be(out, datalink);
    std::uint64_t time = 0x00E03AB44A676000;  // microseconds since year 0
    for (const hci_packet &p : packets) {
        const std::string data = datalink == 1002 ? h4(p) : std::string(p.bytes.begin(), p.bytes.end());
        put32be(out, static_cast<std::uint32_t>(data.size()));
        put32be(out, static_cast<std::uint32_t>(data.size()));
        const bool command_or_event = p.type == hci_type::command || p.type == hci_type::event;
        put32be(out, datalink == 2001
                         ? monitor_opcode(p)
                         : (p.direction == hci_direction::received ? 1 : 0) | (command_or_event ? 2 : 0));
        put32be(out, 0);
        time += 1250;
        put32be(out, static_cast<std::uint32_t>(time >> 32));
        put32be(out, static_cast<std::uint32_t>(time));
        out += data;
    }
    return out;
}

std::string pcap_log(const std::vector<hci_packet> &packets, std::uint32_t linktype) {
    std::string out;
    put32le(out, 0xA1B2C3D4);
    out += std::string("\x02\x00\x04\x00", 4);  // version 2.4
    put32le(out, 0);
    put32le(out, 0);
    put32le(out, 65535);
    put32le(out, linktype);
    std::uint32_t seconds = 1700000000;
    for (const hci_packet &p : packets) {
        std::string data;
        if (linktype == 254) {
            put32be(data, monitor_opcode(p));  // adapter 0, then the opcode
            data.append(p.bytes.begin(), p.bytes.end());
        } else {
            if (linktype == 201) put32be(data, p.direction == hci_direction::received ? 1 : 0);
            data += h4(p);
        }
        put32le(out, ++seconds);
        put32le(out, 0);
        put32le(out, static_cast<std::uint32_t>(data.size()));
        put32le(out, static_cast<std::uint32_t>(data.size()));
        out += data;
    }
    return out;
}

}  // namespace gattdb::tool::test
