// SPDX-License-Identifier: MIT
// Differential fuzzing of the whole interface: the input drives a sequence of calls into the library
// and into the reference model side by side, and every result and every image byte must agree.
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "byte_reader.hpp"
#include "differential.hpp"
#include "gattdb.h"
#include "model.hpp"

namespace {

using fuzz::byte_reader;

constexpr std::string_view HEX_DIGITS = "0123456789abcdefABCDEF";

// Mostly valid texts, so that databases grow to their limits; sometimes null, any bytes at all, or
// hex digits of a wrong count.
std::optional<std::string> uuid_text(byte_reader &input) {
    switch (input.byte() % 8) {
    case 0: return std::nullopt;
    case 1: return input.raw(input.byte() % 40);
    case 2: return input.text(input.byte() % 40, HEX_DIGITS);
    case 3:
    case 4: return input.text(4, HEX_DIGITS);
    case 5: return input.text(8, HEX_DIGITS);
    default: return input.text(32, HEX_DIGITS);
    }
}

// Most calls run once; some up to 64 times, so a short input reaches the 40-characteristic,
// 20-service and 255-handle limits.
int repeat_count(byte_reader &input) {
    const std::uint8_t b = input.byte();
    return b >= 0xC0 ? (b & 0x3F) + 1 : 1;
}

void reset(byte_reader &, model::database &expected) {
    init_db();
    expected.init_db();
    FUZZ_CHECK(get_db_size() == 0);
}

void add_service(byte_reader &input, model::database &expected) {
    const auto text = uuid_text(input);
    const char *uuid = text ? text->c_str() : nullptr;
    for (int n = repeat_count(input); n > 0; --n)
        FUZZ_CHECK(add_primary_service(uuid) == expected.add_primary_service(uuid));
    FUZZ_CHECK(get_db_size() == expected.get_db_size());
}

void add_characteristic(byte_reader &input, model::database &expected) {
    const auto text = uuid_text(input);
    const char *uuid = text ? text->c_str() : nullptr;
    const std::int32_t properties = input.int32();
    const std::uint8_t length = input.byte();
    const bool null_value = input.byte() % 8 == 0;
    // Exactly length bytes on the heap, even for 0, so a read past the value shows.
    std::unique_ptr<std::uint8_t[]> value(new std::uint8_t[length]);
    for (std::uint8_t i = 0; i < length; ++i) value[i] = input.byte();
    const std::uint8_t *value_argument = null_value ? nullptr : value.get();
    const std::uint8_t cccd_flag = input.byte();
    for (int n = repeat_count(input); n > 0; --n)
        FUZZ_CHECK(::add_characteristic(uuid, properties, length, value_argument, cccd_flag) ==
                   expected.add_characteristic(uuid, properties, length, value_argument, cccd_flag));
    FUZZ_CHECK(get_db_size() == expected.get_db_size());
}

void generate(byte_reader &, model::database &expected) { fuzz::check_image(expected); }

using operation = void (*)(byte_reader &, model::database &);
constexpr operation OPERATIONS[] = {reset, add_service, add_characteristic, generate};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    byte_reader input(data, size);
    model::database expected;
    init_db();
    while (!input.empty()) OPERATIONS[input.byte() % std::size(OPERATIONS)](input, expected);
    fuzz::check_image(expected);
    init_db();  // releases the value copies, so nothing is left allocated between inputs
    return 0;
}
