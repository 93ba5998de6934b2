// SPDX-License-Identifier: MIT
// window.gattdb: the engine (the gattdb library and the tool core, compiled to WebAssembly) behind the
// calls the page and its tests use. Results are the command-line tool's, as objects. An error is
// {message, place, file, line}: the reason, the place it names (a JSON path, FILE:LINE or a byte
// offset; empty when none), the input's name (the opened file's name in the page, where the tool
// names the file's path), and the line `gattdb` prints, "gattdb: NAME: PLACE: reason". The calls that
// fail by throwing throw an Error with those fields.
(function () {
  'use strict';

  let engine = null;

  function failure(error) {
    return Object.assign(new Error(error.message), error);
  }

  // The answer without its error field, or a thrown failure.
  function resultOf(answer) {
    if (answer.error) throw failure(answer.error);
    return answer;
  }

  // Text crosses into the engine as UTF-8 bytes: the browser's encoder is many times faster than
  // the character-by-character copy the bindings make of a string.
  const encoder = new TextEncoder();
  const bytesOf = (contents) =>
    typeof contents === 'string'
      ? encoder.encode(contents)
      : contents instanceof ArrayBuffer
        ? new Uint8Array(contents)
        : contents;

  function defaultName(format) {
    return 'description.' + format;
  }

  const decoder = new TextDecoder();

  // The engine's columns (numbers in one Uint32Array, texts NUL-ended in one Uint8Array) as one
  // object per row.
  function rowsOf(columns) {
    const numbers = columns.numbers;
    const texts = decoder.decode(columns.texts).split('\0');
    const numberColumns = columns.numberColumns;
    const textColumns = columns.textColumns;
    const numberCount = numberColumns.length;
    const textCount = textColumns.length;
    const rows = new Array(columns.count);
    for (let r = 0; r < columns.count; ++r) {
      const row = {};
      for (let k = 0; k < numberCount; ++k) row[numberColumns[k]] = numbers[r * numberCount + k];
      for (let k = 0; k < textCount; ++k) row[textColumns[k]] = texts[r * textCount + k];
      rows[r] = row;
    }
    return rows;
  }

  function attributeObjects(columns) {
    return rowsOf(columns).map((row) => {
      row.characteristic = row.characteristic === 0 ? null : row.characteristic - 1;
      return row;
    });
  }

  // As `gattdb check -f json` gives them: handle null for the database as a whole.
  // index is the finding's place in the list, by which fix names it.
  function findingObjects(columns) {
    return rowsOf(columns).map((row, index) => {
      row.handle = row.handle === 0 ? null : row.handle;
      row.fixable = row.fixable === 1;
      row.index = index;
      return row;
    });
  }

  // An input for diff: image bytes, or {contents, format, name} for any format the tool reads.
  function input(value, name) {
    if (value instanceof Uint8Array) return { contents: value, format: 'bin', name: name };
    return { contents: value.contents, format: value.format, name: value.name || name };
  }

  // AES-CMAC (RFC 4493) with Web Crypto: AES-CBC from a zero IV is the CMAC's chain of blocks; its
  // first block of one zero block is the subkeys' L. Web Crypto pads what it encrypts, so the
  // message, already padded and masked as CMAC does it, gives one block more, which is left alone.
  const BLOCK = 16;
  function doubled(block) {
    const out = new Uint8Array(BLOCK);
    for (let i = 0; i < BLOCK; ++i)
      out[i] = ((block[i] << 1) | (i + 1 < BLOCK ? block[i + 1] >> 7 : 0)) & 0xff;
    if (block[0] & 0x80) out[BLOCK - 1] ^= 0x87;
    return out;
  }

  async function cmac(keyBytes, message) {
    const key = await crypto.subtle.importKey('raw', keyBytes, 'AES-CBC', false, ['encrypt']);
    const encrypt = async (data) =>
      new Uint8Array(await crypto.subtle.encrypt({ name: 'AES-CBC', iv: new Uint8Array(BLOCK) }, key, data));
    const k1 = doubled((await encrypt(new Uint8Array(BLOCK))).subarray(0, BLOCK));
    const blocks = Math.max(1, Math.ceil(message.length / BLOCK));
    const complete = message.length > 0 && message.length % BLOCK === 0;
    const padded = new Uint8Array(blocks * BLOCK);
    padded.set(message);
    if (!complete) padded[message.length] = 0x80;
    const subkey = complete ? k1 : doubled(k1);
    const last = (blocks - 1) * BLOCK;
    for (let i = 0; i < BLOCK; ++i) padded[last + i] ^= subkey[i];
    return (await encrypt(padded)).slice(last, last + BLOCK);
  }

  const hexOf = (bytes) => Array.from(bytes, (b) => b.toString(16).toUpperCase().padStart(2, '0')).join('');

  const api = {
    // {image: Uint8Array, hashInput, findings, attributes, usage, hex, map, error} for a description in
    // format (json, or another description format the tool reads): the image; the bytes the
    // Database Hash covers; what `gattdb check` finds (as its -f json gives it, with the line it
    // prints); each attribute as `gattdb dump` lists it, with its header constant (with symbol's
    // prefix), its item's name and its service's and characteristic's indices; the handles and bytes
    // used, as `dump --summary` totals them; and, computed when asked, the hex text and handle map of
    // `build` and `build -f map`. Only error is set when the description is refused.
    build(text, format = 'json', name = defaultName(format), symbol = 'gatt_db') {
      const answer = engine.build(bytesOf(text), format, name, symbol);
      if (answer.error)
        return { error: answer.error, image: new Uint8Array(0), findings: [], attributes: [] };
      const result = {
        error: null,
        image: answer.image,
        hashInput: answer.hashInput,
        findings: findingObjects(answer.findings),
        attributes: attributeObjects(answer.attributes),
        usage: answer.usage,
      };
      let hex = null;
      let map = null;
      Object.defineProperties(result, {
        hex: { get: () => (hex = hex === null ? api.output(text, format, 'hex', symbol, name) : hex) },
        map: { get: () => (map = map || JSON.parse(api.output(text, format, 'map', symbol, name))) },
      });
      return result;
    },
    // The description (JSON text) of an image, as `gattdb dump --json` prints it.
    decode(bytes, name = 'image.bin') {
      return decoder.decode(resultOf(engine.read(bytesOf(bytes), 'bin', name, false)).description);
    },
    // Any input the tool reads (description or image; text or bytes) as description JSON text,
    // keeping the items' names.
    read(contents, format, name, options = {}) {
      return api.readWithWarnings(contents, format, name, options).description;
    },
    // {description, warnings}: with options.lossy, what the image cannot hold is left out and each
    // warning is the line `gattdb --lossy` prints for it.
    readWithWarnings(contents, format, name, options = {}) {
      const result = resultOf(engine.read(bytesOf(contents), format, name, Boolean(options.lossy)));
      return { description: decoder.decode(result.description), warnings: result.warnings };
    },
    // The format the tool reads a file of that name and those bytes in: the one its extension names
    // (either case), else hex text when it is nothing but hex digits and white space, else bytes.
    formatFor(name, bytes) {
      return engine.formatFor(name, bytesOf(bytes));
    },
    // What `gattdb diff OLD NEW` finds, one object per difference: {kind (moved, removed, added,
    // changed), item, detail, oldHandle, newHandle, place (in the new description), moves (for moved:
    // each attribute with its old and new handle), line (what diff prints)}; empty when they are the
    // same.
    diff(oldInput, newInput) {
      const before = input(oldInput, 'old.bin');
      const after = input(newInput, 'new.bin');
      return resultOf(
        engine.diff(
          bytesOf(before.contents),
          before.format,
          before.name,
          bytesOf(after.contents),
          after.format,
          after.name,
        ),
      ).differences;
    },
    // What `gattdb build -f KIND --name SYMBOL` writes for the description (hex, c, header or map), or
    // for KIND "description" the description as the page saves it.
    output(text, format = 'json', kind = 'hex', symbol = 'gatt_db', name = defaultName(format)) {
      return decoder.decode(resultOf(engine.output(bytesOf(text), format, name, kind, symbol)).text);
    },
    // `gattdb hash`'s value (hex digits) for a build's hashInput: AES-CMAC with the all-zero key.
    async hash(hashInput) {
      return hexOf(await cmac(new Uint8Array(BLOCK), hashInput));
    },
    // AES-CMAC of message with a 16-byte key, as bytes.
    cmac,
    // Hands the engine a file, where a description read later finds it by name when it imports it.
    keep(name, bytes) {
      engine.keep(name, bytesOf(bytes));
    },
    // The SIG services `gattdb new` knows: [{uuid, name, id (heart_rate), optional: [{uuid, name}]}].
    templateServices() {
      return engine.templateServices();
    },
    // {description, warnings}: the description (JSON text) with the service's template appended, with
    // the optional characteristics listed (UUIDs); an empty description starts as `gattdb new` does.
    addService(text, service, optional = [], name = defaultName('json')) {
      const result = resultOf(engine.addService(bytesOf(text), 'json', name, service, optional));
      return { description: decoder.decode(result.description), warnings: result.warnings };
    },
    // The description with the fix of the finding that build gave as number index applied, as
    // `gattdb check --fix` applies it.
    fix(text, index, name = defaultName('json')) {
      return decoder.decode(resultOf(engine.fixFinding(bytesOf(text), 'json', name, index)).description);
    },
    // The bytes, as hex digits, of a value field's short form: "u16 72", "int8 -1", "\"text\"", hex.
    valueBytes(text) {
      return resultOf(engine.valueBytes(text)).hex;
    },
    // The UUID table (read when first used: the page starts without it), property names, input
    // formats and limits.
    vocabulary() {
      const vocabulary = engine.vocabulary();
      let uuids = null;
      Object.defineProperty(vocabulary, 'uuids', {
        enumerable: true,
        get: () => (uuids = uuids || rowsOf(engine.uuidTable()).map((u) => ({ ...u, sig: u.sig === 1 }))),
      });
      return vocabulary;
    },
  };

  // The engine's WebAssembly, which the site carries compressed inside a script. Fetching it as a
  // data: URL has the browser decode the base64 and inflate it off the page's thread, and compiling
  // it as it streams out of the inflater overlaps the two. It starts before the browser has even
  // loaded the engine's JavaScript (the page lists this script first), which then only
  // instantiates it.
  const compiled = fetch('data:application/gzip;base64,' + window.gattdbEngineWasm).then((packed) => {
    const inflated = packed.body.pipeThrough(new DecompressionStream('gzip'));
    return WebAssembly.compileStreaming(
      new Response(inflated, { headers: { 'Content-Type': 'application/wasm' } }),
    );
  });
  const scriptsLoaded = new Promise((resolve) => {
    if (document.readyState !== 'loading') resolve();
    else document.addEventListener('DOMContentLoaded', resolve, { once: true });
  });

  api.ready = scriptsLoaded
    .then(
      () =>
        new Promise((resolve, reject) => {
          const instantiateWasm = (imports, receive) => {
            compiled
              .then((module) => {
                performance.mark('gattdb-engine-compiled');
                return WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module));
              })
              .catch(reject);
            return {};
          };
          createGattdbEngine({ instantiateWasm }).then(resolve, reject);
        }),
    )
    .then((module) => {
      performance.mark('gattdb-engine-ready');
      engine = module;
      return api;
    });
  window.gattdb = api;
})();
