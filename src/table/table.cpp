#include "table.hpp"

namespace gattdb {

constinit service_record service_table[MAX_SERVICES] = {};

}  // namespace gattdb
