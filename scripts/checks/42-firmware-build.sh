#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Firmware integration from an installed gattdb: the installed tool runs from its prefix, and from a
# copy of the prefix moved elsewhere, with no LD_LIBRARY_PATH; a firmware project that calls
# gattdb_add_database against the prefix builds, finds the value its header names in the image,
# rebuilds when the description changes, and fails to build on a bad description with the tool's
# one-line message.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/checks/lib.sh

root=$(scratch_dir build/firmware)


# --- The tool installed, and moved
prefix=$root/prefix
release=$(release_build)
cmake --install "$release" --prefix "$prefix" >/dev/null
expect "installed gattdb run path" "\$ORIGIN/../lib" \
  "$(readelf -d "$prefix/bin/gattdb" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')"
cp -a "$prefix" "$root/moved"
for tool in "$prefix/bin/gattdb" "$root/moved/bin/gattdb"; do
  env -u LD_LIBRARY_PATH "$tool" build examples/heart-rate.json | cmp - tests/tool/golden/heart-rate.hex ||
    fail "$tool does not build the heart-rate image"
  echo "$tool builds the heart-rate image without LD_LIBRARY_PATH"
done
rm -rf "$root/moved"

# --- A firmware project against the prefix
description=$root/gatt.json
cp examples/heart-rate.json "$description"
firmware=$root/firmware
cmake -S tests/firmware -B "$firmware" -DCMAKE_PREFIX_PATH="$prefix" -DGATT_DESCRIPTION="$description" >/dev/null
built() { # builds the firmware, then prints what each program says
  cmake --build "$firmware" >"$root/build.log" 2>&1 || fail "the firmware does not build: $(cat "$root/build.log")"
  "$firmware/firmware_c" && "$firmware/firmware_cpp"
}
expect "firmware, C and C++" "$(printf 'HEART_RATE_MEASUREMENT value at handle 3: 00 48\n%.0s' 1 2)" "$(built)"

# A service ahead of heart rate moves its handles; a rebuild follows the description.
cat >"$description" <<'JSON'
{ "services": [
    { "uuid": "180F", "characteristics": [ { "uuid": "2A19", "properties": ["read"], "value": "64" } ] },
    { "uuid": "180D", "characteristics": [ { "uuid": "2A37", "properties": ["notify"], "value": "0049" } ] } ] }
JSON
expect "firmware after the description changed" \
  "$(printf 'HEART_RATE_MEASUREMENT value at handle 6: 00 49\n%.0s' 1 2)" "$(built)"

echo '{ "services": [ { "uuid": "18" } ] }' >"$description"
! cmake --build "$firmware" >"$root/build.log" 2>&1 || fail "a bad description built"
message="gattdb: $description: services[0].uuid: \"18\" is not 4, 8 or 32 hex digits nor a dashed 128-bit UUID"
grep -qxF "$message" "$root/build.log" || fail "the failed build does not show [$message]: $(cat "$root/build.log")"
echo "a bad description fails the build: $message"
