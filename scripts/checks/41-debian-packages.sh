#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian packages with CPack and checks them as a Debian user meets them: lintian finds no
# error; apt-get installs them; a C host builds against the system install with pkg-config, one with
# find_package, and a firmware project with gattdb_add_database; the tool, its manual page and its
# bash completion work from their system places. Then it removes the packages, leaving the machine
# as it found it.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/checks/lib.sh

build=${BUILD_DIR:-build/debian}
packages=(libgattdb1 libgattdb-dev gattdb-tools)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

installed() { dpkg-query -W -f='${Status}\n' "$@" 2>/dev/null | grep -c 'ok installed' || true; }

[ "$(installed "${packages[@]}")" -eq 0 ] ||
  fail "gattdb packages are installed already; this check installs and removes its own, so remove them first: apt-get remove ${packages[*]}"

rm -rf "$build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
  -DGATTDB_BUILD_TESTS=OFF -DGATTDB_BUILD_BENCH=OFF -DGATTDB_BUILD_EXAMPLES=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || fail "cpack failed: $(cat "$build/cpack.log")"
build=$(cd "$build" && pwd)
debs=()
for package in "${packages[@]}"; do
  deb=$(echo "$build/${package}_"*.deb)
  [ -f "$deb" ] || fail "cpack wrote no package $package"
  debs+=("$deb")
done

echo "--- lintian ${debs[*]##*/}"
lintian --fail-on error "${debs[@]}" 2> >(grep -v 'running with root privileges' >&2) || fail "lintian found errors"
for deb in "${debs[@]}"; do
  echo "--- dpkg -c ${deb##*/}"
  dpkg -c "$deb" | awk '{print $1, $6, $7, $8}'
done

# From here on the packages may be on the system; they go again however the check ends.
remove() { DEBIAN_FRONTEND=noninteractive $sudo apt-get remove --purge -y -qq "${packages[@]}" >/dev/null; }
trap 'remove || true' EXIT
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=300 \
  "${debs[@]}" >/dev/null 2> >(grep -v -e "couldn't be accessed by user '_apt'" -e "^debconf: delaying" >&2)
[ "$(installed "${packages[@]}")" -eq 3 ] || fail "apt-get did not install the three packages"
echo "--- installed: $(dpkg-query -W -f='${Package} ${Version}\n' "${packages[@]}" | paste -sd, - | sed 's/,/, /g')"

# Hosts of the system install: nothing on the search paths but what the packages put there.
unset PKG_CONFIG_PATH CMAKE_PREFIX_PATH
[ "$(pkg-config --variable=pcfiledir gattdb)" = "/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/pkgconfig" ] ||
  fail "pkg-config finds gattdb.pc in $(pkg-config --variable=pcfiledir gattdb), not in the package's folder"
cc -std=c11 -Wall -Wextra -Werror examples/heart_rate.c $(pkg-config --cflags --libs gattdb) -o "$build/heart_rate_pc"
"$build/heart_rate_pc" | cmp - tests/tool/golden/heart-rate.hex
echo "pkg-config host of the system install: the heart-rate image"
cmake -S tests/consumer -B "$build/consumer" >/dev/null
cmake --build "$build/consumer" >/dev/null
grep -q "^gattdb_DIR:PATH=/usr/lib/.*/cmake/gattdb$" "$build/consumer/CMakeCache.txt" ||
  fail "find_package found $(grep '^gattdb_DIR' "$build/consumer/CMakeCache.txt")"
"$build/consumer/consumer"
cmake -S tests/firmware -B "$build/firmware" -DGATT_DESCRIPTION="$PWD/examples/heart-rate.json" >/dev/null
cmake --build "$build/firmware" >/dev/null
value="HEART_RATE_MEASUREMENT value at handle 3: 00 48"
[ "$("$build/firmware/firmware_c" && "$build/firmware/firmware_cpp")" = "$value"$'\n'"$value" ] ||
  fail "the firmware project built with gattdb_add_database does not find the heart-rate value"
echo "firmware project with gattdb_add_database, C and C++: $value"

# The tool, its manual page and its completion, where Debian's tools look for them.
[ "$(command -v gattdb)" = /usr/bin/gattdb ] || fail "gattdb on PATH is $(command -v gattdb), not /usr/bin/gattdb"
gattdb build examples/heart-rate.json | cmp - tests/tool/golden/heart-rate.hex
echo "gattdb build examples/heart-rate.json: the golden image"
page=(gattdb)
if [ ! -f /usr/share/man/man1/gattdb.1.gz ]; then # a slim image's dpkg leaves manual pages out
  echo "dpkg did not install the manual page (path-exclude?); reading it from the package"
  dpkg-deb -x "${debs[2]}" "$build/gattdb-tools"
  page=(-l "$build/gattdb-tools/usr/share/man/man1/gattdb.1.gz")
fi
warnings=$(MANWIDTH=80 man --warnings "${page[@]}" 2>&1 >"$build/gattdb.1.txt") || fail "man gattdb failed: $warnings"
[ -z "$warnings" ] || fail "man --warnings gattdb: $warnings"
echo "man gattdb: $(wc -l <"$build/gattdb.1.txt") lines, no warnings"
completion=$(pkg-config --variable=completionsdir bash-completion)/gattdb
[ -f "$completion" ] || fail "no completion at $completion"
bash -c 'source /usr/share/bash-completion/bash_completion; _completion_loader gattdb; complete -p gattdb' |
  grep -q -- '-F _gattdb' || fail "bash-completion does not load $completion"
echo "bash-completion loads $completion"

remove
trap - EXIT
[ "$(installed "${packages[@]}")" -eq 0 ] || fail "apt-get left packages installed"
[ ! -e /usr/bin/gattdb ] && [ ! -e /usr/include/gattdb.h ] || fail "files remain after removing the packages"
echo "removed: ${packages[*]}"
