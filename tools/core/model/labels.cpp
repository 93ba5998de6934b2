// SPDX-License-Identifier: MIT
#include "core/model/labels.hpp"

#include "core/model/properties.hpp"
#include "core/model/uuid.hpp"
#include "core/model/uuid_table.hpp"

namespace gattdb::tool {

std::string uuid_label(const std::string &canonical_uuid) {
    const std::string name = uuid_name(canonical_uuid);
    return display_uuid(canonical_uuid) + (name.empty() ? "" : " " + name);
}

std::string uuid_name(const std::string &canonical_uuid) {
    const known_uuid *known = find_known_uuid(canonical_uuid);
    return known ? std::string(known->name) : "";
}

std::string properties_label(std::uint8_t properties) {
    std::string label;
    for (const std::string &name : property_names(properties)) label += (label.empty() ? "" : ", ") + name;
    return label.empty() ? "none" : label;
}

std::string handle_range(unsigned first, unsigned last) {
    return first == last ? "handle " + std::to_string(first)
                         : "handles " + std::to_string(first) + "-" + std::to_string(last);
}

std::string joined(const std::vector<std::string> &texts, std::string_view separator) {
    std::string text;
    for (const std::string &t : texts) {
        if (!text.empty()) text += separator;
        text += t;
    }
    return text;
}

std::string count_of(std::size_t count, const std::string &noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

}  // namespace gattdb::tool
