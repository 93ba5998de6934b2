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

std::string upper(std::string_view text) {
    std::string result(text);
    for (char &c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

std::uint8_t template_properties(const characteristic_requirement &row) {
    const std::uint8_t mandatory = named_properties(row.mandatory_properties).bits;
    if (mandatory != 0) return mandatory;
    const std::uint8_t allowed = named_properties(row.optional_properties).bits;
    const std::uint8_t read = *property_bit("read");
    if ((allowed & read) != 0) return read;
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

void append_service_template(database &db, std::uint16_t uuid, std::span<const std::uint16_t> optional,
                             std::vector<std::string> &warnings) {
    const std::string place = "service " + uuid16_text(uuid) + " " + uuid_name(uuid16_text(uuid));
    check_room_for_service(db.services.size(), place);
    service s = service_template(uuid, optional, warnings);
    handle_budget handles;
    handles.take(handles_used(db) + 1, place);
    for (const characteristic &c : s.characteristics) handles.take(handle_count(c), place);
    db.services.push_back(std::move(s));
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
    check_value_length(request.device_name.size(), "--device-name");
    db.services.push_back(std::move(access));
    std::vector<std::uint16_t> attribute = options_of(GENERIC_ATTRIBUTE);
    if (!listed(attribute, SERVICE_CHANGED)) attribute.insert(attribute.begin(), SERVICE_CHANGED);
    db.services.push_back(service_template(GENERIC_ATTRIBUTE, attribute, warnings));
    for (const std::uint16_t uuid : request.services) {
        if (uuid == GENERIC_ACCESS || uuid == GENERIC_ATTRIBUTE) continue;  // there already
        const std::vector<std::uint16_t> optional =
            request.optional ? optional_characteristics(uuid) : std::vector<std::uint16_t>{};
        append_service_template(db, uuid, optional, warnings);
    }
    return db;
}

}  // namespace gattdb::tool
