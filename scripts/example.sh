#!/usr/bin/env bash
# Builds the library and the heart-rate example and prints the example's database image.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build/example}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DGATTDB_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target heart_rate >/dev/null
"$build/heart_rate"
