// SPDX-License-Identifier: MIT
// The HTML view of a database: one page people would rather look at than read.
#pragma once

#include <string>

#include "core/model/database.hpp"

namespace gattdb::tool {

// One self-contained HTML page: the attributes with their SIG names and check findings, each
// service's share of the handles, and a byte map of the image. It loads nothing from the network.
std::string html_view(const database &db, const std::string &source);

}  // namespace gattdb::tool
