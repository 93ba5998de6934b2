// SPDX-License-Identifier: MIT
#include "core/analysis/checks.hpp"

#include <algorithm>

#include "core/analysis/diff.hpp"
#include "core/model/labels.hpp"
#include "core/model/properties.hpp"
#include "core/model/uuid.hpp"
#include "core/model/uuid_table.hpp"

namespace gattdb::tool {
namespace {

// The SIG's numbers the rules look for.
constexpr std::uint16_t GENERIC_ATTRIBUTE_SERVICE = 0x1801;
constexpr std::uint16_t SERVICE_CHANGED = 0x2A05;
// 16-bit UUIDs the SIG assigns to member companies; every other 16-bit UUID is reserved.
constexpr std::uint16_t MEMBER_UUIDS_FIRST = 0xFC00;
constexpr std::uint16_t MEMBER_UUIDS_LAST = 0xFEFF;

// What one rule looks at: the database, one service, one characteristic, either of those (an item),
// or one difference from the released database.
enum class scope { database, service, characteristic, item, update };

struct subject {
    const database &db;
    const service *s = nullptr;
    const characteristic *c = nullptr;
    const difference *change = nullptr;
};

// A rule fires by returning the detail its message needs (empty when it needs none).
using check_function = std::optional<std::string> (*)(const subject &);

struct rule {
    std::string_view id;
    severity level;
    scope applies_to;
    check_function check;
    std::string_view message;  // "{item}" is the service or characteristic, "{detail}" the detail
};

const std::optional<std::string> FIRES = std::string();
const std::optional<std::string> PASSES = std::nullopt;

std::optional<std::string> fires_if(bool condition) { return condition ? FIRES : PASSES; }

const std::string &uuid_of(const subject &x) { return x.c ? x.c->uuid : x.s->uuid; }

// The UUID's entries in the UUID table as clients see the UUID. None for a 32-bit UUID: the image
// does not put it on the Bluetooth base UUID, so clients never see it as the SIG's.
std::span<const known_uuid> table_entries(const std::string &uuid) {
    const known_uuid *first = uuid.size() == 8 ? nullptr : find_known_uuid(uuid);
    if (!first) return {};
    const known_uuid *last = first;
    while (last != KNOWN_UUIDS.data() + KNOWN_UUIDS.size() && last->uuid == first->uuid) ++last;
    return {first, last};
}

// The SIG number clients see the UUID as, by the same reasoning.
std::optional<std::uint16_t> client_sig_number(const std::string &uuid) {
    return uuid.size() == 8 ? std::nullopt : sig_number(uuid);
}

std::optional<std::string> cccd_missing(const subject &x) {
    const std::uint8_t p = x.c->properties;
    if (x.c->cccd || !needs_cccd(p)) return PASSES;
    const bool notify = (p & PROPERTY_NOTIFY) != 0, indicate = (p & PROPERTY_INDICATE) != 0;
    return notify && indicate ? "notify and indicate" : notify ? "notify" : "indicate";
}

std::optional<std::string> cccd_unused(const subject &x) {
    return fires_if(x.c->cccd && !needs_cccd(x.c->properties));
}

std::optional<std::string> extended_properties(const subject &x) {
    return fires_if((x.c->properties & PROPERTY_EXTENDED_PROPERTIES) != 0);
}

std::optional<std::string> broadcast(const subject &x) {
    return fires_if((x.c->properties & PROPERTY_BROADCAST) != 0);
}

std::optional<std::string> no_access(const subject &x) { return fires_if(x.c->properties == 0); }

std::optional<std::string> uuid_kind(const subject &x) {
    const std::span<const known_uuid> entries = table_entries(uuid_of(x));
    const uuid_role expected = x.c ? uuid_role::characteristic : uuid_role::service;
    const bool fits =
        std::any_of(entries.begin(), entries.end(), [&](const known_uuid &e) { return e.role == expected; });
    if (entries.empty() || fits) return PASSES;
    return std::string(role_name(entries.front().role));
}

std::optional<std::string> uuid16_unassigned(const subject &x) {
    const std::string &uuid = uuid_of(x);
    if (uuid.size() != 4 || !table_entries(uuid).empty()) return PASSES;
    const std::uint16_t number = *sig_number(uuid);
    return fires_if(number < MEMBER_UUIDS_FIRST || number > MEMBER_UUIDS_LAST);
}

std::optional<std::string> uuid128_on_base(const subject &x) {
    const std::string &uuid = uuid_of(x);
    if (uuid.size() != 32) return PASSES;
    const std::optional<std::uint16_t> number = sig_number(uuid);
    if (!number) return PASSES;
    return uuid.substr(4, 4);
}

std::optional<std::string> uuid32_field(const subject &x) {
    const std::string &uuid = uuid_of(x);
    if (uuid.size() != 8) return PASSES;
    return uuid;
}

bool is_service_changed(const characteristic &c) { return client_sig_number(c.uuid) == SERVICE_CHANGED; }

std::optional<std::string> service_changed(const subject &x) {
    const bool present = std::any_of(x.db.services.begin(), x.db.services.end(), [](const service &s) {
        return client_sig_number(s.uuid) == GENERIC_ATTRIBUTE_SERVICE &&
               std::any_of(s.characteristics.begin(), s.characteristics.end(), is_service_changed);
    });
    return fires_if(!present);
}

std::optional<std::string> service_changed_indicate(const subject &x) {
    return fires_if(is_service_changed(*x.c) && (x.c->properties & PROPERTY_INDICATE) == 0);
}

std::optional<std::string> empty_service(const subject &x) { return fires_if(x.s->characteristics.empty()); }

std::optional<std::string> handle_moved(const subject &x) {
    if (x.change->kind != change_kind::moved) return PASSES;
    return x.change->detail;
}

std::optional<std::string> attribute_removed(const subject &x) {
    if (x.change->kind != change_kind::removed) return PASSES;
    return x.change->detail;
}

constexpr rule RULES[] = {
    {"cccd-missing", severity::error, scope::characteristic, cccd_missing,
     "{item} can {detail} but has no client characteristic configuration descriptor: clients cannot "
     "subscribe"},
    {"cccd-unused", severity::warning, scope::characteristic, cccd_unused,
     "{item} has a client characteristic configuration descriptor but neither notifies nor indicates"},
    {"extended-properties", severity::error, scope::characteristic, extended_properties,
     "{item} has the extended properties bit (0x80), which requires a Characteristic Extended Properties "
     "descriptor that the image cannot hold"},
    {"broadcast", severity::error, scope::characteristic, broadcast,
     "{item} has the broadcast bit (0x01), which requires a Server Characteristic Configuration "
     "descriptor that the image cannot hold"},
    {"no-access", severity::warning, scope::characteristic, no_access,
     "{item} has no properties: nothing can read, write or be told of its value"},
    {"uuid-kind", severity::warning, scope::item, uuid_kind, "{item} has the UUID of a {detail}"},
    {"uuid16-unassigned", severity::warning, scope::item, uuid16_unassigned,
     "{item} has a 16-bit UUID that the SIG has not assigned; custom attributes take 128-bit UUIDs"},
    {"uuid128-on-base", severity::warning, scope::item, uuid128_on_base,
     "{item} is on the Bluetooth base UUID: its 16-bit form {detail} is the same attribute in 14 fewer "
     "bytes"},
    {"uuid32-field", severity::warning, scope::item, uuid32_field,
     "{item} has a 32-bit UUID, which clients see as {detail}-0000-0000-0000-000000000000, not as "
     "{detail}-0000-1000-8000-00805F9B34FB"},
    {"service-changed", severity::warning, scope::database, service_changed,
     "no Generic Attribute service (1801) with a Service Changed characteristic (2A05): clients that "
     "cache handles cannot be told that they moved"},
    {"service-changed-indicate", severity::error, scope::characteristic, service_changed_indicate,
     "{item} cannot indicate: clients that cache handles are never told that they moved"},
    {"empty-service", severity::warning, scope::service, empty_service, "{item} has no characteristics"},
    {"handle-moved", severity::error, scope::update, handle_moved,
     "{item} moved ({detail}): bonded clients use the handles they cached"},
    {"attribute-removed", severity::error, scope::update, attribute_removed,
     "{item} ({detail} in the old database) is missing: bonded clients use the handles they cached"},
};

bool applies(const rule &r, const subject &x) {
    switch (r.applies_to) {
    case scope::database: return !x.s && !x.change;
    case scope::service: return x.s && !x.c;
    case scope::characteristic: return x.c != nullptr;
    case scope::item: return x.s != nullptr;
    case scope::update: return x.change != nullptr;
    }
    return false;
}

std::string item_name(const subject &x) {
    if (x.change) return x.change->subject;
    if (x.c) return "characteristic " + uuid_label(x.c->uuid);
    return x.s ? "service " + uuid_label(x.s->uuid) : "";
}

std::string filled_in(std::string_view message, const std::string &item, const std::string &detail) {
    std::string text(message);
    for (const auto &[key, value] : {std::pair<std::string_view, const std::string &>{"{detail}", detail},
                                     std::pair<std::string_view, const std::string &>{"{item}", item}}) {
        for (std::size_t at = text.find(key); at != std::string::npos;
             at = text.find(key, at + value.size())) {
            text.replace(at, key.size(), value);
        }
    }
    return text;
}

class checker {
   public:
    checker(const database &db, const check_settings &settings) : db_(db), settings_(settings) {}

