// SPDX-License-Identifier: MIT
#include "core/readers/capture/att_discovery.hpp"

#include <algorithm>
#include <array>
#include <optional>
#include <span>

#include "core/model/uuid.hpp"

namespace gattdb::tool {
namespace {

// Attribute protocol opcodes.
enum opcode : std::uint8_t {
    ERROR_RESPONSE = 0x01,
    EXCHANGE_MTU_REQUEST = 0x02,
    EXCHANGE_MTU_RESPONSE = 0x03,
    FIND_INFORMATION_REQUEST = 0x04,
    FIND_INFORMATION_RESPONSE = 0x05,
    FIND_BY_TYPE_VALUE_REQUEST = 0x06,
    FIND_BY_TYPE_VALUE_RESPONSE = 0x07,
    READ_BY_TYPE_REQUEST = 0x08,
    READ_BY_TYPE_RESPONSE = 0x09,
    READ_REQUEST = 0x0A,
    READ_RESPONSE = 0x0B,
    READ_BLOB_REQUEST = 0x0C,
    READ_BLOB_RESPONSE = 0x0D,
    READ_MULTIPLE_REQUEST = 0x0E,
    READ_MULTIPLE_RESPONSE = 0x0F,
    READ_BY_GROUP_TYPE_REQUEST = 0x10,
    READ_BY_GROUP_TYPE_RESPONSE = 0x11,
    READ_MULTIPLE_VARIABLE_REQUEST = 0x20,
    READ_MULTIPLE_VARIABLE_RESPONSE = 0x21,
    WRITE_REQUEST = 0x12,
    WRITE_RESPONSE = 0x13,
    PREPARE_WRITE_REQUEST = 0x16,
    PREPARE_WRITE_RESPONSE = 0x17,
    EXECUTE_WRITE_REQUEST = 0x18,
    EXECUTE_WRITE_RESPONSE = 0x19,
};

// The requests a server answers, each with its response's opcode. Writes tell nothing of the database
// but are followed too, so that the responses after them are not taken for answers to a read.
constexpr std::array<std::pair<std::uint8_t, std::uint8_t>, 12> REQUESTS = {{
    {WRITE_REQUEST, WRITE_RESPONSE},
    {PREPARE_WRITE_REQUEST, PREPARE_WRITE_RESPONSE},
    {EXECUTE_WRITE_REQUEST, EXECUTE_WRITE_RESPONSE},
    {EXCHANGE_MTU_REQUEST, EXCHANGE_MTU_RESPONSE},
    {FIND_INFORMATION_REQUEST, FIND_INFORMATION_RESPONSE},
    {FIND_BY_TYPE_VALUE_REQUEST, FIND_BY_TYPE_VALUE_RESPONSE},
    {READ_BY_TYPE_REQUEST, READ_BY_TYPE_RESPONSE},
    {READ_REQUEST, READ_RESPONSE},
    {READ_BLOB_REQUEST, READ_BLOB_RESPONSE},
    {READ_MULTIPLE_REQUEST, READ_MULTIPLE_RESPONSE},
    {READ_BY_GROUP_TYPE_REQUEST, READ_BY_GROUP_TYPE_RESPONSE},
    {READ_MULTIPLE_VARIABLE_REQUEST, READ_MULTIPLE_VARIABLE_RESPONSE},
}};

// Any other PDU (commands, notifications, indications, ...) gets no answer.
bool is_response(std::uint8_t op) {
    return op == ERROR_RESPONSE ||
           std::any_of(REQUESTS.begin(), REQUESTS.end(), [&](const auto &pair) { return pair.second == op; });
}

// Every opcode the attribute protocol defines: requests and responses up to 0x21 but for two gaps,
// the multiple-handle notification (0x23), and the write and signed write commands.
bool is_att_opcode(std::uint8_t op) {
    return (op >= 0x01 && op <= 0x13) || (op >= 0x16 && op <= 0x1E) || (op >= 0x20 && op <= 0x23) ||
           op == 0x52 || op == 0xD2;
}

std::optional<std::uint8_t> response_to(std::uint8_t request) {
    for (const auto &[req, rsp] : REQUESTS) {
        if (req == request) return rsp;
    }
    return std::nullopt;
}

constexpr unsigned PRIMARY_SERVICE = 0x2800;
constexpr unsigned SECONDARY_SERVICE = 0x2801;
constexpr unsigned INCLUDE = 0x2802;
constexpr unsigned CHARACTERISTIC = 0x2803;
constexpr std::uint8_t ATTRIBUTE_NOT_FOUND = 0x0A;
constexpr std::uint8_t INVALID_OFFSET = 0x07;
constexpr std::uint8_t ATTRIBUTE_NOT_LONG = 0x0B;
constexpr unsigned DEFAULT_MTU = 23;
constexpr std::size_t MAX_READ_BY_TYPE_VALUE = 253;  // its length field is one byte, with the handle

using bytes_view = std::span<const std::uint8_t>;

unsigned u16(bytes_view b, std::size_t at) { return b[at] | static_cast<unsigned>(b[at + 1]) << 8; }

// The Bluetooth base UUID's twelve low bytes, least significant first: a 16-byte UUID ending in
// them is a 16- or 32-bit one that ATT can only send in full.
constexpr std::array<std::uint8_t, 12> BASE_UUID_LOW = {0xFB, 0x34, 0x9B, 0x5F, 0x80, 0x00,
                                                        0x00, 0x80, 0x00, 0x10, 0x00, 0x00};

std::optional<std::string> uuid_of(bytes_view field) {
    if (field.size() != 2 && field.size() != 16) return std::nullopt;
    if (field.size() == 16 && std::equal(BASE_UUID_LOW.begin(), BASE_UUID_LOW.end(), field.begin())) {
        const bytes_view number = field.subspan(12);
        return uuid_from_field(number[2] == 0 && number[3] == 0 ? number.first(2) : number);
    }
    return uuid_from_field(field);
}

std::optional<unsigned> sixteen_bit(bytes_view field) {
    if (field.size() == 2) return u16(field, 0);
    return std::nullopt;
}

struct malformed {
    std::string why;
};

template <typename Entry>
void insert_sorted(std::vector<Entry> &list, Entry entry, unsigned Entry::*handle) {
    const auto at = std::lower_bound(list.begin(), list.end(), entry,
                                     [&](const Entry &a, const Entry &b) { return a.*handle < b.*handle; });
    if (at != list.end() && (*at).*handle == entry.*handle) {
        *at = std::move(entry);  // read again: the later answer stands
    } else {
        list.insert(at, std::move(entry));
    }
}

class discoverer {
   public:
    explicit discoverer(bool local_server)
        : server_(local_server ? hci_direction::sent : hci_direction::received),
          client_(local_server ? hci_direction::received : hci_direction::sent) {}

