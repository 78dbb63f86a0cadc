// The device page of `zimtone serve` in headless Chromium, the way a person uses it: the Settings
// app in its frame, the live screen beside it and the controls. What the screen shows is checked
// twice: the picture on the page changes, and the home-screen host's own view tree says why.
//
// Usage: node serve.test.mjs BUILD_DIR [--screenshot FILE.png]

import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { createRequire } from 'node:module';
import { mkdtempSync, rmSync, mkdirSync, readFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { askHost as askHostAt, waitFor as waitForAt } from './host_page_support.mjs';

// The one browser toolchain of the project lives beside the Settings page's browser tests.
const here = dirname(fileURLToPath(import.meta.url));
const { chromium } = createRequire(join(here, '..', 'browser', 'package.json'))('playwright-core');

const args = process.argv.slice(2);
const build = resolve(args[0] ?? 'build');
const shotAt = args.indexOf('--screenshot');
const screenshot = shotAt >= 0 ? resolve(args[shotAt + 1]) : null;
const work = mkdtempSync(join(tmpdir(), 'zimtone-serve-browser-'));
const root = join(work, 'device');

let serve, browser, page, url;
let serveErrors = '';

const waitFor = (check, what, timeout = 30000) => waitForAt(check, what, timeout, () => serveErrors);

// One command on a host's control socket, beside the launcher: the host's own account of its screen.
const askHost = (role, line) => askHostAt(root, role, line);

function views(dump, predicate, found = []) {
  if (dump && typeof dump === 'object') {
    if (predicate(dump)) found.push(dump);
    for (const sub of dump.subviews ?? []) views(sub, predicate, found);
  }
  return found;
}

const homeViews = async (predicate) => views((await askHost('springboard', 'dump')).screen, predicate);
const withText = (text) => (v) => v.text === text;
const ofClass = (name) => (v) => v.class === name;
// The banner draws its own strings; the dump lists them beside its text view.
const bannerTitles = async () =>
  (await homeViews(ofClass('SBDefaultBannerTextView'))).map((v) => v.strings?.primary?.text);

const screenSource = () => page.locator('#screen').getAttribute('src');
// Resolves once the page shows a picture other than the one it showed when this was called.
async function screenChange(what) {
  const was = await screenSource();
  return () => waitFor(async () => (await screenSource()) !== was, `the screen to change after ${what}`);
}

// Clicks a control and answers what the page said about it, checked against what it should say.
async function act(selector, action, expected = 'done') {
  await page.evaluate(() => (document.getElementById('result').textContent = ''));
  await page.locator(selector).click();
  const said = await waitFor(async () => {
    const text = await page.locator('#result').textContent();
    return text.startsWith(`${action}: `) && text;
  }, `the answer to ${action}`);
  assert.equal(said, `${action}: ${expected}`);
}

// A colour of a host dump as the page writes it.
const hexOf = (c) => '#' + c.slice(0, 3).map((v) => Math.round(Math.min(1, Math.max(0, v)) * 255).toString(16).padStart(2, '0')).join('');

const settings = () => page.frameLocator('#settings');
const settingsRow = (label) =>
  settings().locator('.row', { has: page.locator('.label', { hasText: label }) }).first();

// The app picker: a button showing the chosen app over a list of every app.
const pickerButton = () => page.locator('#app');
const pickerList = () => page.getByRole('listbox');
const pickerOptions = () => page.locator('#app-list [role=option]');
const pickerOption = (name) => pickerOptions().filter({ has: page.locator('.app-name', { hasText: new RegExp(`^${name}$`) }) });

async function clickAt(locator) {
  const box = await locator.boundingBox();
  await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
}

// Whether an <img> on the page shows the same pixels as a base64 PNG, both drawn in the page.
async function samePicture(img, base64) {
  const other = new Image();
  other.src = URL.createObjectURL(new Blob([Uint8Array.from(atob(base64), (c) => c.charCodeAt(0))], { type: 'image/png' }));
  await other.decode();
  const pixels = (image) => {
    const canvas = document.createElement('canvas');
    canvas.width = image.naturalWidth;
    canvas.height = image.naturalHeight;
    const context = canvas.getContext('2d');
    context.drawImage(image, 0, 0);
    return context.getImageData(0, 0, canvas.width, canvas.height).data.join(',');
  };
  const same = pixels(img) === pixels(other);
  URL.revokeObjectURL(other.src);
  return same;
}

// The app's option in the picker shows the picture of the icon the home screen gives for it.
async function expectIcon(app, icon) {
  const img = pickerOption(app.name).locator('img');
  await waitFor(() => img.evaluate((e) => e.complete && e.naturalWidth > 0), `the icon of ${app.name}`);
  assert.equal(await img.evaluate(samePicture, icon), true, `${app.name} shows its own icon`);
}

// Opens the picker with the mouse, rolls the list until the app is in sight and clicks it.
async function pickByMouse(name) {
  await clickAt(pickerButton());
  await pickerList().waitFor();
  const option = pickerOption(name);
  const list = await pickerList().boundingBox();
  for (let turns = 0; ; turns++) {
    const box = await option.boundingBox();
    if (box.y >= list.y && box.y + box.height <= list.y + list.height) break;
    assert.ok(turns < 20, `${name} never came into sight in the list`);
    await page.mouse.move(list.x + list.width / 2, list.y + list.height / 2);
    await page.mouse.wheel(0, box.y < list.y ? -120 : 120);
    await waitFor(async () => JSON.stringify(await option.boundingBox()) !== JSON.stringify(box), 'the list to roll');
  }
  await clickAt(option);
  await pickerList().waitFor({ state: 'hidden' });
  assert.equal(await pickerButton().textContent(), name);
}

// Sends a bulletin with this title from the composer and answers the bulletin the home screen shows.
async function sendAndFindBulletin(title) {
  await page.locator('#title').fill(title);
  await act('#send-bulletin', 'bulletin', 'shown');
  const [banner] = await waitFor(async () => {
    const found = await homeViews((v) => v.bulletin?.title === title);
    return found.length === 1 && found;
  }, `the banner "${title}"`);
  await act('[data-action="dismiss"]', 'dismiss');
  return banner.bulletin;
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
  page = await browser.newPage({ viewport: { width: 1280, height: 860 } });
  page.on('pageerror', (e) => console.error('page error:', e.message));
  await page.goto(url);
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

test('the page shows every process, the screen, the Settings app and the apps of the home screen', async () => {
  for (const role of ['springboard', 'messages', 'settings'])
    await page.locator('#hosts li', { hasText: `${role}: up` }).waitFor();
  await waitFor(async () => (await screenSource())?.startsWith('blob:'), 'a screen picture');
  assert.equal(await page.locator('#screen').isVisible(), true);
  await settings().locator('#title', { hasText: 'Zimtone 2' }).waitFor();

  const listed = (await askHost('springboard', 'apps')).apps;
  assert.ok(listed.length > 0, 'the device has apps');
  await waitFor(async () => (await pickerOptions().count()) === listed.length, 'the app list');
  // By display name in the host's order; what a bulletin is sent from stays the bundle identifier.
  const offered = await pickerOptions().evaluateAll((options) =>
    options.map((o) => ({ bundle: o.dataset.bundle, name: o.textContent })));
  assert.deepEqual(offered, listed);
  assert.ok(offered.some((app) => app.name === 'Messages' && app.bundle === 'com.apple.MobileSMS'), 'Messages offered by name');
});

test('every control stays inside the width of the window, the phone keeps its frame, the controls under it when narrow', async () => {
  const controls = page.locator('main button, main input, main select, #hosts button, #screen');
  try {
    for (const width of [800, 1024, 1280, 1920]) {
      await page.setViewportSize({ width, height: 860 });
      const inside = await page.evaluate(() => document.documentElement.clientWidth);
      const count = await controls.count();
      assert.ok(count >= 23, `${width} px: only ${count} controls found`);
      for (let i = 0; i < count; i++) {
        const control = controls.nth(i);
        const what = await control.evaluate((e) => e.id || e.textContent || e.name);
        const box = await control.boundingBox();
        assert.ok(box && box.x >= 0 && box.x + box.width <= inside, `${width} px: ${what} lies at ${JSON.stringify(box)}`);
        // Visible, enabled and not covered by anything: a click would reach it.
        await control.click({ trial: true, timeout: 5000 });
      }
      // The Settings app's frame takes a person's clicks itself, so only its place is checked.
      const settingsPane = await page.locator('#settings').boundingBox();
      assert.equal(settingsPane.width, 377, `${width} px: the Settings app keeps the phone's width`);
      assert.ok(settingsPane.x >= 0 && settingsPane.x + settingsPane.width <= inside, `${width} px: the Settings app`);
      // The phone's body around the screen: the Sleep/Wake button on its top edge at the right,
      // the Home button under the screen, in the middle.
      const phone = await page.locator('#phone').boundingBox();
      const screen = await page.locator('#frame').boundingBox();
      const sleep = await page.locator('#sleep-button').boundingBox();
      const home = await page.locator('#home-button').boundingBox();
      assert.ok(phone.x >= 0 && phone.x + phone.width <= inside, `${width} px: the phone lies at ${JSON.stringify(phone)}`);
      assert.ok(screen.x > phone.x && screen.x + screen.width < phone.x + phone.width && screen.y > phone.y &&
        screen.y + screen.height < phone.y + phone.height, `${width} px: the screen inset in the phone`);
      assert.ok(sleep.y <= phone.y + 2 && sleep.x > screen.x + screen.width / 2, `${width} px: Sleep/Wake at the top right`);
      assert.ok(home.y > screen.y + screen.height && home.y + home.height <= phone.y + phone.height &&
        Math.abs(home.x + home.width / 2 - (screen.x + screen.width / 2)) < 1, `${width} px: Home under the screen`);
      assert.ok(Math.abs(home.width - home.height) < 1, `${width} px: a round Home button`);
      const panel = await page.locator('#controls').boundingBox();
      if (width < 1180) {
        assert.ok(panel.y >= phone.y + phone.height && panel.x === phone.x, `${width} px: controls under the phone`);
      } else {
        assert.ok(panel.x >= phone.x + phone.width, `${width} px: controls beside the phone`);
      }
      const log = await page.locator('#log').boundingBox();
      assert.ok(log.x >= 0 && log.x + log.width <= inside && log.y >= panel.y + panel.height, `${width} px: the log under the controls`);
    }
  } finally {
    await page.setViewportSize({ width: 1280, height: 860 });
  }
});

test('the app picker shows each app with its icon and is used with the mouse and the keyboard alone', async () => {
  const listed = (await askHost('springboard', 'apps')).apps;
  assert.equal(await pickerButton().textContent(), 'Messages', 'Messages is chosen as the page starts');
  assert.equal(await pickerList().isVisible(), false);

  await clickAt(pickerButton());
  await pickerList().waitFor();
  assert.equal(await pickerButton().getAttribute('aria-expanded'), 'true');
  assert.equal(await pickerOption('Messages').getAttribute('aria-selected'), 'true');
  // The pictures are the home screen's own icons; an app without one keeps a plain grey square.
  await waitFor(() => pickerOption('Messages').locator('img').evaluate((img) => img.complete && img.naturalWidth > 0),
    'the icon of Messages');
  for (const app of listed) {
    const icon = (await askHost('springboard', `icon ${app.bundle}`)).icon;
    const option = pickerOption(app.name);
    if (icon) {
      await expectIcon(app, icon);
    } else {
      assert.equal(await option.locator('img').count(), 0, `${app.name} has no icon`);
      const tile = await option.locator('.app-icon').evaluate((e) => {
        const style = getComputedStyle(e);
        return { colour: style.backgroundColor, width: e.clientWidth, height: e.clientHeight, rounded: parseFloat(style.borderTopLeftRadius) > 0 };
      });
      assert.deepEqual(tile, { colour: 'rgb(142, 142, 147)', width: 24, height: 24, rounded: true }, `${app.name}'s grey square`);
    }
  }
  assert.ok(listed.some((app) => app.name === 'Plain Text'), 'an app without an icon is among them');

  // The keyboard: the list opened with the mouse moves down one and Enter takes it.
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Enter');
  await pickerList().waitFor({ state: 'hidden' });
  assert.equal(await pickerButton().textContent(), listed[1].name);
  assert.equal(await page.evaluate(() => document.activeElement.id), 'app', 'the focus back on the picker');
  assert.equal((await sendAndFindBulletin('Picked by keyboard')).sectionID, listed[1].bundle);

  // Escape closes without choosing; a letter goes to the next app starting with it, and on again.
  const byLetter = (letter, after) => {
    const from = listed.findIndex((app) => app.name === after);
    const rest = [...listed.slice(from + 1), ...listed.slice(0, from + 1)];
    return rest.find((app) => app.name.toLowerCase().startsWith(letter));
  };
  await pickerButton().focus();
  await page.keyboard.press('Enter');
  await pickerList().waitFor();
  await page.keyboard.press('End');
  await page.keyboard.press('Escape');
  await pickerList().waitFor({ state: 'hidden' });
  assert.equal(await pickerButton().textContent(), listed[1].name, 'Escape keeps the app chosen before');
  await page.keyboard.press('ArrowDown');
  await pickerList().waitFor();
  await page.keyboard.press('c');
  const first = byLetter('c', listed[1].name);
  await page.keyboard.press('c');
  const second = byLetter('c', first.name);
  assert.notEqual(first.name, second.name);
  await page.keyboard.press('Enter');
  assert.equal(await pickerButton().textContent(), second.name);
  assert.equal((await sendAndFindBulletin('Picked by letter')).sectionID, second.bundle);

  // The mouse: an app further down the list, and a click elsewhere closes the list untouched.
  const weather = listed.find((app) => app.name === 'Weather');
  await pickByMouse('Weather');
  assert.equal((await sendAndFindBulletin('Picked by mouse')).sectionID, weather.bundle);
  await clickAt(pickerButton());
  await pickerList().waitFor();
  await clickAt(page.locator('#controls h2'));
  await pickerList().waitFor({ state: 'hidden' });
  assert.equal(await pickerButton().getAttribute('aria-expanded'), 'false');
  assert.equal(await pickerButton().textContent(), 'Weather');

  // The tests after this one send from Messages, as the page starts.
  await pickByMouse('Messages');

  // A page opened again gets the icons of the apps in the log from the log, and shows them too.
  await page.reload();
  await waitFor(async () => (await pickerOptions().count()) === listed.length, 'the app list after a reload');
  const logged = new Set((await askHost('springboard', 'log')).entries.map((entry) => entry.app));
  assert.equal(logged.size, 3);
  for (const app of listed.filter((app) => logged.has(app.bundle) || app.name === 'Messages'))
    await expectIcon(app, (await askHost('springboard', `icon ${app.bundle}`)).icon);
});

test('a banner sent from the page comes down on the screen', async () => {
  await page.locator('#title').fill('Lunch at one');
  await page.locator('#message').fill('Sent from the device page');
  const changed = await screenChange('the banner');
  await act('#send-bulletin', 'bulletin', 'shown');
  await changed();
  assert.deepEqual(await bannerTitles(), ['Lunch at one']);
  if (screenshot) {
    mkdirSync(dirname(screenshot), { recursive: true });
    await page.screenshot({ path: screenshot, fullPage: true });
  }
  await act('[data-action="dismiss"]', 'dismiss');
});

test('a setting changed in the Settings app changes the device screen', async () => {
  await act('[data-action="lock"]', 'lock');
  const posted = await screenChange('the lock-screen test notification');
  await act('[data-action="test-lockscreen"]', 'test-lockscreen');
  await posted();
  // The notification travels on its own, so the picture may first change for the lock alone.
  const [cell] = await waitFor(async () => {
    const found = await homeViews(ofClass('SBLockScreenBulletinCell'));
    return found.length === 1 && found;
  }, 'the test notification on the lock screen');
  assert.equal(cell.subviews[0].background[3], 1);

  await settingsRow('Lock Screen').click();
  await settings().locator('#title', { hasText: 'Lock Screen' }).waitFor();
  await settings().locator('.row[data-key="LockscreenAlpha"] input[type=range]').fill('0.5');
  await waitFor(async () => (await askHost('springboard', 'tweak')).settings.LockscreenAlpha === 0.5,
    'the home screen to read LockscreenAlpha');
  // The tweak colours cells as the list builds them: the next notification rebuilds it.
  const changed = await screenChange('LockscreenAlpha');
  await act('[data-action="test-lockscreen"]', 'test-lockscreen');
  await changed();
  const alphas = await waitFor(async () => {
    const found = await homeViews(ofClass('SBLockScreenBulletinCell'));
    return found.length === 2 && found.map((cell) => cell.subviews[0].background[3]);
  }, 'two notifications on the lock screen');
  assert.deepEqual(alphas, [0.5, 0.5]);

  // The cycling effect keeps recolouring on its own: the picture changes with no control used.
  await settings().locator('.row[data-key="LockscreenUnicornEnabled"] input[type=checkbox]').click();
  await waitFor(async () => (await askHost('springboard', 'tweak')).settings.LockscreenUnicornEnabled === true,
    'the home screen to read LockscreenUnicornEnabled');
  const cycling = await screenChange('LockscreenUnicornEnabled');
  await act('[data-action="test-lockscreen"]', 'test-lockscreen');
  await cycling();
  await page.evaluate(() => {
    window.screenPictures = 0;
    new MutationObserver(() => window.screenPictures++).observe(document.getElementById('screen'), {
      attributes: true, attributeFilter: ['src'],
    });
  });
  await waitFor(() => page.evaluate(() => window.screenPictures >= 3), 'the cycling colours on the screen');
  await settings().locator('.row[data-key="LockscreenUnicornEnabled"] input[type=checkbox]').click();
  await settings().locator('#left', { hasText: 'Back' }).click();
  await act('[data-action="unlock"]', 'unlock');
});

test('Notification Center opens over the screen and closes again', async () => {
  const opened = await screenChange('opening Notification Center');
  await act('#nc-open', 'nc-open');
  await opened();
  const listed = (await homeViews(ofClass('SBNotificationsBulletinCell'))).filter(
    (cell) => views(cell, withText('Lunch at one')).length > 0);
  assert.equal(listed.length, 1, 'the banner sent earlier is listed');
  const closed = await screenChange('closing Notification Center');
  await act('[data-action="nc-close"]', 'nc-close');
  await closed();
  assert.deepEqual(await homeViews(ofClass('SBNotificationsBulletinCell')), []);
});

test('a reply shows the Messages extension with its keyboard, and closing returns home', async () => {
  await page.locator('#sender').fill('Anna');
  await page.locator('#reply-message').fill('Still on for lunch?');
  await act('#reply-form button[type=submit]', 'reply');
  await page.locator('#screen-title', { hasText: 'Messages extension' }).waitFor();
  await waitFor(async () => {
    const res = await page.request.get(new URL('/api/frame?since=0', url).href);
    return res.headers()['x-frame-role'] === 'messages';
  }, 'a frame of the Messages extension');
  const messages = (await askHost('messages', 'dump')).screen;
  assert.equal(views(messages, withText('Still on for lunch?')).length, 1, 'the message being answered');
  assert.equal(views(messages, ofClass('UIKeyboardLayout')).length, 1, 'the keyboard');
  await act('[data-action="reply-close"]', 'reply-close');
  await page.locator('#screen-title', { hasText: 'Home screen' }).waitFor();
});

// The outlines the page draws, as boxes in screen points measured from where they lie on the picture.
async function outlinedBoxes() {
  const screen = await page.locator('#screen').boundingBox();
  const boxes = [];
  for (const outline of await page.locator('#contrast-overlay .contrast-box').all()) {
    const b = await outline.boundingBox();
    boxes.push({
      box: [(b.x - screen.x) * 375 / screen.width, (b.y - screen.y) * 667 / screen.height,
        b.width * 375 / screen.width, b.height * 667 / screen.height],
      title: await outline.getAttribute('title'),
    });
  }
  return boxes;
}

// Whether the page outlines exactly the failing texts the host answers for its own screen: each
// text one outline at its box, with its ratio in the tooltip.
async function outlinesMatchHost(role) {
  const failing = (await askHost(role, 'text-audit --failing')).texts;
  const drawn = await outlinedBoxes();
  if (drawn.length !== failing.length) return false;
  const unmatched = [...drawn];
  for (const text of failing) {
    const at = unmatched.findIndex((d) => text.box.every((v, k) => Math.abs(v - d.box[k]) < 0.75) &&
      d.title.includes(text.contrast.worst_tenth.toFixed(2) + ':1'));
    if (at < 0) return false;
    unmatched.splice(at, 1);
  }
  return failing;
}

// The one line the page should say of these failing texts.
function contrastSummary(failing) {
  if (failing.length === 0) return 'every text passes';
  const thresholds = new Set(failing.map((t) => t.threshold));
  const count = `${failing.length} text${failing.length === 1 ? '' : 's'}`;
  return thresholds.size === 1 ? `${count} below ${[...thresholds][0]}:1` : `${count} below their threshold`;
}

test('Show contrast problems outlines the texts the host finds failing and follows the frame', async () => {
  const overlay = page.locator('#contrast-overlay');
  assert.equal(await page.locator('#show-contrast').isChecked(), false, 'off by default');
  assert.equal(await overlay.isVisible(), false);
  await page.locator('#sender').fill('Anna');
  await page.locator('#reply-message').fill('Lunch?');
  await act('#reply-form button[type=submit]', 'reply');
  await waitFor(async () => {
    const res = await page.request.get(new URL('/api/frame?since=0', url).href);
    return res.headers()['x-frame-role'] === 'messages';
  }, 'a frame of the Messages extension');

  await page.locator('#show-contrast').click();
  // The white keys on the light green keyboard of Messages fail.
  const failing = await waitFor(() => outlinesMatchHost('messages'), 'outlines of the failing keys');
  assert.ok(failing.length > 0, 'the keyboard has failing texts');
  assert.equal(await page.locator('#contrast-summary').textContent(), contrastSummary(failing));
  assert.equal(await overlay.isVisible(), true);

  // Back on the home screen, the outlines are the home screen's own, without another click.
  await act('[data-action="reply-close"]', 'reply-close');
  await page.locator('#screen-title', { hasText: 'Home screen' }).waitFor();
  const home = await waitFor(async () => {
    const res = await page.request.get(new URL('/api/frame?since=0', url).href);
    if (res.headers()['x-frame-role'] !== 'springboard') return false;
    return outlinesMatchHost('springboard');
  }, 'the outlines of the home screen');
  assert.equal(await page.locator('#contrast-summary').textContent(), contrastSummary(home));

  await page.locator('#show-contrast').click();
  assert.equal(await overlay.isVisible(), false, 'switched off, no outlines');
  assert.equal(await page.locator('#contrast-overlay .contrast-box').count(), 0);
});

test('a banner sent behind another says it is queued, and dismissing or closing with nothing there says so', async () => {
  await page.locator('#title').fill('First in line');
  await act('#send-bulletin', 'bulletin', 'shown');
  await page.locator('#title').fill('Second in line');
  await act('#send-bulletin', 'bulletin', 'queued, 1 ahead');
  assert.deepEqual(await bannerTitles(), ['First in line'], 'the first stays on screen');
  await act('[data-action="dismiss"]', 'dismiss');
  await waitFor(async () => (await bannerTitles())[0] === 'Second in line', 'the queued banner coming down');
  await act('[data-action="dismiss"]', 'dismiss');
  assert.deepEqual(await bannerTitles(), []);
  await act('[data-action="dismiss"]', 'dismiss', 'nothing to dismiss');
  assert.equal(await page.locator('#result').getAttribute('class'), '', 'said as an outcome, not as a fault');
  await act('[data-action="nc-close"]', 'nc-close', 'Notification Center was not open');
  assert.equal((await askHost('springboard', 'dump')).ok, true);
});

test('the notification log lists each notification newest first with the colours the host gave its banner', async () => {
  await pickByMouse('Calculator');
  await page.locator('#title').fill('Logged');
  await page.locator('#message').fill('with its colours');
  await act('#send-bulletin', 'bulletin', 'shown');
  const [backdrop] = await waitFor(async () => {
    const banner = (await homeViews(ofClass('SBBannerContextView'))).find((v) => v.bulletin?.title === 'Logged');
    return banner && views(banner, ofClass('_UIBackdropView'));
  }, 'the tinted banner in the host dump');
  const [text] = await homeViews(ofClass('SBDefaultBannerTextView'));
  const newest = page.locator('#log-list li').first();
  await newest.locator('.title', { hasText: 'Logged' }).waitFor();
  assert.equal(await newest.getAttribute('data-app'), 'com.apple.calculator');
  assert.equal(await newest.locator('.app').textContent(), 'Calculator');
  assert.equal(await newest.locator('.tint').getAttribute('data-hex'), hexOf(backdrop.tint));
  assert.match(await newest.locator('.tint').textContent(), new RegExp(`${hexOf(backdrop.tint)} at ${Math.round(backdrop.tint[3] * backdrop.tintAlpha * 100)}%`));
  assert.equal(await newest.locator('.text-colour').getAttribute('data-hex'), hexOf(text.strings.primary.runColours[0]));
  assert.ok(await newest.locator('img.icon').evaluate((img) => img.complete && img.naturalWidth > 0), 'the app icon');
  // The one before it is further down: newest first.
  const log = (await askHost('springboard', 'log')).entries;
  assert.equal(log[0].title, 'Logged');
  assert.equal(await page.locator('#log-list li').count(), log.length);
  assert.equal(await page.locator('#log-list li .title').nth(1).textContent(), log[1].title);
  await act('[data-action="dismiss"]', 'dismiss');
  await pickByMouse('Messages');
});

test('the composer sets what a tap on an icon on the home screen sends', async () => {
  await page.locator('#title').fill('From the composer');
  await page.locator('#message').click();
  await page.keyboard.press('End');
  await page.keyboard.type('!');
  await page.keyboard.press('Tab');
  await waitFor(async () => (await askHost('springboard', 'composer')).title === 'From the composer', 'the composer title on the home screen');
  assert.equal((await askHost('springboard', 'composer')).message, 'with its colours!');
});

test('Follow settings is on by default and switches the hosts off and on again', async () => {
  const follow = page.locator('#follow-settings');
  assert.equal(await follow.isChecked(), true, 'on by default');
  await act('#follow-settings', 'follow-settings', 'off');
  assert.equal(await follow.isChecked(), false);
  await act('#follow-settings', 'follow-settings', 'on');
});

test('the screen takes the keyboard focus with a visible ring, and Save picture downloads the frame', async () => {
  await page.locator('#home-button').focus();
  await page.keyboard.press('Shift+Tab');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'screen');
  assert.notEqual(await page.locator('#screen').evaluate((e) => getComputedStyle(e).outlineStyle), 'none', 'a focus ring');
  const [download] = await Promise.all([page.waitForEvent('download'), page.locator('#save-picture').click()]);
  assert.match(download.suggestedFilename(), /^zimtone-\d{4}-\d\d-\d\d-\d{6}\.png$/);
  const saved = join(work, download.suggestedFilename());
  await download.saveAs(saved);
  const bytes = readFileSync(saved);
  assert.deepEqual([...bytes.subarray(0, 8)], [0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a], 'a PNG');
  // 375 x 667 points drawn at 2x.
  assert.deepEqual([bytes.readUInt32BE(16), bytes.readUInt32BE(20)], [750, 1334]);
});

test('a host that died shows a Restart button on its pill that starts it again', async () => {
  const launcher = async () => (await (await page.request.get(new URL('/api/status', url).href)).json()).hosts;
  const killed = (await launcher()).find((host) => host.role === 'messages').pid;
  process.kill(killed, 'SIGKILL');
  const restart = page.locator('#hosts li', { hasText: 'messages: exited' }).getByRole('button', { name: 'Restart' });
  await restart.click();
  const messages = await waitFor(async () => {
    const host = (await launcher()).find((h) => h.role === 'messages');
    return host.state === 'up' && host;
  }, 'the messages host up again');
  assert.notEqual(messages.pid, killed);
  assert.equal((await askHost('messages', 'dump')).ok, true, 'the new Messages extension answers');
  await page.locator('#hosts li', { hasText: 'messages: up' }).waitFor();
  assert.equal(await page.locator('#hosts button').count(), 0, 'no Restart button once every host is up');
});

test('respring restarts the home screen and the page follows the new process', async () => {
  const before = await page.locator('#hosts li', { hasText: 'springboard: up' }).textContent();
  await page.evaluate(() => {
    window.screenMessages = [];
    const message = document.getElementById('screen-message');
    new MutationObserver(() => !message.hidden && window.screenMessages.push(message.textContent)).observe(message, {
      attributes: true, childList: true, characterData: true, subtree: true,
    });
  });
  await act('[data-action="respring"]', 'respring');
  await waitFor(async () => {
    const text = await page.locator('#hosts li').first().textContent();
    return text.startsWith('springboard: up') && text !== before;
  }, 'the home screen up again under a new pid');
  const messages = await page.evaluate(() => window.screenMessages);
  assert.ok(messages.includes('The home screen is restarting (respring) ...'), `said while restarting: ${messages}`);
  const shown = await screenChange('the restart');
  await act('[data-action="test-banner"]', 'test-banner');
  await shown();
  await waitFor(async () => (await bannerTitles())[0] === 'Zimtone 2', 'the test banner from the restarted tweak');
});
