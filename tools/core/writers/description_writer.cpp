// SPDX-License-Identifier: MIT
#include "core/writers/description_writer.hpp"

#include <nlohmann/json.hpp>

#include "core/model/properties.hpp"
#include "core/model/uuid.hpp"
#include "core/support/hex.hpp"
#include "core/support/printable.hpp"

namespace gattdb::tool {
namespace {

using nlohmann::ordered_json;

// Only what differs from the defaults is written, so the description reads like a hand-written one.
ordered_json characteristic_json(const characteristic &c, bool with_names) {
    ordered_json object;
    object["uuid"] = display_uuid(c.uuid);
    if (with_names && !c.from.name.empty()) object["name"] = c.from.name;
    if (c.properties != 0) object["properties"] = property_names(c.properties);
    if (is_printable_text(c.value)) {
        object["text"] = std::string(c.value.begin(), c.value.end());
    } else if (!c.value.empty()) {
        object["value"] = hex_text(c.value, "");
    }
    if (c.cccd != needs_cccd(c.properties)) object["cccd"] = c.cccd;
    return object;
}

// Scalars and arrays of them on one line, objects as "{ key: value, ... }".
std::string inline_json(const ordered_json &value) {
    const bool object = value.is_object();
    if (!object && !value.is_array()) return value.dump();
    std::string text;
    for (const auto &[key, item] : value.items()) {
        if (!text.empty()) text += ", ";
        if (object) text += ordered_json(key).dump() + ": ";
        text += inline_json(item);
    }
    return object ? "{ " + text + " }" : "[" + text + "]";
}

}  // namespace

// The layout of a hand-written description: one line per characteristic.
std::string write_description(const database &db, bool with_names) {
    std::string text = "{ \"services\": [";
    for (std::size_t i = 0; i < db.services.size(); ++i) {
        const service &s = db.services[i];
        text += i == 0 ? "\n" : ",\n";
        text += "    { \"uuid\": ";
        text += ordered_json(display_uuid(s.uuid)).dump();
        if (with_names && !s.from.name.empty()) text += ", \"name\": " + ordered_json(s.from.name).dump();
        if (s.characteristics.empty()) {
            text += " }";
            continue;
        }
        text += ",\n      \"characteristics\": [";
        for (std::size_t j = 0; j < s.characteristics.size(); ++j) {
            text += (j == 0 ? "\n" : ",\n") + std::string(8, ' ') +
                    inline_json(characteristic_json(s.characteristics[j], with_names));
        }
        text += " ] }";
    }
    return text + " ] }\n";
}

}  // namespace gattdb::tool
