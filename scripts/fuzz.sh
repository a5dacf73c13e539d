#!/usr/bin/env bash
# Builds the libFuzzer target with Clang and the address and undefined-behaviour sanitizers and
# runs it from the seed corpus for a while. Usage: scripts/fuzz.sh [seconds]   (default 60)
# New inputs go to a scratch folder; a crashing input is left in the current folder.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
scripts/install-deps.sh clang libclang-rt-dev
cmake --preset fuzz
cmake --build --preset fuzz
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
build/fuzz/fuzz/calculate_fuzzer -max_total_time="$seconds" -dict=fuzz/calculate.dict \
    -print_final_stats=1 "$scratch" fuzz/corpus
