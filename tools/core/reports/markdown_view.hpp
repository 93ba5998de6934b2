// SPDX-License-Identifier: MIT
// The Markdown view of a database, for a firmware project's documents.
#pragma once

#include <string>

#include "core/model/database.hpp"

namespace gattdb::tool {

// The attribute table and the services as Markdown tables, for a firmware project's documents.
std::string markdown_view(const database &db);

}  // namespace gattdb::tool
