"use strict";
// The device page: keeps the screen picture, the process list, the Settings app and the
// notification log in view, and sends the controls to the launcher as JSON (which only this
// page's origin may do). Touches and keys on the screen are touch.js's.

const $ = (id) => document.getElementById(id);
let frameSequence = 0;
let appsLoaded = false;
// The pid of the home screen a respring was asked of: the restart message stays up until
// another process has taken its place, however quickly that happens.
let respringFrom = null;
let homePid = null;
let shownHosts = "";

function say(text, isError) {
  $("result").textContent = text;
  $("result").className = isError ? "error" : "";
}

// What an action that went through did, in the host's own words: a banner may have been queued
// or not shown at all, and a close may have found nothing open.
function outcome(action, answers) {
  // A control that only posts a notification or shows a screen asks no host, and has no answer.
  const first = answers[0] ?? {};
  if (action === "bulletin") {
    if (first.banner === "queued") return "queued, " + first.waiting + " ahead";
    if (first.banner === "shown") return "shown";
    if (first.banner) return "no banner: " + first.banner.replace(/^none, /, "");
  }
  if (action === "follow-settings" && typeof first.follow === "boolean") return first.follow ? "on" : "off";
  if (action === "nc-close" && first.wasOpen === false) return "Notification Center was not open";
  if (action === "nc-open" && first.wasOpen === true) return "Notification Center was already open";
  return "done";
}

// Failures a person causes by using a control at the wrong moment, said as what happened.
const nothingToDo = { dismiss: { "no banner is on screen": "nothing to dismiss" } };

async function act(body, options = {}) {
  try {
    const res = await fetch("/api/action", {
      method: "POST",
      headers: { "Content-Type": "application/json" },
      body: JSON.stringify(body),
    });
    const answer = await res.json();
    const nothing = !res.ok && nothingToDo[body.action]?.[answer.error];
    if (res.ok) {
      if (!options.quiet) say(body.action + ": " + outcome(body.action, answer.answers), false);
    } else {
      say(body.action + ": " + (nothing || answer.error), !nothing);
    }
    if (res.ok && body.action === "respring") {
      respringFrom = homePid;
      showRestarting();
    }
    if (body.action === "bulletin") loadLog();
    return res.ok;
  } catch (e) {
    say(body.action + ": the launcher did not answer", true);
    return false;
  }
}

// One long-polling loop: the server answers at once when a newer frame exists, else after a second.
async function frameLoop() {
  for (;;) {
    try {
      const res = await fetch("/api/frame?since=" + frameSequence, { cache: "no-store" });
      // Every frame answer names its frame; only a picture or a reason moves the page on to it.
      const sequence = Number(res.headers.get("X-Frame-Sequence"));
      if (res.status === 200) {
        const url = URL.createObjectURL(await res.blob());
        const img = $("screen");
        const old = img.src;
        img.src = url;
        img.hidden = false;
        $("screen-message").hidden = true;
        if (old.startsWith("blob:")) URL.revokeObjectURL(old);
        frameSequence = sequence;
        if ($("show-contrast").checked) refreshContrast();
      } else if (res.status === 503) {
        const answer = await res.json();
        $("screen").hidden = true;
        $("screen-message").hidden = false;
        $("screen-message").textContent = "The screen picture is not available: " + answer.error;
        frameSequence = sequence;
      } else if (res.status !== 204) {
        await new Promise((r) => setTimeout(r, 500));
      }
    } catch (e) {
      $("screen-message").hidden = false;
      $("screen-message").textContent = "The launcher is not answering.";
      await new Promise((r) => setTimeout(r, 1000));
    }
  }
}

// The texts of the frame on show whose contrast fails, outlined where the host says they lie.
// The host measures; this only draws the boxes it gave, scaled from screen points to the picture.
const SCREEN_POINTS = { width: 375, height: 667 };
let contrastBusy = false;
let contrastAgain = false;
let contrastHint = "";

function clearContrast() {
  $("contrast-overlay").textContent = "";
  $("contrast-overlay").hidden = true;
}

