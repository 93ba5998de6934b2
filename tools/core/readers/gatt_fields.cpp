// SPDX-License-Identifier: MIT
#include "core/readers/gatt_fields.hpp"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "core/model/limits.hpp"
#include "core/model/properties.hpp"
#include "core/model/uuid.hpp"
#include "core/model/uuid_table.hpp"
#include "core/support/hex.hpp"
#include "core/support/input_error.hpp"

namespace gattdb::tool {
namespace {

constexpr std::string_view BLANKS = " \t\r";
constexpr std::string_view SIG_SYMBOL_PREFIX = "ORG_BLUETOOTH_";
constexpr std::string_view SIG_IDENTIFIER_PREFIX = "org.bluetooth.";
constexpr std::string_view SIG_DESCRIPTOR_PREFIX = "org.bluetooth.descriptor.";

// Short names for the UUIDs of the GAP and GATT services, besides the ORG_BLUETOOTH_… symbols.
constexpr std::array<std::pair<std::string_view, std::string_view>, 13> SHORT_UUID_SYMBOLS = {{
    {"GAP_SERVICE", "1800"},
    {"GATT_SERVICE", "1801"},
    {"GAP_DEVICE_NAME", "2A00"},
    {"GAP_APPEARANCE", "2A01"},
    {"GAP_PERIPHERAL_PRIVACY_FLAG", "2A02"},
    {"GAP_RECONNECTION_ADDRESS", "2A03"},
    {"GAP_PERIPHERAL_PREFERRED_CONNECTION_PARAMETERS", "2A04"},
    {"GATT_SERVICE_CHANGED", "2A05"},
    {"GAP_CENTRAL_ADDRESS_RESOLUTION", "2AA6"},
    {"GAP_RESOLVABLE_PRIVATE_ADDRESS_ONLY", "2AC9"},
    {"GATT_CLIENT_SUPPORTED_FEATURES", "2B29"},
    {"GATT_DATABASE_HASH", "2B2A"},
    {"GATT_SERVER_SUPPORTED_FEATURES", "2B3A"},
}};

// DYNAMIC only says the application supplies the value at run time; the line's value is the initial one.
// READ_ANYBODY and WRITE_ANYBODY ask for no security, which is what every attribute of the image gives.
constexpr std::array<std::string_view, 3> PROPERTIES_WITHOUT_BITS = {"DYNAMIC", "READ_ANYBODY",
                                                                     "WRITE_ANYBODY"};

// Access rules the server would enforce; the image holds none of them. AUTHENTICATION_REQUIRED and
// AUTHORIZATION_REQUIRED are older files' flags for both directions at once.
constexpr std::array<std::string_view, 12> SECURITY_FLAGS = {
    "READ_ENCRYPTED",   "READ_AUTHENTICATED",   "READ_AUTHENTICATED_SC",   "READ_AUTHORIZED",
    "RELIABLE_WRITE",   "WRITE_ENCRYPTED",      "WRITE_AUTHENTICATED",     "WRITE_AUTHENTICATED_SC",
    "WRITE_AUTHORIZED", "WRITABLE_AUXILIARIES", "AUTHENTICATION_REQUIRED", "AUTHORIZATION_REQUIRED",
};

// Descriptor statements real files spell otherwise than the descriptor's identifier.
constexpr std::array<std::string_view, 1> DESCRIPTOR_STATEMENT_ALIASES = {
    "CHARACTERISTIC_FORMAT",  // the Characteristic Presentation Format, 2904
};
constexpr std::string_view KEY_SIZE_PREFIX = "ENCRYPTION_KEY_SIZE_";
constexpr int MIN_KEY_SIZE = 7;
constexpr int MAX_KEY_SIZE = 16;

bool is_ascii_alphanumeric(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char ascii_upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether symbol is identifier upper-cased with every character but letters and digits as '_'.
bool spells(std::string_view symbol, std::string_view identifier) {
    return symbol.size() == identifier.size() &&
           std::equal(symbol.begin(), symbol.end(), identifier.begin(),
                      [](char s, char i) { return s == (is_ascii_alphanumeric(i) ? ascii_upper(i) : '_'); });
}

std::optional<std::string> uuid_of_symbol(std::string_view symbol) {
    if (symbol.starts_with(SIG_SYMBOL_PREFIX)) {
        const auto found = std::find_if(KNOWN_UUIDS.begin(), KNOWN_UUIDS.end(), [&](const known_uuid &entry) {
            return entry.identifier.starts_with(SIG_IDENTIFIER_PREFIX) && spells(symbol, entry.identifier);
        });
        if (found != KNOWN_UUIDS.end()) return std::string(found->uuid);
    }
    for (const auto &[name, uuid] : SHORT_UUID_SYMBOLS) {
        if (name == symbol) return std::string(uuid);
    }
    return std::nullopt;
}

// 4 hex digits, with or without 0x, or the dashed form of a 128-bit UUID.
std::optional<std::string> uuid_of_digits(std::string_view field) {
    constexpr std::size_t SHORT_DIGITS = 4;
    constexpr std::size_t DASHED_LENGTH = 36;
    const bool prefixed = field.starts_with("0x") || field.starts_with("0X");
    const std::string_view digits = prefixed ? field.substr(2) : field;
    const bool fits = digits.size() == SHORT_DIGITS || (!prefixed && digits.size() == DASHED_LENGTH);
    return fits ? normalise_uuid(digits) : std::nullopt;
}

bool is_security_flag(std::string_view name) {
    if (std::find(SECURITY_FLAGS.begin(), SECURITY_FLAGS.end(), name) != SECURITY_FLAGS.end()) return true;
    if (!name.starts_with(KEY_SIZE_PREFIX)) return false;
    const std::string_view size = name.substr(KEY_SIZE_PREFIX.size());
    for (int bytes = MIN_KEY_SIZE; bytes <= MAX_KEY_SIZE; ++bytes) {
        if (size == std::to_string(bytes)) return true;
    }
    return false;
}

// The parts of text between separators, trimmed.
std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(trimmed(text.substr(start, end - start)));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

std::vector<std::uint8_t> hex_bytes(std::string_view field, const std::string &place) {
    std::vector<std::uint8_t> value;
    for (std::size_t start = field.find_first_not_of(BLANKS); start != std::string_view::npos;) {
        const std::size_t end = std::min(field.find_first_of(BLANKS, start), field.size());
        const std::string_view digits = field.substr(start, end - start);
        const std::optional<std::vector<std::uint8_t>> byte = parse_hex(digits);
        if (digits.size() != 2 || !byte) {
            throw input_error(place, quoted_input(digits) +
                                         " is not a hex byte: a value is a string or two-digit hex "
                                         "bytes separated by spaces");
        }
        value.push_back(byte->front());
        start = field.find_first_not_of(BLANKS, end);
    }
    return value;
}

}  // namespace

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(BLANKS);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(BLANKS) - first + 1);
}

