// SPDX-License-Identifier: MIT
// The page: holds the database being edited, rebuilds it through the engine after every edit, and
// opens, saves and compares files. The page names its description after the opened file (with .json,
// as it saves it), or untitled.json; error lines name it so, where the tool names the file's path.
(function () {
  'use strict';
  const { el, clear, download } = window.gattdbDom;
  const model = window.gattdbModel;
  const views = window.gattdbViews;

  const STARTER = {
    services: [{ uuid: '1800', characteristics: [{ uuid: '2A00', properties: ['read'], text: 'gattdb' }] }],
  };
  const HEX_TEXT = /^[0-9A-Fa-f\s]+$/;

  const $ = (id) => document.getElementById(id);
  const state = {
    db: null,
    name: 'untitled.json',
    text: '',
    built: null, // the last build that succeeded, with its description: what is shown, never a broken image
    error: null,
    compare: null, // {name, text, attributes}: the older database
  };
  let vocabulary = null;
  let editor = null;

  function status(text, severity = 'info') {
    clear($('status'), text ? el('span', { className: severity }, text) : null);
  }

  function baseName() {
    return state.name.replace(/\.[^.]*$/, '');
  }

  // "gattdb: NAME: PLACE: reason" as the place and the reason.
  function placeOf(line) {
    const prefix = 'gattdb: ' + state.name + ': ';
    const rest = line.startsWith(prefix) ? line.slice(prefix.length) : line;
    const cut = rest.indexOf(': ');
    return cut < 0 ? { place: '', reason: rest } : { place: rest.slice(0, cut), reason: rest.slice(cut + 2) };
  }

  // Shows a message beside the field and in the row its place names, or under the services.
  function showAt(place, text, severity, action = null) {
    const root = $('editor');
    const field = root.querySelector('[data-place="' + CSS.escape(place) + '"]');
    if (field) {
      field.setAttribute('aria-invalid', 'true');
      field.classList.add(severity);
    }
    const row = (place.match(/^services\[\d+\](\.characteristics\[\d+\])?/) || ['services'])[0];
    const slot =
      root.querySelector('[data-messages="' + row + '"]') || root.querySelector('[data-messages="services"]');
    slot.append(
      el(
        'div',
        { className: 'message ' + severity },
        action,
        place ? el('code', {}, place) : null,
        ' ',
        text,
      ),
    );
  }

  function clearMarks() {
    const root = $('editor');
    root.querySelectorAll('[aria-invalid]').forEach((n) => {
      n.removeAttribute('aria-invalid');
      n.classList.remove('error', 'warning');
    });
    root.querySelectorAll('[data-messages]').forEach((n) => clear(n));
  }

  // Puts the handles and the UUIDs' names beside the editor's rows.
  function labelRows(attributes) {
    const root = $('editor');
    const handles = {};
    for (const a of attributes) {
      const row = editorPlace(a);
      (handles[row] = handles[row] || []).push(a.handle);
      const name = root.querySelector('[data-uuid-name="' + row + '"]');
      if (name && a.type !== 'descriptor') name.textContent = a.label.slice(a.uuid.length + 1);
    }
    root.querySelectorAll('[data-handles]').forEach((n) => {
      const list = handles[n.getAttribute('data-handles')] || [];
      n.textContent = list.length > 1 ? list[0] + '–' + list[list.length - 1] : list.join('');
    });
  }

  // An item without a name of its own shows the name it is given (the map's) in its empty field.
  function showDerivedNames(map) {
    const root = $('editor');
    const placeholder = (place, name) => {
      const field = root.querySelector('[data-place="' + place + '.name"]');
      if (field) field.placeholder = name;
    };
    map.services.forEach((s, i) => {
      placeholder(window.gattdbEditor.servicePlace(i), s.name);
      s.characteristics.forEach((c, j) => placeholder(window.gattdbEditor.characteristicPlace(i, j), c.name));
    });
  }

  function editorPlace(attribute) {
    return attribute.characteristic === null
      ? window.gattdbEditor.servicePlace(attribute.service)
      : window.gattdbEditor.characteristicPlace(attribute.service, attribute.characteristic);
  }

  function showImage() {
    const built = state.built;
    const panel = $('image-panel');
    panel.classList.toggle('stale', state.error !== null);
    $('stale-note').hidden = state.error === null;
    if (!built) return;
    const handles = built.attributes.length ? built.attributes[built.attributes.length - 1].handle : 0;
    const services = built.attributes.filter((a) => a.type === 'service').length;
    const limits = vocabulary.limits;
    $('image-summary').textContent =
      `${built.image.length} bytes, ${handles} of ${limits.handle} handles, ` +
      `${services} of ${limits.services} services`;
    const lines = state.compare ? compareLines() : [];
    const moved = views.movedHandles(lines);
    clear($('hex'), views.byteMap(built.image, built.attributes));
    clear(
      $('handles'),
      views.findingSummary(built.findings),
      views.handleTable(built.attributes, {
        interactive: true,
        moved: moved.after,
        findings: built.findings,
      }),
    );
    clear(
      $('comparison'),
      state.compare ? views.comparison(state.compare.name, lines, state.compare.attributes) : null,
    );
    $('stop-compare').hidden = !state.compare;
  }

  function compareLines() {
    try {
      return window.gattdb.diff(
        { contents: state.compare.text, format: 'json', name: state.compare.name },
        { contents: state.built.text, format: 'json', name: state.name },
      );
    } catch (error) {
      return [error.message];
    }
  }

  function rebuild() {
    state.text = model.toDescription(state.db);
    const result = window.gattdb.build(state.text, 'json', state.name, symbol());
    clearMarks();
    state.error = result.errors.length ? result.errors[0] : null;
    if (state.error) {
      const { place, reason } = placeOf(state.error);
      showAt(place, reason, 'error');
      status(state.error, 'error');
    } else {
      state.built = { ...result, text: state.text };
      labelRows(result.attributes);
      showDerivedNames(result.map);
      result.findings.forEach((f) =>
        showAt(f.place, f.severity + ': ' + f.message + ' [' + f.rule + ']', f.severity, views.fixButton(f)),
      );
      status('');
    }
    showImage();
    document.querySelectorAll('[data-save]').forEach((b) => {
      b.disabled = state.error !== null;
    });
  }

  function load(db, name) {
    state.db = db;
    state.name = name.replace(/\.[^.]*$/, '') + '.json';
    state.built = null;
    editor.render(state.db);
    rebuild();
  }

  // The reader for a file: the description format its name ends in, else an image, as hex text when
  // it is nothing but hex digits and white space.
  function formatFor(name, bytes) {
    const named = vocabulary.formats.find((f) => f.extension && name.toLowerCase().endsWith(f.extension));
    if (named) return named.name;
    return HEX_TEXT.test(new TextDecoder('latin1').decode(bytes)) ? 'hex' : 'bin';
  }

  // The chosen files' names and bytes, each kept in the engine's folder: a description opened now or
  // later finds there the files it imports.
  async function keepAll(fileList) {
    const files = await Promise.all(
      [...fileList].map(async (f) => ({ name: f.name, bytes: new Uint8Array(await f.arrayBuffer()) })),
    );
    files.forEach((f) => window.gattdb.keep(f.name, f.bytes));
    return files;
  }

  // Of files chosen together, the one to open: the first that no other one names (imports).
  function mainOf(files) {
    const texts = files.map((f) => new TextDecoder('latin1').decode(f.bytes));
    const main = files.find((f, i) => !texts.some((t, k) => k !== i && t.includes(f.name)));
    return main || files[0];
  }

  // A file as description JSON text; a JSON description as it is written, keeping its names and the
  // form of its values, once the engine has accepted it.
  function describe(file) {
    const format = formatFor(file.name, file.bytes);
    const description = window.gattdb.read(file.bytes, format, file.name);
    return format === 'json' ? new TextDecoder().decode(file.bytes) : description;
  }

  async function open(fileList) {
    try {
      const file = mainOf(await keepAll(fileList));
      load(model.fromDescription(describe(file), vocabulary), file.name);
      status('Opened ' + file.name);
    } catch (error) {
      status(error.message, 'error');
    }
  }

  async function compareWith(fileList) {
    try {
      const file = mainOf(await keepAll(fileList));
      const text = describe(file);
      const built = window.gattdb.build(text, 'json', file.name);
      if (built.errors.length) throw new Error(built.errors[0]);
      state.compare = { name: file.name, text: text, attributes: built.attributes };
      showImage();
      status('Compared with ' + file.name);
    } catch (error) {
      status(error.message, 'error');
    }
  }

  // Each save: the file name's ending and what it holds.
  const SAVES = {
    json: () => [baseName() + '.json', state.text, 'application/json'],
    bin: () => [baseName() + '.bin', state.built.image, 'application/octet-stream'],
    hex: () => [baseName() + '.hex', state.built.hex, 'text/plain'],
    c: () => [symbol() + '.c', output('c'), 'text/x-c'],
    header: () => [symbol() + '.h', output('header'), 'text/x-c'],
    map: () => [baseName() + '.map.json', output('map'), 'application/json'],
  };

  function output(kind) {
    return window.gattdb.output(state.text, 'json', kind, symbol(), state.name);
  }

  function symbol() {
    return $('symbol').value.trim() || 'gatt_db';
  }

  function save(kind) {
    try {
      const [name, contents, type] = SAVES[kind]();
      download(name, contents, type);
      status('Saved ' + name);
    } catch (error) {
      status(error.message, 'error');
    }
  }

  function selectAttribute(index) {
    const attribute = state.built.attributes[index];
    const row = $('editor').querySelector('[data-row="' + editorPlace(attribute) + '"]');
    if (!row) return;
    row.scrollIntoView({ block: 'nearest' });
    row.classList.remove('flash');
    void row.offsetWidth; // restarts the animation
    row.classList.add('flash');
  }

  function wireFiles() {
    $('open-file').addEventListener('change', (event) => {
      if (event.target.files.length) open(event.target.files);
      event.target.value = '';
    });
    $('compare-file').addEventListener('change', (event) => {
      if (event.target.files.length) compareWith(event.target.files);
      event.target.value = '';
    });
    $('stop-compare').addEventListener('click', () => {
      state.compare = null;
      showImage();
    });
    $('symbol').addEventListener('input', rebuild);
    $('new-db').addEventListener('click', () =>
      load(model.fromDescription(JSON.stringify(STARTER), vocabulary), 'untitled.json'),
    );
    document
      .querySelectorAll('[data-save]')
      .forEach((b) => b.addEventListener('click', () => save(b.getAttribute('data-save'))));
    // Dropping a file opens it; dropping it on the compare button compares with it.
    document.addEventListener('dragover', (event) => {
      event.preventDefault();
      document.body.classList.add('dragging');
    });
    document.addEventListener('dragleave', (event) => {
      if (!event.relatedTarget) document.body.classList.remove('dragging');
    });
    document.addEventListener('drop', (event) => {
      event.preventDefault();
      document.body.classList.remove('dragging');
      const files = event.dataTransfer.files;
      if (!files.length) return;
      event.target.closest('#compare-label') ? compareWith(files) : open(files);
    });
  }

  window.gattdb.ready.then(() => {
    vocabulary = window.gattdb.vocabulary();
    editor = window.gattdbEditor.create($('editor'), vocabulary, {
      changed: rebuild,
      restructure(mutate) {
        mutate(state.db);
        editor.render(state.db);
        rebuild();
      },
    });
    const mark = views.link($('image-panel'), selectAttribute);
    // Hovering a row of the editor lights up its attributes' bytes and rows.
    $('editor').addEventListener('mouseover', (event) => {
      const row = event.target.closest('[data-row]');
      const place = row ? row.getAttribute('data-row') : null;
      const attributes = state.built && !state.error ? state.built.attributes : [];
      mark('hot', place ? attributes.flatMap((a, index) => (editorPlace(a) === place ? [index] : [])) : []);
    });
    wireFiles();
    // What the authoring tools (authoring.js) read and replace: the description being edited.
    window.gattdbApp = {
      description: () => state.text,
      replace(description, message) {
        load(model.fromDescription(description, vocabulary), state.name);
        status(message);
      },
      status: status,
    };
    load(model.fromDescription(JSON.stringify(STARTER), vocabulary), 'untitled.json');
    document.body.setAttribute('data-ready', 'true');
  });
})();
