// SPDX-License-Identifier: MIT
#include "model.hpp"

#include <cstring>
#include <string_view>

namespace model {
namespace {

constexpr std::size_t MOST_SERVICES = 20;
constexpr std::size_t MOST_CHARACTERISTICS = 40;
constexpr unsigned HIGHEST_HANDLE = 255;

int hex_value(char digit) {
    constexpr std::string_view lower = "0123456789abcdef", upper = "0123456789ABCDEF";
    if (const auto at = lower.find(digit); at != std::string_view::npos) return static_cast<int>(at);
    if (const auto at = upper.find(digit); at != std::string_view::npos) return static_cast<int>(at);
    return -1;
}

}  // namespace

std::optional<bytes> uuid_field(const char *text) {
    if (text == nullptr) return std::nullopt;
    const std::size_t length = std::strlen(text);
    if (length != 4 && length != 8 && length != 32) return std::nullopt;
    bytes field;
    // Read the text from its end, two digits at a time, so the field comes out least significant
    // byte first.
    for (std::size_t end = length; end > 0; end -= 2) {
        const int high = hex_value(text[end - 2]), low = hex_value(text[end - 1]);
        if (high < 0 || low < 0) return std::nullopt;
        field.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    if (length == 8) field.insert(field.begin(), 12, 0);
    return field;
}

void database::init_db() { services_.clear(); }

std::int32_t database::add_primary_service(const char *uuid_text) {
    const auto uuid = uuid_field(uuid_text);
    if (!uuid || services_.size() == MOST_SERVICES) return 0;
    services_.push_back({*uuid, {}});
    return 1;
}

std::int32_t database::add_characteristic(const char *uuid_text, std::int32_t properties,
                                          std::uint8_t value_length, const std::uint8_t *value,
                                          std::uint8_t cccd_flag) {
    const auto uuid = uuid_field(uuid_text);
    if (!uuid || (value == nullptr && value_length != 0)) return 0;
    // The last service, or when it is full the highest earlier one with room.
    for (std::size_t i = services_.size(); i > 0; --i) {
        auto &characteristics = services_[i - 1].characteristics;
        if (characteristics.size() < MOST_CHARACTERISTICS) {
            const bytes copy = value_length == 0 ? bytes{} : bytes(value, value + value_length);
            characteristics.push_back(
                {*uuid, static_cast<std::uint8_t>(properties & 0xFF), copy, cccd_flag != 0});
            return 1;
        }
    }
    return 0;
}

std::uint16_t database::get_db_size() const { return static_cast<std::uint16_t>(image().size()); }

bytes database::image() const {
    bytes out;
    unsigned handle = 0;
    for (const service &s : services_) {
        out.push_back(0x00);
        out.push_back(static_cast<std::uint8_t>(s.uuid.size()));
        out.insert(out.end(), s.uuid.begin(), s.uuid.end());
        handle += 1;
        for (const characteristic &c : s.characteristics) {
            const bool short_uuid = c.uuid.size() == 2;
            const unsigned value_handle = handle + 2;
            out.insert(out.end(), {0x30, static_cast<std::uint8_t>(c.uuid.size() + 3), c.properties,
                                   static_cast<std::uint8_t>(value_handle), 0x00});
            out.insert(out.end(), c.uuid.begin(), c.uuid.end());

            std::uint8_t flags = short_uuid ? 0xD0 : 0xC8;
            if (c.value.empty()) flags |= 0x0C;
            out.insert(out.end(), {0x00, flags, static_cast<std::uint8_t>(c.value.size())});
            out.insert(out.end(), c.value.begin(), c.value.end());
            if (c.value.size() % 2 == 1) out.push_back(0x00);

            if (c.cccd) out.insert(out.end(), {0x6C, 0x00});
            handle += c.cccd ? 3 : 2;
        }
    }
    // A database that needs a handle the image cannot express has no image at all.
    if (handle > HIGHEST_HANDLE) return {};
    return out;
}

}  // namespace model
