// The form follows its text, in the engine BOTTLES_ENGINE names: with the
// text spacing of WCAG 1.4.12 (Chromium, WebKitGTK) or a minimum font size
// (Firefox ESR) the whole form grows until no word of a caption is cut, and
// at the defaults no word is cut and the form keeps its size.
'use strict';
const { test, after } = require('node:test');
const assert = require('node:assert/strict');
const web = require('./page.js');

const browsers = [];
after(async () => { for (const b of browsers) await b.close(); });

// The words of the captions that reach past the box that clips them: their
// control's, or the frame's for its caption.
function cutWords() {
  const cut = [];
  for (const e of document.querySelectorAll('#MainForm .label, #MainForm .legend, #MainForm .option span, #MainForm .button')) {
    const text = e.firstChild;
    if (e.closest('[hidden]') || !text || text.nodeType !== Node.TEXT_NODE) continue;
    const clip = (e.classList.contains('legend') ? e.parentElement : e.closest('[data-name]')).getBoundingClientRect();
    for (const word of text.data.matchAll(/\S+/g)) {
      const range = document.createRange();
      range.setStart(text, word.index);
      range.setEnd(text, word.index + word[0].length);
      const out = Array.from(range.getClientRects()).some((r) => r.left < clip.left - 0.5 || r.right > clip.right + 0.5 ||
        r.top < clip.top - 0.5 || r.bottom > clip.bottom + 0.5);
      if (out) cut.push(word[0]);
    }
  }
  return cut;
}

const width = (page) => page.evaluate(() => document.getElementById('MainForm').getBoundingClientRect().width);

// Within five seconds, no word is cut.
async function noWordCut(page) {
  let cut = [];
  for (let tries = 0; tries < 100; ++tries) {
    cut = await page.evaluate(cutWords);
    if (cut.length === 0) return;
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  assert.deepEqual(cut, []);
}

test('at the defaults no word is cut and the form is as described', async () => {
  const browser = await web.launch();
  browsers.push(browser);
  const page = await web.open(browser);
  assert.deepEqual(await page.evaluate(cutWords), []);
  assert.equal(await width(page), 480);
  await page.close();
});

test('with WCAG 1.4.12 text spacing the form grows and no word is cut', { skip: web.engine === 'firefox' && 'Chromium and WebKitGTK' },
  async () => {
    const browser = browsers[0];
    const page = await web.open(browser);
    // As the text spacing bookmarklet sets it, on every element.
    await page.evaluate(() => {
      for (const e of document.querySelectorAll('*')) {
        e.style.setProperty('line-height', '1.5', 'important');
        e.style.setProperty('letter-spacing', '0.12em', 'important');
        e.style.setProperty('word-spacing', '0.16em', 'important');
      }
    });
    await web.until(page, () => document.getElementById('MainForm').getBoundingClientRect().width > 480, 'the form did not grow');
    await noWordCut(page);
    // And it still plays.
    await web.click(page, 'Option1', 4);
    await web.click(page, 'Command1', 3);
    assert.equal((await web.state(page)).cells[4], '1');
    await page.close();
  });

test('with a minimum font size of 24 px the form grows and no word is cut', { skip: web.engine !== 'firefox' && 'Firefox ESR' },
  async () => {
    const browser = await web.launch({ prefs: { 'font.minimum-size.x-cyrillic': 24, 'font.minimum-size.x-western': 24 } });
    browsers.push(browser);
    const page = await web.open(browser);
    await web.until(page, () => document.getElementById('MainForm').getBoundingClientRect().width > 480, 'the form did not grow');
    await noWordCut(page);
    await page.close();
  });
