// SPDX-License-Identifier: MIT
// The tool's picture of a database: what a description says and what an image holds, in one form,
// so that reading, writing, dumping and comparing all work on the same records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/model/limits.hpp"
#include "core/support/input_error.hpp"

namespace gattdb::tool {

// Where an item came from, for messages about it, and the name its description gave it. Neither is
// part of the image: an image read back has neither, and items compare equal without them.
struct origin {
    std::string place;  // "services[0].characteristics[1]", "profile.gatt:12"; empty from an image
    std::string name;   // the description's optional name, as written; empty when none

    bool operator==(const origin &) const { return true; }
};

struct characteristic {
    std::string uuid;  // canonical: 4, 8 or 32 upper-case hex digits, as the library takes it
    std::uint8_t properties = 0;
    std::vector<std::uint8_t> value;
    bool cccd = false;
    origin from{};

    bool operator==(const characteristic &) const = default;
};

struct service {
    std::string uuid;
    std::vector<characteristic> characteristics;
    origin from{};

    bool operator==(const service &) const = default;
};

struct database {
    std::vector<service> services;

    bool operator==(const database &) const = default;
};

// The handles the image gives a characteristic's attributes; descriptor is 0 when it has none.
struct characteristic_handles {
    unsigned declaration;
    unsigned value;
    unsigned descriptor;
};

struct service_handles {
    unsigned declaration;
    unsigned last;  // the service's last attribute
    std::vector<characteristic_handles> characteristics;
};

constexpr unsigned handle_count(const characteristic &c) { return c.cccd ? 3 : 2; }

// Numbers the attributes from 1 in image order, as the library does.
std::vector<service_handles> assign_handles(const database &db);

// The handles the database uses: its last attribute's.
unsigned handles_used(const database &db);

}  // namespace gattdb::tool
