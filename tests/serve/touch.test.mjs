// The phone's gestures and input on the device page of `zimtone serve`, in headless Chromium:
// real mouse drags and clicks on the screen picture and real key presses, checked against the
// hosts' own account of their state (their `dump`), not against the page.
//
// Usage: node touch.test.mjs BUILD_DIR

import { test, before, after, beforeEach } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { createRequire } from 'node:module';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { askHost as askHostAt, waitFor as waitForAt } from './host_page_support.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const { chromium } = createRequire(join(here, '..', 'browser', 'package.json'))('playwright-core');

const build = resolve(process.argv[2] ?? 'build');
const work = mkdtempSync(join(tmpdir(), 'zimtone-touch-browser-'));
const root = join(work, 'device');
const SCREEN = { width: 375, height: 667 };

let serve, browser, page, url;
let serveErrors = '';

const waitFor = (check, what, timeout = 20000) => waitForAt(check, what, timeout, () => serveErrors);

// One command on a host's control socket: the host's own account of itself.
const askHost = (role, line) => askHostAt(root, role, line);

const phone = async () => (await askHost('springboard', 'dump')).screen.phone;
const messages = async () => (await askHost('messages', 'dump')).screen.messages;
const showing = async () => (await (await fetch(url + 'api/status')).json()).screen;

// The views a person can see in a dump (a hidden view hides its subviews), with their rectangles
// in screen points.
function placed(view, predicate, x = 0, y = 0, found = []) {
  if (view.hidden) return found;
  const [fx, fy, w, h] = view.frame;
  const at = { x: x + fx, y: y + fy, width: w, height: h };
  if (predicate(view)) found.push({ view, ...at });
  for (const sub of view.subviews ?? []) placed(sub, predicate, at.x, at.y, found);
  return found;
}
const onScreen = async (role, className) =>
  placed((await askHost(role, 'dump')).screen, (v) => v.class === className);

// A screen point as a point of the page, through the picture's box.
async function pagePoint(x, y) {
  const box = await page.locator('#screen').boundingBox();
  return { x: box.x + (x * box.width) / SCREEN.width, y: box.y + (y * box.height) / SCREEN.height };
}

// The page says what the host made of a touch once its answer is back.
async function answered(what) {
  return waitFor(async () => {
    const text = await page.locator('#result').textContent();
    return text.startsWith('touch: ') && text;
  }, `the answer to ${what}`);
}

async function drag(from, to) {
  await page.evaluate(() => (document.getElementById('result').textContent = ''));
  const start = await pagePoint(from.x, from.y);
  const end = await pagePoint(to.x, to.y);
  await page.mouse.move(start.x, start.y);
  await page.mouse.down();
  await page.mouse.move(end.x, end.y, { steps: 6 });
  await page.mouse.up();
}

async function tap(x, y) {
  const at = await pagePoint(x, y);
  await page.mouse.click(at.x, at.y);
}

const centre = (r) => ({ x: r.x + r.width / 2, y: r.y + r.height / 2 });

async function bulletin(app, title, message) {
  const answer = await askHost('springboard', `bulletin ${app} "${title}" "${message}"`);
  assert.equal(answer.ok, true, JSON.stringify(answer));
  await waitFor(async () => (await phone()).banner !== null, 'the banner');
}

before(async () => {
  serve = spawn(join(build, 'bin', 'zimtone'), ['serve', '--root', root, '--port', '0', '--no-browser']);
  serve.stderr.on('data', (d) => (serveErrors += d.toString()));
  let out = '';
  serve.stdout.on('data', (d) => (out += d.toString()));
  url = await waitFor(() => out.match(/Zimtone 2 device: (http:\/\/127\.0\.0\.1:\d+\/)/)?.[1], 'zimtone serve', 90000);
  browser = await chromium.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu'],
  });
  page = await browser.newPage({ viewport: { width: 1280, height: 900 } });
  page.on('pageerror', (e) => console.error('page error:', e.message));
  await page.goto(url);
  await page.locator('#screen').waitFor({ state: 'visible', timeout: 30000 });
});

after(async () => {
  await browser?.close();
  if (serve && serve.exitCode === null) {
    const stopped = new Promise((done) => serve.on('exit', done));
    serve.kill('SIGTERM');
    await stopped;
  }
  rmSync(work, { recursive: true, force: true });
});

