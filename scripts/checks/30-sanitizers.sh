#!/usr/bin/env bash
# Builds the library, the tests and the examples with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs the whole test suite under them.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=build/sanitize
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGATTDB_SANITIZE=ON -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