    discovery run(const std::vector<att_pdu> &pdus) && {
        for (const att_pdu &pdu : pdus) {
            try {
                take(pdu);
            } catch (const malformed &error) {
                out_.warnings.push_back({pdu.record, error.why + "; skipped"});
            }
        }
        return std::move(out_);
    }

   private:
    struct request {
        std::size_t record;
        std::vector<std::uint8_t> bytes;
    };

    // Without a direction in the capture, requests and responses still tell the sides apart.
    bool from(const att_pdu &pdu, hci_direction side) const {
        return pdu.direction == side || pdu.direction == hci_direction::unknown;
    }

    void take(const att_pdu &pdu) {
        const std::uint8_t op = pdu.bytes[0];
        if (!is_att_opcode(op)) throw malformed{"unknown attribute protocol opcode 0x" + hex(op)};
        if (response_to(op) && from(pdu, client_)) {
            pending_ = request{pdu.record, pdu.bytes};
            return;
        }
        if (!is_response(op) || !from(pdu, server_)) return;
        if (!pending_) throw malformed{"a response without a request"};
        const request asked = std::move(*pending_);
        pending_.reset();
        const bytes_view rsp(pdu.bytes);
        const bytes_view req(asked.bytes);
        if (op == ERROR_RESPONSE) return error(req, rsp);
        if (op != *response_to(req[0])) {
            throw malformed{"response 0x" + hex(op) + " does not answer the request of record " +
                            std::to_string(asked.record)};
        }
        answer(req, rsp);
    }

