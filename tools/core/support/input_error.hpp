// SPDX-License-Identifier: MIT
// The one error type for input the tool cannot take: every reader of outside input throws it.
#pragma once

#include <stdexcept>
#include <string>

namespace gattdb::tool {

// Input the tool cannot take: names the place (a JSON path, a byte offset, a line and column) and
// the reason in plain words. Everything that reads outside input throws this and nothing else.
class input_error : public std::runtime_error {
   public:
    input_error(const std::string &place, const std::string &reason)
        : std::runtime_error(place + ": " + reason) {}
};

}  // namespace gattdb::tool
