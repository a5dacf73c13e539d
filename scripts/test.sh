#!/usr/bin/env bash
# Installs what is missing, builds with a CMake preset and runs every test.
# Usage: scripts/test.sh [preset]   presets: release (default), dev, ci, sanitize
# Except under the sanitizers, the page's tests run too (scripts/web.sh).
set -euo pipefail
source "$(dirname "$0")/common.sh"

preset=${1:-release}
scripts/install-deps.sh
configure "$preset"
cmake --build --preset "$preset"
ctest --preset "$preset"
[[ $preset == sanitize ]] || scripts/web.sh
