// Times a table of tubes through the page in an old Chromium (86 or 109), as web_table_time.py
// does in today's: from choosing the file until 下载结果 is offered.
// Usage: node old_chromium_table_time.js PAGE BROWSER_FOLDER PUPPETEER_FOLDER TABLE RUNS
'use strict';
const fs = require('fs');
const path = require('path');

const withOldChromium = require('./old_chromium.js');

const [page, browserFolder, puppeteerFolder, table, runs] = process.argv.slice(2);

async function main() {
  const rows = fs.readFileSync(table, 'utf8').split('\n').length - 2;  // no header, no last line
  const times = [];
  await withOldChromium(browserFolder, puppeteerFolder, async (browser) => {
    const tab = await browser.newPage();
    for (let run = 0; run < Number(runs); ++run) {
      await tab.goto(`file://${path.resolve(page)}`);
      await tab.waitForFunction(() => !document.getElementById('file').disabled, { timeout: 20000 });
      await tab.evaluate(() => document.getElementById('file').addEventListener('change', () => {
        window.started = performance.now();
      }));
      await (await tab.$('#file')).uploadFile(table);
      await tab.waitForFunction(() => !document.getElementById('download').hidden, { timeout: 120000, polling: 5 });
      times.push(await tab.evaluate(() => performance.now() - window.started));
      // The workbook the page then makes of a CSV: a single-process Chromium would not leave the
      // page while its worker is still at it.
      await tab.waitForFunction(() => !document.getElementById('download-xlsx').hidden, { timeout: 120000, polling: 100 });
    }
    console.log(`${await browser.version()}: ${rows} rows (${(fs.statSync(table).size / 1e6).toFixed(1)} MB) ` +
      `in the page: best of ${runs} ${(Math.min(...times) / 1000).toFixed(2)} s, all ${times.map(Math.round)} ms`);
  });
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
