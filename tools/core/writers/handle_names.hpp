// SPDX-License-Identifier: MIT
// The names by which generated code and host programs refer to services and characteristics: each
// item's own `name` from the description, otherwise one derived from its UUID. Images hold no names,
// so an image read back gets derived names only.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/model/attributes.hpp"
#include "core/model/database.hpp"

namespace gattdb::tool {

// One service's resolved name and those of its characteristics, in image order.
struct service_names {
    std::string name;
    std::vector<std::string> characteristics;
};

// Resolves every item's name, in upper case. Explicit names come first; a derived name is the
// Bluetooth SIG name of the UUID (never a vendor's, so that it cannot change) with each run of other
// characters than letters and digits made one underscore, or UUID_ and the UUID's digits; one
// already taken by an item of the same kind (services, characteristics) gets the smallest free
// suffix _2, _3, ... in image order. Throws input_error at the second item's place when two explicit
// names of one kind are equal in upper case.
std::vector<service_names> resolve_names(const database &db);

// The name of the item an attribute belongs to: its characteristic's, or else its service's.
const std::string &item_name(const std::vector<service_names> &names, std::size_t service,
                             std::optional<std::size_t> characteristic);

// The constant the header gives an attribute's handle, after the symbol's prefix: the item's name and
// a suffix for the kind ("HEART_RATE_MEASUREMENT_VALUE_HANDLE"). No suffix ends another, so no two
// constants share a name.
std::string handle_constant(const std::string &item, attribute_kind kind);

}  // namespace gattdb::tool
