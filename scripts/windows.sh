#!/usr/bin/env bash
# The Windows program, built and tried here: cross-compiles it with MinGW-w64 against the Windows
# Qt that scripts/windows-qt.sh builds (once), runs every test as a Windows program under Wine
# (the window tests headless and with Windows' own platform plugin on an Xvfb display), makes
# build/windows/tongqiu-<version>-win64.zip, and then uses the unzipped program as a person would:
# types 38, 4 and 76 into its window, presses "计算", copies a result, and leaves through "退出".
# Usage: scripts/windows.sh [SCREENSHOT.png]   (the window under Wine after the calculation)
set -euo pipefail
source "$(dirname "$0")/common.sh"
screenshot=${1:-}

scripts/install-deps.sh g++-mingw-w64-x86-64-posix libgtest-dev wine wine64 xvfb xdotool xclip \
    icoutils unzip imagemagick >/dev/null
TONGQIU_WINDOWS_QT=$(scripts/windows-qt.sh)
export TONGQIU_WINDOWS_QT WINEDEBUG=-all
scratch=$(mktemp -d)
export WINEPREFIX=$scratch/wine-tests

# One display for everything that shows a window; no window manager, as on a bare Xvfb.
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
    for prefix in "$scratch"/wine-*; do WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; done
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
export DISPLAY=$display

configure windows
cmake --build --preset windows
# A Wine server that outlives each test, so that none holds a test's output open after it ended.
mkdir -p "$WINEPREFIX" && wineserver -p
wineboot --init >/dev/null 2>&1
ctest --preset windows

scripts/web.sh --build >/dev/null  # the page goes into the ZIP too
(cd build/windows && cpack -G ZIP >/dev/null)
zip=$(ls build/windows/tongqiu-*-win64.zip)
echo "== $zip"
listing=$(unzip -l "$zip")  # read whole: grep -q leaving early would break a pipe from unzip
awk 'NR > 3 && $4 != "" { print "  " $4 }' <<<"$listing" | grep -v -- '----'
for file in tongqiu.html 使用说明.html; do
    grep -q "/$file$" <<<"$listing" || { echo "the ZIP has no $file"; exit 1; }
done

# The executable: a GUI program (no console window) with its icon and version resource.
program=$scratch/unzipped
unzip -q "$zip" -d "$program"
exe=$(find "$program" -name tongqiu.exe)
folder=$(dirname "$exe")
headers=$(x86_64-w64-mingw32-objdump -p "$exe")
grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" || { echo "tongqiu.exe is not a GUI program"; exit 1; }
resources=$(wrestool -l "$exe")
grep -q 'type=14' <<<"$resources" || { echo "tongqiu.exe has no icon"; exit 1; }
grep -q 'type=16' <<<"$resources" || { echo "tongqiu.exe has no version resource"; exit 1; }

# The unzipped program in a fresh Wine prefix, which knows nothing of the build.
export WINEPREFIX=$scratch/wine-user WINEPATH=
mkdir -p "$WINEPREFIX" && wineserver -p
wineboot --init >/dev/null 2>&1
(cd "$folder" && exec wine tongqiu.exe) &
program_pid=$!
# Looked for again until it shows: a search fails outright (BadWindow) when one of Wine's own
# windows goes away while it is being looked at.
window=
for _ in $(seq 60); do
    window=$(xdotool search --onlyvisible --name '^Form1$' 2>/dev/null | head -1) || true
    [[ -n $window ]] && break
    sleep 1
done
[[ -n $window ]] || { echo "tongqiu.exe showed no window under Wine"; exit 1; }
xdotool windowmove "$window" 0 0
sleep 1

# Positions inside the window, in pixels: the form's twips divided by 15, at a box's middle.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }
click 84 52 # 外径 (Text1), which also rests the pointer on the window for the keys
xdotool type --delay 50 38
xdotool key Tab && xdotool type --delay 50 4
xdotool key Tab && xdotool type --delay 50 76
click 316 352 # 计算
sleep 1
click 152 388 # 有弯头有拼接焊缝 (Text6)
xdotool key ctrl+a ctrl+c
sleep 0.5
result=$(xclip -o -selection clipboard)
[[ $result == 24.00 ]] || { echo "the window under Wine shows '$result', not 24.00"; exit 1; }
echo "== under Wine, 38 / 4 / 76 gives 有弯头有拼接焊缝 $result"
if [[ -n $screenshot ]]; then
    import -window "$window" "$root/$screenshot"
    echo "== screenshot: $screenshot"
fi

click 396 352 # 退出
sleep 1
xdotool key Return # 是 is the default answer
for _ in $(seq 50); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$program_pid" 2>/dev/null; then
    echo "tongqiu.exe did not end after 退出 and 是"
    exit 1
fi
echo "== tongqiu.exe ended after 退出 and 是"

# The batch program from the ZIP computes the example table; one of its tubes fails.
configure release >/dev/null
cmake --build --preset release --target tongqiu-batch >/dev/null
status=0
(cd "$folder" && wine tongqiu-batch.exe -o "$(winepath -w "$scratch/example.csv")" \
    "$(winepath -w "$root/docs/example.csv")" 2>/dev/null) || status=$?
[[ $status -eq 1 ]] || { echo "tongqiu-batch.exe ended with $status, not 1"; exit 1; }
build/release/batch/tongqiu-batch -o "$scratch/example-linux.csv" docs/example.csv 2>/dev/null || true
cmp "$scratch/example-linux.csv" "$scratch/example.csv" ||
    { echo "tongqiu-batch.exe and tongqiu-batch differ"; exit 1; }
# A workbook too: the same cells, each with the same value, number format and weight (the files
# differ in the time they were made).
(cd "$folder" && wine tongqiu-batch.exe -o "$(winepath -w "$scratch/example.xlsx")" \
    "$(winepath -w "$root/docs/example.xlsx")" 2>/dev/null) || status=$?
[[ $status -eq 1 ]] || { echo "tongqiu-batch.exe ended with $status on the workbook, not 1"; exit 1; }
build/release/batch/tongqiu-batch -o "$scratch/example-linux.xlsx" docs/example.xlsx 2>/dev/null || true
/usr/bin/python3 -c '
import sys, openpyxl
def cells(path):
    sheet = openpyxl.load_workbook(path).active
    return sheet.title, [[(c.value, c.number_format, c.font.b) for c in row] for row in sheet.iter_rows()]
sys.exit(cells(sys.argv[1]) != cells(sys.argv[2]))' "$scratch/example-linux.xlsx" "$scratch/example.xlsx" ||
    { echo "tongqiu-batch.exe and tongqiu-batch write different workbooks"; exit 1; }
echo "== tongqiu-batch.exe gives what tongqiu-batch gives, for CSV and workbooks"
echo "windows ok: $zip"
