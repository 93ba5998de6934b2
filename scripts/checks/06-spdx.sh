#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Every source the project wrote carries its licence's SPDX line.
set -euo pipefail
cd "$(dirname "$0")/../.."
python3 scripts/check_spdx.py
