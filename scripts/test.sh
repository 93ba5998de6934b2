#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs every check in scripts/checks, in order, and stops at the first that fails.
set -euo pipefail
cd "$(dirname "$0")/.."

for check in scripts/checks/[0-9]*.sh; do  # lib.sh is what they share, not a check
  echo "=== ${check##*/}"
  start=$SECONDS
  bash "$check"
  echo "=== ${check##*/} passed in $((SECONDS - start)) s"
done
