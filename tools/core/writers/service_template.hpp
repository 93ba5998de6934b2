// SPDX-License-Identifier: MIT
// Databases to start from: SIG services with the characteristics their specifications make
// mandatory, carrying the mandatory properties, for `gattdb new` and the page's "Add service".
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/database.hpp"

namespace gattdb::tool {

// The SIG service a name stands for: its 16-bit UUID ("180D", either case) or the last part of its
// SIG identifier ("heart_rate"); nullopt for a service the requirements table lacks.
std::optional<std::uint16_t> template_service_named(std::string_view name);

// The names of the table's services nearest an unknown one.
std::vector<std::string> closest_service_names(std::string_view name);

// One service: its mandatory characteristics and the optional ones listed in optional, in its
// specification's order. A service whose specification makes none mandatory gets its optional ones,
// or failing those its conditional ones, so that it is not empty. Each characteristic has its
// mandatory properties (read when none are mandatory and read is allowed, else its first allowed
// property), the descriptor where it notifies or indicates, and an empty value. One that needs a
// descriptor the image cannot hold is left out, and a warning says so.
service service_template(std::uint16_t uuid, std::span<const std::uint16_t> optional,
                         std::vector<std::string> &warnings);

// Appends the service's template to db. Throws input_error when the database would then exceed a
// limit of the image.
void append_service_template(database &db, std::uint16_t uuid, std::span<const std::uint16_t> optional,
                             std::vector<std::string> &warnings);

struct template_request {
    std::vector<std::uint16_t> services;  // in order, after Generic Access and Generic Attribute
    bool optional = false;                // every service with all its optional characteristics
    std::string device_name = "gattdb";
};

// Generic Access (Device Name and Appearance, read), Generic Attribute (Service Changed, indicate),
// then each requested service. Throws input_error when the database would exceed a limit of the
// image.
database database_template(const template_request &request, std::vector<std::string> &warnings);

}  // namespace gattdb::tool
