// What the page's tests share, in every engine (driver.js): the page opened
// from disk or from a web server on the loopback, the form's description as
// the page adopted it, the whole games of
// tests/scenarios/games.txt, and what the page shows.
'use strict';
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const driver = require('./driver.js');

const page_file = process.env.BOTTLES_PAGE;
const source_dir = process.env.BOTTLES_SOURCE_DIR || path.join(__dirname, '..', '..');
if (!page_file) throw new Error('BOTTLES_PAGE names no page to test');
const page_url = 'file://' + path.resolve(page_file);

const launch = driver.launch;

// Waits, ten seconds at most, until `fn` run in the page returns true.
async function until(page, fn, what, arg) {
  for (let tries = 0; ; ++tries) {
    try {
      if (await page.evaluate(fn, arg)) return;
    } catch (e) {
      // A page being left or restored answers nothing for a moment.
      if (tries > 200) throw e;
    }
    if (tries > 200) throw new Error(what);
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

// Until the page's program has loaded the form and it takes input.
function ready(page) {
  return until(page, () => document.documentElement.classList.contains('ready') &&
    !document.getElementById('MainForm').inert, 'the form did not load');
}

// A fresh page, loaded: nothing is kept between visits.
async function open(browser, options = {}) {
  const page = await browser.open(options.url || page_url, options);
  await ready(page);
  return page;
}

// A static web server on the loopback: `files` maps a path to a file, or to
// the text of one, every answer carrying `headers`. The requests it had are
// in `asked`.
async function serve(files, headers = {}) {
  const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.png': 'image/png',
    '.webmanifest': 'application/manifest+json' };
  const asked = [];
  const server = http.createServer((request, response) => {
    const where = new URL(request.url, 'http://127.0.0.1').pathname;
    asked.push(where);
    const file = files[where];
    if (file === undefined) {
      response.writeHead(404);
      response.end();
      return;
    }
    const type = types[path.extname(where) || '.html'];
    response.writeHead(200, { 'content-type': type, 'cache-control': 'no-cache', ...headers });
    response.end(file.text !== undefined ? file.text : fs.readFileSync(file));
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {
    url: `http://127.0.0.1:${server.address().port}`,
    asked,
    close: () => new Promise((resolve) => { server.closeAllConnections(); server.close(resolve); }),
  };
}

// The rows of the form's description as the page made them, geometry in CSS
// pixels, kinds by name.
function description(page) {
  return page.evaluate(() => Module.formRows.map((r) => r.row));
}

// What the page reports gone wrong: its uncaught errors and its error box.
async function errors(page) {
  const box = await page.evaluate(() => {
    const dialog = document.querySelector('dialog.error');
    return dialog ? dialog.textContent : null;
  });
  return box === null ? page.errors() : [...page.errors(), 'error box: ' + box];
}

function selector(name, index) {
  return index >= 0 ? `#MainForm [data-name="${name}"][data-index="${index}"]` : `#MainForm [data-name="${name}"]:not([data-index])`;
}

// The box of a control in page pixels.
async function box(page, name, index) {
  const b = await page.evaluate((css) => {
    const e = document.querySelector(css);
    const r = e && !e.closest('#MainForm [hidden]') && e.getBoundingClientRect();
    return r ? { x: r.x, y: r.y, width: r.width, height: r.height } : null;
  }, selector(name, index));
  if (!b) throw new Error(`${name}(${index}) has no box`);
  return b;
}

// A real mouse click at a point of a control's box (fractions of its size).
async function click(page, name, index, fx = 0.5, fy = 0.5) {
  const b = await box(page, name, index);
  await page.click(b.x + b.width * fx, b.y + b.height * fy);
}

// The control that has the focus, as "name(index)".
function focused(page) {
  return page.evaluate(() => {
    const e = document.activeElement;
    const box = e && e.closest('[data-name]');
    return box ? `${box.dataset.name}(${box.dataset.index ?? -1})` : String(e && e.tagName);
  });
}

function focus(page, name, index) {
  return page.evaluate((css) => document.querySelector(css).focus(), selector(name, index));
}

// Everything the board shows, read from the page in one go.
async function state(page) {
  return page.evaluate(() => {
    const all = (name) => Array.from(document.querySelectorAll(`#MainForm [data-name="${name}"]`))
      .sort((a, b) => a.dataset.index - b.dataset.index);
    const radios = all('Option1').map((l) => l.querySelector('input'));
    const entries = all('List1').map((l) => Array.from(l.querySelectorAll('[role=option]'), (o) => o.textContent));
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

module.exports = {
  engine: driver.engine, launch, open, ready, until, serve, page_url, description, errors, selector, box, click, focused, focus, state, games,
  expectation, source_dir,
};
