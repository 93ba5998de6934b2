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
