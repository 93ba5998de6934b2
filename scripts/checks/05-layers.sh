#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The tool core's folders include one way only (tools/core/README.md). First the check itself is shown
# to fail on a wrong-way include, then it runs on the checkout.
set -euo pipefail
cd "$(dirname "$0")/../.."

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tools/core/readers" "$work/tools/core/reports"
cp tools/core/README.md "$work/tools/core/"
printf '#include "core/reports/attribute_rows.hpp"\n' >"$work/tools/core/readers/wrong_way.cpp"
if out=$(python3 scripts/check_layers.py "$work" 2>&1); then
  echo "05-layers: the check passed a reader that includes a report" >&2
  exit 1
fi
grep -q 'readers/wrong_way.cpp:1: #include "core/reports/attribute_rows.hpp": reports/ comes after readers/' <<<"$out" || {
  echo "05-layers: the check's message does not name the file and the include: $out" >&2
  exit 1
}

python3 scripts/check_layers.py
