#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The library on the processors hosts run it on besides x86-64: for s390x (64-bit big-endian), armhf
# (32-bit ARM) and aarch64, Debian's cross compilers build GoogleTest, then the library, its
# GoogleTest suites, the example and the replay programs of the fuzz_uuid and fuzz_calls corpora
# (the latter against the model of the database); CTest runs them all under qemu-user, which the
# toolchain files (cmake/toolchains/linux-*.cmake) name as the emulator. The example's test holds
# it to the heart-rate bytes it prints on x86-64. None of these processors has the SSE2 way of
# reading UUID text, so an x86-64 build with GATTDB_NO_SIMD then runs the UUID text tests and the
# fuzz_uuid replay on the portable way too.
set -euo pipefail
cd "$(dirname "$0")/../.."

root=${BUILD_DIR:-build/architectures}
mkdir -p "$root"
root=$(cd "$root" && pwd)
architectures=(s390x armhf aarch64)

fail() { # what, log
  echo "20-architectures: $1 failed:" >&2
  tail -n 40 "$2" >&2
  exit 1
}
# The number out of CTest's "100% tests passed, 0 tests failed out of N".
tests_passed() { sed -n 's/^100% tests passed, 0 tests failed out of \([0-9]*\)$/\1/p' "$1"; }

for arch in "${architectures[@]}"; do
  start=$SECONDS
  dir=$root/$arch
  log=$dir/log.txt
  mkdir -p "$dir"
  : >"$log"
  toolchain=$PWD/cmake/toolchains/linux-$arch.cmake
  {
    cmake -S /usr/src/googletest -B "$dir/googletest" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$dir/googletest-prefix" &&
      cmake --build "$dir/googletest" -j "$(nproc)" && cmake --install "$dir/googletest"
  } >>"$log" 2>&1 || fail "$arch: building GoogleTest" "$log"
  # Cross builds leave the tool and the benchmarks off; the tests need asking for.
  {
    cmake -S . -B "$dir/gattdb" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_FIND_ROOT_PATH="$dir/googletest-prefix" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DGATTDB_BUILD_TESTS=ON -DGATTDB_INSTALL=OFF &&
      cmake --build "$dir/gattdb" -j "$(nproc)"
  } >>"$log" 2>&1 || fail "$arch: building" "$log"
  ctest --test-dir "$dir/gattdb" --output-on-failure -j "$(nproc)" >"$dir/ctest.txt" 2>&1 || fail "$arch: tests" "$dir/ctest.txt"
  count=$(tests_passed "$dir/ctest.txt")
  [ "${count:-0}" -gt 0 ] || fail "$arch: tests (none ran)" "$dir/ctest.txt"
  echo "$arch: $count tests passed under qemu-user (GoogleTest cases, the example, the fuzz_uuid and" \
    "fuzz_calls replays); built and run in $((SECONDS - start)) s"
done

# --- x86-64 reading UUID text the portable way
start=$SECONDS
dir=$root/x86_64-no-simd
log=$dir/log.txt
mkdir -p "$dir"
{
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DGATTDB_NO_SIMD=ON \
    -DGATTDB_BUILD_TESTS=ON -DGATTDB_BUILD_TOOLS=OFF -DGATTDB_BUILD_BENCH=OFF -DGATTDB_BUILD_EXAMPLES=OFF \
    -DGATTDB_INSTALL=OFF -DCMAKE_EXPORT_COMPILE_COMMANDS=ON &&
    cmake --build "$dir" -j "$(nproc)" --target test_uuid_text fuzz_uuid
} >"$log" 2>&1 || fail "x86_64 with GATTDB_NO_SIMD: building" "$log"
# The option must reach every file compiled, or the tests would run the SSE2 way after all.
compiled=$(grep -c '"command":' "$dir/compile_commands.json")
[ "$(grep -c '"command":.*-DGATTDB_NO_SIMD' "$dir/compile_commands.json")" -eq "$compiled" ] ||
  fail "x86_64 with GATTDB_NO_SIMD: not every file is compiled with it" "$dir/compile_commands.json"
"$dir/tests/test_uuid_text" >"$dir/test_uuid_text.txt" 2>&1 || fail "x86_64 with GATTDB_NO_SIMD: test_uuid_text" "$dir/test_uuid_text.txt"
ctest --test-dir "$dir" --output-on-failure -R '^fuzz_uuid_replay$' >"$dir/ctest.txt" 2>&1 ||
  fail "x86_64 with GATTDB_NO_SIMD: fuzz_uuid replay" "$dir/ctest.txt"
[ "$(tests_passed "$dir/ctest.txt")" = 1 ] || fail "x86_64 with GATTDB_NO_SIMD: fuzz_uuid replay (did not run)" "$dir/ctest.txt"
echo "x86_64 with GATTDB_NO_SIMD: $(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\.$/\1/p' "$dir/test_uuid_text.txt")" \
  "UUID text tests and the fuzz_uuid replay passed in $((SECONDS - start)) s"
