// SPDX-License-Identifier: MIT
// The GATT Database Hash (Bluetooth Core Specification 5.1 and later, Vol 3, Part G, 7.3): what a
// client compares to decide whether the handles it cached are still good.
#pragma once

#include "core/analysis/aes_cmac.hpp"
#include "core/model/database.hpp"

namespace gattdb::tool {

// AES-CMAC with an all-zero key over database_hash_input(db).
cmac_tag database_hash(const database &db);

}  // namespace gattdb::tool
