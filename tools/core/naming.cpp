#include "naming.hpp"

#include "properties.hpp"
#include "uuid.hpp"
#include "uuid_table.hpp"

namespace gattdb::tool {

std::string uuid_label(const std::string &canonical_uuid) {
    std::string label = display_uuid(canonical_uuid);
    if (const known_uuid *known = find_known_uuid(canonical_uuid)) {
        label += ' ';
        label += known->name;
    }
    return label;
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

std::string count_of(std::size_t count, const std::string &noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

}  // namespace gattdb::tool
