// SPDX-License-Identifier: MIT
#include "core/readers/capture/served_database.hpp"

#include <algorithm>
#include <set>

#include "core/model/labels.hpp"
#include "core/model/limits.hpp"
#include "core/model/properties.hpp"
#include "core/model/uuid.hpp"

namespace gattdb::tool {
namespace {

constexpr const char *CCCD_UUID = "2902";
constexpr unsigned LAST_HANDLE = 0xFFFF;

constexpr std::string_view NO_SECONDARY = "the image holds primary services only";
constexpr std::string_view NO_INCLUDES = "the image holds no included services";
constexpr std::string_view NO_DESCRIPTORS =
    "the image holds no descriptors but the client characteristic configuration";
constexpr std::string_view OWN_NUMBERING = "the image numbers the attributes from 1 without gaps";

// Declarations, which Find Information lists too when its range takes them in.
bool is_declaration_type(const std::string &uuid) {
    return uuid == "2800" || uuid == "2801" || uuid == "2802" || uuid == "2803";
}

class builder {
   public:
    builder(const discovery &found, const read_options &options, const std::string &name)
        : found_(found), options_(options), name_(name) {
        for (const found_service &s : found.services) known_.insert(s.declaration);
        for (const found_include &i : found.includes) known_.insert(i.handle);
        for (const found_characteristic &c : found.characteristics) {
            known_.insert(c.declaration);
            known_.insert(c.value);
        }
    }

    database run() && {
        if (found_.services.empty())
            throw input_error(name_, "the capture holds no service discovery on the connection read");
        if (const std::optional<unsigned> gap = found_.services_searched.first_gap(1, LAST_HANDLE))
            missing("handles from " + std::to_string(*gap) + " on were never searched for services");
        if (!options_.as_served) check_numbering();
        for (const found_service &s : found_.services) add_service(s);
        if (options_.complete && !missing_.empty()) {
            throw input_error(name_, "the capture's discovery is incomplete: " + joined(missing_, "; "));
        }
        if (!options_.as_served) check_limits();
        if (db_.services.empty())
            throw input_error(name_, "no primary service the image can hold: an image needs at least one");
        return std::move(db_);
    }

   private:
    std::string place(unsigned handle) const { return name_ + ": handle " + std::to_string(handle); }

    void warn(const std::string &place, const std::string &what) const {
        if (options_.warn) options_.warn(place + ": warning: " + what);
    }

    void missing(const std::string &what) {
        missing_.push_back(what);
        if (!options_.complete) warn(name_, what);
    }

    void add_service(const found_service &s) {
        service out{s.uuid, {}, {place(s.declaration), {}}, {s.declaration, s.last, s.secondary, {}}};
        const std::string label =
            "service " + uuid_label(s.uuid) + " (" + handle_range(s.declaration, s.last) + ")";
        if (s.secondary && !options_.as_served)
            return leave_out(options_, place(s.declaration),
                             "secondary " + label + " and its characteristics", NO_SECONDARY);
        for (const found_include &i : found_.includes) {
            if (i.handle <= s.declaration || i.handle > s.last) continue;
            if (options_.as_served)
                out.served.includes.push_back({i.handle, i.service, i.last, i.uuid});
            else
                leave_out(options_, place(i.handle), "included service", NO_INCLUDES);
        }
        if (s.last > s.declaration && !found_.characteristics_searched.covers(s.declaration + 1, s.last))
            missing(label + ": its characteristics were never discovered in full");
        std::vector<const found_characteristic *> inside;
        for (const found_characteristic &c : found_.characteristics) {
            if (c.declaration > s.declaration && c.declaration <= s.last) inside.push_back(&c);
        }
        for (std::size_t k = 0; k < inside.size(); ++k) {
            const unsigned end = k + 1 < inside.size() ? inside[k + 1]->declaration - 1 : s.last;
            out.characteristics.push_back(make_characteristic(*inside[k], end));
        }
        db_.services.push_back(std::move(out));
    }

