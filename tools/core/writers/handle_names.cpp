// SPDX-License-Identifier: MIT
#include "core/writers/handle_names.hpp"

#include <cctype>
#include <map>

#include "core/model/uuid_table.hpp"
#include "core/support/c_names.hpp"

namespace gattdb::tool {
namespace {

// "Heart Rate Measurement" -> "HEART_RATE_MEASUREMENT".
std::string name_from_words(std::string_view words) {
    std::string name;
    bool separated = false;
    for (char c : words) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            separated = !name.empty();
            continue;
        }
        if (separated) name += '_';
        separated = false;
        name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return name;
}

std::string derived_name(const std::string &uuid) {
    const known_uuid *known = find_known_uuid(uuid);
    const std::string sig_name = known && known->sig_assigned ? name_from_words(known->name) : "";
    return sig_name.empty() ? "UUID_" + uuid : sig_name;
}

// The names of one kind of item: explicit ones claimed first, in image order, then derived ones.
class name_space {
   public:
    void claim_explicit(const origin &from) {
        if (from.name.empty()) return;
        const std::string name = upper_case(from.name);
        const auto [existing, fresh] = taken_.emplace(name, from.place);
        if (!fresh) {
            throw input_error(from.place, "the name \"" + from.name + "\" is already used by " +
                                              existing->second + " (names are compared in upper case)");
        }
    }

    std::string resolve(const origin &from, const std::string &uuid) {
        if (!from.name.empty()) return upper_case(from.name);
        const std::string base = derived_name(uuid);
        std::string name = base;
        for (unsigned suffix = 2; taken_.contains(name); ++suffix) name = base + "_" + std::to_string(suffix);
        taken_.emplace(name, from.place);
        return name;
    }

   private:
    std::map<std::string, std::string> taken_;  // name -> the place of the item that has it
};

}  // namespace

std::vector<service_names> resolve_names(const database &db) {
    name_space services;
    name_space characteristics;
    for (const service &s : db.services) {
        services.claim_explicit(s.from);
        for (const characteristic &c : s.characteristics) characteristics.claim_explicit(c.from);
    }
    std::vector<service_names> result;
    for (const service &s : db.services) {
        service_names names{services.resolve(s.from, s.uuid), {}};
        for (const characteristic &c : s.characteristics)
            names.characteristics.push_back(characteristics.resolve(c.from, c.uuid));
        result.push_back(std::move(names));
    }
    return result;
}

const std::string &item_name(const std::vector<service_names> &names, std::size_t service,
                             std::optional<std::size_t> characteristic) {
    return characteristic ? names[service].characteristics[*characteristic] : names[service].name;
}

std::string handle_constant(const std::string &item, attribute_kind kind) {
    switch (kind) {
    case attribute_kind::service: return item + "_SERVICE_HANDLE";
    case attribute_kind::declaration: return item + "_DECLARATION_HANDLE";
    case attribute_kind::value: return item + "_VALUE_HANDLE";
    case attribute_kind::descriptor: return item + "_CCCD_HANDLE";
    case attribute_kind::include: return item + "_INCLUDE_HANDLE";
    }
    return item;
}

}  // namespace gattdb::tool
