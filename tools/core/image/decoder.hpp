// SPDX-License-Identifier: MIT
// Reading an image back into the database model, byte by byte, naming the offset of every fault.
#pragma once

#include <cstdint>
#include <span>

#include "core/model/database.hpp"

namespace gattdb::tool {

// Reads a database image back into its services and characteristics. Accepts exactly the images
// the library can write, so that writing the result as a description and building it gives the
// same bytes; anything else throws input_error naming the byte offset. Never reads outside image.
database decode_image(std::span<const std::uint8_t> image);

}  // namespace gattdb::tool
