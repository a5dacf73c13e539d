// Runs `use(browser)` in an old headless Chromium (86 or 109) that scripts/old-chromium.sh
// unpacked, through the puppeteer-core it installed beside, and ends the browser whatever happens.
// Given `stallMs`, a use that has not ended by then fails with the message "stalled".
'use strict';
const path = require('path');

module.exports = async function withOldChromium(browserFolder, puppeteerFolder, use, stallMs) {
  const puppeteer = require(path.join(puppeteerFolder, 'node_modules', 'puppeteer-core'));
  const browser = await puppeteer.launch({
    executablePath: path.join(browserFolder, 'chromium'),
    args: ['--no-sandbox', '--no-zygote', '--single-process', '--disable-gpu', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    env: { ...process.env, LD_LIBRARY_PATH: path.join(browserFolder, 'lib') },
    handleSIGTERM: false,
  });
  // Ended from outside (a timeout): the browser goes too, at once.
  process.once('SIGTERM', () => {
    browser.process().kill('SIGKILL');
    process.exit(1);
  });
  try {
    if (!stallMs) return await use(browser);
    let timer;
    const stalled = new Promise((resolve, reject) => {
      timer = setTimeout(() => reject(new Error('stalled')), stallMs);
    });
    try {
      return await Promise.race([use(browser), stalled]);
    } finally {
      clearTimeout(timer);
    }
  } finally {
    // Chromium in one process may not end when asked to.
    await Promise.race([browser.close(), new Promise((resolve) => setTimeout(resolve, 5000))]);
    browser.process().kill('SIGKILL');
  }
};
