// SPDX-License-Identifier: MIT
// What `gattdb dump` shows: one row per attribute, or one line per service. The rows are shared by
// every view of a database (text, Markdown, HTML).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/model/database.hpp"

namespace gattdb::tool {

struct attribute_row {
    unsigned handle;
    const char *type;     // "service", "declaration", "value" or "descriptor"
    std::string uuid;     // canonical
    std::string details;  // properties and value handle, or the value as hex and text
    std::size_t offset;   // where the attribute's entry starts in the image
    std::size_t size;     // and its bytes
};

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

// One row per attribute: handle, attribute type, UUID with its SIG name, and properties, value
// handle or value (hex, and text where printable).
std::string attribute_table(const database &db);

// One line per service (handle range, characteristics, bytes) and a total line.
std::string summary(const database &db);

}  // namespace gattdb::tool
