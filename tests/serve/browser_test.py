#!/usr/bin/env python3
"""The device page in headless Chromium: it shows the processes and the screen, and its
controls reach the hosts. Driven over the DevTools protocol with the standard library only.

Usage: browser_test.py ZIMTONE CHROMIUM"""
import base64, json, os, re, shutil, signal, socket, struct, subprocess, sys, tempfile, time, urllib.request

BOUND = 60  # seconds; only decides how long a broken build takes to fail


class DevTools:
    """A minimal WebSocket client for one DevTools page target."""

    def __init__(self, url):
        m = re.match(r"ws://([^:/]+):(\d+)(/.*)", url)
        self.sock = socket.create_connection((m.group(1), int(m.group(2))), timeout=BOUND)
        key = base64.b64encode(os.urandom(16)).decode()
        self.sock.sendall((f"GET {m.group(3)} HTTP/1.1\r\nHost: {m.group(1)}:{m.group(2)}\r\nUpgrade: websocket\r\n"
                           f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n").encode())
        head = b""
        while b"\r\n\r\n" not in head:
            head += self.sock.recv(1)
        assert b" 101 " in head.split(b"\r\n")[0], head
        self.next_id = 0

    def _recv_exact(self, n):
        data = b""
        while len(data) < n:
            chunk = self.sock.recv(n - len(data))
            if not chunk:
                raise ConnectionError("DevTools closed the connection")
            data += chunk
        return data

    def _recv_message(self):
        message = b""
        while True:
            b0, b1 = self._recv_exact(2)
            size = b1 & 0x7F
            if size == 126:
                size = struct.unpack(">H", self._recv_exact(2))[0]
            elif size == 127:
                size = struct.unpack(">Q", self._recv_exact(8))[0]
            message += self._recv_exact(size)
            if b0 & 0x80:
                return message

    def call(self, method, **params):
        self.next_id += 1
        payload = json.dumps({"id": self.next_id, "method": method, "params": params}).encode()
        mask = os.urandom(4)
        header = bytes([0x81])
        if len(payload) < 126:
            header += bytes([0x80 | len(payload)])
        elif len(payload) < 65536:
            header += bytes([0x80 | 126]) + struct.pack(">H", len(payload))
        else:
            header += bytes([0x80 | 127]) + struct.pack(">Q", len(payload))
        self.sock.sendall(header + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(payload)))
        while True:
            answer = json.loads(self._recv_message())
            if answer.get("id") == self.next_id:
                if "error" in answer:
                    raise RuntimeError(answer["error"])
                return answer["result"]

    def js(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, awaitPromise=True, returnByValue=True)
        if "exceptionDetails" in result:
            raise RuntimeError(result["exceptionDetails"])
        return result["result"].get("value")

    def wait_for(self, expression, what):
        deadline = time.time() + BOUND
        while time.time() < deadline:
            value = self.js(expression)
            if value:
                return value
            time.sleep(0.05)
        raise AssertionError("the page never showed " + what)


def start_serve(zimtone, root):
    serve = subprocess.Popen([zimtone, "serve", "--root", root, "--port", "0", "--no-browser"],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    for line in serve.stdout:
        m = re.search(r"Zimtone 2 device: (http://127\.0\.0\.1:\d+/)", line)
        if m:
            return serve, m.group(1)
    raise AssertionError("zimtone serve printed no URL")


def start_chromium(chromium, profile):
    browser = subprocess.Popen([chromium, "--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
                                "--remote-debugging-port=0", "--user-data-dir=" + profile, "about:blank"],
                               stderr=subprocess.PIPE, text=True)
    for line in browser.stderr:
        m = re.search(r"DevTools listening on ws://127\.0\.0\.1:(\d+)/", line)
        if m:
            subprocess.Popen(["cat"], stdin=browser.stderr, stdout=subprocess.DEVNULL)  # keep the pipe drained
            return browser, int(m.group(1))
    raise AssertionError("Chromium did not open its DevTools port")


def main(zimtone, chromium):
    work = tempfile.mkdtemp(prefix="zimtone-browser-")
    serve = browser = None
    try:
        serve, url = start_serve(zimtone, os.path.join(work, "device"))
        browser, port = start_chromium(chromium, os.path.join(work, "profile"))
        targets = json.load(urllib.request.urlopen(f"http://127.0.0.1:{port}/json/list", timeout=BOUND))
        page = DevTools(next(t for t in targets if t["type"] == "page")["webSocketDebuggerUrl"])
        page.call("Page.enable")
        page.call("Page.navigate", url=url)

        # The process list comes from the launcher: both device hosts up.
        hosts = page.wait_for("""(() => { const t = [...document.querySelectorAll('#hosts li')].map(li => li.textContent);
            return t.some(x => x.startsWith('springboard: up')) && t.some(x => x.startsWith('messages: up')) && t; })()""",
                              "the home screen and Messages as up")
        print("processes:", hosts)

        # The screen: a picture, or the reason there is none, never the waiting text forever.
        screen = page.wait_for("""(() => { const img = document.getElementById('screen');
            if (!img.hidden && img.src.startsWith('blob:')) return 'picture';
            const m = document.getElementById('screen-message').textContent;
            return m.startsWith('The screen picture is not available: ') && m; })()""", "the screen or why not")
        print("screen:", screen)

        # The Settings app beside the screen, or the message that it is missing.
        settings = page.wait_for("""(() => { const f = document.getElementById('settings');
            if (!f.hidden && f.src.startsWith('http://127.0.0.1:')) return 'frame ' + f.src;
            const m = document.getElementById('settings-message');
            return !m.hidden && m.textContent === 'Settings app not available' && m.textContent; })()""",
                                 "the Settings app or its absence")
        print("settings:", settings)

        # Controls go through the launcher to the hosts and say how it went.
        for action in ("nc-open", "nc-close", "test-banner"):
            page.js("document.getElementById('result').textContent = ''")
            page.js(f"document.querySelector('[data-action=\"{action}\"]').click()")
            result = page.wait_for(f"(t => t.startsWith('{action}: ') && t)(document.getElementById('result').textContent)",
                                   f"the answer to {action}")
            print(action, "->", result)
        page.js("document.querySelector('[data-show=\"messages\"]').click()")
        page.wait_for("document.getElementById('screen-title').textContent === 'Messages extension'", "the Messages screen")

        # A banner from the page, sent with the app list the home screen gave: the launcher answers
        # for the host, and a picture, if there is one, changes.
        page.js("document.querySelector('[data-show=\"springboard\"]').click()")
        page.wait_for("document.getElementById('screen-title').textContent === 'Home screen'", "the home screen again")
        apps = page.wait_for("""(() => { const o = [...document.getElementById('app').options];
            return o.length > 0 && (o[0].disabled ? 'none: ' + o[0].textContent : String(o.length)); })()""", "the app list")
        if apps.startswith("none: "):
            print("no app list in this build (" + apps[6:] + "); banner step skipped")
        else:
            before = page.js("document.getElementById('screen').src")
            page.js("document.getElementById('result').textContent = ''")
            page.js("document.getElementById('send-bulletin').click()")
            result = page.wait_for("(t => t.startsWith('bulletin: ') && t)(document.getElementById('result').textContent)",
                                   "the answer to the banner")
            print("bulletin ->", result)
            assert result == "bulletin: done", result
            if screen == "picture":
                page.wait_for(f"document.getElementById('screen').src !== {json.dumps(before)}", "a new screen picture")
        print("ok")
        return 0
    finally:
        for process in (browser, serve):
            if process and process.poll() is None:
                process.send_signal(signal.SIGTERM)
                try:
                    process.wait(timeout=BOUND)
                except subprocess.TimeoutExpired:
                    process.kill()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