    static std::string hex(unsigned byte) {
        constexpr char DIGITS[] = "0123456789ABCDEF";
        return {DIGITS[(byte >> 4) & 0xF], DIGITS[byte & 0xF]};
    }

    static void need(bytes_view b, std::size_t size, const char *what) {
        if (b.size() < size) throw malformed{std::string("a short ") + what};
    }

    void answer(bytes_view req, bytes_view rsp) {
        switch (req[0]) {
        case EXCHANGE_MTU_REQUEST:
            need(req, 3, "MTU exchange");
            need(rsp, 3, "MTU exchange");
            out_.mtu = std::max(DEFAULT_MTU, std::min(u16(req, 1), u16(rsp, 1)));
            return;
        case READ_BY_GROUP_TYPE_REQUEST: return group_type(req, rsp);
        case FIND_BY_TYPE_VALUE_REQUEST: return by_type_value(req, rsp);
        case READ_BY_TYPE_REQUEST: return by_type(req, rsp);
        case FIND_INFORMATION_REQUEST: return information(req, rsp);
        case READ_REQUEST:
            need(req, 3, "Read Request");
            return read_value(u16(req, 1), 0, rsp.subspan(1), rsp.size() - 1 < out_.mtu - 1);
        case READ_BLOB_REQUEST:
            need(req, 5, "Read Blob Request");
            return read_value(u16(req, 1), u16(req, 3), rsp.subspan(1), rsp.size() - 1 < out_.mtu - 1);
        case READ_MULTIPLE_REQUEST: return read_multiple(req, rsp);
        case READ_MULTIPLE_VARIABLE_REQUEST: return read_multiple_variable(req, rsp);
        default: return;
        }
    }

    // Error responses end a procedure; "not found" also says the rest of the range holds nothing.
    void error(bytes_view req, bytes_view rsp) {
        need(rsp, 5, "Error Response");
        const std::uint8_t code = rsp[4];
        if (rsp[1] != req[0]) throw malformed{"an Error Response for another request than the one before it"};
        if (code == ATTRIBUTE_NOT_FOUND && req.size() >= 7) {
            const unsigned first = u16(req, 1), last = u16(req, 3);
            if (req[0] == READ_BY_GROUP_TYPE_REQUEST && sixteen_bit(req.subspan(5)) == PRIMARY_SERVICE)
                out_.services_searched.add(first, last);
            if (req[0] == READ_BY_TYPE_REQUEST && sixteen_bit(req.subspan(5)) == CHARACTERISTIC)
                out_.characteristics_searched.add(first, last);
            if (req[0] == READ_BY_TYPE_REQUEST && sixteen_bit(req.subspan(5)) == INCLUDE)
                out_.includes_searched.add(first, last);
        }
        if (code == ATTRIBUTE_NOT_FOUND && req[0] == FIND_INFORMATION_REQUEST && req.size() >= 5)
            out_.descriptors_searched.add(u16(req, 1), u16(req, 3));
        // Reading on at the value's end: what was read is all of it.
        if ((code == INVALID_OFFSET || code == ATTRIBUTE_NOT_LONG) && req[0] == READ_BLOB_REQUEST &&
            req.size() >= 5) {
            const auto known = out_.values.find(u16(req, 1));
            if (known != out_.values.end() && known->second.bytes.size() == u16(req, 3))
                known->second.complete = true;
        }
    }

