#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs from Debian's archive whatever the machine lacks of the packages listed one a line in
# scripts/packages/*.txt.
#   scripts/setup.sh            every list: what the test command's checks need as well
#   scripts/setup.sh example    only what building and running the example needs (core.txt, tool.txt)
#   scripts/setup.sh LIST...    only scripts/packages/LIST.txt, for a check that needs its own
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A sets=([example]="core tool")
lists=()
for name in "$@"; do
  for list in ${sets[$name]:-$name}; do
    [ -f "scripts/packages/$list.txt" ] || {
      echo "setup: no package list scripts/packages/$list.txt" >&2
      exit 2
    }
    lists+=("scripts/packages/$list.txt")
  done
done
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
