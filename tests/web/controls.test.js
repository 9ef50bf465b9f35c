// Every control answers as a user expects, in the engine BOTTLES_ENGINE
// names: a click anywhere in a selector's box, Enter and Space on the focused
// button, Tab in tab order with the focus visible, the selectors' arrow keys,
// the pools' rows and keys, read-only cells and panels, disabled buttons, the
// separator of the browser's language, and the error dialog; in Chromium also
// the accessibility tree, axe-core's findings and odd language tags.
'use strict';
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const web = require('./page.js');

const fs = require('node:fs');
const path = require('node:path');

let browser;
before(async () => { browser = await web.launch(); });
after(async () => { await browser.close(); });
const focused = web.focused;
const chromiumOnly = { skip: web.engine !== 'chromium' && 'Chromium only' };
const value = (page, name, index) => page.evaluate((css) => document.querySelector(css).value, web.selector(name, index));

test('a click anywhere in a selector\'s box selects it', async () => {
  const page = await web.open(browser);
  const points = [[0.02, 0.1], [0.5, 0.5], [0.97, 0.9], [0.1, 0.9], [0.9, 0.1], [0.3, 0.5], [0.7, 0.5], [0.05, 0.5], [0.95, 0.5]];
  for (let cell = 0; cell < 9; ++cell) {
    await web.click(page, 'Option1', cell, ...points[cell]);
    assert.equal((await web.state(page)).selected, cell, `point ${points[cell]}`);
  }
  await web.click(page, 'Command1', 3);
  assert.equal((await web.state(page)).cells[8], '1');
});

test('every press of a double click counts; a double-clicked selector is selected', async () => {
  const page = await web.open(browser);
  const twice = async (name, index) => {
    const b = await web.box(page, name, index);
    await page.dblclick(b.x + b.width / 2, b.y + b.height / 2);
    return web.state(page);
  };
  assert.deepEqual((await twice('Command1', 0)).pools, [5, 11, 5]);
  assert.deepEqual((await twice('Command1', 1)).pools, [7, 7, 7]);
  const selected = await twice('Option1', 4);
  assert.equal(selected.selected, 4);
  assert.deepEqual(selected.enabled, [true, true, true, true, true]);
  assert.equal((await twice('Command1', 3)).cells[4], '2');
  assert.equal((await twice('Command1', 4)).cells[4], '0');
  assert.deepEqual((await twice('Command1', 2)).cells, Array(9).fill(''));
});

test('Enter and Space press the focused button; Tab follows the tab index and passes disabled buttons', async () => {
  const page = await web.open(browser);
  const rows = (await web.description(page)).filter((r) => r.visible && !['label', 'frame'].includes(r.kind))
    .sort((a, b) => a.tab - b.tab);
  const stops = (groupStop, disabled = []) => rows
    .filter((r) => (r.name !== 'Option1' || r.index === groupStop) && !disabled.includes(`${r.name}(${r.index})`))
    .map((r) => `${r.name}(${r.index})`);
  const walk = async (n) => {
    const seen = [];
    for (let i = 0; i < n; ++i) { await page.press('Tab'); seen.push(await focused(page)); }
    return seen;
  };
  assert.deepEqual(await walk(19), stops(0));
  await web.focus(page, 'Command1', 0);
  await page.press('Enter');
  await page.press('Space');
  assert.deepEqual((await web.state(page)).pools, [5, 11, 5]);
  await web.click(page, 'Option1', 7);
  await web.focus(page, 'Command1', 3);
  await page.press('Enter');
  assert.deepEqual((await web.state(page)).cells[7], '1');
  await web.focus(page, 'Text1', 0);
  // The group of selectors is one stop, at the selected one.
  assert.deepEqual(await walk(16), stops(7, ['Command1(0)', 'Command1(1)']).slice(1));
});

test('the focus is visible on buttons, selectors, cells and pools', async () => {
  const page = await web.open(browser);
  for (const [name, index] of [['Command1', 2], ['Command1', 3], ['Text2', 4], ['List1', 0]]) {
    const css = web.selector(name, index);
    const before = await page.shot(css);
    await web.focus(page, name, index);
    await page.press('Shift+Tab');  // focus by keyboard, as a user's
    await page.press('Tab');
    assert.equal(await focused(page), `${name}(${index})`);
    assert.notDeepEqual(await page.shot(css), before, `${name}(${index})`);
  }
  const group = web.selector('Option1', 0);
  const before = await page.shot(group);
  await web.focus(page, 'Command1', 4);
  await page.press('Tab');
  assert.equal(await focused(page), 'Option1(0)');
  assert.notDeepEqual(await page.shot(group), before, 'Option1(0)');
});