    void group_type(bytes_view req, bytes_view rsp) {
        need(req, 7, "Read By Group Type Request");
        need(rsp, 2, "Read By Group Type Response");
        const std::optional<unsigned> type = sixteen_bit(req.subspan(5));
        if (type != PRIMARY_SERVICE && type != SECONDARY_SERVICE) return;
        const std::size_t length = rsp[1];
        if (length < 6 || (rsp.size() - 2) % length != 0)
            throw malformed{"a Read By Group Type Response of bad length"};
        unsigned last = u16(req, 1);
        for (std::size_t at = 2; at < rsp.size(); at += length) {
            const bytes_view entry = rsp.subspan(at, length);
            const std::optional<std::string> uuid = uuid_of(entry.subspan(4));
            if (!uuid) throw malformed{"a service UUID of " + std::to_string(length - 4) + " bytes"};
            insert_sorted(out_.services,
                          found_service{u16(entry, 0), u16(entry, 2), *uuid, type == SECONDARY_SERVICE},
                          &found_service::declaration);
            last = std::max(last, u16(entry, 2));
        }
        if (type == PRIMARY_SERVICE) out_.services_searched.add(u16(req, 1), last);
    }

    // Finding a primary service by its UUID: the answer gives the handle ranges, the request the UUID.
    void by_type_value(bytes_view req, bytes_view rsp) {
        need(req, 7, "Find By Type Value Request");
        if (u16(req, 5) != PRIMARY_SERVICE) return;
        const std::optional<std::string> uuid = uuid_of(req.subspan(7));
        if (!uuid) throw malformed{"a service UUID of " + std::to_string(req.size() - 7) + " bytes"};
        if ((rsp.size() - 1) % 4 != 0) throw malformed{"a Find By Type Value Response of bad length"};
        for (std::size_t at = 1; at < rsp.size(); at += 4)
            insert_sorted(out_.services, found_service{u16(rsp, at), u16(rsp, at + 2), *uuid, false},
                          &found_service::declaration);
    }

    void by_type(bytes_view req, bytes_view rsp) {
        need(req, 7, "Read By Type Request");
        need(rsp, 2, "Read By Type Response");
        const std::size_t length = rsp[1];
        if (length < 2 || (rsp.size() - 2) % length != 0)
            throw malformed{"a Read By Type Response of bad length"};
        const bytes_view type = req.subspan(5);
        unsigned last = u16(req, 1);
        for (std::size_t at = 2; at < rsp.size(); at += length) {
            const unsigned handle = u16(rsp, at);
            const bytes_view value = rsp.subspan(at + 2, length - 2);
            last = std::max(last, handle);
            if (sixteen_bit(type) == CHARACTERISTIC) {
                const std::optional<std::string> uuid =
                    value.size() >= 3 ? uuid_of(value.subspan(3)) : std::nullopt;
                if (!uuid)
                    throw malformed{"a characteristic declaration of " + std::to_string(value.size()) +
                                    " bytes"};
                insert_sorted(out_.characteristics,
                              found_characteristic{handle, u16(value, 1), value[0], *uuid},
                              &found_characteristic::declaration);
            } else if (sixteen_bit(type) == INCLUDE) {
                if (value.size() != 4 && value.size() != 6)
                    throw malformed{"an include declaration of bad length"};
                insert_sorted(out_.includes,
                              found_include{handle, u16(value, 0), u16(value, 2),
                                            value.size() == 6 ? *uuid_of(value.subspan(4)) : std::string()},
                              &found_include::handle);
            } else {
                const std::size_t room = std::min<std::size_t>(out_.mtu - 4, MAX_READ_BY_TYPE_VALUE);
                read_value(handle, 0, value, value.size() < room);
            }
        }
        if (sixteen_bit(type) == CHARACTERISTIC) out_.characteristics_searched.add(u16(req, 1), last);
        if (sixteen_bit(type) == INCLUDE) out_.includes_searched.add(u16(req, 1), last);
    }

