// SPDX-License-Identifier: MIT
// window.gattdb: the engine (the gattdb library and the tool core, compiled to WebAssembly) behind the
// calls the page and its tests use. Results and error lines are the command-line tool's: an error is
// the line `gattdb` prints, "gattdb: NAME: PLACE: reason", where NAME is the name given with the input
// (the opened file's name in the page) in place of the file's path.
(function () {
  'use strict';

  let engine = null;

  function answer(text) {
    return JSON.parse(text);
  }

  // The answer's result, or an Error carrying the tool's error line.
  function resultOf(text) {
    const result = answer(text);
    if (result.errors.length) throw new Error(result.errors[0]);
    return result;
  }

  function defaultName(format) {
    return 'description.' + format;
  }

  // An input for diff: image bytes, or {contents, format, name} for any format the tool reads.
  function input(value, name) {
    if (value instanceof Uint8Array) return { contents: value, format: 'bin', name: name };
    return { contents: value.contents, format: value.format, name: value.name || name };
  }

  const api = {
    // {image: Uint8Array, hex, map, findings, attributes, errors} for a description in format (json, or
    // another description format the tool reads): the image, its hex text, the handle map of `build -f
    // map`, what `gattdb check` finds (as its -f json gives it, with the line it prints), and each
    // attribute with its handle, header constant (with symbol's prefix) and bytes. Only errors is set
    // when the description is refused.
    build(text, format = 'json', name = defaultName(format), symbol = 'gatt_db') {
      const result = answer(engine.build(text, format, name, symbol));
      result.image = new Uint8Array(result.image || []);
      result.hex = result.hex || '';
      result.map = result.map || null;
      result.findings = (result.findings || []).map((f, index) => ({ ...f, index: index }));
      result.attributes = result.attributes || [];
      return result;
    },
    // The description (JSON text) of an image, as `gattdb dump --json` prints it.
    decode(bytes, name = 'image.bin') {
      return resultOf(engine.read(bytes, 'bin', name)).description;
    },
    // Any input the tool reads (description or image; text or bytes) as description JSON text.
    read(contents, format, name) {
      return resultOf(engine.read(contents, format, name)).description;
    },
    // The lines `gattdb diff OLD NEW` prints; empty when they are the same.
    diff(oldInput, newInput) {
      const before = input(oldInput, 'old.bin');
      const after = input(newInput, 'new.bin');
      return resultOf(
        engine.diff(before.contents, before.format, before.name, after.contents, after.format, after.name),
      ).lines;
    },
    // What `gattdb build -f KIND --name SYMBOL` writes for the description: hex, c, header or map.
    output(text, format = 'json', kind = 'hex', symbol = 'gatt_db', name = defaultName(format)) {
      return resultOf(engine.output(text, format, name, kind, symbol)).text;
    },
    // Keeps a file in the engine's working folder, where a description read later finds it by name
    // when it imports it.
    keep(name, bytes) {
      engine.FS.writeFile(name, bytes);
    },
    // The SIG services `gattdb new` knows: [{uuid, name, id (heart_rate), optional: [{uuid, name}]}].
    templateServices() {
      return JSON.parse(engine.templateServices());
    },
    // {description, warnings}: the description (JSON text) with the service's template appended, with
    // the optional characteristics listed (UUIDs); an empty description starts as `gattdb new` does.
    addService(text, service, optional = [], name = defaultName('json')) {
      const result = resultOf(engine.addService(text, 'json', name, service, JSON.stringify(optional)));
      return { description: result.description, warnings: result.warnings };
    },
    // The description with the fix of the finding that build gave as number index applied, as
    // `gattdb check --fix` applies it.
    fix(text, index, name = defaultName('json')) {
      return resultOf(engine.fixFinding(text, 'json', name, index)).description;
    },
    // The bytes, as hex digits, of a value field's short form: "u16 72", "int8 -1", "\"text\"", hex.
    valueBytes(text) {
      return resultOf(engine.valueBytes(text)).hex;
    },
    // The UUID table, property names, input formats and limits.
    vocabulary() {
      return JSON.parse(engine.vocabulary());
    },
  };

  api.ready = createGattdbEngine().then((module) => {
    engine = module;
    return api;
  });
  window.gattdb = api;
})();
