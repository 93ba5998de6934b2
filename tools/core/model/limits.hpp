// SPDX-License-Identifier: MIT
// What the image can hold, each limit with its message: every reader checks through these as it adds
// an item, so that the error names the item's place and reads the same whatever the input's form.
#pragma once

#include <cstddef>
#include <string>

#include "gattdb.h"

namespace gattdb::tool {

// What the library accepts and the image can express; the tool checks them itself so that it can
// name the offending place, and so that the library never moves a characteristic into another
// service (which it does when the one opened last is full).
inline constexpr std::size_t MAX_SERVICES = GATTDB_MAX_SERVICES;
inline constexpr std::size_t MAX_CHARACTERISTICS = GATTDB_MAX_CHARACTERISTICS;  // in one service
inline constexpr std::size_t MAX_VALUE_LENGTH = GATTDB_MAX_VALUE_LENGTH;
inline constexpr unsigned MAX_HANDLE = GATTDB_MAX_HANDLE;

// Each throws input_error at place when the item about to be added, after so many, breaks its limit.
void check_room_for_service(std::size_t services, const std::string &place);
void check_room_for_characteristic(std::size_t characteristics_in_service, const std::string &place);
void check_value_length(std::size_t length, const std::string &place);

// The handles the items read so far take. Handles are one byte wide in the image, so the library
// refuses a database that needs more than MAX_HANDLE.
class handle_budget {
   public:
    // Takes count handles for the item at place; throws input_error when they run out.
    void take(unsigned count, const std::string &place);
    unsigned used() const { return used_; }

   private:
    unsigned used_ = 0;
};

}  // namespace gattdb::tool