function drawContrast(texts) {
  const overlay = $("contrast-overlay");
  const img = $("screen");
  const sx = img.clientWidth / SCREEN_POINTS.width;
  const sy = img.clientHeight / SCREEN_POINTS.height;
  overlay.textContent = "";
  for (const text of texts) {
    const [x, y, w, h] = text.box;
    const box = document.createElement("div");
    box.className = "contrast-box";
    box.style.left = x * sx + "px";
    box.style.top = y * sy + "px";
    box.style.width = w * sx + "px";
    box.style.height = h * sy + "px";
    box.title = `"${text.text}": ${text.ratio.toFixed(2)}:1, needs ${text.threshold}:1`;
    box.dataset.box = JSON.stringify(text.box);
    box.dataset.ratio = text.ratio;
    overlay.appendChild(box);
  }
  overlay.hidden = false;
  const below = new Set(texts.map((t) => t.threshold));
  const needs = below.size === 1 ? " below " + [...below][0] + ":1" : " below their threshold";
  const summary = $("contrast-summary");
  summary.textContent = texts.length === 0 ? "every text passes"
    : texts.length + (texts.length === 1 ? " text" : " texts") + needs;
  summary.className = texts.length === 0 ? "hint" : "hint failing";
}

async function refreshContrast() {
  if (contrastBusy) {
    contrastAgain = true;
    return;
  }
  contrastBusy = true;
  do {
    contrastAgain = false;
    try {
      const res = await fetch("/api/contrast", { cache: "no-store" });
      const answer = await res.json();
      if (!$("show-contrast").checked) break;
      if (res.ok) {
        drawContrast(answer.texts);
      } else {
        clearContrast();
        $("contrast-summary").textContent = "The contrast is not available: " + answer.error;
        $("contrast-summary").className = "hint failing";
      }
    } catch (e) {
      clearContrast();
      $("contrast-summary").textContent = "The launcher is not answering.";
    }
  } while (contrastAgain);
  contrastBusy = false;
}

// Icons come from the home screen as base64 PNG, with the log and one by one for the app picker;
// each is turned into a picture once.
const iconUrls = new Map();
let shownLog = "";

function iconUrl(app, data) {
  if (!data) return null;
  if (!iconUrls.has(app)) {
    const bytes = Uint8Array.from(atob(data), (c) => c.charCodeAt(0));
    iconUrls.set(app, URL.createObjectURL(new Blob([bytes], { type: "image/png" })));
  }
  return iconUrls.get(app);
}

// The app picker: a button showing the chosen app's icon and name that opens the list of the apps
// in the order the home screen gives them. What a bulletin is sent from is the bundle identifier.
const picker = {
  apps: [], // [{bundle, name}] as the home screen lists them
  chosen: -1, // the app a bulletin is sent from
  active: -1, // the option the keyboard is on while the list is open
  typed: "",
  typedAt: 0,
};
// Letters typed within this long of each other spell one name, as in a native list.
const TYPE_AHEAD_MS = 700;

function iconImage(url) {
  const img = document.createElement("img");
  img.alt = "";
  img.src = url;
  return img;
}

// A grey rounded square until the app's icon has come, and for good if it has none.
function iconSlot(bundle) {
  const slot = document.createElement("span");
  slot.className = "app-icon";
  if (!bundle) return slot;
  slot.dataset.app = bundle;
  if (iconUrls.has(bundle)) slot.appendChild(iconImage(iconUrls.get(bundle)));
  return slot;
}

function showIcon(bundle) {
  for (const slot of document.querySelectorAll(`#app-picker .app-icon[data-app="${CSS.escape(bundle)}"]`))
    if (!slot.firstChild) slot.appendChild(iconImage(iconUrls.get(bundle)));
}

function showChoice(note) {
  const app = picker.apps[picker.chosen];
  const name = document.createElement("span");
  name.className = "app-name";
  name.textContent = app ? app.name : note;
  $("app-choice").replaceChildren(iconSlot(app?.bundle), name);
}

function pickerOptions() {
  return $("app-list").querySelectorAll("[role=option]");
}

function choose(index) {
  picker.chosen = index;
  pickerOptions().forEach((option, i) => option.setAttribute("aria-selected", String(i === index)));
  showChoice();
}

function setActive(index) {
  const options = pickerOptions();
  if (index < 0 || index >= options.length) return;
  options[picker.active]?.classList.remove("active");
  picker.active = index;
  options[index].classList.add("active");
  $("app-list").setAttribute("aria-activedescendant", options[index].id);
  options[index].scrollIntoView({ block: "nearest" });
}

function openList() {
  if (picker.apps.length === 0) return;
  $("app-list").hidden = false;
  $("app").setAttribute("aria-expanded", "true");
  setActive(Math.max(picker.chosen, 0));
  $("app-list").focus();
}

function closeList(refocus) {
  if ($("app-list").hidden) return;
  $("app-list").hidden = true;
  $("app").setAttribute("aria-expanded", "false");
  $("app-list").removeAttribute("aria-activedescendant");
  pickerOptions()[picker.active]?.classList.remove("active");
  picker.active = -1;
  if (refocus) $("app").focus();
}

