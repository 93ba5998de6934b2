// SPDX-License-Identifier: MIT
// The bytes the GATT Database Hash is computed over, apart from the AES-CMAC itself, so that a build
// without OpenSSL (the web engine) hashes the same bytes with another AES.
#pragma once

#include <cstdint>
#include <vector>

#include "core/model/database.hpp"

namespace gattdb::tool {

// In handle order, each service, include and characteristic declaration's handle, type and value and
// each descriptor's handle and type (with the value of an extended properties or aggregate format
// descriptor a device served), little-endian. Characteristic values are not part of it.
std::vector<std::uint8_t> database_hash_input(const database &db);

}  // namespace gattdb::tool
