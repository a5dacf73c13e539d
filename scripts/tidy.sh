#!/usr/bin/env bash
# Runs clang-tidy with the project's .clang-tidy over every source file of the ci build.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh clang-tidy
cmake --preset ci >/dev/null
cmake --build --preset ci  # the generated Qt sources must exist
files=$(git ls-files 'calc/*.cpp' 'ui/*.cpp' 'tests/*.cpp' 'bench/*.cpp')
run-clang-tidy -p build/ci -quiet -j "$(nproc)" $files