function isTyped(event) {
  return event.key.length === 1 && !event.ctrlKey && !event.metaKey && !event.altKey;
}

// The app a typed letter leads to from `from`: the next one whose name starts with the letter, or
// with what was typed just before it; -1 when none does.
function typeAhead(key, from) {
  const now = Date.now();
  if (now - picker.typedAt > TYPE_AHEAD_MS) picker.typed = "";
  picker.typedAt = now;
  picker.typed += key.toLocaleLowerCase();
  const repeated = [...picker.typed].every((c) => c === picker.typed[0]);
  const wanted = repeated ? picker.typed[0] : picker.typed;
  const count = picker.apps.length;
  // A letter again moves on; a longer word may stay on the app it already names.
  const first = repeated ? 1 : 0;
  for (let step = first; step < count + first; step++) {
    const i = (Math.max(from, 0) + step) % count;
    if (picker.apps[i].name.toLocaleLowerCase().startsWith(wanted)) return i;
  }
  return -1;
}

function typingGoesOn() {
  return picker.typed !== "" && Date.now() - picker.typedAt <= TYPE_AHEAD_MS;
}

function onPickerButtonKey(event) {
  if (["Enter", " ", "ArrowDown", "ArrowUp"].includes(event.key)) {
    event.preventDefault();
    openList();
  } else if (isTyped(event)) {
    event.preventDefault();
    const found = typeAhead(event.key, picker.chosen);
    if (found >= 0) choose(found);
  }
}

function onPickerListKey(event) {
  const last = picker.apps.length - 1;
  const moves = { ArrowDown: picker.active + 1, ArrowUp: picker.active - 1, Home: 0, End: last,
    PageDown: picker.active + 8, PageUp: picker.active - 8 };
  if (event.key in moves) {
    event.preventDefault();
    setActive(Math.min(Math.max(moves[event.key], 0), last));
  } else if (event.key === "Enter" || (event.key === " " && !typingGoesOn())) {
    event.preventDefault();
    choose(picker.active);
    closeList(true);
  } else if (event.key === "Escape") {
    event.preventDefault();
    closeList(true);
  } else if (event.key === "Tab") {
    closeList(false);
  } else if (isTyped(event)) {
    event.preventDefault();
    const found = typeAhead(event.key, picker.active);
    if (found >= 0) setActive(found);
  }
}

function showApps() {
  const list = $("app-list");
  list.textContent = "";
  picker.apps.forEach((app, i) => {
    const option = document.createElement("li");
    option.id = "app-option-" + i;
    option.setAttribute("role", "option");
    option.setAttribute("aria-selected", String(i === picker.chosen));
    option.dataset.bundle = app.bundle;
    const name = document.createElement("span");
    name.className = "app-name";
    name.textContent = app.name;
    option.append(iconSlot(app.bundle), name);
    option.addEventListener("click", () => {
      choose(i);
      closeList(true);
    });
    option.addEventListener("mousemove", () => picker.active !== i && setActive(i));
    list.appendChild(option);
  });
}

// One request at a time, in the list's order, so that Messages' icon comes first.
async function loadIcons() {
  for (const app of picker.apps) {
    // The log may have brought it already.
    if (iconUrls.has(app.bundle)) {
      showIcon(app.bundle);
      continue;
    }
    try {
      const res = await fetch("/api/icon?app=" + encodeURIComponent(app.bundle));
      const answer = await res.json();
      if (res.ok && iconUrl(app.bundle, answer.icon)) showIcon(app.bundle);
    } catch (e) {
      // The grey square stays: the picker still works without the picture.
    }
  }
}

async function loadApps() {
  const res = await fetch("/api/apps");
  const answer = await res.json();
  if (!res.ok) {
    // Shown on the picker itself: the status line belongs to the controls a person used.
    picker.apps = [];
    picker.chosen = -1;
    showApps();
    showChoice("no app list: " + answer.error);
    return;
  }
  picker.apps = answer.apps;
  picker.chosen = picker.apps.length > 0 ? 0 : -1;
  showApps();
  showChoice("the home screen has no apps");
  appsLoaded = true;
  loadIcons();
}

