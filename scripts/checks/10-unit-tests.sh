#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the library, the tools and the tests with warnings as errors, and runs the test suite.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${BUILD_DIR:-build/test}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
