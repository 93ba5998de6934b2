#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Opens the HTML report (`gattdb dump -f html`) of every example in headless Chromium and checks the
# DOM its script leaves: every attribute has its table row and its byte block, and the blocks hold
# the image's bytes.
set -euo pipefail
cd "$(dirname "$0")/../.."

scripts/setup.sh browser
build=${BUILD_DIR:-build/test}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build "$build" --target gattdb_cli -j "$(nproc)" >/dev/null
gattdb="$build/tools/gattdb"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# No network, no profile, no first-run work: the page must stand on its own.
browse() {
  timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile" "$@" 2>>"$work/chromium.log"
}

for example in examples/*.json; do
  name=$(basename "$example" .json)
  "$gattdb" build "$example" >"$work/$name.hex"
  "$gattdb" dump --hex -f html "$work/$name.hex" >"$work/$name.html"
  handles=$("$gattdb" dump --hex --summary "$work/$name.hex" | sed -n 's/^total: \([0-9]*\) of .*/\1/p')
  if ! browse --dump-dom "file://$work/$name.html" >"$work/$name.dom"; then
    cat "$work/chromium.log" >&2
    exit 1
  fi
  python3 tests/tool/html/report_dom.py "$work/$name.dom" "$work/$name.hex" "$handles"
done
