#!/usr/bin/env bash
# Checks every source file against .clang-format, then runs clang-tidy with the project's
# .clang-tidy over the sources of the ci build.
set -euo pipefail
source "$(dirname "$0")/common.sh"

scripts/install-deps.sh clang-tidy clang-format
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
configure ci >/dev/null
cmake --build --preset ci  # the generated Qt sources must exist
files=$(git ls-files 'calc/*.cpp' 'ui/*.cpp' 'table/*.cpp' 'batch/*.cpp' 'tests/*.cpp' 'bench/*.cpp')
run-clang-tidy -p build/ci -quiet -j "$(nproc)" $files
