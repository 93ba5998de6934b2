// SPDX-License-Identifier: MIT
// The output formats that give the image's attribute handles by name, for the code that serves the
// image (header) and for host programs that read and write by handle (map).
#pragma once

#include <string>

#include "core/writers/built_database.hpp"

namespace gattdb::tool {

// A header that compiles as C99 and C++: it declares what the c format defines and gives, with
// PREFIX the symbol in upper case, PREFIX_<service>_SERVICE_HANDLE and _END_HANDLE,
// PREFIX_<characteristic>_DECLARATION_HANDLE, _VALUE_HANDLE and _CCCD_HANDLE (with the descriptor
// only), PREFIX_HANDLE_COUNT and PREFIX_IMAGE_SIZE.
std::string write_header(const built_database &built);

// The same handles as JSON: handle_count, image_size, and the services with their names, UUIDs,
// handles and characteristics.
std::string write_map(const built_database &built);

}  // namespace gattdb::tool