std::string_view without_comment(std::string_view line) {
    bool in_string = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') in_string = !in_string;
        if (!in_string && line.substr(i).starts_with("//")) return line.substr(0, i);
    }
    return line;
}

std::vector<std::string_view> split_fields(std::string_view line) {
    std::vector<std::string_view> fields;
    bool in_string = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i < line.size() && line[i] == '"') in_string = !in_string;
        if (i == line.size() || (line[i] == ',' && !in_string)) {
            fields.push_back(trimmed(line.substr(start, i - start)));
            start = i + 1;
        }
    }
    if (fields.size() > 1 && fields.back().empty()) fields.pop_back();
    return fields;
}

std::string quoted_input(std::string_view text) {
    std::string shown = "\"";
    for (const char c : text) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (c == '"' || c == '\\') shown += '\\';
        shown += byte >= 0x20 && byte < 0x7F ? std::string(1, c) : "\\x" + hex_text(std::span(&byte, 1), "");
    }
    return shown + "\"";
}

std::string read_gatt_uuid(std::string_view field, const std::string &place) {
    if (std::optional<std::string> uuid = uuid_of_digits(field)) return *uuid;
    if (std::optional<std::string> uuid = uuid_of_symbol(field)) return *uuid;
    throw input_error(place,
                      quoted_input(field) +
                          " is neither a UUID (4 hex digits, or 128 bits dashed) nor a known UUID symbol");
}

gatt_properties read_gatt_properties(std::string_view field, const std::string &place) {
    if (field.empty()) throw input_error(place, "no properties: expected names such as READ|NOTIFY");
    gatt_properties properties;
    for (const std::string_view name : split(field, '|')) {
        if (std::find(PROPERTIES_WITHOUT_BITS.begin(), PROPERTIES_WITHOUT_BITS.end(), name) !=
            PROPERTIES_WITHOUT_BITS.end())
            continue;
        if (const std::optional<std::uint8_t> bit = property_bit_of_symbol(name)) {
            properties.bits |= *bit;
        } else if (is_security_flag(name)) {
            properties.unkept.push_back(name);
        } else {
            throw input_error(place, "unknown property " + quoted_input(name));
        }
    }
    return properties;
}

std::vector<std::uint8_t> read_gatt_value(std::string_view field, const std::string &place) {
    std::vector<std::uint8_t> value;
    if (field.starts_with('"')) {
        const std::size_t end = field.find('"', 1);
        if (end == std::string_view::npos) throw input_error(place, "a string without its closing quote");
        if (end + 1 != field.size()) throw input_error(place, "text after the string's closing quote");
        value.assign(field.begin() + 1, field.begin() + static_cast<std::ptrdiff_t>(end));
    } else {
        value = hex_bytes(field, place);
    }
    check_value_length(value.size(), place);
    return value;
}

bool is_descriptor_statement(std::string_view keyword) {
    if (std::find(DESCRIPTOR_STATEMENT_ALIASES.begin(), DESCRIPTOR_STATEMENT_ALIASES.end(), keyword) !=
        DESCRIPTOR_STATEMENT_ALIASES.end())
        return true;
    return std::any_of(KNOWN_UUIDS.begin(), KNOWN_UUIDS.end(), [&](const known_uuid &entry) {
        if (entry.role != uuid_role::descriptor || !entry.identifier.starts_with(SIG_DESCRIPTOR_PREFIX))
            return false;
        return spells(keyword, entry.identifier.substr(entry.identifier.rfind('.') + 1));
    });
}

}  // namespace gattdb::tool
