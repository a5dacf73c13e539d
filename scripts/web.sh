#!/usr/bin/env bash
# The page: builds build/web/tongqiu.html with Debian's Emscripten, runs the calculation and
# table tests as WebAssembly under Node, the page's tests in headless Chromium and WebKitGTK, and a
# smoke test in Chromium 86 and 109.
# Usage: scripts/web.sh [--build]   (--build: build the page only)
set -euo pipefail
source "$(dirname "$0")/common.sh"

scripts/install-deps.sh emscripten node-acorn libgtest-dev \
    chromium chromium-driver python3-selenium \
    webkit2gtk-driver xvfb xauth >/dev/null
# Closure, which minifies the engine's glue, from the npm registry (the version Emscripten 3.1.6
# was made with), kept where the web preset looks for it.
closure=$HOME/.cache/tongqiu/closure
[[ -x $closure/node_modules/.bin/google-closure-compiler ]] ||
    npm install --silent --no-audit --no-fund --prefix "$closure" google-closure-compiler@20220104.0.0 >/dev/null
configure web >/dev/null
cmake --build --preset web
[[ ${1:-} == --build ]] && exit 0
ctest --preset web
