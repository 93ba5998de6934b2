// SPDX-License-Identifier: MIT
// Names that generated C and C++ code declares: the symbol given with --name and the constants of
// the header format.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace gattdb::tool {

// Letters, digits and underscores, not starting with a digit.
bool is_c_identifier(std::string_view name);

// Why name cannot be the symbol of generated code, or nullopt when it can: it must be an identifier
// and neither a C or C++ keyword nor a type name the generated code uses (`uint8_t uint8_t[]` does
// not compile either).
std::optional<std::string> symbol_problem(std::string_view name);

// ASCII letters in upper case, everything else as it is.
std::string upper_case(std::string_view text);

}  // namespace gattdb::tool
