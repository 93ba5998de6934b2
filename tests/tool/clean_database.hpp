// SPDX-License-Identifier: MIT
// The database the tests of check and its fixes start from: it passes every rule.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "core/model/database.hpp"

namespace gattdb::tool::samples {

inline constexpr std::uint8_t READ = 0x02, NOTIFY = 0x10, INDICATE = 0x20;

// The Generic Attribute service with an indicating Service Changed characteristic, and a battery
// service.
inline const service GENERIC_ATTRIBUTE{"1801", {{"2A05", INDICATE, {}, true}}};
inline const service BATTERY{"180F", {{"2A19", READ, {0x64}, false}}};

// The clean database with the services extra after it.
inline database with(std::initializer_list<service> extra) {
    database db{{GENERIC_ATTRIBUTE, BATTERY}};
    db.services.insert(db.services.end(), extra);
    return db;
}

}  // namespace gattdb::tool::samples
