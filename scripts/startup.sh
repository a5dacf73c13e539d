#!/usr/bin/env bash
# Measures start-up: the time from starting the program to its window being mapped on an X
# display (Xvfb), and its peak memory, against a minimal Qt Widgets program with one empty window.
# The two run in turn, so both see the same machine. Usage: scripts/startup.sh [runs]  (default 30)
set -euo pipefail
source "$(dirname "$0")/common.sh"

runs=${1:-30}
scripts/install-deps.sh xvfb libx11-dev
configure release >/dev/null
cmake --build --preset release --target tongqiu minimal_window time_to_map >/dev/null

display=:$((100 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp 2>/dev/null &
xvfb=$!
trap 'kill $xvfb' EXIT
export DISPLAY=$display
sleep 1

results=$(mktemp)
for _ in $(seq "$runs"); do
    for program in tongqiu minimal_window; do
        path=build/release/ui/tongqiu
        [[ $program == tongqiu ]] || path=build/release/bench/startup/minimal_window
        echo "$program $(build/release/bench/startup/time_to_map "$path" 2>/dev/null)" >>"$results"
    done
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
printf '%-16s %14s %16s\n' program "median ms" "median peak KiB"
for program in tongqiu minimal_window; do
    ms=$(awk -v p=$program '$1 == p { print $2 }' "$results" | median)
    kib=$(awk -v p=$program '$1 == p { print $3 }' "$results" | median)
    printf '%-16s %14s %16s\n' "$program" "$ms" "$kib"
done
rm -f "$results"
