// SPDX-License-Identifier: MIT
// Reading UUID text. All of it is defined here so that the adding calls, its only callers, compile it
// inline: as a separate call it cost about a third of a 16-bit adding call.
#pragma once

#include <array>
#include <cstring>

// x86 processors with SSE2 (every 64-bit one) read a 128-bit UUID's 32 digits 16 at a time; any other
// reads them one by one. Defining GATTDB_NO_SIMD (the CMake option of that name) forces the second
// way, to test it on x86.
#if (defined(__SSE2__) || defined(_M_X64)) && !defined(GATTDB_NO_SIMD)
#define GATTDB_UUID_SSE2 1
#include <emmintrin.h>
#endif

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
inline constexpr std::size_t MAX_UUID_DIGITS = 2 * DIGITS_PER_WORD;
// A 32-bit UUID's digits; a text with more can only be a 128-bit UUID.
inline constexpr std::size_t SHORT_UUID_DIGITS = 8;

// Reads hex digits into word until a character that is not one, or until it has read most; returns
// how many it read. Never reads past the first character that is not a digit, so never past the
// text's end.
inline std::size_t read_digits(const char *text, std::size_t most, std::uint64_t &word) {
    std::size_t digits = 0;
    for (; digits < most; ++digits) {
        const std::uint8_t value = DIGIT_VALUES[static_cast<unsigned char>(text[digits])];
        if (value == NOT_A_DIGIT) break;
        word = word << 4 | value;
    }
    return digits;
}

#ifdef GATTDB_UUID_SSE2
// Reads 32 readable characters as hex digits, all at once, into bytes in image order; false if one is
// not a digit.
inline bool read_128_bit_digits(const char *text, std::uint8_t *bytes) {
    __m128i pairs[2];  // each 16-bit lane the byte that two digits make
    int digit_mask = 0xFFFF;
    for (int half = 0; half < 2; ++half) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + 16 * half));
        const __m128i lower_case = _mm_or_si128(x, _mm_set1_epi8(0x20));
        const __m128i decimal = _mm_and_si128(_mm_cmpgt_epi8(x, _mm_set1_epi8('0' - 1)),
                                              _mm_cmplt_epi8(x, _mm_set1_epi8('9' + 1)));
        const __m128i letter = _mm_and_si128(_mm_cmpgt_epi8(lower_case, _mm_set1_epi8('a' - 1)),
                                             _mm_cmplt_epi8(lower_case, _mm_set1_epi8('f' + 1)));
        digit_mask &= _mm_movemask_epi8(_mm_or_si128(decimal, letter));
        // '0'-'9' end in 0-9 and the letters in 1-6, to which 9 is added.
        const __m128i values =
            _mm_add_epi8(_mm_and_si128(x, _mm_set1_epi8(0x0F)), _mm_and_si128(letter, _mm_set1_epi8(9)));
        pairs[half] = _mm_or_si128(_mm_slli_epi16(_mm_and_si128(values, _mm_set1_epi16(0x00FF)), 4),
                                   _mm_srli_epi16(values, 8));
    }
    if (digit_mask != 0xFFFF) return false;
    // The bytes in text order, most significant first, then reversed: within each 16-bit lane, then
    // the lanes.
    __m128i reversed = _mm_packus_epi16(pairs[0], pairs[1]);
    reversed = _mm_or_si128(_mm_slli_epi16(reversed, 8), _mm_srli_epi16(reversed, 8));
    reversed = _mm_shuffle_epi32(_mm_shufflehi_epi16(_mm_shufflelo_epi16(reversed, 0x1B), 0x1B), 0x4E);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(bytes), reversed);
    return true;
}
#endif

// Reads a text that has more than eight characters and whose first eight are hex digits: only 32
// digits make a UUID of it.
inline bool parse_128_bit_uuid(const char *text, uuid_record &record) {
#ifdef GATTDB_UUID_SSE2
    // The C library finds the text's end without reading past it; then all 32 characters can be read.
    if (std::memchr(text + SHORT_UUID_DIGITS, '\0', MAX_UUID_DIGITS + 1 - SHORT_UUID_DIGITS) !=
        text + MAX_UUID_DIGITS) {
        return false;
    }
    std::uint8_t bytes[16];
    if (!read_128_bit_digits(text, bytes)) return false;
    std::memcpy(record.bytes, bytes, sizeof bytes);
#else
    std::uint64_t high = 0, low = 0;
    if (read_digits(text, DIGITS_PER_WORD, high) != DIGITS_PER_WORD ||
        read_digits(text + DIGITS_PER_WORD, DIGITS_PER_WORD, low) != DIGITS_PER_WORD ||
        text[MAX_UUID_DIGITS] != '\0') {
        return false;
    }
    store_least_significant_first(record.bytes, low);
    store_least_significant_first(record.bytes + sizeof low, high);
#endif
    record.kind = UUID_128;
    return true;
}

}  // namespace uuid_text_detail

// Reads UUID text: exactly 4, 8 or 32 hex digits, either case, most significant first. Nothing else
// is accepted (no white space, signs, "0x" or dashes), because a lenient reading would silently give
// another UUID. On success fills record (kind and bytes, the rest zero) and returns true; on failure
// returns false and leaves record untouched.
inline bool parse_uuid(const char *text, uuid_record &record) {
    using namespace uuid_text_detail;
    if (text == nullptr) return false;
    std::uint64_t number = 0;
    const std::size_t digits = read_digits(text, SHORT_UUID_DIGITS, number);
    if (digits == SHORT_UUID_DIGITS && text[digits] != '\0') return parse_128_bit_uuid(text, record);
    // The digits must end the text.
    if (text[digits] != '\0' || (digits != 4 && digits != SHORT_UUID_DIGITS)) return false;

    // Placed as the field holds them: a 16-bit UUID first, a 32-bit one last of 16 bytes.
    record.kind = digits == 4 ? UUID_16 : UUID_32;
    store_least_significant_first(record.bytes, record.kind == UUID_16 ? number : 0);
    store_least_significant_first(record.bytes + sizeof number, record.kind == UUID_16 ? 0 : number << 32);
    return true;
}

}  // namespace gattdb
