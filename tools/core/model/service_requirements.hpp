// SPDX-License-Identifier: MIT
// What the SIG's service specifications require of the characteristics of 34 services: which they
// define, whether each is mandatory, and with which properties. From tools/data/gatt-services.tsv,
// compiled in like the UUID table. `gattdb new` builds templates from it and `gattdb check` holds
// databases to it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace gattdb::tool {

// Conditional: mandatory only under a condition the specification states in words, so never
// required by the tool.
enum class requirement { mandatory, optional, conditional };

struct characteristic_requirement {
    std::uint16_t service;
    std::uint16_t characteristic;
    requirement need;
    // Property names joined by '|' ("read|notify"): those of descriptions, plus reliable-write and
    // writable-auxiliaries, the bits of the Characteristic Extended Properties descriptor.
    std::string_view mandatory_properties;
    std::string_view optional_properties;
    // The descriptors other than the client characteristic configuration, with their requirement,
    // joined by ',': "valid_range:conditional".
    std::string_view descriptors;
    std::string_view service_name;
    std::string_view characteristic_name;
};

// Every row, each service's rows together in its specification's order. Generated at build time.
extern const std::span<const characteristic_requirement> SERVICE_REQUIREMENTS;

// The rows of one service; empty for a service the table does not have.
std::span<const characteristic_requirement> service_requirements(std::uint16_t service);

// The row of a characteristic in a service, or null when the service's specification does not
// define it (or the table lacks the service).
const characteristic_requirement *find_requirement(std::uint16_t service, std::uint16_t characteristic);

// The property bits the names give; names of extended properties, which have no bit of their own,
// set extended.
struct property_set {
    std::uint8_t bits = 0;
    bool extended = false;
};
property_set named_properties(std::string_view names);

// The descriptor a characteristic needs that the image cannot hold, or nullopt: a mandatory
// descriptor other than the client characteristic configuration, the Server Characteristic
// Configuration of a mandatory broadcast, or the Characteristic Extended Properties descriptor of a
// mandatory extended property.
std::optional<std::string> unheld_descriptor(const characteristic_requirement &row);

struct sig_service {
    std::uint16_t uuid;
    std::string_view name;        // "Heart Rate"
    std::string_view short_name;  // "heart_rate": the last part of its SIG identifier
};

// The table's services in its order.
std::vector<sig_service> sig_services();

}  // namespace gattdb::tool
