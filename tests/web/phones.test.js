// The page where people are: Chromium as a Pixel 7 and an iPhone 13 (touch,
// a phone's viewport) and in a 320 px window. The form is scaled down whole,
// every control's box lies inside the page's scrollable width, every
// selector and button is a target of WCAG 2.5.8 (24 CSS px, or spaced so),
// quick taps all count, and the whole games of games.txt play by taps.
'use strict';
const { test, after } = require('node:test');
const assert = require('node:assert/strict');
const web = require('./page.js');

const setups = [['Pixel 7', { device: 'Pixel 7' }], ['iPhone 13', { device: 'iPhone 13' }],
  ['a 320 px window', { width: 320, height: 640 }]];
const browsers = [];
after(async () => { for (const b of browsers) await b.close(); });

async function tapOn(page, name, index, touch) {
  const b = await web.box(page, name, index);
  if (touch) await page.tap(b.x + b.width / 2, b.y + b.height / 2);
  else await page.click(b.x + b.width / 2, b.y + b.height / 2);
}

for (const [what, setup] of setups) {
  const touch = !!setup.device;
  test(`${what}: every control inside the page, eight quick taps place seven bottles`, async () => {
    const browser = await web.launch(setup);
    browsers.push(browser);
    const page = await web.open(browser);
    const outside = await page.evaluate(() => {
      const width = document.documentElement.scrollWidth;
      return Array.from(document.querySelectorAll('#MainForm [data-name]')).filter((e) => !e.closest('[hidden]'))
        .map((e) => [e, e.getBoundingClientRect()])
        .filter(([, r]) => r.left + scrollX < 0 || r.right + scrollX > width)
        .map(([e]) => `${e.dataset.name}(${e.dataset.index ?? -1})`);
    });
    assert.deepEqual(outside, []);
    // A target under 24 px either way needs a circle of 24 px about its
    // centre that meets no other target and no other such circle.
    const crowded = await page.evaluate(() => {
      const targets = Array.from(document.querySelectorAll('#MainForm .option, #MainForm .button'))
        .filter((e) => !e.closest('[hidden]')).map((e) => [e, e.getBoundingClientRect()]);
      const centre = (r) => [r.x + r.width / 2, r.y + r.height / 2];
      const small = (r) => r.width < 24 || r.height < 24;
      const meets = ([x, y], r) => Math.hypot(Math.max(r.left - x, 0, x - r.right), Math.max(r.top - y, 0, y - r.bottom)) < 12;
      const found = [];
      for (const [e, r] of targets) {
        if (!small(r)) continue;
        const c = centre(r);
        for (const [other, o] of targets) {
          if (other === e) continue;
          if (meets(c, o) || (small(o) && Math.hypot(c[0] - centre(o)[0], c[1] - centre(o)[1]) < 24)) {
            found.push(`${e.dataset.name}(${e.dataset.index}) ${other.dataset.name}(${other.dataset.index})`);
          }
        }
      }
      return found;
    });
    assert.deepEqual(crowded, []);
    const form = await page.evaluate(() => document.getElementById('MainForm').getBoundingClientRect().width);
    assert.ok(form < 480, `the form is ${form} px wide`);
    await tapOn(page, 'Option1', 4, touch);
    for (let i = 0; i < 8; ++i) await tapOn(page, 'Command1', 3, touch);
    const shown = await web.state(page);
    assert.equal(shown.cells[4], '7');
    assert.deepEqual(shown.pools, [7, 0, 7]);
    assert.deepEqual(await web.errors(page), []);
    await page.close();
  });

  for (const game of web.games()) {
    test(`${what}: ${game.name} by taps`, async () => {
      const browser = browsers[browsers.length - 1];
      const page = await web.open(browser);
      for (const { line, words } of game.steps) {
        if (words[0] === 'click') {
          for (let t = 0; t < Number(words[3] || 1); ++t) await tapOn(page, words[1], Number(words[2]), touch);
        } else {
          const [have, want] = web.expectation(words, await web.state(page));
          assert.equal(have, want, `games.txt line ${line}: ${words.join(' ')}`);
        }
      }
      assert.deepEqual(await web.errors(page), []);
      await page.close();
    });
  }
}
