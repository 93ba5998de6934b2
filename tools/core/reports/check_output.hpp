// SPDX-License-Identifier: MIT
// How `gattdb check` writes its findings: one line each for people, or a JSON array for CI systems.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/checks.hpp"

namespace gattdb::tool {

// "FILE: PLACE: error: MESSAGE [RULE]", a line each. A .gatt place already names its file
// ("profile.gatt:12"), then it stands alone, as a compiler's would; one in an imported file keeps the
// input's name in front.
// label, when given, stands in place of the severity ("fixed").
std::string finding_lines(const std::string &file, const std::vector<finding> &findings,
                          std::string_view label = {});

// [{"rule", "severity", "place", "handle", "message", "fixable"}], indented; handle is null for the
// database as a whole, fixable true when --fix can fix the finding.
std::string finding_json(const std::vector<finding> &findings);

// What --fix did, for CI systems: {"fixed": [the findings fixed], "findings": [those that stay]}.
std::string fix_json(const std::vector<finding> &fixed, const std::vector<finding> &remaining);

}  // namespace gattdb::tool
