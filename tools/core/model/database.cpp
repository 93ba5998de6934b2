// SPDX-License-Identifier: MIT
#include "core/model/database.hpp"

namespace gattdb::tool {
namespace {

service_handles served_handles(const service &s) {
    service_handles handles{s.served.declaration, s.served.last, {}};
    for (const characteristic &c : s.characteristics)
        handles.characteristics.push_back({c.served.declaration, c.served.value, c.served.descriptor});
    return handles;
}

}  // namespace

std::vector<service_handles> assign_handles(const database &db) {
    std::vector<service_handles> result;
    unsigned handle = 0;
    for (const service &s : db.services) {
        if (s.served.declaration != 0) {
            result.push_back(served_handles(s));
            handle = s.served.last;
            continue;
        }
        service_handles handles{++handle, 0, {}};
        for (const characteristic &c : s.characteristics) {
            handles.characteristics.push_back({handle + 1, handle + 2, c.cccd ? handle + 3 : 0});
            handle += handle_count(c);
        }
        handles.last = handle;
        result.push_back(std::move(handles));
    }
    return result;
}

unsigned handles_used(const database &db) {
    unsigned handles = 0;
    for (const service &s : db.services) {
        handles += 1;
        for (const characteristic &c : s.characteristics) handles += handle_count(c);
    }
    return handles;
}

}  // namespace gattdb::tool
