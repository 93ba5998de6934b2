// SPDX-License-Identifier: MIT
#include "answers.hpp"

#include <emscripten/bind.h>

namespace gattdb::tool::web {
namespace {

// A typed array of its own holding what the view shows of the engine's memory (which the view
// would not outlive): slice() copies it at once, where constructing one from it goes element by
// element.
template <typename Element>
val copied(emscripten::memory_view<Element> view) {
    return val(view).call<val>("slice");
}

}  // namespace

val bytes(std::span<const std::uint8_t> data) {
    return copied(emscripten::typed_memory_view(data.size(), data.data()));
}

val numbers(std::span<const std::uint32_t> data) {
    return copied(emscripten::typed_memory_view(data.size(), data.data()));
}

val text_bytes(std::string_view text) {
    return bytes({reinterpret_cast<const std::uint8_t *>(text.data()), text.size()});
}

std::string bytes_in(const val &array) {
    std::string out(array["length"].as<std::size_t>(), '\0');
    val(emscripten::typed_memory_view(out.size(), reinterpret_cast<std::uint8_t *>(out.data())))
        .call<void>("set", array);
    return out;
}

std::vector<std::string> strings_in(const val &array) {
    std::vector<std::string> out;
    const auto count = array["length"].as<std::size_t>();
    for (std::size_t i = 0; i < count; ++i) out.push_back(array[i].as<std::string>());
    return out;
}

val error_object(const std::string &message, const std::string &place, const std::string &file,
                 const char *what) {
    val e = object();
    e.set("message", message);
    e.set("place", place);
    e.set("file", file);
    e.set("line", std::string(PROGRAM) + ": " + what);
    return e;
}

}  // namespace gattdb::tool::web
