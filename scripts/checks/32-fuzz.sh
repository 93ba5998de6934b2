#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs every fuzz target for FUZZ_SECONDS (default 30) each, which keeps the test command near 15
# minutes; fuzz/run.sh runs them longer by hand.
set -euo pipefail
cd "$(dirname "$0")/../.."

fuzz/run.sh "${FUZZ_SECONDS:-30}"
