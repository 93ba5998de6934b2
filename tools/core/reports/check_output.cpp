// SPDX-License-Identifier: MIT
#include "core/reports/check_output.hpp"

#include <nlohmann/json.hpp>

namespace gattdb::tool {

std::string finding_lines(const std::string &file, const std::vector<finding> &findings,
                          std::string_view label) {
    std::string text;
    for (const finding &f : findings) {
        const bool names_the_file = f.place.starts_with(file + ":");
        text += (names_the_file ? "" : file + ": ") + (f.place.empty() ? "" : f.place + ": ") +
                std::string(label.empty() ? severity_name(f.level) : label) + ": " + f.message + " [" +
                f.rule + "]\n";
    }
    return text;
}

namespace {

nlohmann::ordered_json finding_array(const std::vector<finding> &findings) {
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (const finding &f : findings) {
        array.push_back(
            {{"rule", f.rule},
             {"severity", severity_name(f.level)},
             {"place", f.place},
             {"handle", f.handle == 0 ? nlohmann::ordered_json() : nlohmann::ordered_json(f.handle)},
             {"message", f.message},
             {"fixable", f.target.fixable}});
    }
    return array;
}

std::string dumped(const nlohmann::ordered_json &value) {
    return value.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace

std::string finding_json(const std::vector<finding> &findings) { return dumped(finding_array(findings)); }

std::string fix_json(const std::vector<finding> &fixed, const std::vector<finding> &remaining) {
    return dumped({{"fixed", finding_array(fixed)}, {"findings", finding_array(remaining)}});
}

}  // namespace gattdb::tool
