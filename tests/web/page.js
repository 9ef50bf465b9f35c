// What the page's tests share: Debian's Chromium through Playwright, the
// page opened from disk, the form's description read from its C++ table, the
// whole games of tests/scenarios/games.txt, and what the page shows.
'use strict';
const fs = require('node:fs');
const path = require('node:path');
const { chromium } = require('playwright-core');

const page_file = process.env.BOTTLES_PAGE;
const source_dir = process.env.BOTTLES_SOURCE_DIR || path.join(__dirname, '..', '..');
if (!page_file) throw new Error('BOTTLES_PAGE names no page to test');

// Headless Debian Chromium; Playwright gives every launch a fresh user-data
// dir, and sRGB output keeps the screenshot's colours exact.
async function launch() {
  return chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--force-color-profile=srgb'],
  });
}

// A fresh context (nothing kept between visits) with the page loaded.
async function open(browser, locale = 'en-US') {
  const context = await browser.newContext({ locale, viewport: { width: 1280, height: 720 } });
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  page.on('request', (r) => { if (!r.url().startsWith('file:') && !r.url().startsWith('data:')) errors.push('network: ' + r.url()); });
  await page.goto('file://' + path.resolve(page_file));
  await page.waitForFunction(() => document.querySelectorAll('#MainForm select option').length === 21);
  page.errors = errors;
  return page;
}

// The rows of window/main_form.cpp's table, with geometry in CSS pixels.
function description() {
  const text = fs.readFileSync(path.join(source_dir, 'window', 'main_form.cpp'), 'utf8');
  const row = /\{K::k(\w+), "(\w+)", (-?\d+), (nullptr|"\w+"), (.*?), (\d+), (\d+), (\d+), (\d+), (0x[0-9A-Fa-f]+|kNone), (\d+)(?:, (true|false))?/g;
  const rows = [];
  for (const m of text.matchAll(row)) {
    rows.push({
      kind: m[1], name: m[2], index: Number(m[3]), container: m[4] === 'nullptr' ? null : m[4].slice(1, -1),
      left: m[6] / 15, top: m[7] / 15, width: m[8] / 15, height: m[9] / 15,
      colour: m[10] === 'kNone' ? null : Number(m[10]), tab: Number(m[11]), visible: m[12] !== 'false',
    });
  }
  if (rows.length !== 40) throw new Error(`read ${rows.length} rows of the description, not 40`);
  return rows;
}

function selector(name, index) {
  return index >= 0 ? `#MainForm [data-name="${name}"][data-index="${index}"]` : `#MainForm [data-name="${name}"]:not([data-index])`;
}

// The box of a control in page pixels.
async function box(page, name, index) {
  const b = await page.locator(selector(name, index)).boundingBox();
  if (!b) throw new Error(`${name}(${index}) has no box`);
  return b;
}

// A real mouse click at a point of a control's box (fractions of its size).
async function click(page, name, index, fx = 0.5, fy = 0.5) {
  const b = await box(page, name, index);
  await page.mouse.click(b.x + b.width * fx, b.y + b.height * fy);
}

// Everything the board shows, read from the page in one go.
async function state(page) {
  return page.evaluate(() => {
    const all = (name) => Array.from(document.querySelectorAll(`#MainForm [data-name="${name}"]`))
      .sort((a, b) => a.dataset.index - b.dataset.index);
    const radios = all('Option1').map((l) => l.querySelector('input'));
    const entries = all('List1').map((l) => Array.from(l.options, (o) => o.textContent));
    return {
      pools: entries.map((e) => e.length),
      entries_are_bottles: entries.every((e) => e.every((t) => t === '1')),
      cells: all('Text2').map((t) => t.value),
      summaries: all('Label3').map((l) => l.textContent),
      enabled: all('Command1').map((b) => !b.disabled),
      selected: radios.filter((r) => r.checked).length > 1 ? -2 : radios.findIndex((r) => r.checked),
    };
  });
}

// The games of tests/scenarios/games.txt: [{ name, steps: [{ line, words }] }].
function games() {
  const text = fs.readFileSync(path.join(source_dir, 'tests', 'scenarios', 'games.txt'), 'utf8');
  const list = [];
  text.split('\n').forEach((line, i) => {
    if (line === '' || line.startsWith('#')) return;
    const words = Array.from(line.matchAll(/"([^"]*)"|(\S+)/g), (m) => (m[1] !== undefined ? m[1] : m[2]));
    if (words[0] === 'game') list.push({ name: words[1], steps: [] });
    else list[list.length - 1].steps.push({ line: i + 1, words });
  });
  return list;
}

// What an "expect" step wants and what the page shows, as comparable texts.
function expectation(words, shown, separator = '.') {
  const volume = (t) => t.replace('.', separator);
  const [, what, ...rest] = words;
  const q = (list) => list.map((t) => JSON.stringify(t)).join(' ');
  switch (what) {
    case 'pools': return [shown.pools.join(' '), rest.join(' ')];
    case 'cells': return [q(shown.cells), q(rest)];
    case 'summaries': return [q(shown.summaries), q(rest.map(volume))];
    case 'Text2': return [shown.cells[rest[0]], rest[1]];
    case 'Label3': return [shown.summaries[rest[0]], volume(rest[1])];
    case 'enabled': return [shown.enabled[rest[0]] ? 'yes' : 'no', rest[1]];
    case 'selected': return [String(shown.selected), rest[0]];
    default: throw new Error('no such expectation: ' + what);
  }
}

module.exports = { launch, open, description, selector, box, click, state, games, expectation, source_dir };
