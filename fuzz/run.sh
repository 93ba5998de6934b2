#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the fuzz targets with clang and libFuzzer, then runs each in turn for SECONDS (default 60),
# starting from its committed corpus, and prints the executions and coverage each reached.
#
# Usage: fuzz/run.sh [SECONDS] [TARGET...]   (the targets default to every fuzz/corpus/<target>)
#
# Inputs the fuzzer finds go to a temporary directory that is removed afterwards, never into the
# repository; set FUZZ_WORK_DIR to keep them (and the logs) there instead. A failing input is kept
# in build/fuzz/artifacts/<target>/; once its fault is fixed, commit it to fuzz/crashes/<target>/
# and the test suite replays it from then on.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
[ $# -eq 0 ] || shift
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for corpus in fuzz/corpus/*/; do targets+=("$(basename "$corpus")"); done
fi

build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGATTDB_FUZZ=ON \
  -DGATTDB_BUILD_TESTS=OFF -DGATTDB_BUILD_EXAMPLES=OFF -DGATTDB_BUILD_BENCH=OFF \
  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}" >/dev/null

work=${FUZZ_WORK_DIR:-}
if [ -z "$work" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi

# The value after "name:" or "name " in libFuzzer's last status line or final statistics.
stat() { grep -o "$1[: ] *[0-9]*" "$2" | tail -n 1 | grep -o '[0-9]*$' || echo '?'; }

failed=0
for target in "${targets[@]}"; do
  artifacts=$build/artifacts/$target
  mkdir -p "$work/$target" "$artifacts"
  # Value profiling guides the fuzzer by how near each comparison came, so it reaches exact bounds
  # such as the 255th handle.
  options=(-max_total_time="$seconds" -use_value_profile=1 -timeout=10 -print_final_stats=1
    -artifact_prefix="$artifacts/")
  [ ! -f "fuzz/dict/$target.dict" ] || options+=(-dict="fuzz/dict/$target.dict")
  log=$work/$target.log
  if ! "$build/fuzz/$target" "${options[@]}" "$work/$target" "fuzz/corpus/$target" >"$log" 2>&1; then
    tail -n 30 "$log"
    echo "fuzz: $target failed; the failing input is in $artifacts/"
    failed=1
  fi
  echo "fuzz: $target: $(stat stat::number_of_executed_units "$log") executions in $seconds s," \
    "cov: $(stat cov "$log") ft: $(stat ft "$log") corpus: $(stat corp "$log") inputs"
done
exit $failed
