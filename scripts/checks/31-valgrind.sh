#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the test programs (and the tool processes they start), the fuzz replay programs and the
# example host under valgrind: any memory error, or any byte definitely or indirectly lost, fails
# the check.
set -euo pipefail
cd "$(dirname "$0")/../.."

# The unit-test build (same configuration as 10-unit-tests.sh), so nothing is built twice.
build=build/test
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null

# One program and its arguments per call. Child processes are followed, so the tool runs that the
# command tests start are checked too.
run_under_valgrind() {
  # shellcheck disable=SC2086 # a run is a program and its arguments
  if ! valgrind -q --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite,indirect \
    --show-leak-kinds=definite,indirect --trace-children=yes $1 >/dev/null; then
    echo "valgrind: $1 failed" >&2
    return 1
  fi
  echo "valgrind: $1"
}
export -f run_under_valgrind

runs=()
while read -r program; do runs+=("$program"); done < <(find "$build/tests" -type f -executable -name 'test_*' | sort)
runs+=("$build/heart_rate")
for program in "$build"/fuzz/fuzz_*; do
  [ -f "$program" ] && [ -x "$program" ] || continue
  target=$(basename "$program")
  inputs="fuzz/corpus/$target"
  [ ! -d "fuzz/crashes/$target" ] || inputs+=" fuzz/crashes/$target"
  runs+=("$program $inputs")
done

printf '%s\n' "${runs[@]}" | xargs -d '\n' -n 1 -P "$(nproc)" bash -c 'run_under_valgrind "$0"'
echo "valgrind: ${#runs[@]} programs, no errors and no lost bytes"
