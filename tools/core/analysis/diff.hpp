// SPDX-License-Identifier: MIT
// What `gattdb diff` reports between two databases, and what `gattdb check --against` gates on.
#pragma once

#include <string>
#include <vector>

#include "core/model/database.hpp"

namespace gattdb::tool {

enum class change_kind { moved, removed, added, changed };

// One attribute whose handle a change moved: "declaration", "value", "descriptor" or "service".
struct handle_move {
    const char *attribute;
    unsigned old_handle;
    unsigned new_handle;
};

// One difference about one service or characteristic. Services match by UUID and order among
// services of that UUID; characteristics by service, UUID and order among equals.
struct difference {
    change_kind kind;
    std::string subject;    // "characteristic 2A38 Body Sensor Location in service 180D Heart Rate"
    std::string detail;     // "declaration 5 -> 7, value 6 -> 8", "handles 4-5", "value 64 -> 32"
    unsigned old_handle;    // the subject's first handle in the old database; 0 when added
    unsigned new_handle;    // and in the new one; 0 when removed
    std::string new_place;  // where the new database's description has the subject; empty when none
    std::vector<handle_move> moves{};  // for moved: every attribute that moved, as detail lists them
};

// Handle moves first (bonded clients cache handles, so a moved handle breaks them), then services
// and characteristics removed, added and changed. Empty when the databases are the same.
std::vector<difference> database_differences(const database &old_db, const database &new_db);

// The line diff prints for d.
std::string difference_line(const difference &d);

// The differences as diff prints them, one line each.
std::vector<std::string> compare_databases(const database &old_db, const database &new_db);

}  // namespace gattdb::tool
