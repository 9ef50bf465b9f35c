// One thin layer over the three engines the page's tests drive: Debian's
// Chromium through Playwright, Firefox ESR through Puppeteer (WebDriver
// BiDi) and WebKitGTK's MiniBrowser through Selenium and WebKitWebDriver.
// BOTTLES_ENGINE picks one; the tests see only what is below.
'use strict';
const { execFileSync, spawn } = require('node:child_process');
const net = require('node:net');

const engine = process.env.BOTTLES_ENGINE || 'chromium';

// Keys by the names Playwright gives them ("Shift+Tab" holds Shift).
const seleniumKeys = {
  Tab: 'TAB', Shift: 'SHIFT', Space: 'SPACE', Enter: 'ENTER', Backspace: 'BACK_SPACE', Delete: 'DELETE',
  ArrowUp: 'ARROW_UP', ArrowDown: 'ARROW_DOWN', ArrowLeft: 'ARROW_LEFT', ArrowRight: 'ARROW_RIGHT',
  PageUp: 'PAGE_UP', PageDown: 'PAGE_DOWN', Home: 'HOME', End: 'END',
};

// What every engine's page offers: evaluate(fn, arg), click(x, y, count),
// tap(x, y), press(key), type(text), shot(css), goto(url), back(), reload(),
// close();
// errors() lists the page's uncaught errors where the engine tells them.
// Launch options beyond the window: `args` for Chromium's command line,
// `colorScheme` the user prefers in Chromium, `prefs` for Firefox's preferences.
const engines = {
  async chromium({ locale = 'en-US', device = null, width = 1280, height = 720, args = [], colorScheme = 'light' } = {}) {
    const { chromium, devices } = require('playwright-core');
    // sRGB output keeps the screenshots' colours exact.
    const browser = await chromium.launch({
      executablePath: '/usr/bin/chromium',
      args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
        '--disable-background-networking', '--disable-component-update', '--disable-sync',
        '--force-color-profile=srgb', ...args],
    });
    return {
      browser,
      async open(url, { language } = {}) {
        const settings = { ...(device ? devices[device] : { viewport: { width, height } }), locale, colorScheme };
        const context = await browser.newContext(settings);
        const page = await context.newPage();
        const errors = [];
        page.on('pageerror', (e) => errors.push(e.message));
        if (language !== undefined) {
          await page.addInitScript((tag) => {
            Object.defineProperty(navigator, 'language', { get: () => tag });
            Object.defineProperty(navigator, 'languages', { get: () => [tag] });
          }, language);
        }
        await page.goto(url);
        return {
          raw: page,
          errors: () => errors,
          evaluate: (fn, arg) => page.evaluate(fn, arg),
          click: (x, y, count = 1) => page.mouse.click(x, y, { clickCount: count }),
          async dblclick(x, y) { await page.mouse.dblclick(x, y); },
          tap: (x, y) => page.touchscreen.tap(x, y),
          press: (key) => page.keyboard.press(key),
          type: (text) => page.keyboard.type(text),
          shot: (css) => page.locator(css).screenshot(),
          goto: (to) => page.goto(to),
          back: () => page.goBack(),
          reload: () => page.reload(),
          close: () => context.close(),
        };
      },
      close: () => browser.close(),
    };
  },

  async firefox({ locale = 'en-US', width = 1280, height = 720, prefs = {} } = {}) {
    const puppeteer = require('puppeteer-core');
    const browser = await puppeteer.launch({
      browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true,
      extraPrefsFirefox: { 'intl.accept_languages': locale, 'intl.locale.requested': locale, ...prefs },
    });
    return {
      browser,
      async open(url) {
        const page = await browser.newPage();
        await page.setViewport({ width, height });
        const errors = [];
        page.on('pageerror', (e) => errors.push(e.message));
        await page.goto(url);
        return {
          raw: page,
          errors: () => errors,
          evaluate: (fn, arg) => page.evaluate(fn, arg),
          click: (x, y) => page.mouse.click(x, y),
          dblclick: (x, y) => page.mouse.click(x, y, { count: 2 }),
          async press(key) {
            const keys = key.split('+');
            for (const k of keys.slice(0, -1)) await page.keyboard.down(k);
            const last = keys[keys.length - 1];
            await page.keyboard.press(last === 'Space' ? ' ' : last);
            for (const k of keys.slice(0, -1).reverse()) await page.keyboard.up(k);
          },
          type: (text) => page.keyboard.type(text),
          shot: async (css) => Buffer.from(await (await page.$(css)).screenshot()),
          goto: (to) => page.goto(to),
          // Puppeteer's own wait for these navigations never ends where the
          // page comes back from the back/forward cache: the caller waits
          // for what it needs.
          back: () => page.evaluate(() => { history.back(); }),
          reload: () => page.evaluate(() => { location.reload(); }),
          close: () => page.close(),
        };
      },
      close: () => browser.close(),
    };
  },

  // MiniBrowser takes navigator.language from LANG, and needs the X display
  // that tools/test_web.sh starts; BOTTLES_LOCPATH is where the tests'
  // locales were compiled (tests/web/CMakeLists.txt).
  async webkit({ locale = 'en-US' } = {}) {
    const { Builder, Key, Origin } = require('selenium-webdriver');
    const port = await new Promise((resolve) => {
      const server = net.createServer().listen(0, '127.0.0.1', () => {
        const p = server.address().port;
        server.close(() => resolve(p));
      });
    });
    const lang = locale.replace('-', '_') + '.UTF-8';
    const locales = process.env.BOTTLES_LOCPATH ? { LOCPATH: process.env.BOTTLES_LOCPATH } : {};
    const service = spawn('/usr/bin/WebKitWebDriver', [`--port=${port}`],
      { env: { ...process.env, ...locales, LANG: lang, LC_ALL: lang }, stdio: 'ignore' });
    const server = `http://127.0.0.1:${port}`;
    let driver;
    for (let tries = 0; !driver; ++tries) {
      try {
        driver = await new Builder().usingServer(server).withCapabilities({
          browserName: 'MiniBrowser',
          'webkitgtk:browserOptions': {
            binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser', args: ['--automation'],
          },
        }).build();
      } catch (e) {
        if (tries > 50) throw e;
        await new Promise((resolve) => setTimeout(resolve, 100));
      }
    }
    const key = (name) => Key[seleniumKeys[name]] || name;
    const pointer = async (x, y, count) => {
      let chain = driver.actions().move({ x: Math.round(x), y: Math.round(y), origin: Origin.VIEWPORT });
      for (let i = 0; i < count; ++i) chain = chain.press().release();
      await chain.perform();
    };
    return {
      browser: driver,
      async open(url) {
        // A fresh browsing context for each page, as a new visit.
        const old = await driver.getWindowHandle();
        await driver.switchTo().newWindow('tab');
        const fresh = await driver.getWindowHandle();
        await driver.switchTo().window(old);
        await driver.close();
        await driver.switchTo().window(fresh);
        await driver.get(url);
        return {
          raw: driver,
          errors: () => [],
          evaluate: (fn, arg) => driver.executeScript(`return (${fn})(arguments[0]);`, arg),
          click: (x, y) => pointer(x, y, 1),
          dblclick: (x, y) => pointer(x, y, 2),
          async press(name) {
            const keys = name.split('+').map(key);
            let chain = driver.actions();
            for (const k of keys) chain = chain.keyDown(k);
            for (const k of keys.reverse()) chain = chain.keyUp(k);
            await chain.perform();
          },
          async type(text) { await driver.actions().sendKeys(text).perform(); },
          async shot(css) {
            // After the next frame, which draws what the last key changed.
            await driver.executeScript('return new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done)));');
            // WebKitWebDriver's screenshot of a control alone comes out all
            // black (of the form whole it is right): the control's box is cut
            // from the window's screenshot instead, by ImageMagick.
            const [x, y, width, height] = await driver.executeScript(`const r = document.querySelector(arguments[0])
              .getBoundingClientRect(); return [r.x, r.y, r.width, r.height].map((v) => Math.round(v * devicePixelRatio));`, css);
            const window = Buffer.from(await driver.takeScreenshot(), 'base64');
            return execFileSync('convert', ['png:-', '-crop', `${width}x${height}+${x}+${y}`, '+repage', 'png:-'],
              { input: window });
          },
          goto: (to) => driver.get(to),
          back: () => driver.navigate().back(),
          reload: () => driver.navigate().refresh(),
          close: async () => {},
        };
      },
      async close() {
        try { await driver.quit(); } finally { service.kill(); }
      },
    };
  },
};

function launch(options) {
  if (!engines[engine]) throw new Error(`no such engine: ${engine}`);
  return engines[engine](options);
}

module.exports = { engine, launch };
