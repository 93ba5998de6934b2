#!/usr/bin/env bash
# Installs from Debian's archive whatever the build and the tests need and the machine lacks. The
# packages are listed one a line in scripts/packages/*.txt.
#   scripts/setup.sh            every list
#   scripts/setup.sh LIST...    only scripts/packages/LIST.txt, for a check that needs its own
set -euo pipefail
cd "$(dirname "$0")/.."

lists=()
for list in "$@"; do lists+=("scripts/packages/$list.txt"); done
[ $# -gt 0 ] || lists=(scripts/packages/*.txt)

missing=()
while read -r package; do
  [ -n "$package" ] || continue
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' || missing+=("$package")
done < <(cat "${lists[@]}" | sed 's/#.*//' | tr -s ' \t' '\n' | sort -u)
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "setup: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
