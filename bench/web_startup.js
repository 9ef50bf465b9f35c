// startup-web-controls: the time from navigation to the first frame painted with the
// form, bottles.html over a plain page holding the same forty elements (the
// loaded form's own markup and style, without its script), in headless
// Chromium, alternately, as medians; and for ready-web, the time until
// bottles.html handles a click (its program has loaded the form and it takes
// input). Prints "<bottles us> <plain us> <bottles ready us>".
'use strict';
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { chromium } = require('playwright-core');

const page_file = path.resolve(process.argv[2]);
const pairs = Number(process.argv[3] || 25);

// Resolves with the time of the first frame after the one in which the form's
// forty controls and the pools' 21 entries are all there.
function probe() {
  // The page marks itself ready once its form takes input.
  window.bottlesReady = new Promise((resolve) => {
    const seen = () => document.documentElement && document.documentElement.classList.contains('ready');
    new MutationObserver(() => { if (seen()) resolve(performance.now()); })
      .observe(document, { subtree: true, attributes: true, attributeFilter: ['class'] });
  });
  window.bottlesPainted = new Promise((resolve) => {
    const check = () => {
      const form = document.getElementById('MainForm');
      if (form && form.querySelectorAll('[data-name]').length === 40 && form.querySelectorAll('[role=option]').length === 21) {
        requestAnimationFrame(() => resolve(performance.now()));
      } else {
        requestAnimationFrame(check);
      }
    };
    requestAnimationFrame(check);
  });
}

const median = (v) => { const s = [...v].sort((a, b) => a - b); const m = s.length >> 1; return s.length % 2 ? s[m] : (s[m - 1] + s[m]) / 2; };

(async () => {
  const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'bottles-web-bench-'));
  try {
    const first = await browser.newPage();
    await first.goto('file://' + page_file);
    await first.waitForFunction(() => document.querySelectorAll('#MainForm [role=option]').length === 21);
    const plain = await first.evaluate(() => '<!DOCTYPE html>\n<html lang="bg"><head><meta charset="utf-8"><title>'
      + document.title + '</title><style>' + document.querySelector('style').textContent + '</style></head><body>'
      + document.getElementById('MainForm').outerHTML + '</body></html>\n');
    await first.close();
    const plain_file = path.join(scratch, 'plain.html');
    fs.writeFileSync(plain_file, plain);

    const time = async (file, ready) => {
      const context = await browser.newContext();
      const page = await context.newPage();
      await page.addInitScript(probe);
      await page.goto('file://' + file, { waitUntil: 'commit' });
      const ms = await page.evaluate(() => window.bottlesPainted);
      const ready_ms = ready ? await page.evaluate(() => window.bottlesReady) : 0;
      await context.close();
      return [ms * 1000, ready_ms * 1000];
    };
    const a = [];
    const b = [];
    const r = [];
    for (let i = -2; i < pairs; ++i) {
      const [ta, tr] = await time(page_file, true);
      const [tb] = await time(plain_file, false);
      if (i >= 0) { a.push(ta); b.push(tb); r.push(tr); }
    }
    console.log(`${Math.round(median(a))} ${Math.round(median(b))} ${Math.round(median(r))}`);
  } finally {
    await browser.close();
    fs.rmSync(scratch, { recursive: true, force: true });
  }
})().catch((e) => { console.error(e); process.exit(1); });
