// A smoke test of the page in an old Blink engine (Chromium 86 or 109) through puppeteer-core 5.3.1:
// it becomes ready, computes the worked example, shows a failure at its field, and gives the same
// download for a table in GB18030 as in UTF-8. The full suite runs in today's engines.
// Usage: node old_chromium_test.js PAGE BROWSER_FOLDER PUPPETEER_FOLDER EXAMPLE_CSV
'use strict';
const assert = require('assert');
const { execFileSync } = require('child_process');
const fs = require('fs');
const path = require('path');

const withOldChromium = require('../../scripts/old_chromium.js');

const [page, browserFolder, puppeteerFolder, example] = process.argv.slice(2);

// The control whose accessible name is `name`: an input by its label, a button or link by its text.
const named = (tab, name) => tab.evaluateHandle((wanted) => {
  const found = [...document.querySelectorAll('input, button, a')].filter((element) =>
    (element.labels && element.labels.length ? element.labels[0] : element).textContent.trim() === wanted);
  if (found.length !== 1) throw new Error(`${found.length} controls named ${wanted}`);
  return found[0];
}, name);

async function main(browser) {
  const tab = await browser.newPage();
  await tab.goto(`file://${path.resolve(page)}`);
  await tab.waitForFunction(() => !document.getElementById('Command1').disabled, { timeout: 20000 });
  for (const [name, text] of [['外径', '38'], ['壁厚', '4'], ['弯曲半径', '76']]) await (await named(tab, name)).type(text);
  await (await named(tab, '计算')).click();
  await tab.waitForFunction(() => document.getElementById('Text6').value);
  const results = await Promise.all(['内径', 'R/Dw', '表10', '表10通球', '表11', '表11通球', '表12', '表12通球',
    '有拼接焊缝无弯头', '有弯头无拼接焊缝', '有弯头有拼接焊缝'].map(async (name) => (await named(tab, name)).evaluate((e) => e.value)));
  assert.strictEqual(results.join(' '), '30.00 2.000000 0.80 24.00 0.80 24.00 0.75 22.50 24.00 24.00 24.00');

  const wall = await named(tab, '壁厚');
  await wall.click({ clickCount: 3 });
  await wall.type('四');
  await (await named(tab, '计算')).click();
  await tab.waitForFunction(() => document.querySelector('[role=alert]').textContent);
  assert.strictEqual(await tab.$eval('[role=alert]', (alert) => alert.innerText), '输入的不是数字。\n请检查“壁厚”。');
  assert.ok(await wall.evaluate((element) => element === document.activeElement), 'the focus on 壁厚');

  const downloads = [];
  const gb18030 = path.join(fs.mkdtempSync(path.join(require('os').tmpdir(), 'tongqiu-')), 'gb18030.csv');
  fs.writeFileSync(gb18030, execFileSync('iconv', ['-f', 'UTF-8', '-t', 'GB18030', example]));
  for (const file of [example, gb18030]) {
    await (await named(tab, '选择 CSV 或 Excel 文件')).uploadFile(file);
    await tab.waitForFunction((name) => document.getElementById('table-status').textContent.startsWith(`${name}：共`),
      {}, path.basename(file));
    downloads.push(await (await named(tab, '下载结果')).evaluate(async (link) =>
      new TextDecoder().decode(await (await fetch(link.href)).arrayBuffer())));
  }
  fs.rmSync(path.dirname(gb18030), { recursive: true });
  assert.strictEqual(downloads[1], downloads[0], 'GB18030 and UTF-8 give the same download');
  assert.ok(downloads[0].includes('\n1,HS-101,38,4,76,过热器,30.00,2.000000,0.80,24.00,0.80,24.00,0.75,22.50,24.00,24.00,24.00,\n'));
  console.log(`${await browser.version()}: 1 passed, 0 failed`);
}

// Chromium 86 in one process has been seen, beside other busy processes, to stop answering before
// the page has loaded, spinning; it then never recovers. Such a run is tried once more in a new
// browser, and said so; any other failure fails at once.
async function run() {
  try {
    await withOldChromium(browserFolder, puppeteerFolder, main, 90000);
  } catch (error) {
    if (error.message !== 'stalled') throw error;
    console.log('the browser stalled for 90 s; once more in a new one');
    await withOldChromium(browserFolder, puppeteerFolder, main, 90000);
  }
}

run().catch((error) => {
  console.error(error);
  process.exit(1);
});
