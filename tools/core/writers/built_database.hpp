// SPDX-License-Identifier: MIT
// What every writer of `gattdb build` works from: the database with its image and its items' names.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/database.hpp"
#include "core/writers/handle_names.hpp"

namespace gattdb::tool {

// What a writer may use: the database, its image, the items' resolved names and the symbol of
// generated code (--name).
struct built_database {
    const database &db;
    std::span<const std::uint8_t> image;
    const std::vector<service_names> &names;
    std::string_view symbol;
};

// A description's items named and its image built: what the writers need beside the database.
struct named_image {
    std::vector<service_names> names;
    std::vector<std::uint8_t> image;
};

// Names db's items and builds its image. Every output refuses a description whose names collide, so
// this is the one place both happen. Throws input_error with input (the description's name, as
// errors name files) in front of the place.
named_image name_and_build(const database &db, const std::string &input);

}  // namespace gattdb::tool
