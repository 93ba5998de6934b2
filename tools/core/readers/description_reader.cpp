// SPDX-License-Identifier: MIT
#include "core/readers/description_reader.hpp"

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <set>

#include "core/model/limits.hpp"
#include "core/model/properties.hpp"
#include "core/model/uuid.hpp"
#include "core/readers/json_path.hpp"
#include "core/readers/value_parts.hpp"
#include "core/support/c_names.hpp"
#include "core/support/hex.hpp"

namespace gattdb::tool {
namespace {

using nlohmann::json;

std::string place_of(const std::string &path) { return path.empty() ? "top level" : path; }

void expect(bool holds, const std::string &path, const std::string &expected) {
    if (!holds) throw input_error(place_of(path), "expected " + expected);
}

void check_keys(const json &object, const std::string &path,
                std::initializer_list<std::string_view> allowed) {
    for (const auto &[key, value] : object.items()) {
        if (std::find(allowed.begin(), allowed.end(), key) == allowed.end()) {
            throw input_error(member(path, key), "unknown key " + in_quotes(key));
        }
    }
}

const json &required(const json &object, std::string_view key, const std::string &path) {
    const auto found = object.find(key);
    if (found == object.end()) throw input_error(place_of(path), "missing " + in_quotes(key));
    return *found;
}

std::string read_uuid(const json &object, const std::string &path) {
    const std::string uuid_path = member(path, "uuid");
    const json &text = required(object, "uuid", path);
    expect(text.is_string(), uuid_path, "a string");
    const std::optional<std::string> uuid = normalise_uuid(text.get_ref<const std::string &>());
    if (!uuid) {
        throw input_error(uuid_path, in_quotes(text.get_ref<const std::string &>()) +
                                         " is not 4, 8 or 32 hex digits nor a dashed 128-bit UUID");
    }
    return *uuid;
}

// An item's optional name, as written: the constants of generated code are made from it.
std::string read_name(const json &object, const std::string &path) {
    constexpr std::size_t MAX_NAME_LENGTH = 64;
    const auto name = object.find("name");
    if (name == object.end()) return {};
    const std::string name_path = member(path, "name");
    expect(name->is_string(), name_path, "a string");
    const std::string &text = name->get_ref<const std::string &>();
    if (!is_c_identifier(text) || text.size() > MAX_NAME_LENGTH) {
        throw input_error(name_path, in_quotes(text) + " is not 1 to " + std::to_string(MAX_NAME_LENGTH) +
                                         " letters, digits and underscores, starting with no digit");
    }
    return text;
}

std::uint8_t read_properties(const json &properties, const std::string &path) {
    if (properties.is_array()) {
        std::uint8_t bits = 0;
        for (std::size_t i = 0; i < properties.size(); ++i) {
            const json &name = properties[i];
            expect(name.is_string(), indexed(path, i), "a property name");
            const std::optional<std::uint8_t> bit = property_bit(name.get_ref<const std::string &>());
            if (!bit)
                throw input_error(indexed(path, i),
                                  "unknown property " + in_quotes(name.get_ref<const std::string &>()));
            bits |= *bit;
        }
        return bits;
    }
    // nlohmann keeps every non-negative integer as unsigned.
    const bool in_range = properties.is_number_unsigned() && properties.get<std::uint64_t>() <= 0xFF;
    expect(in_range, path, "an integer 0 to 255 or an array of property names");
    return static_cast<std::uint8_t>(properties.get<std::uint64_t>());
}

std::vector<std::uint8_t> read_value(const json &object, const std::string &path) {
    const auto hex = object.find("value");
    const auto text = object.find("text");
    if (hex != object.end() && text != object.end())
        throw input_error(place_of(path), "both \"value\" and \"text\"");
    std::vector<std::uint8_t> value;
    std::string value_path;
    if (hex != object.end()) {
        value_path = member(path, "value");
        if (hex->is_array()) {
            value = read_value_parts(*hex, value_path);
        } else {
            expect(hex->is_string(), value_path, "a string of hex digits or an array of parts");
            const std::optional<std::vector<std::uint8_t>> bytes =
                parse_hex(hex->get_ref<const std::string &>());
            if (!bytes) throw input_error(value_path, "not an even number of hex digits");
            value = std::move(*bytes);
        }
    } else if (text != object.end()) {
        value_path = member(path, "text");
        expect(text->is_string(), value_path, "a string");
        const std::string &characters = text->get_ref<const std::string &>();
        value.assign(characters.begin(), characters.end());
    }
    check_value_length(value.size(), value_path);
    return value;
}

class description_reader {
   public:
    database read(const json &document) {
        expect(document.is_object(), "", "an object");
        check_keys(document, "", {"services"});
        const json &services = required(document, "services", "");
        expect(services.is_array(), "services", "an array");
        if (services.empty()) throw input_error("services", "no services; an image needs at least one");
        database db;
        for (std::size_t i = 0; i < services.size(); ++i) {
            const std::string path = indexed("services", i);
            check_room_for_service(i, path);
            db.services.push_back(read_service(services[i], path));
        }
        return db;
    }

