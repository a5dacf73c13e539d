#!/usr/bin/env bash
# Measures tongqiu-batch with the bench's kit on a generated table of ROWS tubes (default 100,000):
# the time and peak memory with a kit of 200 balls against without it (best of RUNS runs each,
# default 3, taken in turn), and --check of a filled 通球记录 of ROWS tubes.
# Usage: scripts/kit-benchmark.sh [ROWS] [RUNS]
set -euo pipefail
source "$(dirname "$0")/common.sh"

rows=${1:-100000}
runs=${2:-3}
scripts/install-deps.sh time python3-openpyxl >/dev/null
configure release >/dev/null
cmake --build --preset release --target tongqiu-batch >/dev/null

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
batch=build/release/batch/tongqiu-batch

# One run: "seconds peak-KiB" of tongqiu-batch with the arguments given.
run() {
    /usr/bin/time -f "%e %M" -o "$scratch/time" "$batch" "$@" >/dev/null 2>&1 || true
    tail -n 1 "$scratch/time"
}

# The best time and memory of each of the two ways, run in turn: $1 the output, then the input.
compare() {
    local out=$1 in=$2 plain kit best_plain="" best_kit="" mem_plain mem_kit
    for ((i = 1; i <= runs; ++i)); do
        read -r plain mem_plain < <(run -o "$scratch/$out" "$in")
        read -r kit mem_kit < <(run --balls "$scratch/kit.csv" -o "$scratch/kit-$out" "$in")
        best_plain=$(awk -v a="$plain" -v b="${best_plain:-$plain}" 'BEGIN { print (a < b ? a : b) }')
        best_kit=$(awk -v a="$kit" -v b="${best_kit:-$kit}" 'BEGIN { print (a < b ? a : b) }')
    done
    awk -v what="$(basename "$in") -> $out" -v p="$best_plain" -v k="$best_kit" -v mp="$mem_plain" \
        -v mk="$mem_kit" 'BEGIN {
        printf "%-24s without kit %5.2f s %6.1f MB, with 200 balls %5.2f s %6.1f MB: %.2fx\n",
            what, p, mp / 1024, k, mk / 1024, k / p }'
}

scripts/tubes-table.sh "$rows" "$scratch/tubes.csv"
scripts/tubes-table.sh "$rows" "$scratch/tubes.xlsx"
awk 'BEGIN { print "球号,直径(mm)"; for (i = 0; i < 200; ++i) printf "B%03d,%.2f\n", i + 1, 5 + i * 0.5 }' \
    >"$scratch/kit.csv"
echo "input: $rows rows; a kit of 200 balls, 5.00 to 104.50 mm"
compare out.csv "$scratch/tubes.csv"
compare out.xlsx "$scratch/tubes.xlsx"

# The record of the workbook just written, filled in as the bench would: every tube tested.
/usr/bin/python3 - "$scratch/kit-out.xlsx" "$scratch/filled.xlsx" <<'PY'
import datetime, sys
import openpyxl
source = openpyxl.load_workbook(sys.argv[1], read_only=True)["通球记录"]
book = openpyxl.Workbook(write_only=True)
sheet = book.create_sheet("通球记录")
rows = source.iter_rows(values_only=True)
for row in rows:
    sheet.append(list(row))
    if row[0] == "序号":
        columns = {name: i for i, name in enumerate(row)}  # the last of each: those filled in
        suggested = row.index("球号")  # the kit's ball for the first kind
        break
for row in rows:
    row = list(row)
    if isinstance(row[0], int):
        row[columns["球号"]] = row[suggested]
        row[columns["结果"]] = "合格" if row[suggested] else None
        row[columns["检验员"]], row[columns["日期"]] = "王工", datetime.date(2026, 12, 9)
    elif isinstance(row[0], str):
        row[0] = row[0].replace("＿＿＿＿＿＿＿＿", "王工", 1)
    sheet.append(row)
book.save(sys.argv[2])
PY
read -r seconds kib < <(run --check "$scratch/filled.xlsx" --balls "$scratch/kit.csv")
("$batch" --check "$scratch/filled.xlsx" --balls "$scratch/kit.csv" || true) | head -n 1 |
    sed "s|$scratch/||"
awk -v s="$seconds" -v kib="$kib" 'BEGIN { printf "--check of the filled record: %.2f s, peak memory %.1f MB\n", s, kib / 1024 }'
