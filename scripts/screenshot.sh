#!/usr/bin/env bash
# Opens the real window on a virtual X display, types 38, 4 and 76 as a user would, presses "计算"
# and saves a picture of the window.
# Usage: scripts/screenshot.sh [output.png] [scale]   (scale 1.5 shows it at 150 %)
set -euo pipefail
source "$(dirname "$0")/common.sh"

output=${1:-docs/window.png}
scale=${2:-1}
scripts/install-deps.sh xvfb xdotool imagemagick
configure release >/dev/null
cmake --build --preset release --target tongqiu

display=:$((100 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp &
xvfb=$!
program=
trap 'kill $program $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

QT_SCALE_FACTOR=$scale build/release/ui/tongqiu &
program=$!
window=$(xdotool search --sync --name '^Form1$' | head -n 1)
xdotool windowfocus --sync "$window"
xdotool type --delay 20 38
xdotool key Tab
xdotool type --delay 20 4
xdotool key Tab
xdotool type --delay 20 76
# The middle of "计算", at (316, 352) in the window's own pixels.
xdotool mousemove --window "$window" "$(awk "BEGIN{print int(316*$scale)}")" \
    "$(awk "BEGIN{print int(352*$scale)}")" click 1
sleep 0.5
mkdir -p "$(dirname "$output")"
import -window "$window" "$output"
echo "Saved $output"
