// SPDX-License-Identifier: MIT
#include "core/model/service_requirements.hpp"

#include <algorithm>

#include "core/model/properties.hpp"
#include "core/model/uuid.hpp"
#include "core/model/uuid_table.hpp"

namespace gattdb::tool {
namespace {

constexpr std::string_view EXTENDED_PROPERTIES[] = {"reliable-write", "writable-auxiliaries"};

// Calls each part of a list joined by separator, skipping empty ones.
template <typename Visit>
void for_each_part(std::string_view list, char separator, Visit visit) {
    while (!list.empty()) {
        const std::size_t end = std::min(list.find(separator), list.size());
        if (end > 0) visit(list.substr(0, end));
        list.remove_prefix(std::min(end + 1, list.size()));
    }
}

}  // namespace

std::span<const characteristic_requirement> service_requirements(std::uint16_t service) {
    const auto first =
        std::find_if(SERVICE_REQUIREMENTS.begin(), SERVICE_REQUIREMENTS.end(),
                     [&](const characteristic_requirement &r) { return r.service == service; });
    const auto last = std::find_if(first, SERVICE_REQUIREMENTS.end(),
                                   [&](const characteristic_requirement &r) { return r.service != service; });
    return {first, last};
}

const characteristic_requirement *find_requirement(std::uint16_t service, std::uint16_t characteristic) {
    for (const characteristic_requirement &row : service_requirements(service)) {
        if (row.characteristic == characteristic) return &row;
    }
    return nullptr;
}

property_set named_properties(std::string_view names) {
    property_set set;
    for_each_part(names, '|', [&](std::string_view name) {
        if (const std::optional<std::uint8_t> bit = property_bit(name)) {
            set.bits |= *bit;
        } else if (std::find(std::begin(EXTENDED_PROPERTIES), std::end(EXTENDED_PROPERTIES), name) !=
                   std::end(EXTENDED_PROPERTIES)) {
            set.extended = true;
        }
    });
    return set;
}

std::optional<std::string> unheld_descriptor(const characteristic_requirement &row) {
    std::optional<std::string> needed;
    for_each_part(row.descriptors, ',', [&](std::string_view entry) {
        const std::size_t colon = entry.find(':');
        if (!needed && colon != std::string_view::npos && entry.substr(colon + 1) == "mandatory")
            needed = std::string(entry.substr(0, colon));
    });
    if (needed) return needed;
    const property_set mandatory = named_properties(row.mandatory_properties);
    if ((mandatory.bits & PROPERTY_BROADCAST) != 0) return "server_characteristic_configuration";
    if (mandatory.extended) return "characteristic_extended_properties";
    return std::nullopt;
}

std::vector<sig_service> sig_services() {
    std::vector<sig_service> services;
    for (const characteristic_requirement &row : SERVICE_REQUIREMENTS) {
        if (!services.empty() && services.back().uuid == row.service) continue;
        const known_uuid *known = find_known_uuid(uuid16_text(row.service));
        std::string_view identifier = known ? known->identifier : std::string_view();
        identifier.remove_prefix(std::min(identifier.rfind('.') + 1, identifier.size()));
        services.push_back({row.service, row.service_name, identifier});
    }
    return services;
}

}  // namespace gattdb::tool
