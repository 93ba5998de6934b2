// SPDX-License-Identifier: MIT
#include "core/analysis/database_hash.hpp"

#include "core/analysis/hash_input.hpp"

namespace gattdb::tool {

cmac_tag database_hash(const database &db) { return aes_cmac(aes_key{}, database_hash_input(db)); }

}  // namespace gattdb::tool
