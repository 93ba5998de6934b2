// SPDX-License-Identifier: MIT
#include "table.hpp"

namespace gattdb {

constinit attribute_table table = {};

}  // namespace gattdb
