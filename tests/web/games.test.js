// The whole games of tests/scenarios/games.txt in the page, in the engine
// BOTTLES_ENGINE names: once with real mouse clicks at the described
// geometry, once with the keyboard alone (Tab to a control, the arrow keys
// in the group of selectors, Space).
'use strict';
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const web = require('./page.js');

let browser;
before(async () => { browser = await web.launch(); });
after(async () => { await browser.close(); });

// Tab (or Shift+Tab, for a control before the focus) until the element
// matching `css` has the focus. Tab from the last control would leave the
// page for the browser's own bar, where Firefox's keys no longer reach it.
async function tabTo(page, css) {
  const back = await page.evaluate((s) => {
    const here = document.activeElement;
    return !!here && here !== document.body
      && (document.querySelector(s).compareDocumentPosition(here) & Node.DOCUMENT_POSITION_FOLLOWING) !== 0;
  }, css);
  for (let i = 0; i < 60; ++i) {
    if (await page.evaluate((s) => document.activeElement && document.activeElement.matches(s), css)) return;
    await page.press(back ? 'Shift+Tab' : 'Tab');
  }
  assert.fail(`Tab never reaches ${css}`);
}

const playWith = {
  async mouse(page, array, index) {
    await web.click(page, array, index);
  },
  // The keyboard reaches a control by Tab; in the group of selectors Tab
  // stops once and the arrow keys move, by rows (tables) and columns (kinds).
  async keyboard(page, array, index) {
    if (array === 'Option1') {
      await tabTo(page, '#MainForm [data-name="Option1"] input');
      const from = await page.evaluate(() => Number(document.activeElement.closest('label').dataset.index));
      // The arrow keys select as they move, so Space only confirms.
      const keys = [];
      for (let r = Math.floor(from / 3); r < Math.floor(index / 3); ++r) keys.push('ArrowDown');
      for (let r = Math.floor(from / 3); r > Math.floor(index / 3); --r) keys.push('ArrowUp');
      for (let c = from % 3; c < index % 3; ++c) keys.push('ArrowRight');
      for (let c = from % 3; c > index % 3; --c) keys.push('ArrowLeft');
      for (const key of keys) await page.press(key);
      await page.press('Space');
      return;
    }
    const css = web.selector(array, index);
    // A disabled button is passed by Tab: the keyboard cannot press it.
    if (await page.evaluate((s) => document.querySelector(s).disabled, css)) return;
    await tabTo(page, css);
    await page.press('Space');
  },
};

for (const game of web.games()) {
  for (const way of ['mouse', 'keyboard']) {
    test(`${game.name} with the ${way}`, async () => {
      const page = await web.open(browser);
      for (const { line, words } of game.steps) {
        if (words[0] === 'click') {
          // Repeated presses follow one another with no wait between them.
          for (let t = 0; t < Number(words[3] || 1); ++t) await playWith[way](page, words[1], Number(words[2]));
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
