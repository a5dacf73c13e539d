#!/usr/bin/env bash
# The page's numbers: its size (raw and gzip-compressed), Lighthouse's mobile scores with the page
# served from 127.0.0.1, and the time of a generated table converted in the page.
# Usage: scripts/web-benchmark.sh [ROWS] [RUNS]   (default 100000 rows, best of 3)
set -euo pipefail
cd "$(dirname "$0")/.."
rows=${1:-100000}
runs=${2:-3}

scripts/web.sh --build >/dev/null
page=build/web/tongqiu.html
echo "tongqiu.html: $(stat -c %s "$page") bytes, $(gzip -9c "$page" | wc -c) gzip-compressed"

# Lighthouse from the npm registry (its 12.x line runs on Node 18 and 20), kept in the cache.
tools=${XDG_CACHE_HOME:-$HOME/.cache}/tongqiu/lighthouse
[[ -x $tools/node_modules/.bin/lighthouse ]] ||
    npm install --silent --no-audit --no-fund --prefix "$tools" lighthouse@12.8.2 >/dev/null
port=$((20000 + RANDOM % 10000))
python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
sleep 1
report=$(mktemp)
CHROME_PATH=/usr/bin/chromium "$tools/node_modules/.bin/lighthouse" \
    "http://127.0.0.1:$port/tongqiu.html" --quiet --output=json --output-path="$report" \
    --only-categories=performance,accessibility,best-practices \
    --chrome-flags="--headless=new --no-sandbox --disable-gpu --no-first-run \
--disable-background-networking --disable-component-update --disable-sync"
node -e '
    const report = require(process.argv[1]);
    const scores = Object.values(report.categories).map((c) => `${c.title} ${Math.round(c.score * 100)}`);
    console.log(`Lighthouse, mobile: ${scores.join(", ")}`);
    for (const audit of Object.values(report.audits)) {
        if (audit.score !== null && audit.score < 1 && audit.scoreDisplayMode !== "informative") {
            console.log(`  ${audit.id}: ${audit.score} ${audit.displayValue || ""}`);
        }
    }' "$report"
rm -f "$report"

/usr/bin/python3 scripts/web_table_time.py "$page" "$rows" "$runs"
