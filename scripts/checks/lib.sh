# SPDX-License-Identifier: MIT
# What the check scripts share; each sources it after cd-ing to the checkout. Messages start with
# the script's name, as in "40-packaging: ...".

fail() {
  echo "$(basename "$0" .sh): $*" >&2
  exit 1
}

expect() { # what, expected, actual
  [ "$2" = "$3" ] || fail "$1: expected [$2], got [$3]"
  echo "$1: $3"
}

# The check's scratch folder, BUILD_DIR or else the default given, emptied; prints its absolute path.
scratch_dir() {
  local dir=${BUILD_DIR:-$1}
  rm -rf "$dir"
  mkdir -p "$dir"
  (cd "$dir" && pwd)
}

# The Release build of the library, the tool and the example host that the install checks share
# (40-packaging, 42-firmware-build): built once, then installed into each check's own prefixes with
# cmake --install --prefix. Prints its absolute path.
release_build() {
  local dir=${RELEASE_BUILD_DIR:-build/release}
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DGATTDB_BUILD_TESTS=OFF -DGATTDB_BUILD_BENCH=OFF \
    -DGATTDB_BUILD_TOOLS=ON -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DCMAKE_INSTALL_LIBDIR=lib >/dev/null
  cmake --build "$dir" -j "$(nproc)" >/dev/null
  (cd "$dir" && pwd)
}
