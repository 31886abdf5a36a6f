// Drives Debian's firefox-esr over WebDriver BiDi (puppeteer-core) for a Python caller: reads one
// JSON request a line on standard input, {"op": ..., ...}, and answers each with one JSON line on
// standard output, {"ok": true, "value": ...} or {"ok": false, "error": "..."}. firefox.py starts
// it. Firefox needs an X display (DISPLAY): without one it creates no WebGL context.
//
// Requests:
//   launch {width, height, touch, prefs}
//                                  starts Firefox with a page of that viewport and the preferences
//                                  prefs; touch turns on touch events through preferences
//                                  (setViewport's hasTouch does nothing in Firefox)
//   goto {url}                     loads the page
//   evaluate {body, args}          runs `body`, an async function body over `args`; its result
//   viewport {width, height}       resizes the page's viewport
//   press {key}                    a key press and release (puppeteer's key names)
//   touch {points}                 one finger down at each [x, y] at once, then all lifted
//   click {x, y}                   a left click
//   screenshot                     the viewport as a base64 PNG
//   console                        the console lines and page errors since the last request of it
//   close                          closes Firefox and ends the bridge

import readline from 'node:readline';
import puppeteer from 'puppeteer-core';

const FIREFOX = process.env.VORANDEL_FIREFOX || '/usr/bin/firefox-esr';
const TOUCH_PREFS = {
  'dom.w3c_touch_events.enabled': 1,
  'dom.w3c_touch_events.legacy_apis.enabled': true,
  'dom.maxtouchpoints.testing.value': 5,
};

let browser = null;
let page = null;
let consoleLines = [];

async function launch({width, height, touch, prefs}) {
  browser = await puppeteer.launch({
    browser: 'firefox',
    protocol: 'webDriverBiDi',
    executablePath: FIREFOX,
    headless: false,
    defaultViewport: {width, height},
    extraPrefsFirefox: {...(touch ? TOUCH_PREFS : {}), ...(prefs || {})},
  });
  page = (await browser.pages())[0] || (await browser.newPage());
  page.on('console', (message) => {
    consoleLines.push({level: message.type(), text: message.text()});
  });
  page.on('pageerror', (error) => {
    consoleLines.push({level: 'pageerror', text: String(error && error.message || error)});
  });
  return browser.process() ? browser.process().pid : null;
}

const requests = {
  launch,
  goto: async ({url}) => {
    await page.goto(url, {waitUntil: 'load', timeout: 60000});
  },
  evaluate: async ({body, args}) =>
    page.evaluate(`(async (args) => { ${body} })(${JSON.stringify(args || [])})`),
  viewport: async ({width, height}) => page.setViewport({width, height}),
  press: async ({key}) => page.keyboard.press(key),
  touch: async ({points}) => {
    const fingers = [];
    for (const [x, y] of points) fingers.push(await page.touchscreen.touchStart(x, y));
    for (const finger of fingers) await finger.end();
  },
  click: async ({x, y}) => page.mouse.click(x, y),
  screenshot: async () => page.screenshot({encoding: 'base64'}),
  console: async () => {
    const lines = consoleLines;
    consoleLines = [];
    return lines;
  },
  close: async () => {
    if (browser) await browser.close();
    browser = null;
  },
};

async function answer(line) {
  let reply;
  let op = null;
  try {
    const request = JSON.parse(line);
    op = request.op;
    if (!(op in requests)) throw new Error(`no request ${op}`);
    const value = await requests[op](request);
    reply = {ok: true, value: value === undefined ? null : value};
  } catch (error) {
    reply = {ok: false, error: String(error && error.stack || error)};
  }
  await new Promise((done) => process.stdout.write(JSON.stringify(reply) + '\n', done));
  // Once Firefox is closed the bridge ends: the standard input would keep Node.js running.
  if (op === 'close') process.exit(0);
}

// One request at a time, in order; at the end of the input Firefox is closed.
let queue = Promise.resolve();
const input = readline.createInterface({input: process.stdin});
input.on('line', (line) => {
  queue = queue.then(() => answer(line));
});
input.on('close', () => {
  queue = queue.then(() => (browser ? browser.close() : null)).finally(() => process.exit(0));
});
