#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the library, the tool, the tests and the examples with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs the whole test suite under them. The benchmarks are left out:
# they are no test, and 50-bench-builds.sh builds them.
set -euo pipefail
cd "$(dirname "$0")/../.."

# -O1 with line tables only: the sanitizers' reports still name the file and line, and it builds in
# much less time than an optimised build with full debug information.
build=build/sanitize
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=None "-DCMAKE_C_FLAGS=-O1 -g1" "-DCMAKE_CXX_FLAGS=-O1 -g1" \
  -DGATTDB_SANITIZE=ON -DGATTDB_BUILD_BENCH=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
