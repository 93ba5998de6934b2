// SPDX-License-Identifier: MIT
// Hands out a fuzz input a piece at a time. Past its end every read gives zeros, so any input, even
// an empty one, reads as a complete sequence of calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzz {

class byte_reader {
   public:
    byte_reader(const std::uint8_t *data, std::size_t size) : next_(data), end_(data + size) {}

    bool empty() const { return next_ == end_; }

    std::uint8_t byte() { return empty() ? 0 : *next_++; }

    std::int32_t int32() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value = value << 8 | byte();
        return static_cast<std::int32_t>(value);
    }

    // The next length bytes as they are.
    std::string raw(std::size_t length) {
        std::string out(length, '\0');
        for (char &c : out) c = static_cast<char>(byte());
        return out;
    }

    // The next length bytes, each mapped onto a character of alphabet.
    std::string text(std::size_t length, std::string_view alphabet) {
        std::string out(length, '\0');
        for (char &c : out) c = alphabet[byte() % alphabet.size()];
        return out;
    }

   private:
    const std::uint8_t *next_;
    const std::uint8_t *end_;
};

}  // namespace fuzz
