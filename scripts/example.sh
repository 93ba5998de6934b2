#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the library and the gattdb tool and prints the heart-rate example's database image.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build/example}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DGATTDB_BUILD_TESTS=OFF -DGATTDB_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target gattdb_cli >/dev/null
"$build/tools/gattdb" build examples/heart-rate.json
