// A smoke test of the page in an old Blink engine (Chromium 86 or 109) through puppeteer-core 5.3.1:
// the page becomes ready, computes the worked example, shows a failure at its field, and converts
// a GB18030 table to the download that the UTF-8 table gives. The full suite runs in today's
// engines (page_test.py).
// Usage: node old_chromium_test.js PAGE BROWSER_FOLDER PUPPETEER_FOLDER EXAMPLE_CSV
'use strict';
const assert = require('assert');
const fs = require('fs');
const os = require('os');
const path = require('path');

const [page, browserFolder, puppeteerFolder, example] = process.argv.slice(2);
const puppeteer = require(path.join(puppeteerFolder, 'node_modules', 'puppeteer-core'));

// The control whose accessible name is `name`: an input by its label, a button or a link by its
// text, as a screen reader names them on this page.
function named(tab, name) {
  return tab.evaluateHandle((wanted) => {
    const found = [...document.querySelectorAll('input, button, a')].filter((element) =>
      (element.labels && element.labels.length ? element.labels[0] : element).textContent.trim() === wanted);
    if (found.length !== 1) throw new Error(`${found.length} controls named ${wanted}`);
    return found[0];
  }, name);
}

async function valueOf(tab, name) {
  return (await named(tab, name)).evaluate((element) => element.value);
}

async function main() {
  const browser = await puppeteer.launch({
    executablePath: path.join(browserFolder, 'chromium'),
    args: ['--no-sandbox', '--no-zygote', '--single-process', '--disable-gpu', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    env: { ...process.env, LD_LIBRARY_PATH: path.join(browserFolder, 'lib') },
  });
  try {
    const tab = await browser.newPage();
    const version = await browser.version();
    await tab.setViewport({ width: 360, height: 640, isMobile: true });
    await tab.goto(`file://${path.resolve(page)}`);
    await tab.waitForFunction(() => !document.getElementById('Command1').disabled, { timeout: 20000 });

    for (const [name, text] of [['外径', '38'], ['壁厚', '4'], ['弯曲半径', '76']]) {
      await (await named(tab, name)).type(text);
    }
    await (await named(tab, '计算')).click();
    await tab.waitForFunction(() => document.getElementById('Text6').value);
    const results = [];
    for (const name of ['内径', 'R/Dw', '表10', '表10通球', '表11', '表11通球', '表12', '表12通球',
      '有拼接焊缝无弯头', '有弯头无拼接焊缝', '有弯头有拼接焊缝']) {
      results.push(await valueOf(tab, name));
    }
    assert.deepStrictEqual(results, ['30.00', '2.000000', '0.80', '24.00', '0.80', '24.00', '0.75',
      '22.50', '24.00', '24.00', '24.00'], version);

    const wall = await named(tab, '壁厚');
    await wall.click({ clickCount: 3 });
    await wall.type('四');
    await (await named(tab, '计算')).click();
    await tab.waitForFunction(() => document.querySelector('[role=alert]').textContent);
    assert.strictEqual(await tab.$eval('[role=alert]', (alert) => alert.innerText), '输入的不是数字。\n请检查“壁厚”。');
    assert.ok(await wall.evaluate((element) => element === document.activeElement), 'the focus on 壁厚');

    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'tongqiu-'));
    const downloads = [];
    for (const [encoding, bytes] of [['utf-8', fs.readFileSync(example)], ['gb18030', null]]) {
      const file = path.join(folder, `管子-${encoding}.csv`);
      fs.writeFileSync(file, bytes || require('child_process').execFileSync('iconv', ['-f', 'UTF-8', '-t', 'GB18030', example]));
      await (await named(tab, '选择 CSV 文件')).uploadFile(file);
      await tab.waitForFunction((name) => document.querySelector('[role=status]').textContent.startsWith(`${name}：共`) &&
        !document.getElementById('download').hidden, {}, path.basename(file));
      downloads.push(await (await named(tab, '下载结果')).evaluate(async (link) => [...new Uint8Array(
        await (await fetch(link.href)).arrayBuffer())]));
    }
    fs.rmSync(folder, { recursive: true });
    assert.deepStrictEqual(downloads[1], downloads[0], 'GB18030 and UTF-8 give the same download');
    const lines = Buffer.from(downloads[0]).toString('utf-8').split('\n');
    assert.ok(lines[0].startsWith('\ufeff序号,图号,外径(mm)'), lines[0]);
    assert.ok(lines[1].endsWith(',30.00,2.000000,0.80,24.00,0.80,24.00,0.75,22.50,24.00,24.00,24.00,'), lines[1]);
    console.log(`${version}: 1 passed, 0 failed`);
  } finally {
    // Chromium in one process may not end when asked to.
    await Promise.race([browser.close(), new Promise((resolve) => setTimeout(resolve, 5000))]);
    browser.process().kill('SIGKILL');
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
