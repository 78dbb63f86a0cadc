// Drives the Settings app's web page in headless Chromium the way a person would: opens the
// pane, changes settings, gives an app a colour and follows a credit. Everything it checks is
// what the host process did (the file on disk, the notification another process received, the
// page the host serves back).
//
// Usage: node settings.test.mjs BUILD_DIR [--screenshots DIR]

import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawn, execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, readdirSync, rmSync, existsSync, mkdirSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { chromium } from 'playwright-core';

const args = process.argv.slice(2);
const build = resolve(args[0] ?? 'build');
const shotsAt = args.indexOf('--screenshots');
const screenshots = shotsAt >= 0 ? resolve(args[shotsAt + 1]) : null;
const bin = (name) => join(build, 'bin', name);
const root = mkdtempSync(join(tmpdir(), 'zimtone-browser-'));
const settingsFile = join(root, 'User/Library/Preferences/org.quillhaven.zimtonepro2.plist');
const loadBanner = 'org.quillhaven.zimtonepro2/load-Banner';

let host, observer, browser, page, url;
const observed = [];

function waitFor(check, what, timeout = 10000) {
  const started = Date.now();
  return new Promise((done, fail) => {
    const poll = () => {
      const value = check();
      if (value) return done(value);
      if (Date.now() - started > timeout) return fail(new Error(`timed out waiting for ${what}`));
      setTimeout(poll, 50);
    };
    poll();
  });
}

function notifySockets() {
  const dir = join(root, 'var/run/zimtone-notify');
  return existsSync(dir) ? readdirSync(dir).length : 0;
}

before(async () => {
  execFileSync(bin('zimtone'), ['--root', root, 'device', 'init']);
  // The observer stands in for the home screen: another process that hears the reload.
  observer = spawn(bin('zimtone'), ['--root', root, 'observe', loadBanner]);
  observer.stdout.on('data', (d) => observed.push(...d.toString().split('\n').filter(Boolean)));
  await waitFor(() => notifySockets() >= 1, 'the observer to listen');

  host = spawn(bin('zimtone-host'), ['settings', '--root', root, '--port', '0']);
  let errors = '';
  host.stderr.on('data', (d) => (errors += d.toString()));
  const port = await waitFor(() => errors.match(/serving http:\/\/127\.0\.0\.1:(\d+)\//)?.[1], 'the settings host');
  url = `http://127.0.0.1:${port}/`;

  browser = await chromium.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu'],
  });
  page = await browser.newPage({ viewport: { width: 420, height: 760 } });
  page.on('pageerror', (e) => console.error('page error:', e.message));
  if (screenshots) mkdirSync(screenshots, { recursive: true });
});

after(async () => {
  await browser?.close();
  host?.kill('SIGTERM');
  observer?.kill('SIGTERM');
  rmSync(root, { recursive: true, force: true });
});

const title = () => page.locator('#title');
const row = (label) => page.locator('.row', { has: page.locator('.label', { hasText: label }) }).first();
const shoot = async (name) => screenshots && page.screenshot({ path: join(screenshots, name) });

async function openFromRoot(label, pageTitle) {
  await row(label).click();
  await assert.doesNotReject(title().filter({ hasText: pageTitle }).waitFor());
}

async function back() {
  await page.locator('#left', { hasText: 'Back' }).click();
  await title().filter({ hasText: 'Zimtone 2' }).waitFor();
}

test('the root page shows the header, the links and the heart', async () => {
  await page.goto(url);
  await title().filter({ hasText: 'Zimtone 2' }).waitFor();
  await page.locator('.header-art').waitFor();
  assert.equal(await page.locator('#heart').isVisible(), true);
  assert.equal(await page.locator('#left').isVisible(), false);
  for (const label of ['Banners', 'Notification Center', 'Lock Screen', 'App Colours', 'Credits'])
    assert.equal(await row(label).isVisible(), true, label);
  await shoot('settings-root.png');
});

test('the heart opens the share sheet with the text and the package link', async () => {
  await page.locator('#heart').click();
  await page.locator('.share-text', { hasText: 'Check out Zimtone 2 on Cydia, it rocks! #Zimtone2 @mossglint' }).waitFor();
  assert.equal(await page.locator('.share-url').textContent(), 'cydia://package/org.quillhaven.zimtone2');
  await page.locator('.alert-button', { hasText: 'Cancel' }).click();
  await page.locator('#modal').waitFor({ state: 'hidden' });
});

