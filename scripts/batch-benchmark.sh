#!/usr/bin/env bash
# Measures tongqiu-batch on a generated table of ROWS tubes (default one million), as CSV and as a
# workbook, into each format: time, rows per second and peak memory, CSV to CSV best of RUNS runs
# (default 3).
# Usage: scripts/batch-benchmark.sh [ROWS] [RUNS]
set -euo pipefail
source "$(dirname "$0")/common.sh"

rows=${1:-1000000}
runs=${2:-3}
scripts/install-deps.sh time >/dev/null
configure release >/dev/null
cmake --build --preset release --target tongqiu-batch >/dev/null

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The lesser of two times in seconds; the second alone while the first is empty.
least() { if [[ -z $1 ]]; then echo "$2"; else awk -v a="$1" -v b="$2" 'BEGIN { print (b < a ? b : a) }'; fi; }

# Best of $3 runs: seconds and peak memory in MB of tongqiu-batch converting $1 into $2; the
# seconds are kept in `measured` too.
measure() {
    local best_time="" best_memory="" seconds kib status
    for ((run = 1; run <= $3; ++run)); do
        status=0
        /usr/bin/time -f "%e %M" -o "$scratch/time" build/release/batch/tongqiu-batch \
            -o "$2" "$1" 2>/dev/null || status=$?
        [[ $status -eq 1 ]] || { echo "unexpected exit status $status"; exit 1; }
        read -r seconds kib < <(tail -n 1 "$scratch/time")  # after "Command exited with ..."
        best_time=$(least "$best_time" "$seconds")
        if [[ -z $best_memory || $kib -lt $best_memory ]]; then best_memory=$kib; fi
    done
    measured=$best_time
    awk -v rows="$rows" -v s="$best_time" -v kib="$best_memory" -v what="$(basename "$1") -> $(basename "$2")" 'BEGIN {
        printf "%-26s best of runs: %6.2f s, %7d rows/s, peak memory %6.1f MB\n", what, s, rows / s, kib / 1024
    }'
}

scripts/tubes-table.sh "$rows" "$scratch/tubes.csv"
scripts/tubes-table.sh "$rows" "$scratch/tubes.xlsx"
echo "input: $rows rows, CSV $(du -h "$scratch/tubes.csv" | cut -f1), workbook $(du -h "$scratch/tubes.xlsx" | cut -f1)"
measure "$scratch/tubes.csv" "$scratch/out.csv" "$runs"
csv_seconds=$measured
[[ $(wc -l <"$scratch/out.csv") -eq $((rows + 1)) ]] || { echo "rows missing from the output"; exit 1; }
# A workbook takes ten times as long as CSV; one run of each is enough for the record.
measure "$scratch/tubes.xlsx" "$scratch/out.xlsx" 1
measure "$scratch/tubes.xlsx" "$scratch/out-from-workbook.csv" 1
measure "$scratch/tubes.csv" "$scratch/out-from-csv.xlsx" 1

# The floor any converter of this table stands on: awk reading each row and writing it again with
# its inner diameter and R/Dw, on the same CSV in the same run; tongqiu-batch's best against it.
awk_seconds=""
for ((run = 1; run <= runs; ++run)); do
    LC_ALL=C /usr/bin/time -f "%e" -o "$scratch/time" awk -F, 'NR == 1 { print $0 ",内径,R/Dw"; next }
        { printf "%s,%.2f,%.6f\n", $0, $2 - 2 * $3, $4 / $2 }' "$scratch/tubes.csv" >"$scratch/awk.csv"
    awk_seconds=$(least "$awk_seconds" "$(tail -n 1 "$scratch/time")")
done
awk -v a="$awk_seconds" -v b="$csv_seconds" 'BEGIN {
    printf "awk, the same CSV with 内径 and R/Dw: %.2f s; tongqiu-batch %.2f s, %.2f times as long\n", a, b, b / a
}'
