#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs every fuzz target for FUZZ_SECONDS (default 15) each, which keeps the test command under 20
# minutes; fuzz/run.sh runs them longer by hand, and the test suite replays every corpus.
set -euo pipefail
cd "$(dirname "$0")/../.."

fuzz/run.sh "${FUZZ_SECONDS:-15}"
