#!/usr/bin/env bash
# Runs the test programs, the fuzz replay programs and the example host under valgrind: any memory
# error, or any byte definitely or indirectly lost, fails the check.
set -euo pipefail
cd "$(dirname "$0")/../.."

# The unit-test build (same configuration as 10-unit-tests.sh), so nothing is built twice.
build=build/test
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null

valgrind=(valgrind -q --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite,indirect
  --show-leak-kinds=definite,indirect)

runs=()
for program in "$build"/tests/test_*; do
  [ -f "$program" ] && [ -x "$program" ] || continue
  runs+=("$program")
done
runs+=("$build/heart_rate")
for program in "$build"/fuzz/fuzz_*; do
  [ -f "$program" ] && [ -x "$program" ] || continue
  target=$(basename "$program")
  inputs="fuzz/corpus/$target"
  [ ! -d "fuzz/crashes/$target" ] || inputs+=" fuzz/crashes/$target"
  runs+=("$program $inputs")
done

for run in "${runs[@]}"; do
  echo "valgrind: $run"
  # shellcheck disable=SC2086 # a run is a program and its arguments
  "${valgrind[@]}" $run >/dev/null
done
echo "valgrind: ${#runs[@]} programs, no errors and no lost bytes"
