// SPDX-License-Identifier: MIT
#include "core/support/c_names.hpp"

#include <algorithm>
#include <array>
#include <cctype>

namespace gattdb::tool {
namespace {

// The keywords of C (up to C23) and C++ (up to C++20), with C++'s alternative operator spellings,
// and the types the c and header formats write.
constexpr std::array<std::string_view, 111> RESERVED_WORDS = {"_Alignas",
                                                              "_Alignof",
                                                              "_Atomic",
                                                              "_BitInt",
                                                              "_Bool",
                                                              "_Complex",
                                                              "_Decimal128",
                                                              "_Decimal32",
                                                              "_Decimal64",
                                                              "_Generic",
                                                              "_Imaginary",
                                                              "_Noreturn",
                                                              "_Static_assert",
                                                              "_Thread_local",
                                                              "alignas",
                                                              "alignof",
                                                              "and",
                                                              "and_eq",
                                                              "asm",
                                                              "auto",
                                                              "bitand",
                                                              "bitor",
                                                              "bool",
                                                              "break",
                                                              "case",
                                                              "catch",
                                                              "char",
                                                              "char16_t",
                                                              "char32_t",
                                                              "char8_t",
                                                              "class",
                                                              "co_await",
                                                              "co_return",
                                                              "co_yield",
                                                              "compl",
                                                              "concept",
                                                              "const",
                                                              "const_cast",
                                                              "consteval",
                                                              "constexpr",
                                                              "constinit",
                                                              "continue",
                                                              "decltype",
                                                              "default",
                                                              "delete",
                                                              "do",
                                                              "double",
                                                              "dynamic_cast",
                                                              "else",
                                                              "enum",
                                                              "explicit",
                                                              "export",
                                                              "extern",
                                                              "false",
                                                              "float",
                                                              "for",
                                                              "friend",
                                                              "goto",
                                                              "if",
                                                              "inline",
                                                              "int",
                                                              "long",
                                                              "mutable",
                                                              "namespace",
                                                              "new",
                                                              "noexcept",
                                                              "not",
                                                              "not_eq",
                                                              "nullptr",
                                                              "operator",
                                                              "or",
                                                              "or_eq",
                                                              "private",
                                                              "protected",
                                                              "public",
                                                              "register",
                                                              "reinterpret_cast",
                                                              "requires",
                                                              "restrict",
                                                              "return",
                                                              "short",
                                                              "signed",
                                                              "sizeof",
                                                              "static",
                                                              "static_assert",
                                                              "static_cast",
                                                              "struct",
                                                              "switch",
                                                              "template",
                                                              "this",
                                                              "thread_local",
                                                              "throw",
                                                              "true",
                                                              "try",
                                                              "typedef",
                                                              "typeid",
                                                              "typename",
                                                              "typeof",
                                                              "typeof_unqual",
                                                              "union",
                                                              "unsigned",
                                                              "using",
                                                              "virtual",
                                                              "void",
                                                              "volatile",
                                                              "wchar_t",
                                                              "while",
                                                              "xor",
                                                              "xor_eq",
                                                              "uint8_t",
                                                              "uint16_t"};

}  // namespace

bool is_c_identifier(std::string_view name) {
    auto word_character = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    return !name.empty() && !std::isdigit(static_cast<unsigned char>(name[0])) &&
           std::all_of(name.begin(), name.end(), word_character);
}

std::optional<std::string> symbol_problem(std::string_view name) {
    std::string quoted = "\"";  // built up: "\"" + std::string trips a g++ 12 -O2 false warning
    quoted.append(name).append("\"");
    if (!is_c_identifier(name)) return "not a C identifier: " + quoted;
    if (std::find(RESERVED_WORDS.begin(), RESERVED_WORDS.end(), name) != RESERVED_WORDS.end())
        return quoted + " is a C or C++ keyword or a type the generated code uses";
    return std::nullopt;
}

std::string upper_case(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
    return upper;
}

}  // namespace gattdb::tool
