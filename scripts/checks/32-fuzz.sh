#!/usr/bin/env bash
# Runs every fuzz target for FUZZ_SECONDS (default 60) each; fuzz/run.sh runs them longer by hand.
set -euo pipefail
cd "$(dirname "$0")/../.."

fuzz/run.sh "${FUZZ_SECONDS:-60}"
