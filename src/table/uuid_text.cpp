#include "uuid_text.hpp"

namespace gattdb {
namespace {

// Longest valid text; reading stops one character past it, so a long text costs no more than this.
constexpr std::size_t MAX_UUID_DIGITS = 32;

int hex_digit_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

uuid_kind kind_for_digit_count(std::size_t digits) {
    switch (digits) {
    case 4: return UUID_16;
    case 8: return UUID_32;
    case 32: return UUID_128;
    default: return UUID_NONE;
    }
}

}  // namespace

bool parse_uuid(const char *text, uuid_record &record) {
    if (text == nullptr) return false;
    uuid_record parsed{};
    std::size_t digits = 0;
    for (; text[digits] != '\0'; ++digits) {
        const int value = hex_digit_value(text[digits]);
        if (value < 0 || digits == MAX_UUID_DIGITS) return false;
        parsed.bytes[digits / 2] = static_cast<std::uint8_t>(parsed.bytes[digits / 2] << 4 | value);
    }
    parsed.kind = kind_for_digit_count(digits);
    if (parsed.kind == UUID_NONE) return false;
    record = parsed;
    return true;
}

}  // namespace gattdb
