#!/usr/bin/env bash
# Builds the libFuzzer targets with Clang and the address and undefined-behaviour sanitizers and
# runs each from its seed corpus for a while. Usage: scripts/fuzz.sh [seconds]   (default 60 each)
# New inputs go to a scratch folder; a crashing input is left in the current folder.
set -euo pipefail
source "$(dirname "$0")/common.sh"

seconds=${1:-60}
scripts/install-deps.sh clang libclang-rt-dev
configure fuzz
cmake --build --preset fuzz
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/calculate" "$scratch/number-format" "$scratch/record" "$scratch/table" "$scratch/workbook"
build/fuzz/fuzz/calculate_fuzzer -max_total_time="$seconds" -dict=fuzz/calculate.dict \
    -print_final_stats=1 "$scratch/calculate" fuzz/corpus
build/fuzz/fuzz/number_format_fuzzer -max_total_time="$seconds" -dict=fuzz/number_format.dict -timeout=10 \
    -print_final_stats=1 "$scratch/number-format" fuzz/number-format-corpus
build/fuzz/fuzz/record_fuzzer -max_total_time="$seconds" -dict=fuzz/table.dict \
    -print_final_stats=1 "$scratch/record" fuzz/record-corpus
build/fuzz/fuzz/table_fuzzer -max_total_time="$seconds" -dict=fuzz/table.dict \
    -print_final_stats=1 "$scratch/table" fuzz/table-corpus
# Seeded too with the workbooks made to cost memory and time, the small ones: the largest take
# many seconds each under the sanitizers, which would leave no time to fuzz. The reader's bounds
# keep every input within half a gigabyte (under the sanitizers) and the timeout.
python3 tests/table/hostile_workbooks.py --corpus "$scratch/hostile"
find "$scratch/hostile" -size +160k -delete
build/fuzz/fuzz/workbook_fuzzer -max_total_time="$seconds" -dict=fuzz/workbook.dict \
    -rss_limit_mb=512 -timeout=60 -print_final_stats=1 "$scratch/workbook" fuzz/workbook-corpus \
    "$scratch/hostile"
