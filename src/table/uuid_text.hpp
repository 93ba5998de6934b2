#pragma once

#include "table.hpp"

namespace gattdb {

// Reads UUID text: exactly 4, 8 or 32 hex digits, either case, most significant first. Nothing else
// is accepted (no white space, signs, "0x" or dashes), because a lenient reading would silently give
// another UUID. On success fills record (kind and bytes, the rest zero) and returns true; on failure
// returns false and leaves record untouched.
bool parse_uuid(const char *text, uuid_record &record);

}  // namespace gattdb
