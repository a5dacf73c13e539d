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
configure web >/dev/null
cmake --build --preset web
[[ ${1:-} == --build ]] && exit 0
ctest --preset web
