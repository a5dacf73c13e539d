// Times a generated table of tubes through the page in an old Chromium (86 or 109), as
// web_table_time.py does in today's: from choosing the file until 下载结果 is offered.
// Usage: node old_chromium_table_time.js PAGE BROWSER_FOLDER PUPPETEER_FOLDER ROWS RUNS
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');

const [page, browserFolder, puppeteerFolder, rows, runs] = process.argv.slice(2);
const puppeteer = require(path.join(puppeteerFolder, 'node_modules', 'puppeteer-core'));

async function main() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'tongqiu-'));
  const table = path.join(folder, 'tubes.csv');
  const lines = ['序号,外径,壁厚,弯曲半径'];
  for (let i = 0; i < Number(rows); ++i) lines.push(`${i},${25 + i % 90},${2 + i % 5}.5,${40 + i % 300}`);
  fs.writeFileSync(table, `${lines.join('\n')}\n`);
  const browser = await puppeteer.launch({
    executablePath: path.join(browserFolder, 'chromium'),
    args: ['--no-sandbox', '--no-zygote', '--single-process', '--disable-gpu', '--no-first-run'],
    env: { ...process.env, LD_LIBRARY_PATH: path.join(browserFolder, 'lib') },
  });
  const times = [];
  try {
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
    }
    console.log(`${await browser.version()}: ${rows} rows (${(fs.statSync(table).size / 1e6).toFixed(1)} MB) ` +
      `in the page: best of ${runs} ${(Math.min(...times) / 1000).toFixed(2)} s, all ${times.map(Math.round)} ms`);
  } finally {
    await Promise.race([browser.close(), new Promise((resolve) => setTimeout(resolve, 5000))]);
    browser.process().kill('SIGKILL');
    fs.rmSync(folder, { recursive: true });
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