    std::vector<finding> run() && {
        visit({db_}, "", 0);
        const std::vector<service_handles> handles = assign_handles(db_);
        for (std::size_t i = 0; i < db_.services.size(); ++i) {
            const service &s = db_.services[i];
            visit({db_, &s}, s.from.place, handles[i].declaration);
            for (std::size_t j = 0; j < s.characteristics.size(); ++j) {
                const characteristic &c = s.characteristics[j];
                visit({db_, &s, &c}, c.from.place, handles[i].characteristics[j].declaration);
            }
        }
        if (settings_.against) {
            for (const difference &d : database_differences(*settings_.against, db_)) {
                const bool kept = d.new_handle != 0;
                visit({db_, nullptr, nullptr, &d}, kept ? d.new_place : "",
                      kept ? d.new_handle : d.old_handle);
            }
        }
        return std::move(findings_);
    }

   private:
    // place is the description's; without one, the handle names the item.
    void visit(const subject &x, const std::string &place, unsigned handle) {
        for (const rule &r : RULES) {
            if (!applies(r, x) || is_ignored(r.id)) continue;
            const std::optional<std::string> detail = r.check(x);
            if (!detail) continue;
            findings_.push_back({std::string(r.id), r.level,
                                 !place.empty() || handle == 0 ? place : "handle " + std::to_string(handle),
                                 handle, filled_in(r.message, item_name(x), *detail)});
        }
    }

    bool is_ignored(std::string_view id) const {
        return std::find(settings_.ignored.begin(), settings_.ignored.end(), id) != settings_.ignored.end();
    }

    const database &db_;
    const check_settings &settings_;
    std::vector<finding> findings_;
};

}  // namespace

std::string_view severity_name(severity level) { return level == severity::error ? "error" : "warning"; }

std::vector<rule_summary> check_rules() {
    std::vector<rule_summary> rules;
    for (const rule &r : RULES) rules.push_back({r.id, r.level});
    return rules;
}

std::vector<finding> check_database(const database &db, const check_settings &settings) {
    return checker(db, settings).run();
}

}  // namespace gattdb::tool
