// What `gattdb diff` reports between two databases.
#pragma once

#include <string>
#include <vector>

#include "database.hpp"

namespace gattdb::tool {

// One line per difference, handle moves first (bonded clients cache handles, so a moved handle
// breaks them), then attributes removed, added and changed. Services match by UUID and order among
// services of that UUID; characteristics by service, UUID and order among equals. Empty when the
// databases are the same.
std::vector<std::string> compare_databases(const database &old_db, const database &new_db);

}  // namespace gattdb::tool
