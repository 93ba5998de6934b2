// SPDX-License-Identifier: MIT
#include "core/analysis/diff.hpp"

#include <algorithm>
#include <iterator>
#include <map>
#include <optional>

#include "core/model/labels.hpp"
#include "core/support/hex.hpp"

namespace gattdb::tool {
namespace {

// The n-th entry with a given UUID, counting from 0; what matches an entry across the two databases.
struct match_key {
    std::string uuid;
    std::size_t ordinal;

    bool operator==(const match_key &) const = default;
};

template <typename Entry>
std::vector<match_key> match_keys(const std::vector<Entry> &entries) {
    std::map<std::string, std::size_t> seen;
    std::vector<match_key> keys;
    for (const Entry &entry : entries) keys.push_back({entry.uuid, seen[entry.uuid]++});
    return keys;
}

template <typename Entry>
std::optional<std::size_t> find_match(const std::vector<Entry> &entries, const match_key &key) {
    const std::vector<match_key> keys = match_keys(entries);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] == key) return i;
    }
    return std::nullopt;
}

std::string label(const match_key &key) {
    return uuid_label(key.uuid) + (key.ordinal == 0 ? "" : " #" + std::to_string(key.ordinal + 1));
}

bool has_descriptor(const characteristic &c, const std::string &uuid) {
    return std::any_of(c.served.descriptors.begin(), c.served.descriptors.end(),
                       [&](const served_descriptor &d) { return d.uuid == uuid; });
}

std::string value_text(const std::vector<std::uint8_t> &value) {
    return value.empty() ? "(empty)" : hex_text(value, " ");
}

struct report {
    std::vector<difference> moved, removed, added, changed;

    std::vector<difference> all() && {
        std::vector<difference> all = std::move(moved);
        for (std::vector<difference> *group : {&removed, &added, &changed}) {
            all.insert(all.end(), std::make_move_iterator(group->begin()),
                       std::make_move_iterator(group->end()));
        }
        return all;
    }
};

// One database side of a comparison: entries with their handles.
struct side {
    const database &db;
    std::vector<service_handles> handles;

    explicit side(const database &d) : db(d), handles(assign_handles(d)) {}
};

class comparison {
   public:
    comparison(const database &old_db, const database &new_db) : old_(old_db), new_(new_db) {}

    std::vector<difference> run() && {
        const std::vector<match_key> old_keys = match_keys(old_.db.services);
        for (std::size_t i = 0; i < old_keys.size(); ++i) {
            const std::optional<std::size_t> j = find_match(new_.db.services, old_keys[i]);
            if (j) {
                compare_services(old_keys[i], i, *j);
            } else {
                out_.removed.push_back({change_kind::removed, "service " + label(old_keys[i]),
                                        service_range(old_, i), old_.handles[i].declaration, 0, ""});
            }
        }
        const std::vector<match_key> new_keys = match_keys(new_.db.services);
        for (std::size_t j = 0; j < new_keys.size(); ++j) {
            if (!find_match(old_.db.services, new_keys[j])) {
                out_.added.push_back({change_kind::added, "service " + label(new_keys[j]),
                                      service_range(new_, j), 0, new_.handles[j].declaration,
                                      new_.db.services[j].from.place});
            }
        }
        return std::move(out_).all();
    }

   private:
    static std::string service_range(const side &s, std::size_t i) {
        return handle_range(s.handles[i].declaration, s.handles[i].last);
    }

    static std::string characteristic_range(const side &s, std::size_t i, std::size_t j) {
        const characteristic_handles &h = s.handles[i].characteristics[j];
        return handle_range(h.declaration, h.descriptor != 0 ? h.descriptor : h.value);
    }

    void compare_services(const match_key &key, std::size_t i, std::size_t j) {
        const std::string name = "service " + label(key);
        const unsigned old_handle = old_.handles[i].declaration;
        const unsigned new_handle = new_.handles[j].declaration;
        const std::string &new_place = new_.db.services[j].from.place;
        if (old_handle != new_handle) {
            out_.moved.push_back(
                {change_kind::moved,
                 name,
                 "handle " + std::to_string(old_handle) + " -> " + std::to_string(new_handle),
                 old_handle,
                 new_handle,
                 new_place,
                 {{"service", old_handle, new_handle}}});
        }
        const auto &old_list = old_.db.services[i].characteristics;
        const auto &new_list = new_.db.services[j].characteristics;
        const std::vector<match_key> old_keys = match_keys(old_list);
        for (std::size_t a = 0; a < old_keys.size(); ++a) {
            const std::string characteristic_name = "characteristic " + label(old_keys[a]) + " in " + name;
            if (const std::optional<std::size_t> b = find_match(new_list, old_keys[a])) {
                compare_characteristics(characteristic_name, i, a, j, *b);
            } else {
                out_.removed.push_back({change_kind::removed, characteristic_name,
                                        characteristic_range(old_, i, a),
                                        old_.handles[i].characteristics[a].declaration, 0, ""});
            }
        }
        const std::vector<match_key> new_keys = match_keys(new_list);
        for (std::size_t b = 0; b < new_keys.size(); ++b) {
            if (!find_match(old_list, new_keys[b])) {
                out_.added.push_back(
                    {change_kind::added, "characteristic " + label(new_keys[b]) + " in " + name,
                     characteristic_range(new_, j, b), 0, new_.handles[j].characteristics[b].declaration,
                     new_list[b].from.place});
            }
        }
    }

