// SPDX-License-Identifier: MIT
#include "core/analysis/checks.hpp"

#include <algorithm>

#include "core/analysis/diff.hpp"
#include "core/model/labels.hpp"
#include "core/model/properties.hpp"
#include "core/model/service_requirements.hpp"
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

// The item a fix works on, found by its indices in the database being fixed.
struct fix_subject {
    database &db;
    std::size_t service_index;         // finding_target::NONE for the database as a whole
    std::size_t characteristic_index;  // finding_target::NONE for a service

    service &s() const { return db.services[service_index]; }
    characteristic &c() const { return s().characteristics[characteristic_index]; }
};

// A mechanical fix: changes the item so that its rule no longer fires. Returns false when it cannot.
using fix_function = bool (*)(const fix_subject &);

struct rule {
    std::string_view id;
    severity level;
    scope applies_to;
    check_function check;
    // "{item}" is the service or characteristic, "{service}" the service it is in, "{detail}" the
    // detail.
    std::string_view message;
    fix_function fix = nullptr;
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

// The SIG service with a table of requirements that clients see the subject's service as, if any.
std::optional<std::uint16_t> specified_service(const service &s) {
    const std::optional<std::uint16_t> number = client_sig_number(s.uuid);
    if (!number || service_requirements(*number).empty()) return std::nullopt;
    return number;
}

// The row of the subject's characteristic in its service's table, or null.
const characteristic_requirement *requirement_of(const service &s, const characteristic &c) {
    const std::optional<std::uint16_t> service_number = specified_service(s);
    const std::optional<std::uint16_t> number = client_sig_number(c.uuid);
    return service_number && number ? find_requirement(*service_number, *number) : nullptr;
}

std::string characteristic_label(std::uint16_t number, std::string_view name) {
    return uuid16_text(number) + " " + std::string(name);
}

// "the notify property", "the read and notify properties".
std::string properties_phrase(std::uint8_t bits) {
    const std::vector<std::string> names = property_names(bits);
    return "the " + joined(names, " and ") + (names.size() == 1 ? " property" : " properties");
}

std::optional<std::string> mandatory_missing(const subject &x) {
    const std::optional<std::uint16_t> number = specified_service(*x.s);
    if (!number) return PASSES;
    std::vector<std::string> missing;
    for (const characteristic_requirement &row : service_requirements(*number)) {
        if (row.need != requirement::mandatory) continue;
        const bool present = std::any_of(
            x.s->characteristics.begin(), x.s->characteristics.end(),
            [&](const characteristic &c) { return client_sig_number(c.uuid) == row.characteristic; });
        if (!present) missing.push_back(characteristic_label(row.characteristic, row.characteristic_name));
    }
    if (missing.empty()) return PASSES;
    return (missing.size() == 1 ? "characteristic " : "characteristics ") + joined(missing, ", ");
}

// Service Changed's indicate has a rule of its own.
std::uint8_t missing_properties(const service &s, const characteristic &c) {
    const characteristic_requirement *row = requirement_of(s, c);
    if (!row) return 0;
    const std::uint8_t missing = named_properties(row->mandatory_properties).bits & ~c.properties;
    return is_service_changed(c) ? missing & ~PROPERTY_INDICATE : missing;
}

std::optional<std::string> property_missing(const subject &x) {
    const std::uint8_t missing = missing_properties(*x.s, *x.c);
    if (missing == 0) return PASSES;
    return properties_phrase(missing);
}

std::optional<std::string> property_not_allowed(const subject &x) {
    const characteristic_requirement *row = requirement_of(*x.s, *x.c);
    if (!row) return PASSES;
    const property_set mandatory = named_properties(row->mandatory_properties);
    const property_set optional = named_properties(row->optional_properties);
    const bool extended = mandatory.extended || optional.extended;
    const std::uint8_t allowed =
        mandatory.bits | optional.bits | (extended ? PROPERTY_EXTENDED_PROPERTIES : 0);
    const std::uint8_t extra = x.c->properties & ~allowed;
    if (extra == 0) return PASSES;
    return properties_phrase(extra);
}

std::optional<std::string> characteristic_unknown(const subject &x) {
    const std::optional<std::uint16_t> service_number = specified_service(*x.s);
    if (!service_number || requirement_of(*x.s, *x.c)) return PASSES;
    const std::span<const known_uuid> entries = table_entries(x.c->uuid);
    return fires_if(std::any_of(entries.begin(), entries.end(), [](const known_uuid &e) {
        return e.role == uuid_role::characteristic && e.sig_assigned;
    }));
}

bool give_cccd(const fix_subject &x) {
    x.c().cccd = true;
    return true;
}

bool drop_cccd(const fix_subject &x) {
    x.c().cccd = false;
    return true;
}

// Sets bits, with the descriptor that notifying or indicating needs.
void add_properties(characteristic &c, std::uint8_t bits) {
    c.properties |= bits;
    if (needs_cccd(c.properties)) c.cccd = true;
}

bool add_indicate(const fix_subject &x) {
    add_properties(x.c(), PROPERTY_INDICATE);
    return true;
}

bool add_missing_properties(const fix_subject &x) {
    add_properties(x.c(), missing_properties(x.s(), x.c()));
    return true;
}

bool drop_broadcast(const fix_subject &x) {
    x.c().properties &= ~PROPERTY_BROADCAST;
    return true;
}

bool drop_extended_properties(const fix_subject &x) {
    x.c().properties &= static_cast<std::uint8_t>(~PROPERTY_EXTENDED_PROPERTIES);
    return true;
}

bool use_16_bit_form(const fix_subject &x) {
    std::string &uuid = x.characteristic_index == finding_target::NONE ? x.s().uuid : x.c().uuid;
    uuid = uuid.substr(4, 4);
    return true;
}

// Service Changed goes into the Generic Attribute service there is, else into one appended at the
// end, where it moves no handle.
bool add_service_changed(const fix_subject &x) {
    const characteristic changed{"2A05", PROPERTY_INDICATE, {}, true, {}};
    for (service &s : x.db.services) {
        if (client_sig_number(s.uuid) == GENERIC_ATTRIBUTE_SERVICE) {
            if (s.characteristics.size() == MAX_CHARACTERISTICS) return false;
            s.characteristics.push_back(changed);
            return true;
        }
    }
    if (x.db.services.size() == MAX_SERVICES) return false;
    x.db.services.push_back({"1801", {changed}, {}});
    return true;
}

constexpr rule RULES[] = {
    {"cccd-missing", severity::error, scope::characteristic, cccd_missing,
     "{item} can {detail} but has no client characteristic configuration descriptor: clients cannot "
     "subscribe",
     give_cccd},
    {"cccd-unused", severity::warning, scope::characteristic, cccd_unused,
     "{item} has a client characteristic configuration descriptor but neither notifies nor indicates",
     drop_cccd},
    {"extended-properties", severity::error, scope::characteristic, extended_properties,
     "{item} has the extended properties bit (0x80), which requires a Characteristic Extended Properties "
     "descriptor that the image cannot hold",
     drop_extended_properties},
    {"broadcast", severity::error, scope::characteristic, broadcast,
     "{item} has the broadcast bit (0x01), which requires a Server Characteristic Configuration "
     "descriptor that the image cannot hold",
     drop_broadcast},
    {"no-access", severity::warning, scope::characteristic, no_access,
     "{item} has no properties: nothing can read, write or be told of its value"},
    {"uuid-kind", severity::warning, scope::item, uuid_kind, "{item} has the UUID of a {detail}"},
    {"uuid16-unassigned", severity::warning, scope::item, uuid16_unassigned,
     "{item} has a 16-bit UUID that the SIG has not assigned; custom attributes take 128-bit UUIDs"},
    {"uuid128-on-base", severity::warning, scope::item, uuid128_on_base,
     "{item} is on the Bluetooth base UUID: its 16-bit form {detail} is the same attribute in 14 fewer "
     "bytes",
     use_16_bit_form},
    {"uuid32-field", severity::warning, scope::item, uuid32_field,
     "{item} has a 32-bit UUID, which clients see as {detail}-0000-0000-0000-000000000000, not as "
     "{detail}-0000-1000-8000-00805F9B34FB"},
    {"service-changed", severity::warning, scope::database, service_changed,
     "no Generic Attribute service (1801) with a Service Changed characteristic (2A05): clients that "
     "cache handles cannot be told that they moved",
     add_service_changed},
    {"service-changed-indicate", severity::error, scope::characteristic, service_changed_indicate,
     "{item} cannot indicate: clients that cache handles are never told that they moved", add_indicate},
    {"empty-service", severity::warning, scope::service, empty_service, "{item} has no characteristics"},
    {"mandatory-missing", severity::error, scope::service, mandatory_missing,
     "{item} lacks {detail}, which the service's specification makes mandatory"},
    {"property-missing", severity::error, scope::characteristic, property_missing,
     "{item} in {service} lacks {detail}, which the service's specification makes mandatory for it",
     add_missing_properties},
    {"property-not-allowed", severity::warning, scope::characteristic, property_not_allowed,
     "{item} in {service} has {detail}, which the service's specification neither requires nor allows "
     "for it"},
    {"characteristic-unknown", severity::warning, scope::characteristic, characteristic_unknown,
     "{item} is not one of the characteristics that the specification of {service} defines"},
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

std::string service_name(const subject &x) { return x.s ? "service " + uuid_label(x.s->uuid) : ""; }

std::string filled_in(std::string_view message, const std::string &item, const std::string &service,
                      const std::string &detail) {
    std::string text(message);
    for (const auto &[key, value] :
         {std::pair<std::string_view, const std::string &>{"{detail}", detail},
          std::pair<std::string_view, const std::string &>{"{item}", item},
          std::pair<std::string_view, const std::string &>{"{service}", service}}) {
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
        constexpr std::size_t NONE = finding_target::NONE;
        visit({db_}, "", 0, {false, NONE, NONE});
        const std::vector<service_handles> handles = assign_handles(db_);
        for (std::size_t i = 0; i < db_.services.size(); ++i) {
            const service &s = db_.services[i];
            visit({db_, &s}, s.from.place, handles[i].declaration, {false, i, NONE});
            for (std::size_t j = 0; j < s.characteristics.size(); ++j) {
                const characteristic &c = s.characteristics[j];
                visit({db_, &s, &c}, c.from.place, handles[i].characteristics[j].declaration, {false, i, j});
            }
        }
        if (settings_.against) {
            for (const difference &d : database_differences(*settings_.against, db_)) {
                const bool kept = d.new_handle != 0;
                visit({db_, nullptr, nullptr, &d}, kept ? d.new_place : "",
                      kept ? d.new_handle : d.old_handle, {false, NONE, NONE});
            }
        }
        return std::move(findings_);
    }

   private:
    // place is the description's; without one, the handle names the item.
    void visit(const subject &x, const std::string &place, unsigned handle, finding_target target) {
        for (const rule &r : RULES) {
            if (!applies(r, x) || is_ignored(r.id)) continue;
            const std::optional<std::string> detail = r.check(x);
            if (!detail) continue;
            target.fixable = r.fix != nullptr;
            findings_.push_back({std::string(r.id), r.level,
                                 !place.empty() || handle == 0 ? place : "handle " + std::to_string(handle),
                                 handle, filled_in(r.message, item_name(x), service_name(x), *detail),
                                 target});
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
    for (const rule &r : RULES) rules.push_back({r.id, r.level, r.fix != nullptr});
    return rules;
}

std::vector<finding> check_database(const database &db, const check_settings &settings) {
    return checker(db, settings).run();
}

bool apply_fix(database &db, const finding &f) {
    const auto r =
        std::find_if(std::begin(RULES), std::end(RULES), [&](const rule &r) { return r.id == f.rule; });
    if (r == std::end(RULES) || !r->fix) return false;
    const finding_target &at = f.target;
    const bool in_range = (at.service == finding_target::NONE || at.service < db.services.size()) &&
                          (at.characteristic == finding_target::NONE ||
                           (at.service != finding_target::NONE &&
                            at.characteristic < db.services[at.service].characteristics.size()));
    if (!in_range) return false;
    database fixed = db;
    if (!r->fix({fixed, at.service, at.characteristic})) return false;
    if (handles_used(fixed) > MAX_HANDLE) return false;
    db = std::move(fixed);
    return true;
}

namespace {

// The handles of the released database that db moves or drops.
std::size_t handles_broken(const database &released, const database &db) {
    const std::vector<difference> differences = database_differences(released, db);
    return std::count_if(differences.begin(), differences.end(), [](const difference &d) {
        return d.kind == change_kind::moved || d.kind == change_kind::removed;
    });
}

bool same_item(const finding &a, const finding &b) {
    return a.rule == b.rule && a.target.service == b.target.service &&
           a.target.characteristic == b.target.characteristic;
}

}  // namespace

fix_report fix_database(const database &db, const check_settings &settings) {
    fix_report report{db, {}, {}};
    std::vector<finding> refused;
    for (const finding &f : check_database(db, settings)) {
        if (!f.target.fixable) continue;
        database candidate = report.fixed;
        if (!apply_fix(candidate, f)) continue;
        if (settings.against &&
            handles_broken(*settings.against, candidate) > handles_broken(*settings.against, report.fixed)) {
            refused.push_back(f);
            continue;
        }
        report.fixed = std::move(candidate);
        report.applied.push_back(f);
    }
    report.remaining = check_database(report.fixed, settings);
    for (finding &f : report.remaining) {
        const bool gated =
            std::any_of(refused.begin(), refused.end(), [&](const finding &r) { return same_item(r, f); });
        if (gated) f.message += " (not fixed: the fix would move a handle of the released database)";
    }
    return report;
}

}  // namespace gattdb::tool
