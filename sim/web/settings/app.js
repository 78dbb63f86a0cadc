// Shows the Settings app's current page as the host reports it and sends every user action back.
// The pane's behaviour lives in the host; this file only draws and forwards.

const $ = (id) => document.getElementById(id);
let page = null;
let pollTimer = null;

let lastOpened = null;
let toastTimer = null;

// What failed, where a person sees it; the next good answer takes it away.
function showFailure(text) {
  const bar = $('failure');
  bar.textContent = text;
  bar.hidden = false;
}

function clearFailure() {
  $('failure').hidden = true;
  $('failure').textContent = '';
}

async function load() {
  try {
    const res = await fetch('/api/page', { cache: 'no-store' });
    const body = await res.json();
    if (!res.ok && !body.error) throw new Error(`HTTP ${res.status}`);
    show(body);
  } catch (e) {
    showFailure(`The Settings app did not answer: ${e.message}`);
  }
}

async function act(action) {
  let res, body;
  try {
    res = await fetch('/api/action', {
      method: 'POST',
      headers: { 'Content-Type': 'application/json' },
      body: JSON.stringify(action),
    });
    body = await res.json();
  } catch (e) {
    showFailure(`The Settings app did not answer: ${e.message}`);
    return;
  }
  if (!res.ok) {
    await load();
    showFailure(body.error || `The Settings app refused (HTTP ${res.status})`);
    return;
  }
  clearFailure();
  show(body);
}

// Rows that act when tapped act on Enter and Space too, as buttons do.
function tappable(r, row) {
  r.classList.add('tappable');
  r.setAttribute('role', 'button');
  r.tabIndex = 0;
  r.addEventListener('click', () => act({ type: 'tap', row: row.index }));
  r.addEventListener('keydown', (e) => {
    if (e.target !== r || (e.key !== 'Enter' && e.key !== ' ')) return;
    e.preventDefault();
    act({ type: 'tap', row: row.index });
  });
}

function rgba(c) {
  return `rgba(${c[0]}, ${c[1]}, ${c[2]}, ${(c[3] / 255).toFixed(3)})`;
}

function cssColour(c) {
  return `rgba(${Math.round(c[0] * 255)}, ${Math.round(c[1] * 255)}, ${Math.round(c[2] * 255)}, ${c[3]})`;
}

function el(tag, cls, text) {
  const e = document.createElement(tag);
  if (cls) e.className = cls;
  if (text !== undefined) e.textContent = text;
  return e;
}

function rowView(row) {
  const r = el('div', `row row-${row.cell}`);
  r.dataset.row = row.index;
  if (row.key) r.dataset.key = row.key;
  if (row.cellClass === 'ZimtoneHeaderTable') {
    r.className = 'row header';
    r.style.height = `${row.height || 0}px`;
    const art = el('div', 'header-art');
    const stops = (row.gradient || []).map(cssColour);
    art.style.background = stops.length > 1 ? `linear-gradient(to bottom, ${stops.join(', ')})` : stops[0] || 'transparent';
    if (row.mask) {
      art.style.maskImage = `url(${row.mask})`;
      art.style.webkitMaskImage = `url(${row.mask})`;
    } else {
      art.style.background = 'transparent';
    }
    r.append(art);
    return r;
  }
  if (row.cellClass === 'CreditCell') {
    r.className = 'row credit';
    const img = el('img', 'portrait');
    if (row.portrait) img.src = row.portrait;
    img.alt = '';
    const text = el('div', 'credit-text');
    text.append(el('div', 'credit-name', row.name), el('div', 'credit-handle', row.handle), el('div', 'credit-job', row.job));
    r.append(img, text);
    r.setAttribute('aria-label', `${row.name} ${row.handle}`);
    tappable(r, row);
    return r;
  }
  if (row.cell === 'group') {
    r.className = 'group';
    if (row.label) r.append(el('div', 'group-label', row.label));
    return r;
  }
  const label = el('span', 'label', row.label || '');
  if (row.icon) {
    const icon = el('img', 'icon');
    icon.src = row.icon;
    icon.alt = '';
    r.append(icon);
  }
  r.append(label);
  if (row.cell === 'switch') {
    const sw = el('input', 'switch');
    sw.type = 'checkbox';
    sw.setAttribute('role', 'switch');
    sw.checked = !!row.value;
    sw.setAttribute('aria-label', row.label || row.key);
    sw.addEventListener('change', () => act({ type: 'set', row: row.index, value: sw.checked }));
    r.append(sw);
  } else if (row.cell === 'slider') {
    const s = el('input', 'slider');
    s.type = 'range';
    s.min = row.min ?? 0;
    s.max = row.max ?? 1;
    s.step = 'any';
    s.value = typeof row.value === 'number' ? row.value : 0;
    s.setAttribute('aria-label', row.label || row.key);
    const out = el('output', 'slider-value', Number(s.value).toFixed(2));
    s.addEventListener('input', () => (out.textContent = Number(s.value).toFixed(2)));
    s.addEventListener('change', () => act({ type: 'set', row: row.index, value: Number(s.value) }));
    r.append(s, out);
  } else if (row.cell === 'link' || row.cell === 'button' || row.action) {
    tappable(r, row);
    if (row.cell === 'link') r.append(el('span', 'chevron', '›'));
  }
  if (row.cellClass === 'ApplicationColorViewer') {
    const disc = el('span', 'disc');
    if (row.disc) {
      disc.style.background = rgba(row.disc);
      disc.dataset.colour = row.disc.join(',');
    }
    disc.dataset.cycling = row.cycling ? 'yes' : 'no';
    r.append(disc);
  }
  return r;
}