// Each test starts on the unlocked, awake home screen without a banner, showing it.
beforeEach(async () => {
  const state = await phone();
  if (state.asleep) await askHost('springboard', 'sleep');
  await askHost('springboard', 'unlock');
  await askHost('springboard', 'nc close');
  while ((await askHost('springboard', 'dismiss')).ok);
  await askHost('messages', 'reply close');
  if ((await showing()) !== 'springboard') {
    await page.locator('#home-button').click();
    await waitFor(async () => (await showing()) === 'springboard', 'the home screen');
  }
});

test('a drag down from the top edge opens Notification Center and a swipe up closes it', async () => {
  await drag({ x: 180, y: 4 }, { x: 180, y: 400 });
  await waitFor(async () => (await phone()).notificationCenter === true, 'Notification Center to open');
  await drag({ x: 180, y: 600 }, { x: 180, y: 200 });
  await waitFor(async () => (await phone()).notificationCenter === false, 'Notification Center to close');
  // A drag that starts lower down is no gesture.
  await drag({ x: 180, y: 300 }, { x: 180, y: 600 });
  assert.equal(await answered('a drag from the middle'), 'touch: nothing happened');
  assert.equal((await phone()).notificationCenter, false);
});

test('a banner swiped up goes away; a banner tapped opens its app', async () => {
  await bulletin('com.apple.mobilenotes', 'Notes', 'Milk');
  await drag({ x: 180, y: 50 }, { x: 180, y: 5 });
  await waitFor(async () => (await phone()).banner === null, 'the banner to go');
  assert.equal((await phone()).opened, null, 'a dismissed banner opens nothing');

  await bulletin('com.apple.mobilenotes', 'Notes', 'Eggs');
  await tap(180, 35);
  await waitFor(async () => (await phone()).banner === null, 'the tapped banner to go');
  assert.equal((await phone()).opened, 'com.apple.mobilenotes');
});

test('a Messages banner shows Reply only when pulled down, and Reply opens the quick reply', async () => {
  // A reply left half written on the extension gives way to the new one.
  await askHost('messages', 'reply "Ben" "Earlier"');
  await askHost('messages', 'key draft');
  await bulletin('com.apple.MobileSMS', 'Anna', 'Lunch?');
  assert.deepEqual(await onScreen('springboard', 'SBNotificationVibrantButton'), [], 'no buttons before the pull');
  await drag({ x: 180, y: 40 }, { x: 180, y: 110 });
  await waitFor(async () => (await phone()).banner?.pulledDown === true, 'the banner pulled down');
  const buttons = await onScreen('springboard', 'SBNotificationVibrantButton');
  assert.equal(buttons.length, 2);
  const reply = centre(buttons[0]);
  await tap(reply.x, reply.y);
  await waitFor(async () => (await messages()).text === '', 'a new quick reply on the Messages host');
  assert.equal((await messages()).replyOpen, true);
  await waitFor(async () => (await showing()) === 'messages', 'the Messages screen on show');
  assert.equal((await phone()).banner, null, 'the banner went with its action');
});

test('keys clicked on the keyboard and typed on the computer write the reply; Send posts it', async () => {
  await askHost('messages', 'reply "Ben" "Running late?"');
  await page.locator('[data-show="messages"]').click();
  await waitFor(async () => (await showing()) === 'messages', 'the Messages screen');
  // The letter keys in rows: q..p, a..l, then shift z..m delete.
  const keys = await onScreen('messages', 'UIKBBlurredKeyView');
  const rows = [...new Set(keys.map((k) => k.y))].sort((a, b) => a - b);
  const row = (n) => keys.filter((k) => k.y === rows[n]).sort((a, b) => a.x - b.x);
  const h = centre(row(1)[5]);
  const i = centre(row(0)[7]);
  await tap(h.x, h.y);
  await tap(i.x, i.y);
  await waitFor(async () => (await messages()).text === 'hi', 'the clicked keys typed');

  await page.keyboard.type(' yo!');
  await waitFor(async () => (await messages()).text === 'hi yo!', 'the typed keys');
  await page.keyboard.press('Backspace');
  await waitFor(async () => (await messages()).text === 'hi yo', 'backspace');

  const [send] = (await onScreen('messages', 'UIButton')).filter((b) => b.x > 300);
  await tap(centre(send).x, centre(send).y);
  await waitFor(async () => (await messages()).replyOpen === false, 'the reply view to close');
  assert.deepEqual((await messages()).sent.slice(-1), ['hi yo']);
  await waitFor(async () => (await showing()) === 'springboard', 'the home screen again');
});

