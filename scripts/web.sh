#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The web configurator: the library and the tool core compiled to WebAssembly by Debian's emscripten,
# and the page, written into one folder that works from file:// and from any static host.
#   scripts/web.sh build [CMAKE_ARGS...]   build it into build/web/site (BUILD_DIR=... for another folder)
#   scripts/web.sh [PORT]                  build it and serve it on http://127.0.0.1:PORT/ (default 8000)
#   scripts/web.sh bench [RUNS]            build it and measure it in headless Chromium (web/bench.js),
#                                          RUNS runs (default 3); fails when a run misses a target
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build/web}
command -v emcmake >/dev/null || scripts/setup.sh
# Emscripten's JavaScript optimizer runs on the machine's node, which finds Debian's acorn only here.
export NODE_PATH=${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs

serve=true
bench=false
if [ "${1:-}" = build ]; then
  serve=false
  shift
elif [ "${1:-}" = bench ]; then
  serve=false
  bench=true
  shift
  runs=${1:-3}
  [ $# -gt 0 ] && shift
fi
port=8000
if $serve && [ $# -gt 0 ]; then
  port=$1
  shift
fi

mkdir -p "$build"
emcmake cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DGATTDB_BUILD_WEB=ON -DGATTDB_BUILD_EXAMPLES=OFF -DGATTDB_INSTALL=OFF "$@" >"$build/configure.log" 2>&1 ||
  { cat "$build/configure.log" >&2; exit 1; }
cmake --build "$build" -j "$(nproc)"
site=$(cd "$build/site" && pwd)
echo "web: the configurator is $site/index.html"
if $bench; then
  [ -d web/node_modules/puppeteer-core ] || (cd web && npm ci --no-audit --no-fund --loglevel=error)
  exec env GATTDB_WEB_SITE="$site" node web/bench.js "$runs"
fi
$serve || exit 0
echo "web: serving it at http://127.0.0.1:$port/ (Ctrl-C stops)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site"
