// SPDX-License-Identifier: MIT
// `gattdb check`: the mistakes that make a well-formed database unusable for clients, and the
// update gate that keeps the handles bonded clients have cached. The library builds whatever it is
// told; these rules catch what it should not have been told. docs/tool.md gives each rule's reason
// and fix.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/database.hpp"

namespace gattdb::tool {

enum class severity { warning, error };

// The item a finding is about, by its index in the database, for applying the finding's fix.
// Findings compare equal without it.
struct finding_target {
    static constexpr std::size_t NONE = static_cast<std::size_t>(-1);
    bool fixable = false;  // the finding's rule has a mechanical fix
    std::size_t service = NONE;
    std::size_t characteristic = NONE;

    bool operator==(const finding_target &) const { return true; }
};

std::string_view severity_name(severity level);

struct finding {
    std::string rule;  // "cccd-missing"
    severity level;
    // Where: the description's place for the item ("services[0].characteristics[1]"), else
    // "handle N"; empty for the database as a whole.
    std::string place;
    // The item's first handle (for an item the old database had and the new one lacks, its handle
    // in the old one); 0 for the database as a whole.
    unsigned handle;
    std::string message;
    finding_target target{};

    bool operator==(const finding &) const = default;
};

struct rule_summary {
    std::string_view id;
    severity level;
    bool fixable;
};

// Every rule, in the order their findings are given for one item.
std::vector<rule_summary> check_rules();

struct check_settings {
    std::optional<database> against;   // the released database an update must keep the handles of
    std::vector<std::string> ignored;  // rule ids to leave out
};

// The findings in handle order: the database's own first, then each service and characteristic's,
// then the update gate's.
std::vector<finding> check_database(const database &db, const check_settings &settings = {});

// Applies the fix of f's rule to the item f is about. False, and db unchanged, when the rule has no
// fix or the fixed database would break a limit of the image.
bool apply_fix(database &db, const finding &f);

struct fix_report {
    database fixed;
    std::vector<finding> applied;  // the findings whose fix was applied, as they were found
    // The findings of the fixed database. One whose fix the update gate refused says so.
    std::vector<finding> remaining;
};

// Applies every fix it can, in the order of the findings. With settings.against, a fix that would
// move or remove a handle of the released database is not applied: the gate wins.
fix_report fix_database(const database &db, const check_settings &settings = {});

}  // namespace gattdb::tool
