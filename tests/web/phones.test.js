// The page where people are: Chromium as a Pixel 7 and an iPhone 13 (touch,
// a phone's viewport) and in a 320 px window. The form is scaled down whole,
// every control's box lies inside the page's scrollable width, quick taps
// all count, and the whole games of games.txt play by taps.
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
