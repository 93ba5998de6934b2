// SPDX-License-Identifier: MIT
// What some readers take beside the text itself: where imported files are searched, and whether
// what the image cannot hold is refused or left out with a warning.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/support/input_error.hpp"

namespace gattdb::tool {

// What some readers need beyond the text itself.
struct read_options {
    std::vector<std::string> include_dirs;  // searched for imported files after the importer's folder
    bool lossy = false;  // leave out, with a warning, what the image cannot hold instead of refusing it
    std::function<void(const std::string &)> warn;  // receives each warning as one line
    // Captures only. as_served: the database as the device served it, its handles and what the image
    // cannot hold included, as dump, diff and check show it; otherwise what the image can hold, as
    // build and import take it. complete: refuse a discovery that missed part of the database.
    bool as_served = false;
    bool complete = false;
    std::optional<unsigned> connection{};  // which of the capture's connections, from 1; the fullest if none
    bool local = false;                    // the capturing host served the database, not the remote device
    // Where imported files are read from: the contents of the file at a path, or none when there is
    // no such file. Unset, the file system; the web page, which has none, sets the files it was given.
    std::function<std::optional<std::string>(const std::string &path)> files{};
};

// What the image cannot hold: refused, or with lossy left out with a warning.
inline void leave_out(const read_options &options, const std::string &place, std::string_view what,
                      std::string_view why) {
    const std::string kept = std::string(what) + ": " + std::string(why);
    if (!options.lossy) throw input_error(place, "cannot keep " + kept + " (--lossy leaves it out)");
    if (options.warn) options.warn(place + ": warning: left out " + kept);
}

}  // namespace gattdb::tool