    void information(bytes_view req, bytes_view rsp) {
        need(req, 5, "Find Information Request");
        need(rsp, 2, "Find Information Response");
        const std::size_t uuid_size = rsp[1] == 1 ? 2 : rsp[1] == 2 ? 16 : 0;
        if (uuid_size == 0 || (rsp.size() - 2) % (2 + uuid_size) != 0)
            throw malformed{"a Find Information Response of bad format"};
        unsigned last = u16(req, 1);
        for (std::size_t at = 2; at < rsp.size(); at += 2 + uuid_size) {
            insert_sorted(out_.descriptors,
                          found_descriptor{u16(rsp, at), *uuid_of(rsp.subspan(at + 2, uuid_size))},
                          &found_descriptor::handle);
            last = std::max(last, u16(rsp, at));
        }
        out_.descriptors_searched.add(u16(req, 1), last);
    }

    // Part of a value from offset on; complete when the part was shorter than a response can carry.
    void read_value(unsigned handle, std::size_t offset, bytes_view part, bool complete) {
        found_value &value = out_.values[handle];
        if (offset > value.bytes.size()) return;  // the bytes before it are unknown: nothing joins
        value.bytes.resize(offset);
        value.bytes.insert(value.bytes.end(), part.begin(), part.end());
        value.complete = complete;
    }

    // The values come joined; each is known when all before it are.
    void read_multiple(bytes_view req, bytes_view rsp) {
        if (req.size() < 3 || (req.size() - 1) % 2 != 0)
            throw malformed{"a Read Multiple Request of bad length"};
        std::size_t at = 1;
        for (std::size_t h = 1; h + 2 < req.size(); h += 2) {
            const auto known = out_.values.find(u16(req, h));
            if (known == out_.values.end() || !known->second.complete) return;
            at += known->second.bytes.size();
        }
        if (at > rsp.size()) return;
        read_value(u16(req, req.size() - 2), 0, rsp.subspan(at), rsp.size() - 1 < out_.mtu - 1);
    }

    void read_multiple_variable(bytes_view req, bytes_view rsp) {
        if (req.size() < 3 || (req.size() - 1) % 2 != 0)
            throw malformed{"a Read Multiple Variable Request of bad length"};
        const bool whole = rsp.size() - 1 < out_.mtu - 1;
        std::size_t at = 1;
        for (std::size_t h = 1; h + 1 < req.size() && at + 2 <= rsp.size(); h += 2) {
            const std::size_t length = u16(rsp, at);
            const std::size_t present = std::min(length, rsp.size() - at - 2);
            read_value(u16(req, h), 0, rsp.subspan(at + 2, present), present == length && whole);
            at += 2 + present;
        }
    }

    hci_direction server_;
    hci_direction client_;
    std::optional<request> pending_;
    discovery out_;
};

}  // namespace

void handle_ranges::add(unsigned first, unsigned last) {
    if (last < first) return;
    auto at = ranges_.upper_bound(first);
    if (at != ranges_.begin() && std::prev(at)->second + 1 >= first) {
        --at;
        first = at->first;
        last = std::max(last, at->second);
        at = ranges_.erase(at);
    }
    while (at != ranges_.end() && at->first <= last + 1) {
        last = std::max(last, at->second);
        at = ranges_.erase(at);
    }
    ranges_[first] = last;
}

std::optional<unsigned> handle_ranges::first_gap(unsigned first, unsigned last) const {
    unsigned next = first;
    auto at = ranges_.upper_bound(first);
    if (at != ranges_.begin()) --at;
    for (; at != ranges_.end() && next <= last; ++at) {
        if (at->first > next) return next;
        if (at->second >= next) next = at->second + 1;
    }
    if (next <= last) return next;
    return std::nullopt;
}

bool handle_ranges::covers(unsigned first, unsigned last) const { return !first_gap(first, last); }

std::size_t discovery::attribute_count() const {
    return services.size() + includes.size() + 2 * characteristics.size() + descriptors.size();
}

discovery discover(const std::vector<att_pdu> &pdus, bool local_server) {
    return discoverer(local_server).run(pdus);
}

}  // namespace gattdb::tool