function setUpPicker() {
  $("app").addEventListener("click", () => ($("app-list").hidden ? openList() : closeList(true)));
  $("app").addEventListener("keydown", onPickerButtonKey);
  $("app-list").addEventListener("keydown", onPickerListKey);
  // A click anywhere else takes the focus from the picker, and closes the list as a native one; the
  // click still does its own work.
  $("app-picker").addEventListener("focusout", (e) => {
    if (!$("app-picker").contains(e.relatedTarget)) closeList(false);
  });
}

function cssColour(c) {
  return `rgba(${Math.round(c[0] * 255)}, ${Math.round(c[1] * 255)}, ${Math.round(c[2] * 255)}, ${c[3]})`;
}

function swatch(label, colour, hex, withAlpha) {
  const part = document.createElement("span");
  part.className = label === "tint" ? "tint" : "text-colour";
  if (!colour) {
    part.textContent = label === "tint" ? "tint: not tinted" : "text: -";
    return part;
  }
  const chip = document.createElement("span");
  chip.className = "swatch";
  const fill = document.createElement("span");
  fill.style.background = cssColour(colour);
  chip.appendChild(fill);
  const alpha = withAlpha ? " at " + Math.round(colour[3] * 100) + "%" : "";
  part.append(label + ": ", chip, hex + alpha);
  part.dataset.hex = hex;
  return part;
}

function showLog(log) {
  const list = $("log-list");
  list.textContent = "";
  for (const entry of log.entries) {
    const item = document.createElement("li");
    item.dataset.app = entry.app;
    const icon = document.createElement("img");
    icon.className = "icon";
    icon.alt = "";
    const url = iconUrl(entry.app, log.icons[entry.app]);
    if (url) icon.src = url;
    const head = document.createElement("div");
    head.className = "head";
    const app = document.createElement("span");
    app.className = "app";
    app.textContent = entry.name;
    const time = document.createElement("time");
    const when = new Date(entry.time);
    time.dateTime = when.toISOString();
    time.textContent = when.toLocaleTimeString();
    head.append(app, time);
    const texts = document.createElement("div");
    texts.className = "texts";
    const title = document.createElement("strong");
    title.className = "title";
    title.textContent = entry.title;
    texts.append(title, " " + entry.message);
    const colours = document.createElement("div");
    colours.className = "colours";
    if (entry.presented) {
      colours.append(swatch("tint", entry.background, entry.backgroundHex, true),
        swatch("text", entry.textColour, entry.textHex, false));
    } else {
      colours.textContent = entry.banner === "queued" ? "banner waiting to come down" : "no banner: " + entry.banner.replace(/^none, /, "");
    }
    item.append(icon, head, texts, colours);
    list.appendChild(item);
  }
}

async function loadLog() {
  try {
    const res = await fetch("/api/log", { cache: "no-store" });
    const log = await res.json();
    if (!res.ok) {
      $("log-message").hidden = false;
      $("log-message").textContent = "The log is not available: " + log.error;
      return;
    }
    $("log-message").hidden = true;
    const rendered = JSON.stringify(log.entries);
    // Redrawn only on a change, so that the list keeps its scroll position and selection.
    if (rendered !== shownLog) {
      shownLog = rendered;
      showLog(log);
    }
  } catch (e) {
    $("log-message").hidden = false;
    $("log-message").textContent = "The launcher is not answering.";
  }
}

async function logLoop() {
  for (;;) {
    await loadLog();
    await new Promise((r) => setTimeout(r, 1500));
  }
}

// The frame on screen, as a PNG named after the time it was saved.
function savePicture() {
  const img = $("screen");
  if (img.hidden || !img.src.startsWith("blob:")) {
    say("Save picture: there is no screen picture yet", true);
    return;
  }
  const now = new Date();
  const pad = (n) => String(n).padStart(2, "0");
  const name = `zimtone-${now.getFullYear()}-${pad(now.getMonth() + 1)}-${pad(now.getDate())}-` +
    `${pad(now.getHours())}${pad(now.getMinutes())}${pad(now.getSeconds())}.png`;
  const link = document.createElement("a");
  link.href = img.src;
  link.download = name;
  document.body.appendChild(link);
  link.click();
  link.remove();
  say("Save picture: " + name, false);
}

function showHosts(hosts) {
  const list = $("hosts");
  list.textContent = "";
  for (const host of hosts) {
    const item = document.createElement("li");
    item.className = host.state;
    item.textContent = host.role + ": " + host.state + (host.pid ? " (pid " + host.pid + ")" : "") +
      (host.detail ? " — " + host.detail : "");
    if (host.state === "exited" || host.state === "unavailable") {
      const restart = document.createElement("button");
      restart.type = "button";
      restart.textContent = "Restart";
      restart.addEventListener("click", () => act({ action: "restart", role: host.role }));
      item.append(" ", restart);
    }
    list.appendChild(item);
  }
}