test('the first Tab leaves the statement at its start', async () => {
  const page = await web.open(browser);
  await page.press('Tab');
  assert.equal(await focused(page), 'Text1(0)');
  const at = await page.evaluate((css) => {
    const panel = document.querySelector(css);
    return [panel.selectionStart, panel.selectionEnd, panel.scrollTop, panel.scrollHeight > panel.clientHeight];
  }, web.selector('Text1', 0));
  assert.deepEqual(at, [0, 0, 0, true]);
});

test('cells and panels take no typing', async () => {
  const page = await web.open(browser);
  await web.click(page, 'Option1', 0);
  await web.click(page, 'Command1', 3);
  for (const [name, index, want] of [['Text2', 0, '1'], ['Text2', 5, '']]) {
    await web.click(page, name, index);
    await page.type('25');
    await page.press('Backspace');
    assert.equal(await value(page, name, index), want);
  }
  const text = await value(page, 'Text1', 0);
  await web.click(page, 'Text1', 0);
  await page.type('x');
  await page.press('Delete');
  assert.equal(await value(page, 'Text1', 0), text);
});

test('the separator of the summaries is the browser language\'s', async () => {
  for (const [locale, want] of [['bg-BG', ' = 1 / 0,5'], ['en-US', ' = 1 / 0.5']]) {
    const other = await web.launch({ locale });
    try {
      const page = await web.open(other);
      await web.click(page, 'Option1', 4);
      await web.click(page, 'Command1', 3);
      assert.equal((await web.state(page)).summaries[1], want, locale);
    } finally {
      await other.close();
    }
  }
});

test('names and roles in the browser\'s accessibility tree', chromiumOnly, async () => {
  const page = await web.open(browser);
  await web.click(page, 'Option1', 4);
  await web.click(page, 'Command1', 3);
  const cdp = await page.raw.context().newCDPSession(page.raw);
  const { nodes } = await cdp.send('Accessibility.getFullAXTree');
  const tree = new Set();
  for (const n of nodes) {
    if (n.ignored || !n.role) continue;
    const readonly = (n.properties || []).some((p) => p.name === 'readonly' && p.value.value);
    tree.add(`${n.role.value} "${n.name ? n.name.value : ''}"${readonly ? ' read-only' : ''}`);
  }
  const want = ['textbox "Логика - по 7 бутилки на 3 маси" read-only',
    'listbox "Пълна: 7"', 'listbox "Полу: 6"', 'listbox "Празна: 7"',
    'button "1 цяла = 2 полу"', 'button "Чисти"', 'button "Постави бутилка"', 'button "Върни бутилка"',
    'radiogroup "Бутилки - пълни, празни"', 'group "Маси-бутилки"', 'radio "1-1"', 'radio "3-0.5"',
    'note "1-ва"', 'note "2-ра = 1 / 0.5"', 'note "3-та"', 'main ""', 'option "1"'];
  for (const table of ['1-ва', '2-ра', '3-та']) {
    for (const kind of ['Пълна', 'Полу', 'Празна']) want.push(`textbox "${table} ${kind}" read-only`);
  }
  for (const node of want) assert.ok(tree.has(node), `${node} is not in the tree`);
  const textboxes = Array.from(tree).filter((n) => n.startsWith('textbox'));
  assert.equal(textboxes.length, 10, 'the hidden panel is in the tree');
  // One live region, the form's status: the summaries are no live regions.
  const live = nodes.filter((n) => !n.ignored && (n.properties || []).some((p) => p.name === 'live' && p.value.value !== 'off'));
  assert.deepEqual(live.map((n) => n.role.value), ['status']);
});

// What each move changed, said by the page's one polite status region in the
// words the desktop's screen readers get, the pools' names with their counts.
test('the status says the result of each move', async () => {
  const page = await web.open(browser);
  const status = () => page.evaluate(() => {
    const region = document.querySelector('[role=status]');
    return `${region.getAttribute('aria-live') || 'polite'} ${region.textContent}`;
  });
  const poolNames = () => page.evaluate(() => Array.from(document.querySelectorAll('[role=listbox]'),
    (list) => list.getAttribute('aria-label')).join(' | '));
  assert.equal(await poolNames(), 'Пълна: 7 | Полу: 7 | Празна: 7');
  await web.click(page, 'Command1', 0);
  assert.equal(await status(), 'polite Пълна: 6, Полу: 9, Празна: 6');
  await web.click(page, 'Option1', 4);
  await web.click(page, 'Command1', 3);
  assert.equal(await status(),
    'polite 2-ра, Полу: 1. 2-ра = 1 / 0.5. Полу: 8. Недостъпни: 1 цяла = 2 полу, 2 полу = 1 цяла');
  assert.equal(await poolNames(), 'Пълна: 6 | Полу: 8 | Празна: 6');
  await web.click(page, 'Command1', 4);
  assert.equal(await status(), 'polite 2-ра, Полу: 0. 2-ра = 0 / 0. Полу: 9');
  await web.click(page, 'Command1', 2);
  assert.equal(await status(), 'polite Всички клетки са празни. Пълна: 7, Полу: 7, Празна: 7. ' +
    'Достъпни: 1 цяла = 2 полу, 2 полу = 1 цяла. Бутилки - пълни, празни: няма избрана');
});

