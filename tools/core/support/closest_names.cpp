// SPDX-License-Identifier: MIT
#include "core/support/closest_names.hpp"

#include <algorithm>
#include <cctype>
#include <numeric>

namespace gattdb::tool {
namespace {

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Levenshtein distance: insertions, deletions and substitutions, one row at a time.
std::size_t edits(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min(
                {row[j] + 1, row[j - 1] + 1, diagonal + (lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// A name that starts with what was typed is near however long the rest is: "batery" is one edit
// from the start of "battery_service" and far from all of it.
std::size_t distance(std::string_view wanted, std::string_view name) {
    return std::min(edits(wanted, name), edits(wanted, name.substr(0, wanted.size())) + 1);
}

}  // namespace

std::vector<std::string> closest_names(std::string_view wanted, const std::vector<std::string> &names,
                                       std::size_t count) {
    std::vector<std::pair<std::size_t, std::size_t>> ranked;  // distance, index
    for (std::size_t i = 0; i < names.size(); ++i) ranked.emplace_back(distance(wanted, names[i]), i);
    std::stable_sort(ranked.begin(), ranked.end());
    std::vector<std::string> closest;
    for (std::size_t i = 0; i < ranked.size() && i < count; ++i) closest.push_back(names[ranked[i].second]);
    return closest;
}

}  // namespace gattdb::tool
