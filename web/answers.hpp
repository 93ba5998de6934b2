// SPDX-License-Identifier: MIT
// How the engine's calls answer the page: JavaScript objects with "error" null on success, or only
// the error, {message, place, file, line}; bytes and long texts as Uint8Array.
#pragma once

#include <emscripten/val.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/support/input_error.hpp"

namespace gattdb::tool::web {

using emscripten::val;

inline constexpr const char *PROGRAM = "gattdb";

inline val object() { return val::object(); }

template <typename Value>
val with(val target, const char *key, const Value &value) {
    target.set(key, value);
    return target;
}

// A Uint8Array of its own holding a copy of data.
val bytes(std::span<const std::uint8_t> data);

// A Uint32Array of its own holding a copy of data.
val numbers(std::span<const std::uint32_t> data);

// Text the page decodes itself (TextDecoder), many times faster than the bindings' copy of a long
// string: descriptions, outputs, columns of texts.
val text_bytes(std::string_view text);

// Bytes from the page (a Uint8Array) in one copy by the browser: the bindings' own conversion to
// std::string copies a byte at a time, longer than reading a large description.
std::string bytes_in(const val &array);

// The strings of a JavaScript array of strings.
std::vector<std::string> strings_in(const val &array);

template <typename Item, typename Convert>
val array_of(const std::vector<Item> &items, Convert convert) {
    val list = val::array();
    for (const Item &item : items) list.call<void>("push", convert(item));
    return list;
}

// The error as the page shows it: the reason, the place it names (a JSON path, FILE:LINE, a byte
// offset; empty when none), the input's name, and the line the tool prints.
val error_object(const std::string &message, const std::string &place, const std::string &file,
                 const char *what);

// Runs work and answers its result with "error" null, or only the error.
template <typename Work>
val answer(Work work) {
    try {
        return with(work(), "error", val::null());
    } catch (const input_error &error) {
        return with(object(), "error",
                    error_object(error.reason(), error.place(), error.file(), error.what()));
    } catch (const std::exception &error) {
        return with(object(), "error", error_object(error.what(), "", "", error.what()));
    }
}

}  // namespace gattdb::tool::web
