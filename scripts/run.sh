#!/usr/bin/env bash
# Installs what is missing, builds the optimised program and opens its window.
set -euo pipefail
source "$(dirname "$0")/common.sh"

scripts/install-deps.sh
configure release
cmake --build --preset release --target tongqiu
exec build/release/ui/tongqiu
