// The page as it is drawn: every control's box is its row of the
// description in CSS pixels, the hidden panel is not shown, the colours are
// exact in a screenshot, and the window's caption, icon and statement.
'use strict';
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const web = require('./page.js');

let browser;
let wrapped;  // the page for page.js; `page` is Playwright's own
let page;
before(async () => { browser = await web.launch(); wrapped = await web.open(browser); page = wrapped.raw; });
after(async () => { await browser.close(); });

test('the client area is 480 x 424 CSS pixels, centred on the page', async () => {
  const form = await page.locator('#MainForm').boundingBox();
  assert.deepEqual(form, { x: (1280 - 480) / 2, y: (720 - 424) / 2, width: 480, height: 424 });
});

test('every control has the box of its row, from its container, and the hidden panel is not shown', async () => {
  const rows = await web.description(page);
  for (const row of rows) {
    const what = `${row.name}(${row.index})`;
    const b = await page.locator(web.selector(row.name, row.index)).boundingBox();
    if (!row.visible) {
      assert.equal(b, null, `${what} is shown`);
      assert.equal(await page.locator(web.selector(row.name, row.index)).isVisible(), false);
      continue;
    }
    const origin = await page.locator(row.container ? web.selector(row.container, -1) : '#MainForm').boundingBox();
    assert.deepEqual([b.x - origin.x, b.y - origin.y, b.width, b.height],
      [row.left, row.top, row.width, row.height], what);
  }
});

test('the colours of the description, exact in a screenshot', async () => {
  const shot = await page.locator('#MainForm').screenshot();
  // ImageMagick turns the PNG into plain RGB bytes.
  const rgb = execFileSync('convert', ['png:-', '-depth', '8', 'rgb:-'], { input: shot });
  const pixel = (x, y) => {
    const i = 3 * (Math.round(y) * 480 + Math.round(x));
    return (rgb[i] << 16) | (rgb[i + 1] << 8) | rgb[i + 2];
  };
  const hex = (c) => c.toString(16).padStart(6, '0');
  assert.equal(hex(pixel(2, 2)), 'c0c0ff', 'the window');
  const rows = await web.description(page);
  const form = await page.locator('#MainForm').boundingBox();
  for (const row of rows) {
    if (row.colour === null) continue;
    const b = await web.box(page, row.name, row.index);
    // A corner inside the border and away from the caption.
    const x = row.kind === 'frame' ? b.x + 4 : b.x + b.width - 4;
    const y = b.y + b.height - 4;
    assert.equal(hex(pixel(x - form.x, y - form.y)), hex(row.colour), `${row.name}(${row.index})`);
  }
});

test('the caption with its three blanks as the page title, and the icon', async () => {
  assert.equal(await page.title(), 'http://bottles.example.org\u00a0\u00a0\u00a0Философия - Логика');
  const size = await page.evaluate(async () => {
    const image = new Image();
    image.src = document.querySelector('link[rel=icon]').href;
    await image.decode();
    return [image.naturalWidth, image.naturalHeight];
  });
  assert.deepEqual(size, [32, 32]);
});

test('the statement panel holds the statement, line by line, and scrolls to its end', async () => {
  const bytes = fs.readFileSync(path.join(web.source_dir, 'window', 'statement.txt'));
  const want = new TextDecoder('windows-1251').decode(bytes).replaceAll('\r\n', '\n');
  const panel = page.locator(web.selector('Text1', 0));
  assert.equal(await panel.inputValue(), want);
  assert.equal(want.split('\n').length, 11);
  const reached = await panel.evaluate((t) => {
    t.scrollTop = t.scrollHeight;
    return t.scrollHeight > t.clientHeight && t.scrollTop + t.clientHeight >= t.scrollHeight - 1;
  });
  assert.equal(reached, true);
  assert.equal(await page.locator(web.selector('Text1', 1)).isVisible(), false);
});

test('a pool of 21 scrolls', async () => {
  for (let i = 0; i < 7; ++i) await web.click(wrapped, 'Command1', 0);
  const pool = page.locator(web.selector('List1', 1));
  assert.equal(await pool.evaluate((l) => l.children.length), 21);
  assert.equal(await pool.evaluate((l) => l.scrollHeight > l.clientHeight), true);
});

test('served by a static web server, the page asks for nothing more and plays', async () => {
  const server = await web.serve({ '/bottles.html': process.env.BOTTLES_PAGE });
  try {
    const served = await web.open(browser, { url: server.url + '/bottles.html' });
    await web.click(served, 'Command1', 0);
    assert.deepEqual((await web.state(served)).pools, [6, 9, 6]);
    assert.deepEqual(server.asked, ['/bottles.html']);
    await served.close();
  } finally {
    await server.close();
  }
});

test('with scripts off the page says so, and shows no form', async () => {
  const context = await browser.browser.newContext({ javaScriptEnabled: false });
  try {
    const off = await context.newPage();
    await off.goto(web.page_url);
    const shown = await off.evaluate(() => Array.from(document.querySelectorAll('p, #MainForm'))
      .filter((e) => e.checkVisibility()).map((e) => e.textContent.replace(/\s+/g, ' ').trim()));
    assert.equal(shown.length, 1);
    assert.match(shown[0], /^Тази игра работи с JavaScript, а той е изключен/);
  } finally {
    await context.close();
  }
});