test('an error shows the desktop\'s error box as a dialog, and the page then takes no more events', async () => {
  const page = await web.open(browser);
  await web.click(page, 'Option1', 4);
  await page.evaluate((css) => { document.querySelector(css).value = '40000'; }, web.selector('Text2', 4));
  await web.click(page, 'Command1', 3);
  const dialog = () => page.evaluate(() => {
    const d = document.querySelector('dialog[role=alertdialog]');
    return d && d.open ? [d.querySelector('h1').textContent, d.querySelector('p').textContent] : null;
  });
  assert.deepEqual(await dialog(), ['Философия - Логика', 'Грешка при изпълнение 6:\n\nПрепълване: число извън допустимия обхват.']);
  const b = await page.evaluate(() => {
    const r = document.querySelector('dialog button').getBoundingClientRect();
    return { x: r.x + r.width / 2, y: r.y + r.height / 2 };
  });
  await page.click(b.x, b.y);
  assert.equal(await dialog(), null);
  const shown = await web.state(page);
  await web.click(page, 'Command1', 2);
  await web.click(page, 'Option1', 0);
  await page.press('Tab');
  await page.press('Space');
  assert.deepEqual(await web.state(page), shown);
  assert.deepEqual(shown.pools, [7, 6, 7]);
});

test('a failure of the page\'s script on an event\'s way shows the error box too', async () => {
  const page = await web.open(browser);
  await page.evaluate((css) => {
    Object.defineProperty(document.querySelector(css), 'children', { get() { throw new Error('the pool is gone'); } });
  }, web.selector('List1', 0));
  await web.click(page, 'Command1', 0);
  assert.deepEqual(await web.errors(page), ['error box: Философия - ЛогикаГрешка при изпълнение:\n\nthe pool is goneДобре']);
});

test('the selectors\' arrow keys: the neighbour in the row or column, no wrap, selected with one click', async () => {
  const page = await web.open(browser);
  await page.evaluate(() => {
    window.clicks = [];
    document.addEventListener('change', (e) => window.clicks.push(Number(e.target.closest('label').dataset.index)), true);
  });
  await web.focus(page, 'Command1', 4);
  await page.press('Tab');
  const seen = [];
  for (const key of ['ArrowRight', 'ArrowRight', 'ArrowRight', 'ArrowDown', 'ArrowDown', 'ArrowDown', 'ArrowLeft',
    'ArrowUp', 'ArrowLeft', 'ArrowLeft', 'ArrowUp', 'ArrowUp']) {
    await page.press(key);
    seen.push(`${await focused(page)} ${(await web.state(page)).selected}`);
  }
  assert.deepEqual(seen, ['Option1(1) 1', 'Option1(2) 2', 'Option1(2) 2', 'Option1(5) 5', 'Option1(8) 8', 'Option1(8) 8',
    'Option1(7) 7', 'Option1(4) 4', 'Option1(3) 3', 'Option1(3) 3', 'Option1(0) 0', 'Option1(0) 0']);
  assert.deepEqual(await page.evaluate(() => window.clicks), [1, 2, 5, 8, 7, 4, 3, 0]);
  await web.click(page, 'Command1', 3);
  assert.equal((await web.state(page)).cells[0], '1');
  // Cleared by "Чисти", the group is entered at "1-1" selecting nothing,
  // and the arrows select again.
  await web.click(page, 'Command1', 2);
  await web.focus(page, 'Command1', 4);
  await page.press('Tab');
  assert.equal(`${await focused(page)} ${(await web.state(page)).selected}`, 'Option1(0) -1');
  await page.press('ArrowRight');
  await page.press('ArrowDown');
  assert.equal(`${await focused(page)} ${(await web.state(page)).selected}`, 'Option1(4) 4');
  await web.click(page, 'Command1', 3);
  assert.equal((await web.state(page)).cells[4], '1');
});

