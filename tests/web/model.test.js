// The random model test through the page: real mouse clicks on selectors and
// buttons, and after each one every pool, cell, summary, button and the
// selection compared with the reference model of the C++ tests
// (tests/model.h), which model_states, built with the page, runs under Node.js.
'use strict';
const { execFileSync } = require('node:child_process');
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

// The events, drawn up front so that the model tells at once what each one
// must show: a press, or a selection clicked anywhere in the selector's box.
function draw(random) {
  const drawn = [];
  for (let i = 0; i < events; ++i) {
    const r = random();
    if (r < 0.004) {
      drawn.push({ name: 'Command1', index: 2, what: 'press 2', event: 'p2' });
    } else if (r < 0.25) {
      const cell = Math.floor(random() * 9);
      const x = 0.05 + 0.9 * random();
      const y = 0.2 + 0.6 * random();
      drawn.push({ name: 'Option1', index: cell, x, y, what: `select ${cell}`, event: `s${cell}` });
    } else {
      const button = [0, 1, 3, 4][Math.floor(random() * 4)];
      drawn.push({ name: 'Command1', index: button, what: `press ${button}`, event: `p${button}` });
    }
  }
  return drawn;
}

test(`${events} random clicks against the reference model (seed ${seed})`, async () => {
  const drawn = draw(generator(seed));
  // A Bulgarian browser's decimal separator.
  const output = execFileSync(process.execPath, [process.env.BOTTLES_MODEL_STATES, ',', ...drawn.map((e) => e.event)],
    { encoding: 'utf8', maxBuffer: 64 << 20 });
  const shown = output.trim().split('\n').map((line) => JSON.parse(line));
  assert.equal(shown.length, events + 1, 'a state per event and the first');
  const browser = await web.launch({ locale: 'bg-BG' });
  try {
    const page = await web.open(browser);
    assert.deepEqual(await web.state(page), shown[0], 'the loaded page');
    for (const [i, e] of drawn.entries()) {
      await web.click(page, e.name, e.index, e.x, e.y);  // a disabled button takes no click
      assert.deepEqual(await web.state(page), shown[i + 1], `event ${i} (${e.what}); replay with BOTTLES_MODEL_SEED=${seed}`);
    }
    assert.deepEqual(await web.errors(page), []);
  } finally {
    await browser.close();
  }
});
