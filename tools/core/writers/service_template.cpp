// SPDX-License-Identifier: MIT
#include "core/writers/service_template.hpp"

#include <algorithm>
#include <cctype>

#include "core/model/labels.hpp"
#include "core/model/properties.hpp"
#include "core/model/service_requirements.hpp"
#include "core/model/uuid.hpp"
#include "core/support/closest_names.hpp"
#include "core/support/input_error.hpp"

namespace gattdb::tool {
namespace {

constexpr std::uint16_t GENERIC_ACCESS = 0x1800;
constexpr std::uint16_t GENERIC_ATTRIBUTE = 0x1801;
constexpr std::uint16_t DEVICE_NAME = 0x2A00;
constexpr std::uint16_t APPEARANCE = 0x2A01;
constexpr std::uint16_t SERVICE_CHANGED = 0x2A05;
constexpr std::uint8_t PROPERTY_READ = 0x02;

std::string upper(std::string_view text) {
    std::string result(text);
    for (char &c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

std::uint8_t template_properties(const characteristic_requirement &row) {
    const std::uint8_t mandatory = named_properties(row.mandatory_properties).bits;
    if (mandatory != 0) return mandatory;
    const std::uint8_t allowed = named_properties(row.optional_properties).bits;
    if ((allowed & PROPERTY_READ) != 0) return PROPERTY_READ;
    return static_cast<std::uint8_t>(allowed & -allowed);  // the lowest bit allowed
}

bool listed(std::span<const std::uint16_t> list, std::uint16_t number) {
    return std::find(list.begin(), list.end(), number) != list.end();
}

std::vector<std::uint16_t> optional_characteristics(std::uint16_t service) {
    std::vector<std::uint16_t> numbers;
    for (const characteristic_requirement &row : service_requirements(service))
        if (row.need == requirement::optional) numbers.push_back(row.characteristic);
    return numbers;
}

}  // namespace

std::optional<std::uint16_t> template_service_named(std::string_view name) {
    for (const sig_service &s : sig_services()) {
        if (s.short_name == name || uuid16_text(s.uuid) == upper(name)) return s.uuid;
    }
    return std::nullopt;
}

std::vector<std::string> closest_service_names(std::string_view name) {
    std::vector<std::string> names;
    for (const sig_service &s : sig_services()) names.emplace_back(s.short_name);
    return closest_names(name, names, 3);
}

service service_template(std::uint16_t uuid, std::span<const std::uint16_t> optional,
                         std::vector<std::string> &warnings) {
    const std::span<const characteristic_requirement> rows = service_requirements(uuid);
    const auto has = [&](requirement need) {
        return std::any_of(rows.begin(), rows.end(),
                           [&](const characteristic_requirement &r) { return r.need == need; });
    };
    // What the template takes besides the mandatory ones: those asked for, or, for a service that
    // would otherwise be empty, all optional ones, or failing those all conditional ones.
    const bool fill = !has(requirement::mandatory) && optional.empty();
    const requirement filler = has(requirement::optional) ? requirement::optional : requirement::conditional;
    service s{uuid16_text(uuid), {}, {}};
    for (const characteristic_requirement &row : rows) {
        const bool wanted = row.need == requirement::mandatory ||
                            (row.need == requirement::optional && listed(optional, row.characteristic)) ||
                            (fill && row.need == filler);
        if (!wanted) continue;
        if (const std::optional<std::string> descriptor = unheld_descriptor(row)) {
            warnings.push_back("left out characteristic " + uuid16_text(row.characteristic) + " " +
                               std::string(row.characteristic_name) + " of service " + uuid16_text(uuid) +
                               " " + std::string(row.service_name) + ": it needs the " + *descriptor +
                               " descriptor, which the image cannot hold");
            continue;
        }
        const std::uint8_t properties = template_properties(row);
        s.characteristics.push_back(
            {uuid16_text(row.characteristic), properties, {}, needs_cccd(properties), {}});
    }
    return s;
}

database database_template(const template_request &request, std::vector<std::string> &warnings) {
    const auto options_of = [&](std::uint16_t service) {
        return request.optional && listed(request.services, service) ? optional_characteristics(service)
                                                                     : std::vector<std::uint16_t>{};
    };
    database db;
    service access = service_template(GENERIC_ACCESS, options_of(GENERIC_ACCESS), warnings);
    for (characteristic &c : access.characteristics) {
        if (c.uuid == uuid16_text(DEVICE_NAME))
            c.value.assign(request.device_name.begin(), request.device_name.end());
        if (c.uuid == uuid16_text(APPEARANCE)) c.value = {0x00, 0x00};
    }
    if (request.device_name.size() > MAX_VALUE_LENGTH) {
        throw input_error("--device-name", "a name of " + std::to_string(request.device_name.size()) +
                                               " bytes, at most " + std::to_string(MAX_VALUE_LENGTH));
    }
    db.services.push_back(std::move(access));
    std::vector<std::uint16_t> attribute = options_of(GENERIC_ATTRIBUTE);
    if (!listed(attribute, SERVICE_CHANGED)) attribute.insert(attribute.begin(), SERVICE_CHANGED);
    db.services.push_back(service_template(GENERIC_ATTRIBUTE, attribute, warnings));
    for (const std::uint16_t uuid : request.services) {
        if (uuid == GENERIC_ACCESS || uuid == GENERIC_ATTRIBUTE) continue;  // there already
        const std::vector<std::uint16_t> optional =
            request.optional ? optional_characteristics(uuid) : std::vector<std::uint16_t>{};
        db.services.push_back(service_template(uuid, optional, warnings));
        const std::string name = uuid16_text(uuid) + " " + uuid_name(uuid16_text(uuid));
        if (db.services.size() > MAX_SERVICES) {
            throw input_error("service " + name, "more than " + std::to_string(MAX_SERVICES) + " services");
        }
        const std::vector<service_handles> handles = assign_handles(db);
        if (handles.back().last > MAX_HANDLE) {
            throw input_error("service " + name, "needs more than " + std::to_string(MAX_HANDLE) +
                                                     " handles, the image's limit");
        }
    }
    return db;
}

}  // namespace gattdb::tool
