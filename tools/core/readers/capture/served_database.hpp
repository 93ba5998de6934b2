// SPDX-License-Identifier: MIT
// From what a client discovered to the tool's model: the database as the device served it, or, for
// building an image, what the image can hold of it, each thing it cannot hold refused or left out.
// What the capture does not tell (values never read, ranges never searched) is named, never guessed.
#pragma once

#include <string>

#include "core/model/database.hpp"
#include "core/readers/capture/att_discovery.hpp"
#include "core/readers/read_options.hpp"

namespace gattdb::tool {

// name is the capture's, for the places in messages ("toy.btsnoop: handle 19").
database served_database(const discovery &found, const read_options &options, const std::string &name);

}  // namespace gattdb::tool
