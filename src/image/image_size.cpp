// SPDX-License-Identifier: MIT
#include "gattdb.h"
#include "layout.hpp"

extern "C" uint16_t get_db_size(void) { return gattdb::encodable_image_size(); }
