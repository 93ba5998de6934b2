#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The web configurator: builds it with Debian's emscripten, warnings as errors, and runs its browser
# test: Debian's Chromium, headless and driven by puppeteer-core, opens the built page from disk.
# Installs what only this check needs when it is missing.
set -euo pipefail
cd "$(dirname "$0")/../.."

scripts/setup.sh web browser
# Debian's nodejs comes without npm, which a Node from elsewhere (Provides: npm) already brings.
if ! command -v npm >/dev/null; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends npm
fi
(cd web && npm ci --no-audit --no-fund --loglevel=error)

build=${BUILD_DIR:-build/web-check}
BUILD_DIR=$build scripts/web.sh build -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
start=$SECONDS
GATTDB_WEB_SITE=$PWD/$build/site npm --prefix web test
echo "60-web: browser test took $((SECONDS - start)) s"
