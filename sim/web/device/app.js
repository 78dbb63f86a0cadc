"use strict";
// The device page: keeps the screen picture, the process list and the Settings app in view, and
// sends the controls to the launcher as JSON (which only this page's origin may do).

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

async function act(body) {
  try {
    const res = await fetch("/api/action", {
      method: "POST",
      headers: { "Content-Type": "application/json" },
      body: JSON.stringify(body),
    });
    const answer = await res.json();
    say(res.ok ? body.action + ": done" : body.action + ": " + answer.error, !res.ok);
    if (res.ok && body.action === "respring") {
      respringFrom = homePid;
      showRestarting();
    }
  } catch (e) {
    say(body.action + ": the launcher did not answer", true);
  }
}

// One long-polling loop: the server answers at once when a newer frame exists, else after a second.
async function frameLoop() {
  for (;;) {
    try {
      const res = await fetch("/api/frame?since=" + frameSequence, { cache: "no-store" });
      const sequence = Number(res.headers.get("X-Frame-Sequence") || frameSequence);
      if (res.status === 200) {
        const url = URL.createObjectURL(await res.blob());
        const img = $("screen");
        const old = img.src;
        img.src = url;
        img.hidden = false;
        $("screen-message").hidden = true;
        if (old.startsWith("blob:")) URL.revokeObjectURL(old);
        frameSequence = sequence;
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

async function loadApps() {
  const res = await fetch("/api/apps");
  const answer = await res.json();
  const select = $("app");
  if (!res.ok) {
    // Shown in the list itself: the status line belongs to the controls a person used.
    select.innerHTML = "";
    const option = document.createElement("option");
    option.disabled = true;
    option.textContent = "no app list: " + answer.error;
    select.appendChild(option);
    return;
  }
  select.textContent = "";
  // The host lists the apps in the order to offer them; the identifier is what a bulletin names.
  for (const app of answer.apps) {
    const option = document.createElement("option");
    option.value = app.bundle;
    option.textContent = app.name;
    select.appendChild(option);
  }
  appsLoaded = true;
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
    act({ action: "bulletin", app: $("app").value, title: $("title").value, message: $("message").value });
  });
  $("reply-form").addEventListener("submit", (e) => {
    e.preventDefault();
    act({ action: "reply", sender: $("sender").value, message: $("reply-message").value });
  });
  frameLoop();
  statusLoop();
});