// Forced colours (Windows' high contrast, emulated by Chromium): every state
// still looks different: a selected selector from the others, a disabled
// button from an enabled one, a focused control from itself unfocused.
test('under forced colours every state stays distinguishable', chromiumOnly, async () => {
  const page = await web.open(browser);
  await page.raw.emulateMedia({ forcedColors: 'active' });
  const shot = (name, index) => page.shot(web.selector(name, index));
  await web.focus(page, 'Text1', 0);
  const unselected = await shot('Option1', 4);
  await web.click(page, 'Option1', 4);
  await web.focus(page, 'Text1', 0);
  assert.ok(!(await shot('Option1', 4)).equals(unselected), 'a selected selector looks unselected');
  const enabled = await shot('Command1', 0);
  await web.click(page, 'Command1', 3);
  assert.equal((await web.state(page)).enabled[0], false);
  assert.ok(!(await shot('Command1', 0)).equals(enabled), 'a disabled button looks enabled');
  const unfocused = await shot('Command1', 2);
  // By the keyboard, which shows the focus of a button.
  await web.focus(page, 'Text2', 0);
  await page.press('Shift+Tab');
  assert.equal(await focused(page), 'Command1(2)');
  assert.ok(!(await shot('Command1', 2)).equals(unfocused), 'the focus does not show');
});

test('a pool shows six whole rows of the form\'s font and scrolls by rows with the keys', async () => {
  const page = await web.open(browser);
  for (let i = 0; i < 7; ++i) await web.click(page, 'Command1', 0);
  const css = web.selector('List1', 1);
  const look = () => page.evaluate((s) => {
    const list = document.querySelector(s);
    const top = list.getBoundingClientRect().top + list.clientTop;
    const rows = Array.from(list.children, (e) => e.getBoundingClientRect());
    const whole = rows.filter((r) => r.top >= top - 0.5 && r.bottom <= top + list.clientHeight + 0.5).length;
    return { whole, height: rows[0].height, top: list.scrollTop, rows: rows.length };
  }, css);
  assert.deepEqual(await look(), { whole: 6, height: 18, top: 0, rows: 21 });
  await web.focus(page, 'List1', 1);
  const tops = [];
  for (const key of ['ArrowDown', 'PageDown', 'ArrowUp', 'End', 'Home']) {
    await page.press(key);
    tops.push((await look()).top);
  }
  assert.deepEqual(tops, [18, 126, 108, 21 * 18 - (await page.evaluate((s) => document.querySelector(s).clientHeight, css)), 0]);
});

test('disabled buttons are grey with the white engraving', async () => {
  const page = await web.open(browser);
  const look = () => page.evaluate((css) => {
    const s = getComputedStyle(document.querySelector(css));
    return `${s.color} ${s.textShadow}`;
  }, web.selector('Command1', 0));
  assert.match(await look(), /^rgb\(0, 0, 0\) none$/);
  await web.click(page, 'Command1', 3);
  assert.match(await look(), /^rgb\(128, 128, 128\) rgb\(255, 255, 255\) 1px 1px/);
});

test('a language tag that is no valid one gives the point, and the page plays', chromiumOnly, async () => {
  for (const language of ['C', '', 'en_US']) {
    const page = await web.open(browser, { language });
    assert.equal(await page.evaluate(() => navigator.language), language);
    await web.click(page, 'Option1', 4);
    await web.click(page, 'Command1', 3);
    assert.equal((await web.state(page)).summaries[1], ' = 1 / 0.5', JSON.stringify(language));
    assert.deepEqual(await web.errors(page), []);
    await page.close();
  }
});

// Where the description's own colours are below the contrast axe-core asks
// for, the description wins: those and nothing else may be reported.
test('axe-core finds nothing but the description\'s own colours', chromiumOnly, async () => {
  const page = await web.open(browser);
  const source = fs.readFileSync(path.join(require.resolve('axe-core'), '..', 'axe.min.js'), 'utf8');
  const found = await page.evaluate(async (axeSource) => {
    (0, eval)(axeSource);
    const { violations } = await window.axe.run(document);
    return violations.flatMap((v) => v.nodes.map((n) => {
      const e = document.querySelector(n.target[0]);
      const box = e && e.closest('[data-name]');
      return `${v.id} ${box ? `${box.dataset.name}(${box.dataset.index ?? -1})` : n.target[0]}`;
    }));
  }, source);
  const ownColours = ['color-contrast Command1(4)'];
  assert.deepEqual(found.filter((f) => !ownColours.includes(f)), []);
});
