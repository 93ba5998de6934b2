// SPDX-License-Identifier: MIT
// The one error type for input the tool cannot take: every reader of outside input throws it.
#pragma once

#include <stdexcept>
#include <string>

namespace gattdb::tool {

// Input the tool cannot take: names the place (a JSON path, a byte offset, a line and column) and
// the reason in plain words, and, once a caller has said which input it was, that input's name. The
// parts are kept apart so that a program (the web page) can show each where it belongs; what() is
// the one line the tool prints, "FILE: PLACE: reason".
class input_error : public std::runtime_error {
   public:
    input_error(const std::string &place, const std::string &reason)
        : std::runtime_error(place + ": " + reason), place_(place), reason_(reason) {}

    // inner, with file (an input's name, as errors name files) in front.
    input_error(const std::string &file, const input_error &inner)
        : std::runtime_error(file + ": " + inner.what()),
          file_(inner.file_.empty() ? file : file + ": " + inner.file_),
          place_(inner.place_),
          reason_(inner.reason_) {}

    const std::string &file() const { return file_; }    // empty until a caller names the input
    const std::string &place() const { return place_; }  // may be empty
    const std::string &reason() const { return reason_; }

   private:
    std::string file_;
    std::string place_;
    std::string reason_;
};

}  // namespace gattdb::tool
