#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the benchmarks in Release, as bench/run.sh does, and runs each for a moment to prove that it
# runs and that the library takes its databases. No timing is judged here: a shared CI machine's
# figures prove nothing, and the ratios are bench/run.sh's job.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${BUILD_DIR:-build/bench-check}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
  -DGATTDB_BUILD_TESTS=OFF -DGATTDB_BUILD_EXAMPLES=OFF -DGATTDB_BUILD_BENCH=ON
cmake --build "$build" -j "$(nproc)" --target gattdb_bench

results="$build/bench-smoke.json"
"$build/bench/gattdb_bench" --benchmark_min_time=0.001 --benchmark_format=json >"$results"
failed=$(jq -r '.benchmarks[] | select(.error_occurred) | "\(.name): \(.error_message)"' "$results")
if [ -n "$failed" ]; then
  echo "gattdb_bench: $failed" >&2
  exit 1
fi
echo "gattdb_bench: $(jq '.benchmarks | length' "$results") benchmarks ran"
