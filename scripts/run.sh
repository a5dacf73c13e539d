#!/usr/bin/env bash
# Installs what is missing, builds the optimised program and opens its window.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release
cmake --build --preset release --target tongqiu
exec build/release/ui/tongqiu