    characteristic make_characteristic(const found_characteristic &c, unsigned end) {
        characteristic out;
        out.uuid = c.uuid;
        out.properties = c.properties;
        out.from.place = place(c.declaration);
        out.served.declaration = c.declaration;
        out.served.value = c.value;
        const std::string label =
            "characteristic " + uuid_label(c.uuid) + " (" + handle_range(c.declaration, end) + ")";
        const bool searched = c.value >= end || found_.descriptors_searched.covers(c.value + 1, end);
        if (!searched) missing(label + ": its descriptors were never searched in full");
        const auto value = found_.values.find(c.value);
        if (value != found_.values.end()) out.value = value->second.bytes;
        out.served.value_known = value != found_.values.end() && value->second.complete;
        if (!options_.as_served && !out.served.value_known) {
            warn(place(c.value),
                 value == found_.values.end()
                     ? "the capture holds no value for " + label +
                           (c.properties & PROPERTY_READ ? "" : ", which is not readable") + "; left empty"
                     : "the capture holds only the first " + std::to_string(out.value.size()) +
                           " bytes of the value of " + label + "; those are kept");
        }
        for (const found_descriptor &d : found_.descriptors) {
            if (d.handle <= c.value || d.handle > end || known_.count(d.handle) ||
                is_declaration_type(d.uuid))
                continue;
            if (d.uuid == CCCD_UUID && out.served.descriptor == 0) {
                out.served.descriptor = d.handle;
                continue;
            }
            if (!options_.as_served) {
                leave_out(options_, place(d.handle), "descriptor " + uuid_label(d.uuid), NO_DESCRIPTORS);
                continue;
            }
            const auto read = found_.values.find(d.handle);
            served_descriptor kept{d.handle, d.uuid, {}, false};
            if (read != found_.values.end()) {
                kept.value = read->second.bytes;
                kept.value_known = read->second.complete;
            }
            // The database hash covers these two descriptors' values.
            if ((d.uuid == "2900" || d.uuid == "2905") && !kept.value_known)
                missing("descriptor " + uuid_label(d.uuid) + " at handle " + std::to_string(d.handle) +
                        ": its value was never read");
            out.served.descriptors.push_back(std::move(kept));
        }
        // Where the descriptors were never searched, the characteristic has the descriptor a
        // description would give it.
        out.cccd = searched ? out.served.descriptor != 0 : needs_cccd(out.properties);
        if (!options_.as_served) out.served = {};
        return out;
    }

    // Where the device's handles start elsewhere than 1 or leave gaps, the image would number the
    // attributes otherwise: clients that cached the device's handles would find others.
    void check_numbering() {
        std::set<unsigned> handles = known_;
        for (const found_descriptor &d : found_.descriptors) handles.insert(d.handle);
        unsigned expected = 1;
        for (const unsigned handle : handles) {
            if (handle != expected) {
                leave_out(options_, place(handle),
                          expected == 1 ? "handles that start at " + std::to_string(handle)
                                        : "unused " + handle_range(expected, handle - 1),
                          OWN_NUMBERING);
            }
            expected = handle + 1;
        }
    }

    void check_limits() {
        handle_budget handles;
        for (std::size_t i = 0; i < db_.services.size(); ++i) {
            service &s = db_.services[i];
            check_room_for_service(i, s.from.place);
            handles.take(1, s.from.place);
            for (std::size_t j = 0; j < s.characteristics.size(); ++j) {
                const characteristic &c = s.characteristics[j];
                check_room_for_characteristic(j, c.from.place);
                check_value_length(c.value.size(), c.from.place);
                handles.take(handle_count(c), c.from.place);
            }
            s.served = {};
        }
    }

    const discovery &found_;
    const read_options &options_;
    const std::string &name_;
    std::set<unsigned> known_;  // declarations and values: what a Find Information answer repeats
    std::vector<std::string> missing_;
    database db_;
};

}  // namespace

database served_database(const discovery &found, const read_options &options, const std::string &name) {
    return builder(found, options, name).run();
}

}  // namespace gattdb::tool