   private:
    service read_service(const json &object, const std::string &path) {
        expect(object.is_object(), path, "an object");
        check_keys(object, path, {"uuid", "name", "characteristics"});
        service s{read_uuid(object, path), {}, {path, read_name(object, path)}};
        handles_.take(1, path);
        const auto characteristics = object.find("characteristics");
        if (characteristics == object.end()) return s;
        const std::string list_path = member(path, "characteristics");
        expect(characteristics->is_array(), list_path, "an array");
        for (std::size_t i = 0; i < characteristics->size(); ++i) {
            const std::string item_path = indexed(list_path, i);
            check_room_for_characteristic(i, item_path);
            s.characteristics.push_back(read_characteristic((*characteristics)[i], item_path));
        }
        return s;
    }

    characteristic read_characteristic(const json &object, const std::string &path) {
        expect(object.is_object(), path, "an object");
        check_keys(object, path, {"uuid", "name", "properties", "value", "text", "cccd"});
        characteristic c;
        c.uuid = read_uuid(object, path);
        c.from = {path, read_name(object, path)};
        const auto properties = object.find("properties");
        if (properties != object.end())
            c.properties = read_properties(*properties, member(path, "properties"));
        c.value = read_value(object, path);
        c.cccd = needs_cccd(c.properties);
        const auto cccd = object.find("cccd");
        if (cccd != object.end()) {
            expect(cccd->is_boolean(), member(path, "cccd"), "true or false");
            c.cccd = cccd->get<bool>();
        }
        handles_.take(handle_count(c), path);
        return c;
    }

    handle_budget handles_;
};

// nlohmann keeps the last of repeated keys; a description with one is refused instead, since the
// earlier value would be lost without a word. Follows the parse to name the repeated key's path.
class repeated_key_check {
   public:
    bool operator()(int, json::parse_event_t event, json &parsed) {
        switch (event) {
        case json::parse_event_t::object_start: frames_.push_back({true, {}, 0, {}}); break;
        case json::parse_event_t::array_start: frames_.push_back({false, {}, 0, {}}); break;
        case json::parse_event_t::key: {
            frame &object = frames_.back();
            object.key = parsed.get<std::string>();
            if (!object.keys.insert(object.key).second) throw input_error(path(), "repeated key");
            break;
        }
        case json::parse_event_t::object_end:
        case json::parse_event_t::array_end:
            frames_.pop_back();
            next_element();
            break;
        case json::parse_event_t::value: next_element(); break;
        }
        return true;
    }

   private:
    struct frame {
        bool is_object;
        std::string key;    // objects: the key last read
        std::size_t index;  // arrays: the element being read
        std::set<std::string> keys;
    };

    void next_element() {
        if (!frames_.empty() && !frames_.back().is_object) ++frames_.back().index;
    }

    std::string path() const {
        std::string path;
        for (const frame &f : frames_) path = f.is_object ? member(path, f.key) : indexed(path, f.index);
        return path;
    }

    std::vector<frame> frames_;
};

std::string line_and_column(std::string_view text, std::size_t byte) {
    const std::string_view before = text.substr(0, std::min(byte, text.size()));
    const std::size_t line_start = before.rfind('\n');
    const std::size_t column =
        line_start == std::string_view::npos ? before.size() : before.size() - line_start - 1;
    return "line " + std::to_string(std::count(before.begin(), before.end(), '\n') + 1) + ", column " +
           std::to_string(std::max<std::size_t>(column, 1));
}

// nlohmann's messages start with an error id ("[json.exception.parse_error.101] ") and, for syntax
// errors, a position of their own ("parse error at line 1, column 2: "); the reason follows.
std::string json_failure_reason(std::string message) {
    const std::size_t id_end = message.find("] ");
    if (id_end != std::string::npos) message.erase(0, id_end + 2);
    if (message.starts_with("parse error")) {
        const std::size_t separator = message.find(": ");
        if (separator != std::string::npos) message.erase(0, separator + 2);
    }
    return message;
}

}  // namespace

database read_description(std::string_view json_text) {
    json document;
    try {
        repeated_key_check check;
        document = json::parse(json_text, std::ref(check));
    } catch (const json::parse_error &error) {
        throw input_error(line_and_column(json_text, error.byte),
                          "not valid JSON: " + json_failure_reason(error.what()));
    } catch (const json::exception &error) {  // such as a number too large for any C++ number type
        throw input_error("top level", "not usable JSON: " + json_failure_reason(error.what()));
    }
    return description_reader().read(document);
}

}  // namespace gattdb::tool
