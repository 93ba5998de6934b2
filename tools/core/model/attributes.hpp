// SPDX-License-Identifier: MIT
// The database's attributes in image order, each with its handle and the item it belongs to: the one
// walk over the attributes that the views, the header, the map, the hash and the page all take.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/model/database.hpp"

namespace gattdb::tool {

// An include is an attribute only a device serves (a capture shows it); the image holds none.
enum class attribute_kind { service, declaration, value, descriptor, include };

// The kinds of attribute the image holds.
inline constexpr std::array<attribute_kind, 4> ATTRIBUTE_KINDS = {
    attribute_kind::service, attribute_kind::declaration, attribute_kind::value, attribute_kind::descriptor};

// "service", "declaration", "value", "descriptor" or "include", as dumps and the page name them.
const char *kind_name(attribute_kind kind);

// The client characteristic configuration descriptor's UUID; the image implies it.
inline constexpr const char *CCCD_UUID = "2902";

struct attribute {
    attribute_kind kind;
    unsigned handle;
    std::size_t service;  // its service's index in the database
    std::optional<std::size_t>
        characteristic;     // its characteristic's index in the service; none for a service
    std::string uuid;       // canonical: the item's, or the descriptor's own
    unsigned service_end;   // the handle of its service's last attribute
    unsigned value_handle;  // its characteristic's value handle; 0 for a service
    // What only a device serves: the include declaration, or a descriptor other than the client
    // characteristic configuration; null for everything the image holds.
    const served_include *include = nullptr;
    const served_descriptor *served = nullptr;

    // Whether the image holds the attribute: everything but what only a device serves.
    bool in_image() const { return include == nullptr && served == nullptr; }
};

// In handle order within each service: the service, its includes, then each characteristic's
// declaration, value and descriptors. The attributes point into db, which must outlive them.
std::vector<attribute> attributes_of(const database &db);

}  // namespace gattdb::tool
