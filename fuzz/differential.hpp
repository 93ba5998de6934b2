// SPDX-License-Identifier: MIT
// Checks shared by the fuzz targets: a failed check prints where and aborts, which both libFuzzer
// and the replay program report as a crash.
#pragma once

#include "model.hpp"

namespace fuzz {

[[noreturn]] void fail(const char *condition, const char *file, int line);

#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::fuzz::fail(#condition, __FILE__, __LINE__))

// Checks get_db_size, and generate_db into a heap block of exactly that many bytes, against the
// model, so that any write past the image lands outside the block.
void check_image(const model::database &expected);

}  // namespace fuzz