// What a tap on an app's icon sends follows the composer as it is typed; an empty field keeps the
// last one. One request at a time, the newest texts last, so the host never ends on older ones.
let composerBusy = false;
let composerAgain = false;
async function sendComposer() {
  if (composerBusy) {
    composerAgain = true;
    return;
  }
  composerBusy = true;
  do {
    composerAgain = false;
    if ($("title").value && $("message").value)
      await act({ action: "composer", title: $("title").value, message: $("message").value }, { quiet: true });
  } while (composerAgain);
  composerBusy = false;
}

// A home screen that (re)started knows nothing of this page: it is told the composer's texts and,
// when switched off, that it should not follow settings.
let toldHome = null;
function tellHome(home) {
  if (!home || home.state !== "up" || home.pid === toldHome) return;
  toldHome = home.pid;
  sendComposer();
  if (!$("follow-settings").checked) act({ action: "follow-settings", on: false }, { quiet: true });
}

function showRestarting() {
  $("screen-message").hidden = false;
  $("screen-message").textContent = "The home screen is restarting (respring) ...";
}

async function statusLoop() {
  for (;;) {
    try {
      const res = await fetch("/api/status", { cache: "no-store" });
      const status = await res.json();
      const rendered = JSON.stringify(status.hosts);
      // Redrawn only on a change, so that a Restart button stays put under the pointer.
      if (rendered !== shownHosts) {
        shownHosts = rendered;
        showHosts(status.hosts);
      }
      const home = status.hosts.find((host) => host.role === "springboard");
      $("screen-title").textContent = status.screen === "messages" ? "Messages extension" : "Home screen";
      if (home && (home.state === "exited" || (home.state === "up" && home.pid !== respringFrom))) respringFrom = null;
      if (home) homePid = home.pid;
      tellHome(home);
      if ((home && home.state === "restarting") || respringFrom !== null) {
        showRestarting();
      } else if (home && home.state === "exited") {
        $("screen-message").hidden = false;
        $("screen-message").textContent = "The home screen process " + home.detail + ".";
      } else if (!$("screen").hidden) {
        $("screen-message").hidden = true;
      }
      const frame = $("settings");
      if (status.settings_url) {
        if (frame.src !== status.settings_url) frame.src = status.settings_url;
        frame.hidden = false;
        $("settings-message").hidden = true;
      } else {
        frame.hidden = true;
        $("settings-message").hidden = false;
        $("settings-message").textContent = status.settings_message;
      }
      if (!appsLoaded && home && home.state === "up") await loadApps();
    } catch (e) {
      $("hosts").textContent = "The launcher is not answering.";
      shownHosts = "";
    }
    await new Promise((r) => setTimeout(r, 500));
  }
}

document.addEventListener("DOMContentLoaded", () => {
  for (const button of document.querySelectorAll("[data-action]"))
    button.addEventListener("click", () => act({ action: button.dataset.action }));
  for (const button of document.querySelectorAll("[data-show]"))
    button.addEventListener("click", () => act({ action: "show", screen: button.dataset.show }));
  $("bulletin-form").addEventListener("submit", (e) => {
    e.preventDefault();
    const app = picker.apps[picker.chosen];
    if (!app) {
      say("bulletin: there is no app to send from", true);
      return;
    }
    act({ action: "bulletin", app: app.bundle, title: $("title").value, message: $("message").value });
  });
  $("reply-form").addEventListener("submit", (e) => {
    e.preventDefault();
    act({ action: "reply", sender: $("sender").value, message: $("reply-message").value });
  });
  setUpPicker();
  $("title").addEventListener("input", sendComposer);
  $("message").addEventListener("input", sendComposer);
  $("follow-settings").addEventListener("change", async (e) => {
    const on = e.target.checked;
    // A switch the host did not take goes back to what the host still does.
    if (!(await act({ action: "follow-settings", on }))) e.target.checked = !on;
  });
  $("save-picture").addEventListener("click", savePicture);
  contrastHint = $("contrast-summary").textContent;
  $("show-contrast").addEventListener("change", (e) => {
    if (e.target.checked) {
      $("contrast-summary").textContent = "Measuring the texts on the screen ...";
      refreshContrast();
    } else {
      clearContrast();
      $("contrast-summary").textContent = contrastHint;
      $("contrast-summary").className = "hint";
    }
  });
  frameLoop();
  statusLoop();
  logLoop();
});
