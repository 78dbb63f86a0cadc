"use strict";
// The screen picture as a touch screen: pointer input on #screen goes to the launcher as touches
// at screen points, keys typed while it has focus as key presses, and the Home and Sleep/Wake
// buttons as theirs. What the input does is decided by the host on screen; this only forwards.
(() => {
    const SCREEN_WIDTH = 375;
    const SCREEN_HEIGHT = 667;
    // The launcher takes touches a little past the edges; a finger that leaves the picture is
    // held at that margin.
    const OVERSHOOT = 20;

    const screen = document.getElementById("screen");
    const result = document.getElementById("result");
    if (!screen)
        return;

    // Every request waits for the one before, so the host sees the phases in order and at most
    // one is in flight; moves made meanwhile are folded into the newest one.
    let chain = Promise.resolve();
    let pendingMove = null;
    let pressed = null; // the pointer id while a touch is down

    function tell(text, isError) {
        if (!result)
            return;
        result.textContent = text;
        result.className = isError ? "error" : "";
    }

    // What the host's answer says happened, in a few words.
    function describe(what, answer) {
        // Every input is one command to one host, so there is exactly one answer.
        const host = answer.answers[0];
        if (host.gesture)
            return what + ": " + host.gesture;
        if (host.sent !== undefined)
            return what + ": sent";
        if (host.fired)
            return what + ": " + host.fired + (host.detail ? " " + host.detail : "");
        if (host.asleep !== undefined)
            return what + ": " + (host.asleep ? "asleep" : "awake");
        if (host.nothing)
            return what + ": nothing happened";
        return what + ": done";
    }

    async function post(body, what) {
        try {
            const res = await fetch("/api/action", {
                method : "POST",
                headers : {"Content-Type" : "application/json"},
                body : JSON.stringify(body),
            });
            const answer = await res.json();
            if (!res.ok)
                tell(what + ": " + answer.error, true);
            else if (what)
                tell(describe(what, answer), false);
        } catch (e) {
            tell((what || body.action) + ": the launcher did not answer", true);
        }
    }

    function send(body, what) { chain = chain.then(() => post(body, what)); }

    function pointAt(event) {
        const box = screen.getBoundingClientRect();
        const clamp = (v, max) => Math.min(Math.max(v, -OVERSHOOT), max + OVERSHOOT);
        const x = ((event.clientX - box.left) * SCREEN_WIDTH) / box.width;
        const y = ((event.clientY - box.top) * SCREEN_HEIGHT) / box.height;
        return {
            x : Math.round(clamp(x, SCREEN_WIDTH) * 100) / 100,
            y : Math.round(clamp(y, SCREEN_HEIGHT) * 100) / 100
        };
    }

    function sendMove(point) {
        const queued = pendingMove !== null;
        pendingMove = point;
        if (queued)
            return;
        chain = chain.then(() => {
            const p = pendingMove;
            pendingMove = null;
            return post({action : "touch", phase : "move", x : p.x, y : p.y}, "");
        });
    }

    screen.draggable = false;
    screen.addEventListener("dragstart", (event) => event.preventDefault());

    screen.addEventListener("pointerdown", (event) => {
        if (event.button !== 0 || pressed !== null)
            return;
        event.preventDefault();
        screen.focus();
        pressed = event.pointerId;
        screen.setPointerCapture(event.pointerId);
        const p = pointAt(event);
        send({action : "touch", phase : "down", x : p.x, y : p.y}, "");
    });

    screen.addEventListener("pointermove", (event) => {
        if (event.pointerId !== pressed)
            return;
        sendMove(pointAt(event));
    });

    function lift(event, phase) {
        if (event.pointerId !== pressed)
            return;
        pressed = null;
        const p = pointAt(event);
        send({action : "touch", phase : "up", x : p.x, y : p.y}, phase);
    }

    screen.addEventListener("pointerup", (event) => lift(event, "touch"));
    // A touch the browser took away still ends where it was, so the host's touch ends too.
    screen.addEventListener("pointercancel", (event) => lift(event, "touch"));

    screen.addEventListener("keydown", (event) => {
        if (event.ctrlKey || event.metaKey || event.altKey)
            return;
        let key = null;
        if (event.key === "Backspace" || event.key === "Enter")
            key = event.key;
        else if ([...event.key ].length === 1)
            key = event.key;
        if (key === null)
            return;
        event.preventDefault();
        send({action : "key", key}, "key");
    });

    const buttons = [
        [ "home-button", "home" ],
        [ "sleep-button", "sleep" ],
    ];
    for (const [id, action] of buttons) {
        const button = document.getElementById(id);
        if (button)
            button.addEventListener("click", () => send({action}, action));
    }
})();
