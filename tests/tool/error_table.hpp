// SPDX-License-Identifier: MIT
// Test support: the table of inputs a reader refuses, each case a name, an input and how the
// error's message starts (its place and reason), and what reading one gives.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "core/support/input_error.hpp"

namespace gattdb::tool::testing {

template <class Input>
struct error_case {
    const char *name;
    Input input;
    std::string message;  // place and reason, as the error starts
};

template <class Input>
void PrintTo(const error_case<Input> &c, std::ostream *os) {
    *os << c.name;
}

// Names each instance of a table after its case.
inline constexpr auto case_name = [](const auto &info) { return std::string(info.param.name); };

// The message of the input_error that read throws; empty when it throws none.
template <class Read>
std::string error_of(Read read) {
    try {
        read();
        return "";
    } catch (const input_error &error) {
        return error.what();
    }
}

// Whether message starts with expected; "accepted" stands for the empty message of an input read.
inline ::testing::AssertionResult starts_with(const std::string &message, const std::string &expected) {
    if (message.starts_with(expected)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected a message starting [" << expected << "], got ["
                                         << (message.empty() ? "accepted" : message) << "]";
}

}  // namespace gattdb::tool::testing