    void compare_characteristics(const std::string &name, std::size_t i, std::size_t a, std::size_t j,
                                 std::size_t b) {
        const characteristic &was = old_.db.services[i].characteristics[a];
        const characteristic &is = new_.db.services[j].characteristics[b];
        const characteristic_handles &old_h = old_.handles[i].characteristics[a];
        const characteristic_handles &new_h = new_.handles[j].characteristics[b];
        auto note = [&](std::vector<difference> &group, change_kind kind, std::string detail,
                        std::vector<handle_move> moves = {}) {
            group.push_back({kind, name, std::move(detail), old_h.declaration, new_h.declaration,
                             is.from.place, std::move(moves)});
        };

        std::vector<handle_move> moves;
        std::string moved;
        auto note_move = [&](const char *attribute, unsigned from, unsigned to) {
            if (from == 0 || to == 0 || from == to) return;
            moves.push_back({attribute, from, to});
            moved += (moved.empty() ? "" : ", ") + std::string(attribute) + " " + std::to_string(from) +
                     " -> " + std::to_string(to);
        };
        note_move("declaration", old_h.declaration, new_h.declaration);
        note_move("value", old_h.value, new_h.value);
        note_move("descriptor", old_h.descriptor, new_h.descriptor);
        if (!moves.empty()) note(out_.moved, change_kind::moved, moved, std::move(moves));

        if (was.properties != is.properties) {
            note(out_.changed, change_kind::changed,
                 "properties " + properties_label(was.properties) + " -> " + properties_label(is.properties));
        }
        // A value the capture did not hold is unknown, not different.
        if (was.value != is.value && was.served.value_known && is.served.value_known) {
            note(out_.changed, change_kind::changed,
                 "value " + value_text(was.value) + " -> " + value_text(is.value));
        }
        if (was.cccd != is.cccd) {
            note(out_.changed, change_kind::changed,
                 "descriptor " + (is.cccd ? "added (handle " + std::to_string(new_h.descriptor) + ")"
                                          : "removed (was handle " + std::to_string(old_h.descriptor) + ")"));
        }
        // Descriptors only a device serves (a description holds none but the configuration).
        for (const served_descriptor &d : was.served.descriptors) {
            if (!has_descriptor(is, d.uuid))
                note(out_.changed, change_kind::changed,
                     "descriptor " + uuid_label(d.uuid) + " removed (was handle " + std::to_string(d.handle) +
                         ")");
        }
        for (const served_descriptor &d : is.served.descriptors) {
            if (!has_descriptor(was, d.uuid))
                note(out_.changed, change_kind::changed,
                     "descriptor " + uuid_label(d.uuid) + " added (handle " + std::to_string(d.handle) + ")");
        }
    }

    side old_;
    side new_;
    report out_;
};

// The word each kind of difference starts its line with, and whether its detail is a handle range
// in parentheses (removed, added) or follows a colon (moved, changed).
struct line_form {
    change_kind kind;
    const char *word;
    bool detail_in_parentheses;
};

constexpr line_form LINE_FORMS[] = {
    {change_kind::moved, "moved", false},
    {change_kind::removed, "removed", true},
    {change_kind::added, "added", true},
    {change_kind::changed, "changed", false},
};

std::string line(const difference &d) {
    const line_form &form = *std::find_if(std::begin(LINE_FORMS), std::end(LINE_FORMS),
                                          [&](const line_form &f) { return f.kind == d.kind; });
    return std::string(form.word) + ": " + d.subject +
           (form.detail_in_parentheses ? " (" + d.detail + ")" : ": " + d.detail);
}

}  // namespace

std::string difference_line(const difference &d) { return line(d); }

std::vector<difference> database_differences(const database &old_db, const database &new_db) {
    return comparison(old_db, new_db).run();
}

std::vector<std::string> compare_databases(const database &old_db, const database &new_db) {
    std::vector<std::string> lines;
    for (const difference &d : database_differences(old_db, new_db)) lines.push_back(difference_line(d));
    return lines;
}

}  // namespace gattdb::tool
