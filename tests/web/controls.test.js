// Every control answers as a user expects: a click anywhere in a selector's
// box, Enter and Space on the focused button, Tab in tab order with the
// focus visible, read-only cells and panels, the separator of the browser's
// language, names in the browser's accessibility tree, and the error dialog.
'use strict';
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const web = require('./page.js');

let browser;
before(async () => { browser = await web.launch(); });
after(async () => { await browser.close(); });

async function focused(page) {
  return page.evaluate(() => {
    const e = document.activeElement;
    const box = e && e.closest('[data-name]');
    return box ? `${box.dataset.name}(${box.dataset.index ?? -1})` : String(e && e.tagName);
  });
}

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
    await page.mouse.dblclick(b.x + b.width / 2, b.y + b.height / 2);
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
  const rows = web.description().filter((r) => r.visible && !['Label', 'Frame'].includes(r.kind))
    .sort((a, b) => a.tab - b.tab);
  const stops = (groupStop, disabled = []) => rows
    .filter((r) => (r.name !== 'Option1' || r.index === groupStop) && !disabled.includes(`${r.name}(${r.index})`))
    .map((r) => `${r.name}(${r.index})`);
  const walk = async (n) => {
    const seen = [];
    for (let i = 0; i < n; ++i) { await page.keyboard.press('Tab'); seen.push(await focused(page)); }
    return seen;
  };
  assert.deepEqual(await walk(19), stops(0));
  await page.locator(web.selector('Command1', 0)).focus();
  await page.keyboard.press('Enter');
  await page.keyboard.press('Space');
  assert.deepEqual((await web.state(page)).pools, [5, 11, 5]);
  await web.click(page, 'Option1', 7);
  await page.locator(web.selector('Command1', 3)).focus();
  await page.keyboard.press('Enter');
  assert.deepEqual((await web.state(page)).cells[7], '1');
  await page.locator(web.selector('Text1', 0)).focus();
  // The group of selectors is one stop, at the selected one.
  assert.deepEqual(await walk(16), stops(7, ['Command1(0)', 'Command1(1)']).slice(1));
});

test('the focus is visible on buttons, selectors, cells and pools', async () => {
  const page = await web.open(browser);
  for (const [name, index] of [['Command1', 2], ['Command1', 3], ['Text2', 4], ['List1', 0]]) {
    const control = page.locator(web.selector(name, index));
    const before = await control.screenshot();
    await control.focus();
    await page.keyboard.press('Shift+Tab');  // focus by keyboard, as a user's
    await page.keyboard.press('Tab');
    assert.equal(await focused(page), `${name}(${index})`);
    assert.notDeepEqual(await control.screenshot(), before, `${name}(${index})`);
  }
  const group = page.locator(web.selector('Option1', 0));
  const before = await group.screenshot();
  await page.locator(web.selector('Command1', 4)).focus();
  await page.keyboard.press('Tab');
  assert.equal(await focused(page), 'Option1(0)');
  assert.notDeepEqual(await group.screenshot(), before, 'Option1(0)');
});

test('cells and panels take no typing', async () => {
  const page = await web.open(browser);
  await web.click(page, 'Option1', 0);
  await web.click(page, 'Command1', 3);
  for (const [name, index, want] of [['Text2', 0, '1'], ['Text2', 5, '']]) {
    await web.click(page, name, index);
    await page.keyboard.type('25');
    await page.keyboard.press('Backspace');
    assert.equal(await page.locator(web.selector(name, index)).inputValue(), want);
  }
  const panel = page.locator(web.selector('Text1', 0));
  const text = await panel.inputValue();
  await panel.click();
  await page.keyboard.type('x');
  await page.keyboard.press('Delete');
  assert.equal(await panel.inputValue(), text);
});

test('the separator of the summaries is the browser language\'s', async () => {
  for (const [locale, want] of [['bg-BG', ' = 1 / 0,5'], ['en-US', ' = 1 / 0.5']]) {
    const page = await web.open(browser, locale);
    await web.click(page, 'Option1', 4);
    await web.click(page, 'Command1', 3);
    assert.equal((await web.state(page)).summaries[1], want, locale);
    await page.context().close();
  }
});

test('names and roles in the browser\'s accessibility tree', async () => {
  const page = await web.open(browser, 'bg-BG');
  await web.click(page, 'Option1', 4);
  await web.click(page, 'Command1', 3);
  const cdp = await page.context().newCDPSession(page);
  const { nodes } = await cdp.send('Accessibility.getFullAXTree');
  const tree = new Set();
  for (const n of nodes) {
    if (n.ignored || !n.role) continue;
    const readonly = (n.properties || []).some((p) => p.name === 'readonly' && p.value.value);
    tree.add(`${n.role.value} "${n.name ? n.name.value : ''}"${readonly ? ' read-only' : ''}`);
  }
  const want = ['textbox "Логика - по 7 бутилки на 3 маси" read-only',
    'listbox "Пълна"', 'listbox "Полу"', 'listbox "Празна"',
    'button "1 цяла = 2 полу"', 'button "Чисти"', 'button "Постави бутилка"', 'button "Върни бутилка"',
    'group "Бутилки - пълни, празни"', 'group "Маси-бутилки"', 'radio "1-1"', 'radio "3-0.5"',
    'status "1-ва"', 'status "2-ра = 1 / 0,5"', 'status "3-та"'];
  for (const table of ['1-ва', '2-ра', '3-та']) {
    for (const kind of ['Пълна', 'Полу', 'Празна']) want.push(`textbox "${table} ${kind}" read-only`);
  }
  for (const node of want) assert.ok(tree.has(node), `${node} is not in the tree`);
  const textboxes = Array.from(tree).filter((n) => n.startsWith('textbox'));
  assert.equal(textboxes.length, 10, 'the hidden panel is in the tree');
});

test('an error shows the desktop\'s error box as a dialog, and the page then takes no more events', async () => {
  const page = await web.open(browser, 'bg-BG');
  await web.click(page, 'Option1', 4);
  await page.locator(web.selector('Text2', 4)).evaluate((t) => { t.value = '40000'; });
  await web.click(page, 'Command1', 3);
  const dialog = page.getByRole('alertdialog');
  assert.equal(await dialog.isVisible(), true);
  assert.equal(await dialog.locator('h1').textContent(), 'Философия - Логика');
  assert.equal(await dialog.locator('p').textContent(),
    'Грешка при изпълнение 6:\n\nПрепълване: число извън допустимия обхват.');
  assert.equal(await page.getByRole('alertdialog', { name: 'Философия - Логика' }).count(), 1);
  const shown = await web.state(page);
  await page.getByRole('button', { name: 'Добре' }).click();
  assert.equal(await dialog.isVisible(), false);
  await web.click(page, 'Command1', 2);
  await web.click(page, 'Option1', 0);
  await page.keyboard.press('Tab');
  await page.keyboard.press('Space');
  assert.deepEqual(await web.state(page), shown);
  assert.deepEqual(shown.pools, [7, 6, 7]);
});