// A group's footer follows its last row, before the next group begins.
function withFooters(rows) {
  const views = [];
  let footer = null;
  const close = () => {
    if (footer) views.push(el('div', 'group-footer', footer));
    footer = null;
  };
  for (const row of rows) {
    if (row.cell === 'group') {
      close();
      footer = row.footerText || null;
    }
    views.push(rowView(row));
  }
  close();
  return views;
}

function showDialog(p) {
  const modal = $('modal');
  const dialog = $('dialog');
  dialog.replaceChildren();
  if (p.alert) {
    dialog.append(el('h2', 'alert-title', p.alert.title), el('p', 'alert-message', p.alert.message));
    const fields = p.alert.textFields.map((text) => {
      const f = el('input', 'alert-field');
      f.value = text;
      f.setAttribute('aria-label', 'Text');
      dialog.append(f);
      return f;
    });
    const buttons = el('div', 'alert-buttons');
    const answer = (i) => act({ type: 'alert', action: i, texts: fields.map((f) => f.value) });
    p.alert.actions.forEach((title, i) => {
      const b = el('button', 'alert-button', title);
      b.addEventListener('click', () => answer(i));
      buttons.append(b);
    });
    // Return in a text field takes the last button, the one drawn bold, as the keyboard's Done would.
    for (const f of fields)
      f.addEventListener('keydown', (e) => {
        if (e.key !== 'Enter' || p.alert.actions.length === 0) return;
        e.preventDefault();
        answer(p.alert.actions.length - 1);
      });
    dialog.append(buttons);
    modal.hidden = false;
    if (fields[0]) fields[0].focus();
  } else if (p.share) {
    dialog.append(el('h2', 'alert-title', 'Twitter'), el('p', 'share-text', p.share.text));
    p.share.urls.forEach((u) => dialog.append(el('p', 'share-url', u)));
    const buttons = el('div', 'alert-buttons');
    for (const title of ['Cancel', 'Post']) {
      const b = el('button', 'alert-button', title);
      b.addEventListener('click', () => act({ type: 'share' }));
      buttons.append(b);
    }
    dialog.append(buttons);
    modal.hidden = false;
  } else {
    modal.hidden = true;
  }
}

function show(p) {
  if (p.error) {
    $('rows').replaceChildren(el('p', 'error', p.error));
    return;
  }
  const samePage = page && page.class === p.class && page.depth === p.depth;
  const focused = document.activeElement;
  const focusedRow = focused?.closest?.('.row')?.dataset.row;
  const editing = samePage && focused && focused.classList && focused.classList.contains('alert-field') && p.alert;
  page = p;
  $('title').textContent = p.title;
  const left = $('left');
  if (p.respring && p.depth <= 1) {
    left.hidden = false;
    left.textContent = p.respring;
    left.onclick = () => act({ type: 'respring' });
  } else if (p.depth > 1) {
    left.hidden = false;
    left.textContent = '‹ Back';
    left.onclick = () => act({ type: 'back' });
  } else {
    left.hidden = true;
  }
  // Above the first page the Back button keeps the left: Respring then sits at the right.
  const respring = $('respring');
  respring.hidden = !(p.respring && p.depth > 1);
  respring.textContent = p.respring || '';
  respring.onclick = () => act({ type: 'respring' });
  const heart = $('heart');
  heart.hidden = !p.heart;
  heart.onclick = () => act({ type: 'heart' });
  $('rows').replaceChildren(...withFooters(p.rows));
  // A row redrawn after a key press keeps the keyboard's place.
  if (samePage && focusedRow !== undefined)
    document.querySelector(`.row[data-row="${focusedRow}"][tabindex], .row[data-row="${focusedRow}"] input`)?.focus();
  else if (focusedRow !== undefined) document.querySelector('.row[tabindex], .row input')?.focus();
  if (!editing) showDialog(p);
  // A link opened since the last answer shows for a few seconds, as a toast.
  const count = p.openedURLs.length;
  if (lastOpened !== null && count > lastOpened) {
    const opened = $('opened');
    opened.textContent = `Opened ${p.openedURLs[count - 1]}`;
    opened.hidden = false;
    clearTimeout(toastTimer);
    toastTimer = setTimeout(() => (opened.hidden = true), 3000);
  }
  lastOpened = count;
  // Cycling discs change twice a second in the host; fetch often enough to show each step.
  const cycling = p.rows.some((r) => r.cycling);
  if (cycling && !pollTimer) pollTimer = setInterval(load, 250);
  if (!cycling && pollTimer) {
    clearInterval(pollTimer);
    pollTimer = null;
  }
}

load();
