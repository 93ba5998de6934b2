// SPDX-License-Identifier: MIT
// The rows every view of a database shows (text, Markdown, HTML, the page): one per attribute, one
// per service, and the usage line.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/model/attributes.hpp"
#include "core/model/database.hpp"

namespace gattdb::tool {

struct attribute_row {
    unsigned handle;
    const char *type;     // "service", "declaration", "value" or "descriptor"
    std::string uuid;     // canonical
    std::string details;  // properties and value handle, or the value as hex and text
    std::size_t offset;   // where the attribute's entry starts in the image
    std::size_t size;     // and its bytes
    attribute_kind kind;  // what type names
    std::size_t service;  // the item it belongs to, as attributes_of gives it
    std::optional<std::size_t> characteristic;
};

// The rows of the attributes, in image order, from the one walk over them (attributes_of).
std::vector<attribute_row> attribute_rows(const database &db);

struct service_row {
    unsigned first_handle;
    unsigned last_handle;
    std::string uuid;                          // canonical
    std::vector<std::string> characteristics;  // their UUIDs, as people read them
    std::size_t bytes;
};

std::vector<service_row> service_rows(const database &db);

// "6 of 255 handles, 30 bytes".
std::string usage_text(const database &db);

}  // namespace gattdb::tool
