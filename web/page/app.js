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

  const $ = (id) => document.getElementById(id);
  const state = {
    db: null,
    name: 'untitled.json',
    text: '',
    built: null, // the last build that succeeded, with its description: what is shown, never a broken image
    error: null,
    findings: [], // of the last build, shown beside the rows they are about
    compare: null, // {name, text, attributes}: the older database
  };
  let vocabulary = null;
  let editor = null;
  let byteMap = null;
  let handleTable = null;
  let mark = null;

  function status(text, severity = 'info') {
    clear($('status'), text ? el('span', { className: severity }, text) : null);
  }

  function baseName() {
    return state.name.replace(/\.[^.]*$/, '');
  }

  // The editor's nodes by the place they stand for, gathered once each time the editor is drawn, so
  // that a rebuild touches only the nodes it changes instead of searching the whole editor.
  let slots = null;
  function indexEditor() {
    const root = $('editor');
    const byAttribute = (name) =>
      new Map([...root.querySelectorAll('[' + name + ']')].map((n) => [n.getAttribute(name), n]));
    slots = {
      fields: byAttribute('data-place'),
      messages: byAttribute('data-messages'),
      handles: byAttribute('data-handles'),
      uuidNames: byAttribute('data-uuid-name'),
      shown: null, // the marks shown, as marksFor gives them
    };
  }

  const setText = (node, text) => {
    if (node && node.textContent !== text) node.textContent = text;
  };

  // The marks a rebuild asks for: messages by the row they stand in, and the fields they are about.
  // Applied by showMarks, which changes only the rows and fields whose marks changed, so that an edit
  // that leaves a hundred findings as they were does not draw them again.
  function marksFor(error, findings) {
    const marks = { messages: new Map(), fields: new Map() };
    const add = (place, text, severity, finding = null) => {
      const row = (place.match(/^services\[\d+\](\.characteristics\[\d+\])?/) || ['services'])[0];
      const slot = slots.messages.has(row) || editor.isPending(row) ? row : 'services';
      if (!marks.messages.has(slot)) marks.messages.set(slot, []);
      marks.messages.get(slot).push({ place, text, severity, finding });
      if (slots.fields.has(place) || editor.isPending(row)) marks.fields.set(place, severity);
    };
    if (error) add(error.place, error.message, 'error');
    for (const f of findings)
      add(f.place, f.severity + ': ' + f.message + ' [' + f.rule + ']', f.severity, f);
    return marks;
  }

  // A Fix button names its finding by index, so the key holds it.
  const messagesKey = (list) =>
    (list || [])
      .map((m) => m.severity + m.place + (m.finding ? m.finding.index : '') + '\n' + m.text)
      .join('\n');

  function showMarks(marks) {
    const before = slots.shown || { messages: new Map(), fields: new Map() };
    const applied = { messages: new Map(marks.messages), fields: new Map(marks.fields) };
    for (const slot of new Set([...before.messages.keys(), ...marks.messages.keys()])) {
      const list = marks.messages.get(slot);
      if (!slots.messages.has(slot)) {
        applied.messages.delete(slot); // a row yet to be drawn: shown once it is
        continue;
      }
      if (messagesKey(list) === messagesKey(before.messages.get(slot))) continue;
      clear(
        slots.messages.get(slot),
        (list || []).map((m) =>
          el(
            'div',
            { className: 'message ' + m.severity },
            views.fixButton(m.finding),
            m.place ? el('code', {}, m.place) : null,
            ' ',
            m.text,
          ),
        ),
      );
    }
    for (const place of new Set([...before.fields.keys(), ...marks.fields.keys()])) {
      const severity = marks.fields.get(place);
      if (severity === before.fields.get(place)) continue;
      const field = slots.fields.get(place);
      if (!field) {
        applied.fields.delete(place);
        continue;
      }
      field.classList.remove('error', 'warning');
      if (severity) {
        field.setAttribute('aria-invalid', 'true');
        field.classList.add(severity);
      } else {
        field.removeAttribute('aria-invalid');
      }
    }
    slots.shown = applied;
  }

  // Puts beside the editor's rows what the build says of them: the handles, the UUID's name, the
  // name the item is given (in its empty name field), and whether it has a descriptor.
  function labelRows(attributes) {
    const handles = new Map();
    const descriptors = new Set();
    for (const a of attributes) {
      const row = editorPlace(a);
      if (!handles.has(row)) handles.set(row, []);
      handles.get(row).push(a.handle);
      if (a.type === 'descriptor') {
        descriptors.add(row);
        continue;
      }
      setText(slots.uuidNames.get(row), a.uuidName);
      const field = slots.fields.get(row + '.name');
      if (field && field.placeholder !== a.name) field.placeholder = a.name;
    }
    for (const [row, node] of slots.handles) {
      const list = handles.get(row) || [];
      setText(node, list.length > 1 ? list[0] + '–' + list[list.length - 1] : list.join(''));
      const box = slots.fields.get(row + '.cccd');
      if (box) box.checked = descriptors.has(row);
    }
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
    setText(
      $('image-summary'),
      `${built.usage.text}, ${built.usage.services} of ${vocabulary.limits.services} services`,
    );
    showHash(built);
    const differences = state.compare ? compareDifferences() : [];
    const moved = views.movedAttributes(differences);
    byteMap.show(built.image, built.attributes);
    clear($('finding-summary'), views.findingSummary(built.findings));
    handleTable.update(built.attributes, moved.after, built.findings);
    clear(
      $('comparison'),
      state.compare ? views.comparison(state.compare.name, differences, state.compare.attributes) : null,
    );
    $('stop-compare').hidden = !state.compare;
    mark.again();
  }

  function compareDifferences() {
    try {
      return window.gattdb.diff(
        { contents: state.compare.text, format: 'json', name: state.compare.name },
        { contents: state.built.text, format: 'json', name: state.name },
      );
    } catch (error) {
      return [{ kind: 'error', moves: [], line: error.line }];
    }
  }

  // `gattdb hash`'s value beside the image; Web Crypto answers later, so only the latest build's
  // value is shown.
  function showHash(built) {
    const shown = $('image-hash');
    if (shown.dataset.for === built.text) return;
    shown.dataset.for = built.text;
    shown.textContent = '';
    window.gattdb.hash(built.hashInput).then((hash) => {
      if (shown.dataset.for === built.text) shown.textContent = hash;
    });
  }

  function rebuild() {
    state.text = model.toDescription(state.db);
    const result = window.gattdb.build(state.text, 'json', state.name, symbol());
    state.error = result.error;
    state.findings = result.findings;
    showMarks(marksFor(state.error, result.findings));
    if (state.error) {
      status(state.error.line, 'error');
    } else {
      state.built = { ...result, text: state.text };
      labelRows(result.attributes);
      status('');
    }
    showImage();
    document.querySelectorAll('[data-save]').forEach((b) => {
      b.disabled = state.error !== null;
    });
  }

  // Brings the bytes of the item at place into the byte map's view: those of its value, where the
  // edits show.
  function revealBytes(place) {
    if (!state.built || state.error) return;
    const attributes = state.built.attributes;
    let found = -1;
    attributes.forEach((a, index) => {
      if (a.type !== 'descriptor' && editorPlace(a) === place) found = index;
    });
    if (found >= 0) byteMap.reveal(found);
  }

  function load(db, name) {
    state.db = db;
    state.name = name.replace(/\.[^.]*$/, '') + '.json';
    state.built = null;
    editor.render(state.db);
    indexEditor();
    rebuild();
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

  // A file as description JSON text, in the format the tool would read it in, with --lossy when the
  // switch is on; its warnings are listed under the status line.
  function describe(file) {
    const format = window.gattdb.formatFor(file.name, file.bytes);
    const read = window.gattdb.readWithWarnings(file.bytes, format, file.name, { lossy: $('lossy').checked });
    clear(
      $('warnings'),
      read.warnings.map((w) => el('li', { className: 'warning' }, w)),
    );
    return read.description;
  }

  async function open(fileList) {
    try {
      const file = mainOf(await keepAll(fileList));
      load(model.fromDescription(describe(file), vocabulary), file.name);
      status('Opened ' + file.name);
    } catch (error) {
      status(error.line || error.message, 'error');
    }
  }

  async function compareWith(fileList) {
    try {
      const file = mainOf(await keepAll(fileList));
      const text = describe(file);
      const built = window.gattdb.build(text, 'json', file.name);
      if (built.error) throw Object.assign(new Error(built.error.message), built.error);
      state.compare = { name: file.name, text: text, attributes: built.attributes };
      showImage();
      status('Compared with ' + file.name);
    } catch (error) {
      status(error.line || error.message, 'error');
    }
  }

  // Each save: the file name's ending and what it holds.
  const SAVES = {
    json: () => [baseName() + '.json', output('description'), 'application/json'],
    bin: () => [baseName() + '.bin', state.built.image, 'application/octet-stream'],
    hex: () => [baseName() + '.hex', output('hex'), 'text/plain'],
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
      status(error.line || error.message, 'error');
    }
  }

  function selectAttribute(index) {
    const attribute = state.built.attributes[index];
    editor.draw(editorPlace(attribute));
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
    performance.mark('gattdb-vocabulary');
    editor = window.gattdbEditor.create($('editor'), vocabulary, {
      changed(place) {
        rebuild();
        revealBytes(place);
      },
      // More rows were drawn: they get the marks and labels the rows drawn before them have.
      drawn() {
        const shown = slots.shown;
        indexEditor();
        slots.shown = shown;
        showMarks(marksFor(state.error, state.findings));
        if (state.built) labelRows(state.built.attributes);
      },
      restructure(mutate) {
        mutate(state.db);
        editor.render(state.db);
        indexEditor();
        rebuild();
      },
    });
    mark = views.link($('image-panel'), selectAttribute);
    byteMap = views.createByteMap($('hex'), () => mark.again());
    handleTable = views.createHandleTable();
    clear($('handles'), el('div', { id: 'finding-summary' }), handleTable.node);
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
    performance.mark('gattdb-page-ready');
    document.body.setAttribute('data-ready', 'true');
  });
})();
