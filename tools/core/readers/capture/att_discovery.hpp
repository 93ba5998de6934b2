// SPDX-License-Identifier: MIT
// What a client learnt of a server's attributes on one connection: each response of the attribute
// protocol read against the request before it, as the discovery procedures of GATT ask them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/readers/capture/hci_reassembly.hpp"

namespace gattdb::tool {

// Handle ranges a client searched to their end, merged.
class handle_ranges {
   public:
    void add(unsigned first, unsigned last);
    bool covers(unsigned first, unsigned last) const;
    // The first handle from first that no range covers, when one up to last is not.
    std::optional<unsigned> first_gap(unsigned first, unsigned last) const;

   private:
    std::map<unsigned, unsigned> ranges_;  // first -> last, disjoint
};

struct found_service {
    unsigned declaration;
    unsigned last;
    std::string uuid;  // canonical
    bool secondary;
};

struct found_characteristic {
    unsigned declaration;
    unsigned value;
    std::uint8_t properties;
    std::string uuid;
};

struct found_include {
    unsigned handle;
    unsigned service;
    unsigned last;
    std::string uuid;  // empty when the declaration carries none (a 128-bit service)
};

struct found_descriptor {
    unsigned handle;
    std::string uuid;
};

struct found_value {
    std::vector<std::uint8_t> bytes;
    bool complete = false;  // false when a longer value may follow what was read
};

struct discovery {
    std::vector<found_service> services;  // in handle order, as every list here
    std::vector<found_characteristic> characteristics;
    std::vector<found_include> includes;
    std::vector<found_descriptor> descriptors;  // every handle Find Information gave, declarations too
    std::map<unsigned, found_value> values;     // by handle
    handle_ranges services_searched;
    handle_ranges characteristics_searched;
    handle_ranges includes_searched;
    handle_ranges descriptors_searched;
    unsigned mtu = 23;
    std::vector<capture_warning> warnings;

    // Services, included services, characteristics (declaration and value) and descriptors found.
    std::size_t attribute_count() const;
};

// The server is the remote device unless local_server: then the capturing host itself.
discovery discover(const std::vector<att_pdu> &pdus, bool local_server);

}  // namespace gattdb::tool
