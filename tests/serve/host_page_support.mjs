// What the device page's browser tests share: waiting for a condition, and asking a host of the
// device on its control socket for its own account of itself.

import { createConnection } from 'node:net';
import { join } from 'node:path';

// Polls `check` until it gives a value; `context` adds what the failure should show.
export function waitFor(check, what, timeout, context) {
  const started = Date.now();
  return new Promise((done, fail) => {
    const poll = async () => {
      try {
        const value = await check();
        if (value) return done(value);
      } catch (e) {
        if (Date.now() - started > timeout) return fail(e);
      }
      if (Date.now() - started > timeout) return fail(new Error(`timed out waiting for ${what}\n${context()}`));
      setTimeout(poll, 50);
    };
    poll();
  });
}

// One command on the control socket of a host of the device at `root`.
export function askHost(root, role, line) {
  return new Promise((done, fail) => {
    const socket = createConnection(join(root, 'var/run/zimtone-hosts', `${role}.sock`));
    let answer = '';
    socket.setTimeout(20000, () => socket.destroy(new Error(`${role} did not answer '${line}'`)));
    socket.on('connect', () => socket.write(line + '\n'));
    socket.on('data', (d) => {
      answer += d.toString();
      if (answer.includes('\n')) {
        socket.end();
        done(JSON.parse(answer));
      }
    });
    socket.on('error', fail);
  });
}
