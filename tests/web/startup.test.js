// The page's start in Chromium: on a slow link the form is painted before
// its script has arrived, inert and busy, and the failure text never shows;
// the site folder is installable and, after one visit, plays offline; a
// forced dark mode leaves the form's colours.
'use strict';
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { chromium } = require('playwright-core');
const web = require('./page.js');

let browser;
before(async () => { browser = await web.launch(); });
after(async () => { await browser.close(); });

// What each painted frame showed until the form was ready, recorded in the page.
function watchFrames() {
  window.framesSeen = [];
  const look = () => {
    const form = document.getElementById('MainForm');
    const failure = document.querySelector('.failed');
    window.framesSeen.push({
      form: !!form && form.checkVisibility() && form.querySelectorAll('[data-name]').length === 40,
      inert: !!form && form.inert,
      busy: !!form && form.parentElement.getAttribute('aria-busy') === 'true',
      script: document.documentElement.classList.contains('started'),
      failure: !!failure && failure.checkVisibility(),
    });
    if (!document.documentElement.classList.contains('ready')) requestAnimationFrame(look);
  };
  requestAnimationFrame(look);
}

test('at 50 KB/s the form is painted before the script arrives, and the failure text never shows', async () => {
  const site = await web.serve({ '/bottles.html': process.env.BOTTLES_PAGE });
  const context = await browser.browser.newContext();
  try {
    const page = await context.newPage();
    const cdp = await context.newCDPSession(page);
    await cdp.send('Network.enable');
    await cdp.send('Network.emulateNetworkConditions',
      { offline: false, latency: 20, downloadThroughput: 50 * 1024, uploadThroughput: 50 * 1024 });
    await page.addInitScript(watchFrames);
    await page.goto(site.url + '/bottles.html', { waitUntil: 'commit' });
    await page.waitForFunction(() => document.documentElement.classList.contains('ready'), null, { timeout: 30000 });
    const seen = await page.evaluate(() => window.framesSeen);
    const early = seen.filter((f) => f.form && !f.script);
    assert.ok(early.length > 0, 'no frame showed the form before the script ran');
    assert.ok(early.every((f) => f.inert && f.busy), 'the form took input or was not busy before it was ready');
    assert.deepEqual(seen.filter((f) => f.failure), []);
    await web.click({ click: (x, y) => page.mouse.click(x, y), evaluate: (fn, arg) => page.evaluate(fn, arg) },
      'Command1', 0);
    assert.deepEqual((await web.state(page)).pools, [6, 9, 6]);
  } finally {
    await context.close();
    await site.close();
  }
});

test('the site folder is installable, and after one visit plays offline', async () => {
  const dir = path.join(path.dirname(process.env.BOTTLES_PAGE), 'site');
  const files = {};
  for (const name of fs.readdirSync(dir)) files['/' + name] = path.join(dir, name);
  files['/'] = files['/index.html'];
  const site = await web.serve(files);
  // Installable only outside an incognito context: a profile of its own.
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'bottles-site-'));
  const context = await chromium.launchPersistentContext(profile, { executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking'] });
  try {
    const page = context.pages()[0] || await context.newPage();
    await page.goto(site.url + '/');
    await page.evaluate(() => navigator.serviceWorker.ready);
    // The worker takes the page over once active (clients.claim).
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null, null, { timeout: 10000 });
    const cdp = await context.newCDPSession(page);
    const { url, errors } = await cdp.send('Page.getAppManifest');
    assert.equal(url, site.url + '/manifest.webmanifest');
    assert.deepEqual(errors, []);
    const manifest = JSON.parse(fs.readFileSync(files['/manifest.webmanifest'], 'utf8'));
    assert.equal(manifest.name, (await page.title()).replace(/\u00a0/g, ' '));
    assert.deepEqual(manifest.icons.map((i) => i.sizes), ['192x192', '512x512']);
    for (const icon of manifest.icons) {
      const size = execFileSync('identify', ['-format', '%wx%h', path.join(dir, icon.src)]).toString();
      assert.equal(size, icon.sizes);
    }
    const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
    assert.deepEqual(installabilityErrors, []);

    await context.setOffline(true);
    await page.reload();
    const offline = { click: (x, y) => page.mouse.click(x, y), evaluate: (fn, arg) => page.evaluate(fn, arg) };
    await web.ready(offline);
    await web.click(offline, 'Option1', 4);
    await web.click(offline, 'Command1', 3);
    assert.equal((await web.state(offline)).cells[4], '1');
    assert.deepEqual(await page.evaluate(async () => (await caches.keys()).length), 1);
  } finally {
    await context.close();
    await site.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
});

test('a dark preference with forced darkening leaves the form\'s colours', async () => {
  const dark = await web.launch({ args: ['--blink-settings=forceDarkModeEnabled=true'], colorScheme: 'dark' });
  try {
    const page = await web.open(dark);
    const shot = await page.shot('#MainForm');
    const rgb = execFileSync('convert', ['png:-', '-depth', '8', 'rgb:-'], { input: shot });
    const at = async (name, index) => {
      const form = await page.evaluate(() => document.getElementById('MainForm').getBoundingClientRect().toJSON());
      const b = await web.box(page, name, index);
      const i = 3 * (Math.round(b.y + b.height - 3 - form.y) * 480 + Math.round(b.x + b.width - 4 - form.x));
      return ((rgb[i] << 16) | (rgb[i + 1] << 8) | rgb[i + 2]).toString(16).padStart(6, '0');
    };
    assert.equal(await at('Label2', 0), 'c0ffc0');
    assert.equal(await at('List1', 0), 'ffffff');
    assert.equal(await page.evaluate(() => getComputedStyle(document.querySelector('.label')).color), 'rgb(0, 0, 0)');
    await page.close();
  } finally {
    await dark.close();
  }
});
