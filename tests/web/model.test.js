// The random model test through the page: real mouse clicks on selectors and
// buttons, and after each one every pool, cell, summary and pouring button
// compared with a small reference model of the game written here.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const web = require('./page.js');

const events = Number(process.env.BOTTLES_MODEL_EVENTS || 2000);
const seed = Number(process.env.BOTTLES_MODEL_SEED || 20261208);

// mulberry32: a small seeded generator, so that a failure replays.
function generator(s) {
  return () => {
    s = (s + 0x6d2b79f5) | 0;
    let t = Math.imul(s ^ (s >>> 15), 1 | s);
    t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

// The game as the rules state it, apart from the page: pools, counts per
// cell, which cells were ever moved (they show a number, else nothing), the
// summaries and the pouring phase.
class Reference {
  constructor(separator) { this.separator = separator; this.summaries = ['', '', '']; this.clear(); }
  clear() {
    this.selected = -1; this.pools = [7, 7, 7]; this.cells = Array(9).fill(0);
    this.written = Array(9).fill(false); this.pouring = true;
  }
  select(cell) { this.selected = cell; }
  press(button) {
    const s = this.selected;
    const p = this.pools;
    if (button === 0 && this.pouring && p[0] > 0 && p[2] > 0) { --p[0]; --p[2]; p[1] += 2; }
    if (button === 1 && this.pouring && p[1] >= 2) { p[1] -= 2; ++p[0]; ++p[2]; }
    if (button === 2) this.clear();
    if (button === 3 || button === 4) {
      this.pouring = false;
      if (s < 0) return;
      const from_pool = button === 3;
      if (from_pool ? p[s % 3] === 0 : this.cells[s] === 0) return;
      p[s % 3] += from_pool ? -1 : 1;
      this.cells[s] += from_pool ? 1 : -1;
      this.written[s] = true;
      const t = Math.floor(s / 3);
      const [full, half, empty] = this.cells.slice(3 * t, 3 * t + 3);
      const halves = 2 * full + half;
      const volume = String(Math.floor(halves / 2)) + (halves % 2 ? this.separator + '5' : '');
      this.summaries[t] = ` = ${full + half + empty} / ${volume}`;
    }
  }
  shown() {
    return {
      pools: this.pools, entries_are_bottles: true,
      cells: this.cells.map((n, c) => (this.written[c] ? String(n) : '')),
      summaries: this.summaries, enabled: [this.pouring, this.pouring, true, true, true], selected: this.selected,
    };
  }
}

test(`${events} random clicks against the reference model (seed ${seed})`, async () => {
  const browser = await web.launch({ locale: 'bg-BG' });
  try {
    const page = await web.open(browser);
    const random = generator(seed);
    const model = new Reference(',');
    assert.deepEqual(await web.state(page), model.shown(), 'the loaded page');
    for (let i = 0; i < events; ++i) {
      const r = random();
      let what;
      if (r < 0.004) {
        what = 'press 2'; model.press(2); await web.click(page, 'Command1', 2);
      } else if (r < 0.25) {
        const cell = Math.floor(random() * 9);
        what = `select ${cell}`; model.select(cell);
        // Anywhere in the selector's box.
        await web.click(page, 'Option1', cell, 0.05 + 0.9 * random(), 0.2 + 0.6 * random());
      } else {
        const button = [0, 1, 3, 4][Math.floor(random() * 4)];
        what = `press ${button}`; model.press(button);
        await web.click(page, 'Command1', button);  // a disabled one takes no click
      }
      assert.deepEqual(await web.state(page), model.shown(), `event ${i} (${what}); replay with BOTTLES_MODEL_SEED=${seed}`);
    }
    assert.deepEqual(await web.errors(page), []);
  } finally {
    await browser.close();
  }
});
