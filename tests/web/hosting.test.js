// The page on a web server, in the engine BOTTLES_ENGINE names: with the
// header the README gives (the hashes of its script and style) or with
// 'unsafe-inline' it plays; a stricter host gets the failure text alone.
// And what the browser restores after back/forward is what the program
// holds: over http with the back/forward cache, and from disk in Chromium.
'use strict';
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const web = require('./page.js');

let browser;
before(async () => { browser = await web.launch(); });
after(async () => { await browser.close(); });

// The header the build printed, as a host would copy it from the README.
const hashed = fs.readFileSync(path.join(path.dirname(process.env.BOTTLES_PAGE), 'content-security-policy.txt'), 'utf8')
  .trim().replace(/^Content-Security-Policy: /, '');
const inline = "default-src 'self'; script-src 'unsafe-inline' 'wasm-unsafe-eval'; style-src 'unsafe-inline'";

// Runs `work` with the page served under a content policy, and beside it a
// second page to leave it for.
async function hosted(policy, work) {
  const site = await web.serve({
    '/bottles.html': process.env.BOTTLES_PAGE,
    '/elsewhere.html': { text: '<!DOCTYPE html><title>elsewhere</title><p>elsewhere</p>' },
  }, policy ? { 'content-security-policy': policy } : {});
  try {
    await work(site.url + '/bottles.html', site.url + '/elsewhere.html');
  } finally {
    await site.close();
  }
}

// The texts shown on the page: its paragraphs and the form.
function shown(page) {
  return page.evaluate(() => Array.from(document.querySelectorAll('p, #MainForm'))
    .filter((e) => e.checkVisibility()).map((e) => (e.id || e.textContent.replace(/\s+/g, ' ').trim())));
}

for (const [what, policy] of [['the hashes of its script and style', hashed], ["'unsafe-inline'", inline]]) {
  test(`a host's policy with ${what}: the page plays`, async () => {
    await hosted(policy, async (url) => {
      const page = await web.open(browser, { url });
      assert.deepEqual(await shown(page), ['MainForm']);
      await web.click(page, 'Command1', 0);
      assert.deepEqual((await web.state(page)).pools, [6, 9, 6]);
      // The second policy allows no image, not even the icon within the
      // page, which Firefox reports; nothing else may go wrong.
      const icon = /blocked the loading of a resource \(img-src\) at data:image\/png/;
      assert.deepEqual((await web.errors(page)).filter((e) => policy !== inline || !icon.test(e)), []);
      await page.close();
    });
  });
}

test('a stricter host gets the failure text alone', async () => {
  const policies = ["default-src 'self'", "default-src 'self'; style-src 'unsafe-inline'"];
  // WebKitGTK compiles the WebAssembly of an inline script whatever the
  // policy says of 'wasm-unsafe-eval': there the game simply runs.
  if (web.engine !== 'webkit') policies.push("script-src 'unsafe-inline'");
  for (const policy of policies) {
    await hosted(policy, async (url) => {
      const page = await browser.open(url);
      // The program is refused when its WebAssembly is compiled, after the
      // first paint: wait until the page plays or says that it cannot.
      await web.until(page, () => document.documentElement.classList.contains('ready') ||
        Array.from(document.querySelectorAll('p')).some((e) => e.checkVisibility()), 'the page neither played nor failed');
      const texts = await shown(page);
      assert.equal(texts.length, 1, `${policy}: ${texts}`);
      assert.match(texts[0], /^Играта не може да се зареди: .*'wasm-unsafe-eval'\.$/, policy);
      await page.close();
    });
  }
});

// After coming back, what the page shows is what the program holds: the
// selector shown selected is the one the bottle goes to, the group's Tab
// stop is on it, and the cells and pools are those the program counts on.
async function holdsWhatItShows(page) {
  const before = await web.state(page);
  const stop = await page.evaluate(() => Array.from(document.querySelectorAll('#MainForm input[type=radio]'))
    .findIndex((r) => r.tabIndex === 0));
  assert.equal(stop, Math.max(before.selected, 0), 'the group\'s Tab stop');
  await web.click(page, 'Command1', 3);
  const after = await web.state(page);
  const cells = [...before.cells];
  const pools = [...before.pools];
  if (before.selected >= 0 && pools[before.selected % 3] > 0) {
    cells[before.selected] = String(Number(cells[before.selected]) + 1);
    pools[before.selected % 3] -= 1;
  }
  assert.deepEqual([after.cells, after.pools], [cells, pools]);
}

async function leaveAndComeBack(start, elsewhere) {
  const page = await web.open(browser, { url: start });
  const play = async () => {
    await web.click(page, 'Option1', 4);
    await web.click(page, 'Command1', 3);
    assert.equal((await web.state(page)).cells[4], '1');
  };
  await play();
  // The page reloaded is a new one: no mark left on it.
  await page.evaluate(() => { window.leftForReload = true; });
  await page.reload();
  await web.until(page, () => window.leftForReload === undefined, 'the page was not reloaded');
  await web.ready(page);
  await holdsWhatItShows(page);
  await web.click(page, 'Command1', 2);
  await play();
  await page.goto(elsewhere);
  await web.until(page, () => document.title === 'elsewhere' || location.protocol === 'about:', 'the page was not left');
  await page.back();
  await web.until(page, () => document.getElementById('MainForm') !== null, 'the page did not come back');
  await web.ready(page);
  await holdsWhatItShows(page);
  assert.deepEqual(await web.errors(page), []);
  await page.close();
}

test('reloaded, and back to the page over http, from the back/forward cache or anew, it holds what it shows', async () => {
  await hosted(null, leaveAndComeBack);
});

test('reloaded, and back to the page from disk, it holds what it shows', { skip: web.engine !== 'chromium' && 'Chromium only' },
  async () => {
    await leaveAndComeBack(web.page_url, 'about:blank');
  });
