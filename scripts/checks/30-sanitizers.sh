#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the library, the tool, the tests and the examples with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs the whole test suite under them. The benchmarks are left out:
# they are no test, and 50-bench-builds.sh builds them.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=build/sanitize
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGATTDB_SANITIZE=ON -DGATTDB_BUILD_BENCH=OFF \
  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
