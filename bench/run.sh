#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the benchmarks (Release), runs them all in one process and prints the figures and the ratios
# the library is held to; exits non-zero when a benchmark fails or a ratio misses its target.
# Arguments go to the benchmark program, e.g. --benchmark_repetitions=9.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build/bench}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DGATTDB_BUILD_TESTS=OFF -DGATTDB_BUILD_EXAMPLES=OFF \
  -DGATTDB_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target gattdb_bench >/dev/null

results=$(mktemp)
trap 'rm -f "$results"' EXIT
# Random interleaving spreads each benchmark's repetitions over the whole run, so a spell of load
# from elsewhere on the machine falls on all of them alike rather than on one side of a ratio.
"$build/bench/gattdb_bench" --benchmark_format=json --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true --benchmark_enable_random_interleaving=true "$@" >"$results"

echo "machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores"
jq -r -f bench/report.jq "$results"
