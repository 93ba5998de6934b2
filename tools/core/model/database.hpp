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

// A descriptor a device served besides the client characteristic configuration, as a capture shows it.
struct served_descriptor {
    unsigned handle = 0;
    std::string uuid;                 // canonical
    std::vector<std::uint8_t> value;  // the bytes read; empty when none was
    bool value_known = false;

    bool operator==(const served_descriptor &) const = default;
};

// What a device served beyond what the image numbers itself: its handles, and what the image cannot
// hold. Only a capture fills it in; a description or an image leaves it empty, and the handles are
// then the ones assign_handles computes. Like origin, it plays no part when items are compared.
struct served_characteristic {
    unsigned declaration = 0;  // 0: numbered as the image does
    unsigned value = 0;
    unsigned descriptor = 0;  // the client characteristic configuration's
    bool value_known = true;  // false when the capture holds no value, or only its first part
    std::vector<served_descriptor> descriptors;

    bool operator==(const served_characteristic &) const { return true; }
};

struct served_include {
    unsigned handle = 0;
    unsigned service = 0;  // the included service's first and last handle
    unsigned last = 0;
    std::string uuid;  // canonical; empty when the declaration carried none

    bool operator==(const served_include &) const = default;
};

struct served_service {
    unsigned declaration = 0;  // 0: numbered as the image does
    unsigned last = 0;         // the end of its handle range as served
    bool secondary = false;
    std::vector<served_include> includes;

    bool operator==(const served_service &) const { return true; }
};

struct characteristic {
    std::string uuid;  // canonical: 4, 8 or 32 upper-case hex digits, as the library takes it
    std::uint8_t properties = 0;
    std::vector<std::uint8_t> value;
    bool cccd = false;
    origin from{};
    served_characteristic served{};

    bool operator==(const characteristic &) const = default;
};

struct service {
    std::string uuid;
    std::vector<characteristic> characteristics;
    origin from{};
    served_service served{};

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

// Numbers the attributes from 1 in image order, as the library does; an item a device served keeps
// the handles it was served at.
std::vector<service_handles> assign_handles(const database &db);

// The handles the database uses: its last attribute's.
unsigned handles_used(const database &db);

}  // namespace gattdb::tool
