// Reading UUID text. All of it is defined here so that the adding calls, its only callers, compile it
// inline: as a separate call it cost about a third of a 16-bit adding call.
#pragma once

#include <array>

#include "byte_order.hpp"
#include "table.hpp"

namespace gattdb {
namespace uuid_text_detail {

// Every byte's value as a hex digit, or NOT_A_DIGIT: one load per character instead of three range
// tests. The terminating NUL is not a digit either, which is what ends a read.
inline constexpr std::uint8_t NOT_A_DIGIT = 0xFF;
inline constexpr std::array<std::uint8_t, 256> DIGIT_VALUES = [] {
    std::array<std::uint8_t, 256> values{};
    values.fill(NOT_A_DIGIT);
    for (std::uint8_t i = 0; i < 10; ++i) values['0' + i] = i;
    for (std::uint8_t i = 0; i < 6; ++i)
        values['a' + i] = values['A' + i] = static_cast<std::uint8_t>(10 + i);
    return values;
}();

// Sixteen digits fill a 64-bit word; the longest text is two words.
inline constexpr std::size_t DIGITS_PER_WORD = 16;

// Reads hex digits into word until a character that is not one, or until the word is full; returns
// how many it read. Never reads past the first character that is not a digit, so never past the
// text's end.
inline std::size_t read_word(const char *text, std::uint64_t &word) {
    std::size_t digits = 0;
    for (; digits < DIGITS_PER_WORD; ++digits) {
        const std::uint8_t value = DIGIT_VALUES[static_cast<unsigned char>(text[digits])];
        if (value == NOT_A_DIGIT) break;
        word = word << 4 | value;
    }
    return digits;
}

inline uuid_kind kind_for_digit_count(std::size_t digits) {
    switch (digits) {
    case 4: return UUID_16;
    case 8: return UUID_32;
    case 32: return UUID_128;
    default: return UUID_NONE;
    }
}

}  // namespace uuid_text_detail

// Reads UUID text: exactly 4, 8 or 32 hex digits, either case, most significant first. Nothing else
// is accepted (no white space, signs, "0x" or dashes), because a lenient reading would silently give
// another UUID. On success fills record (kind and bytes, the rest zero) and returns true; on failure
// returns false and leaves record untouched.
inline bool parse_uuid(const char *text, uuid_record &record) {
    using namespace uuid_text_detail;
    if (text == nullptr) return false;
    // The text's digits as a number of up to 128 bits, in two halves.
    std::uint64_t high = 0, low = 0;
    std::size_t digits = read_word(text, high);
    if (digits == DIGITS_PER_WORD) digits += read_word(text + DIGITS_PER_WORD, low);
    // The digits must end the text: a 33rd digit, or any other character, makes it no UUID.
    const uuid_kind kind = text[digits] == '\0' ? kind_for_digit_count(digits) : UUID_NONE;
    if (kind == UUID_NONE) return false;

    // Shorter texts' numbers sit in the high half alone; place them as their field holds them.
    if (kind == UUID_16) {
        low = high;
        high = 0;
    } else if (kind == UUID_32) {
        high <<= 32;
    }
    record.kind = kind;
    store_least_significant_first(record.bytes, low);
    store_least_significant_first(record.bytes + sizeof low, high);
    return true;
}

}  // namespace gattdb
