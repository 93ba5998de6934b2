// SPDX-License-Identifier: MIT
#include "databases.hpp"

#include <array>
#include <cstdio>

#include "gattdb.h"

namespace gattdb_bench {
namespace {

// Distinct UUID texts, formatted once so that formatting never shows up in a measurement.
constexpr std::size_t UUID_TEXT_SIZE = 33;
using uuid_text = std::array<char, UUID_TEXT_SIZE>;

constexpr std::size_t TEXTS_NEEDED = FULL_SERVICES * (1 + FULL_CHARACTERISTICS_PER_SERVICE);
using uuid_texts = std::array<uuid_text, TEXTS_NEEDED>;

uuid_texts format_uuid_texts(const char *format) {
    uuid_texts formatted{};
    for (std::size_t i = 0; i < formatted.size(); ++i) {
        std::snprintf(formatted[i].data(), UUID_TEXT_SIZE, format, 0xA000 + i);
    }
    return formatted;
}

const uuid_texts &long_uuid_texts() {
    static const uuid_texts texts = format_uuid_texts("%08zX00001000800000805F9B34FB");
    return texts;
}

const uuid_texts &short_uuid_texts() {
    static const uuid_texts texts = format_uuid_texts("%04zX");
    return texts;
}

const std::array<std::uint8_t, 255> &long_value() {
    static const auto value = [] {
        std::array<std::uint8_t, 255> bytes{};
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
        return bytes;
    }();
    return value;
}

enum { PROPERTY_READ = 0x02, PROPERTY_NOTIFY = 0x10 };

bool add_services(table_shape shape, const uuid_texts &texts, std::uint8_t value_length) {
    const auto &value = long_value();
    std::size_t next_text = 0;
    for (std::size_t s = 0; s < shape.services; ++s) {
        if (!add_primary_service(texts[next_text++].data())) return false;
        for (std::size_t c = 0; c < shape.characteristics_per_service; ++c) {
            if (!add_characteristic(texts[next_text++].data(), PROPERTY_READ, value_length, value.data(),
                                    0)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool add_largest_database() {
    return add_services({LARGEST_SERVICES, LARGEST_CHARACTERISTICS_PER_SERVICE}, long_uuid_texts(),
                        long_value().size());
}

bool add_full_table() { return add_services(FULL_TABLE, long_uuid_texts(), long_value().size()); }

bool add_short_uuid_table(table_shape shape) { return add_services(shape, short_uuid_texts(), 0); }

bool add_heart_rate_database() {
    static const std::uint8_t measurement[] = {0x00, 0x48};
    static const std::uint8_t body_sensor_location[] = {0x01};
    return add_primary_service("180D") == 1 &&
           add_characteristic("2A37", PROPERTY_NOTIFY, sizeof measurement, measurement, 1) == 1 &&
           add_characteristic("2A38", PROPERTY_READ, sizeof body_sensor_location, body_sensor_location, 0) ==
               1;
}

}  // namespace gattdb_bench