test('moving BannerAlpha writes the file and posts the reload but asks for no respring', async () => {
  await openFromRoot('Banners', 'Banners');
  await page.locator('.row[data-key="BannerAlpha"] input[type=range]').fill('0.5');
  await waitFor(() => existsSync(settingsFile) && /<key>BannerAlpha<\/key>\s*<real>0\.5<\/real>/.test(readFileSync(settingsFile, 'utf8')), 'BannerAlpha in the file');
  await waitFor(() => observed.includes(loadBanner), 'the observer to hear load-Banner');
  await shoot('settings-banners.png');
  await back();
  assert.equal(await page.locator('#left').isVisible(), false, 'no Respring button');
});

test('flipping BannersEnabled shows the Respring button at once, and on the root page after going back', async () => {
  const heard = observed.length;
  await openFromRoot('Banners', 'Banners');
  const toggle = page.locator('.row[data-key="BannersEnabled"] input[type=checkbox]');
  assert.equal(await toggle.isChecked(), true, 'shows the default');
  await toggle.click();
  await waitFor(() => /<key>BannersEnabled<\/key>\s*<false\/>/.test(readFileSync(settingsFile, 'utf8')), 'BannersEnabled false in the file');
  const text = readFileSync(settingsFile, 'utf8');
  assert.match(text, /<key>BannerAlpha<\/key>\s*<real>0\.5<\/real>/, 'the earlier key is kept');
  await waitFor(() => observed.length > heard, 'a second load-Banner');
  assert.equal(observed.at(-1), loadBanner);
  assert.equal(await toggle.isChecked(), false);
  // Said where the change was made, before going back.
  await page.locator('#respring', { hasText: 'Respring' }).waitFor();
  await back();
  await page.locator('#left', { hasText: 'Respring' }).waitFor();
  assert.equal(await page.locator('#respring').isVisible(), false, 'once, at the left, on the first page');
});

test('each group footer the pane\'s pages hold is drawn after its group', async () => {
  const footers = { 'Zimtone 2': 'Give an app its own colour; banners use it when "Use app colours" is on.',
    Banners: 'Turning banners on or off takes effect after a respring.' };
  const footer = page.locator('.group-footer', { hasText: footers['Zimtone 2'] });
  assert.equal(await footer.isVisible(), true);
  // Under the App Colours row of its group, above the next group's first row.
  const [above, drawn, below] = await Promise.all([row('App Colours').boundingBox(), footer.boundingBox(), row('Credits').boundingBox()]);
  assert.ok(above.y + above.height <= drawn.y && drawn.y + drawn.height <= below.y, 'between its group and the next');
  await openFromRoot('Banners', 'Banners');
  assert.equal(await page.locator('.group-footer', { hasText: footers.Banners }).isVisible(), true);
  await back();
});

test('rows, switches and the bar buttons work from the keyboard', async () => {
  await page.locator('#heart').focus();
  // Tab until the Banners row has the focus, then open it with Enter.
  for (let i = 0; i < 10 && !(await row('Banners').evaluate((e) => e === document.activeElement)); i++)
    await page.keyboard.press('Tab');
  assert.equal(await row('Banners').evaluate((e) => e === document.activeElement), true, 'the row takes the focus');
  await page.keyboard.press('Enter');
  await title().filter({ hasText: 'Banners' }).waitFor();
  // Space flips a switch; the file says so.
  const unicorn = page.locator('.row[data-key="BannersUnicornEnabled"] input[type=checkbox]');
  const was = await unicorn.isChecked();
  await unicorn.focus();
  await page.keyboard.press(' ');
  const stored = new RegExp(`<key>BannersUnicornEnabled</key>\\s*<${!was}/>`);
  await waitFor(() => stored.test(readFileSync(settingsFile, 'utf8')), 'the switch flipped from the keyboard in the file');
  await page.keyboard.press(' ');
  await waitFor(() => new RegExp(`<key>BannersUnicornEnabled</key>\\s*<${was}/>`).test(readFileSync(settingsFile, 'utf8')), 'and back');
  assert.equal(await unicorn.evaluate((e) => e === document.activeElement), true, 'the focus stays on the switch');
  // Back with Space on the focused bar button.
  await page.locator('#left', { hasText: 'Back' }).focus();
  await page.keyboard.press(' ');
  await title().filter({ hasText: 'Zimtone 2' }).waitFor();
  await row('Credits').focus();
  await page.keyboard.press(' ');
  await title().filter({ hasText: 'Credits' }).waitFor();
  await back();
});