test('Enter sends the reply from the computer keyboard', async () => {
  await askHost('messages', 'reply "Cleo" "Coffee?"');
  await page.locator('[data-show="messages"]').click();
  await waitFor(async () => (await showing()) === 'messages', 'the Messages screen');
  await page.locator('#screen').focus();
  await page.keyboard.type('Sure');
  await waitFor(async () => (await messages()).text === 'Sure', 'the typed reply');
  await page.keyboard.press('Enter');
  await waitFor(async () => (await messages()).replyOpen === false, 'the reply sent');
  assert.deepEqual((await messages()).sent.slice(-1), ['Sure']);
  await waitFor(async () => (await showing()) === 'springboard', 'the home screen again');
});

test('slide to unlock, and a lock-screen notification tapped unlocks to its app', async () => {
  await askHost('springboard', 'lock');
  // A short slide stays locked.
  await drag({ x: 40, y: 600 }, { x: 120, y: 600 });
  assert.equal(await answered('a short slide'), 'touch: nothing happened');
  assert.equal((await phone()).locked, true);
  await drag({ x: 40, y: 600 }, { x: 330, y: 605 });
  await waitFor(async () => (await phone()).locked === false, 'the slide to unlock');

  await askHost('springboard', 'lock');
  await askHost('springboard', 'bulletin com.apple.mobilemail "Mail" "Invoice"');
  const [cell] = await waitFor(async () => {
    const cells = await onScreen('springboard', 'SBLockScreenBulletinCell');
    return cells.length === 1 && cells;
  }, 'the lock-screen notification');
  await tap(centre(cell).x, centre(cell).y);
  await waitFor(async () => (await phone()).locked === false, 'the tap to unlock');
  assert.equal((await phone()).opened, 'com.apple.mobilemail');
});

test('Sleep/Wake darkens and locks the phone, Home wakes it, and Home closes Notification Center', async () => {
  await page.locator('#sleep-button').click();
  await waitFor(async () => (await phone()).asleep === true, 'the phone asleep');
  assert.equal((await phone()).locked, true);
  // A touch on a dark screen does nothing.
  await drag({ x: 40, y: 600 }, { x: 330, y: 600 });
  assert.equal(await answered('a slide on the dark screen'), 'touch: nothing happened');
  assert.equal((await phone()).locked, true);
  await page.locator('#home-button').click();
  await waitFor(async () => (await phone()).asleep === false, 'the phone awake');
  assert.equal((await phone()).locked, true, 'awake on the lock screen');

  await drag({ x: 40, y: 600 }, { x: 330, y: 600 });
  await waitFor(async () => (await phone()).locked === false, 'unlocked');
  await drag({ x: 180, y: 4 }, { x: 180, y: 400 });
  await waitFor(async () => (await phone()).notificationCenter === true, 'Notification Center open');
  await page.locator('#home-button').click();
  await waitFor(async () => (await phone()).notificationCenter === false, 'Home to close Notification Center');
});

test('a Notification Center row tapped opens its app and closes Notification Center', async () => {
  await bulletin('com.apple.weather', 'Weather', 'Rain at four');
  await bulletin('com.apple.Maps', 'Maps', 'Turn left ahead');
  while ((await askHost('springboard', 'dismiss')).ok);
  await drag({ x: 180, y: 4 }, { x: 180, y: 400 });
  await waitFor(async () => (await phone()).notificationCenter === true, 'Notification Center to open');
  const before = (await phone()).opened;
  // Newest app first: Maps, then Weather, above the apps of earlier tests.
  const rows = (await onScreen('springboard', 'SBNotificationsBulletinCell')).sort((a, b) => a.y - b.y);
  assert.ok(rows.length >= 2, `rows: ${rows.length}`);
  const headers = (await onScreen('springboard', 'SBNotificationCenterHeaderView')).filter((h) => h.y < rows[1].y);
  const weatherHeader = headers.sort((a, b) => b.y - a.y)[0];
  await page.evaluate(() => (document.getElementById('result').textContent = ''));
  await tap(centre(weatherHeader).x, centre(weatherHeader).y);
  assert.equal(await answered('a tap on a section header'), 'touch: nothing happened');
  assert.equal((await phone()).notificationCenter, true, 'a header tap leaves Notification Center open');
  assert.equal((await phone()).opened, before);

  await tap(centre(rows[1]).x, centre(rows[1]).y);
  await waitFor(async () => (await phone()).notificationCenter === false, 'Notification Center to close');
  assert.equal((await phone()).opened, 'com.apple.weather');
});
