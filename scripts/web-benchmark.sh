#!/usr/bin/env bash
# The page's numbers: its size (raw and gzip-compressed, whole and by part), Lighthouse's mobile scores with the page
# served from 127.0.0.1, and the time of a generated table converted in the page in today's
# Chromium and in Chromium 86 and 109.
# Usage: scripts/web-benchmark.sh [ROWS] [RUNS]   (default 100000 rows, best of 3)
set -euo pipefail
cd "$(dirname "$0")/.."
rows=${1:-100000}
runs=${2:-3}

scripts/web.sh --build >/dev/null
page=build/web/tongqiu.html
echo "tongqiu.html: $(stat -c %s "$page") bytes, $(gzip -9c "$page" | wc -c) gzip-compressed; by part:"
python3 scripts/page_sizes.py build/web

# Lighthouse from the npm registry (its 12.x line runs on Node 18 and 20), kept in the cache.
tools=${XDG_CACHE_HOME:-$HOME/.cache}/tongqiu/lighthouse
[[ -x $tools/node_modules/.bin/lighthouse ]] ||
    npm install --silent --no-audit --no-fund --prefix "$tools" lighthouse@12.8.2 >/dev/null
# Served as a web server set up for text serves it (gzip), and then as plain bytes.
lighthouse() {  # gzip or plain
    local port=$((20000 + RANDOM % 10000)) report plain=()
    [[ $1 == plain ]] && plain=(--plain)
    report=$(mktemp --suffix=.json)
    python3 scripts/serve_page.py "$port" build/web "${plain[@]}" &
    local server=$!
    sleep 1
    CHROME_PATH=/usr/bin/chromium "$tools/node_modules/.bin/lighthouse" \
        "http://127.0.0.1:$port/tongqiu.html" --quiet --output=json --output-path="$report" \
        --only-categories=performance,accessibility,best-practices \
        --chrome-flags="--headless=new --no-sandbox --disable-gpu --no-first-run \
--disable-background-networking --disable-component-update --disable-sync"
    kill "$server"
    node -e '
        const report = JSON.parse(require("fs").readFileSync(process.argv[1]));
        const scores = Object.values(report.categories).map((c) => `${c.title} ${Math.round(c.score * 100)}`);
        const metrics = ["first-contentful-paint", "total-blocking-time", "largest-contentful-paint"]
            .map((id) => `${report.audits[id].title} ${report.audits[id].displayValue}`);
        console.log(`Lighthouse, mobile, ${process.argv[2]}: ${scores.join(", ")}`);
        console.log(`  ${metrics.join(", ")}`);' "$report" "$1"
    rm -f "$report"
}
# Three runs served compressed, as the scores vary from run to run; one as plain bytes.
for run in 1 2 3; do lighthouse gzip; done
lighthouse plain

# One generated table for every browser, and workbooks of it and of a tenth of it.
tables=$(mktemp -d)
trap 'rm -rf "$tables"' EXIT
table=$tables/tubes.csv
scripts/tubes-table.sh "$rows" "$table"
scripts/tubes-table.sh "$rows" "$tables/tubes.xlsx"
scripts/tubes-table.sh "$((rows / 10))" "$tables/tubes-tenth.xlsx"
/usr/bin/python3 scripts/web_table_time.py "$page" "$table" "$runs" "$rows"
/usr/bin/python3 scripts/web_table_time.py "$page" "$tables/tubes.xlsx" "$runs" "$rows"
/usr/bin/python3 scripts/web_table_time.py "$page" "$tables/tubes-tenth.xlsx" "$runs" "$((rows / 10))"
old=$(scripts/old-chromium.sh)
# Single-process old Chromium has hung on a page whose worker was busy; a figure that does not
# come in time is reported missing rather than holding up the run.
for version in 86 109; do
    timeout 300 node scripts/old_chromium_table_time.js "$page" "$old/$version" "$old/npm/puppeteer" \
        "$table" "$runs" || echo "Chromium $version: no figure (the timing did not end within 300 s)"
done
