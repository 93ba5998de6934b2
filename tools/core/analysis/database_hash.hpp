// SPDX-License-Identifier: MIT
// The GATT Database Hash (Bluetooth Core Specification 5.1 and later, Vol 3, Part G, 7.3): what a
// client compares to decide whether the handles it cached are still good.
#pragma once

#include "core/analysis/aes_cmac.hpp"
#include "core/model/database.hpp"

namespace gattdb::tool {

// AES-CMAC with an all-zero key over, in handle order, each service and characteristic
// declaration's handle, type and value and each descriptor's handle and type. Characteristic values
// are not part of it.
cmac_tag database_hash(const database &db);

}  // namespace gattdb::tool