test('an action the Settings app refuses is shown on the page, not only on the console', async () => {
  await openFromRoot('App Colours', 'App Colours');
  // A second window opens a dialog in the same Settings app; this page has not heard of it yet.
  const other = await browser.newPage({ viewport: { width: 420, height: 760 } });
  try {
    await other.goto(url);
    await other.locator('.row[data-row="0"]').click();
    await other.locator('.alert-title', { hasText: 'Hex Color Ex. (#ffffff)' }).waitFor();
    await page.locator('.row[data-row="1"]').click();
    await page.locator('#failure', { hasText: 'a dialog is open; answer it first' }).waitFor();
    assert.equal(await page.locator('#failure').getAttribute('role'), 'alert');
  } finally {
    await other.close();
  }
  // The page now shows the dialog the host holds; answering it goes through and takes the
  // message away.
  await page.locator('.alert-button', { hasText: 'Cancel' }).click();
  await page.locator('#modal').waitFor({ state: 'hidden' });
  assert.equal(await page.locator('#failure').isVisible(), false);
  await back();
});

test('a colour set through the dialog changes the app disc', async () => {
  await openFromRoot('App Colours', 'App Colours');
  const first = page.locator('.row[data-row="0"]');
  const disc = first.locator('.disc');
  const before = await disc.getAttribute('data-colour');
  await shoot('settings-app-colours.png');

  await first.click();
  await page.locator('.alert-title', { hasText: 'Hex Color Ex. (#ffffff)' }).waitFor();
  await page.locator('.alert-field').fill('#zz0000');
  await page.locator('.alert-button', { hasText: 'Save' }).click();
  await page.locator('.alert-message', { hasText: 'Not a hex value' }).waitFor();
  await page.locator('.alert-button', { hasText: 'OK' }).click();
  await page.locator('#modal').waitFor({ state: 'hidden' });

  // Return in the field saves, as the bold Save button does.
  await first.click();
  await page.locator('.alert-field').fill('#00fe00');
  await page.keyboard.press('Enter');
  await page.locator('#modal').waitFor({ state: 'hidden' });
  const after = await disc.getAttribute('data-colour');
  assert.notEqual(after, before);
  assert.equal(after, '0,255,0,128', 'pure green at full saturation, at the BannerAlpha 0.5 set above');
  assert.match(readFileSync(settingsFile, 'utf8'), /<key>Specific_App_Color<\/key>\s*<array>\s*<dict>\s*<key>[^<]+<\/key>\s*<string>00fe00<\/string>/);
  await back();
});

test('with the Unicorn effect on, discs without a stored colour cycle in the page', async () => {
  await openFromRoot('Banners', 'Banners');
  await page.locator('.row[data-key="BannersUnicornEnabled"] input[type=checkbox]').click();
  await waitFor(() => /<key>BannersUnicornEnabled<\/key>\s*<true\/>/.test(readFileSync(settingsFile, 'utf8')), 'the effect in the file');
  await back();
  await openFromRoot('App Colours', 'App Colours');
  assert.equal(await page.locator('.row[data-row="0"] .disc').getAttribute('data-cycling'), 'no', 'a stored colour never cycles');
  const disc = page.locator('.row[data-row="1"] .disc');
  assert.equal(await disc.getAttribute('data-cycling'), 'yes');
  const first = await disc.getAttribute('data-colour');
  await page.waitForFunction(
    (was) => document.querySelector('.row[data-row="1"] .disc')?.dataset.colour !== was, first, { timeout: 3000 });
  await back();
});

test('tapping a credit opens the profile', async () => {
  await openFromRoot('Credits', 'Credits');
  await page.locator('.credit').first().click();
  await page.locator('#opened', { hasText: 'https://mobile.twitter.com/' }).waitFor();
  // A toast: it goes away by itself after a few seconds.
  await page.locator('#opened').waitFor({ state: 'hidden', timeout: 10000 });
  await back();
});
