// SPDX-License-Identifier: MIT
#include "core/model/attributes.hpp"

namespace gattdb::tool {

const char *kind_name(attribute_kind kind) {
    switch (kind) {
    case attribute_kind::service: return "service";
    case attribute_kind::declaration: return "declaration";
    case attribute_kind::value: return "value";
    case attribute_kind::descriptor: return "descriptor";
    case attribute_kind::include: return "include";
    }
    return "";
}

std::vector<attribute> attributes_of(const database &db) {
    std::vector<attribute> list;
    const std::vector<service_handles> handles = assign_handles(db);
    for (std::size_t i = 0; i < db.services.size(); ++i) {
        const service &s = db.services[i];
        const unsigned end = handles[i].last;
        list.push_back({attribute_kind::service, handles[i].declaration, i, std::nullopt, s.uuid, end, 0});
        for (const served_include &include : s.served.includes)
            list.push_back(
                {attribute_kind::include, include.handle, i, std::nullopt, include.uuid, end, 0, &include});
        for (std::size_t j = 0; j < s.characteristics.size(); ++j) {
            const characteristic &c = s.characteristics[j];
            const characteristic_handles &h = handles[i].characteristics[j];
            list.push_back({attribute_kind::declaration, h.declaration, i, j, c.uuid, end, h.value});
            list.push_back({attribute_kind::value, h.value, i, j, c.uuid, end, h.value});
            // A device's descriptors in handle order, the configuration among them.
            auto other = c.served.descriptors.begin();
            auto add_served_before = [&](unsigned handle) {
                for (; other != c.served.descriptors.end() && other->handle < handle; ++other)
                    list.push_back({attribute_kind::descriptor, other->handle, i, j, other->uuid, end,
                                    h.value, nullptr, &*other});
            };
            if (c.cccd) {
                add_served_before(h.descriptor);
                list.push_back({attribute_kind::descriptor, h.descriptor, i, j, CCCD_UUID, end, h.value});
            }
            add_served_before(~0U);
        }
    }
    return list;
}

}  // namespace gattdb::tool
