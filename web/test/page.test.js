// SPDX-License-Identifier: MIT
// The configurator in headless Chromium, opened from disk: the engine gives the command-line tool's
// bytes, an edit session builds a database, an image opens through the file input, and a refused edit
// shows its error where it happened.
const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { after, before, test } = require('node:test');
const { ROOT, launch, openConfigurator } = require('./browser');
const { largestDescription, IMAGE_SIZE } = require('./largest');

const EXAMPLES = path.join(ROOT, 'examples');
const GOLDEN = path.join(ROOT, 'tests', 'tool', 'golden');
const golden = (name, extension = '.hex') => fs.readFileSync(path.join(GOLDEN, name + extension), 'utf8');

let browser;
before(async () => {
  browser = await launch();
});
after(async () => {
  await browser.close();
});

const text = (page, selector) => page.$eval(selector, (node) => node.textContent);

// The image's hex as the page shows it, without the offsets.
const shownHex = (page) => page.$eval('#hex', (n) => n.innerText.replace(/^\S+ /gm, '').trim());

// Replaces a field's text as a user would: select all, type.
async function typeInto(page, selector, value) {
  await page.click(selector, { clickCount: 3 });
  await page.keyboard.press('Backspace');
  await page.type(selector, value);
}

test("window.gattdb gives the command-line tool's outputs for every example", async () => {
  const { page, errors } = await openConfigurator(browser);
  for (const file of fs.readdirSync(EXAMPLES).filter((f) => /\.(json|gatt)$/.test(f))) {
    const [stem, format] = file.split('.');
    const description = fs.readFileSync(path.join(EXAMPLES, file), 'utf8');
    const built = await page.evaluate(
      async (d, format, name) => {
        const result = window.gattdb.build(d, format, name);
        return {
          hex: result.hex,
          length: result.image.length,
          error: result.error,
          hash: await window.gattdb.hash(result.hashInput),
          c: window.gattdb.output(d, format, 'c', 'gatt_db', name),
          header: window.gattdb.output(d, format, 'header', 'gatt_db', name),
          map: result.map,
          again: window.gattdb.build(window.gattdb.decode(result.image)).hex,
        };
      },
      description,
      format,
      file,
    );
    const expected = golden(stem);
    assert.equal(built.error, null, file);
    assert.equal(built.hex, expected, file);
    assert.equal(built.hash + '\n', golden(stem, '.hash'), file + ' hash');
    assert.equal(built.length, expected.split(/\s+/).filter(Boolean).length, file);
    assert.equal(built.again, expected, file + ' read back');
    assert.match(built.c, new RegExp('const uint16_t gatt_db_length = ' + built.length + ';'), file);
    assert.equal(built.header, golden(stem, '.h'), file + ' header');
    assert.deepEqual(built.map, JSON.parse(golden(stem, '.map.json')), file + ' map');
  }
  assert.deepEqual(errors, []);
});

test('a .gatt file opened with the files it imports builds its image', async () => {
  const { page, errors } = await openConfigurator(browser);
  const gatt = path.join(EXAMPLES, 'gatt');
  const files = ['shared/gap.gatt', 'thermometer.gatt', 'shared/battery.gatt'].map((f) => path.join(gatt, f));
  await (await page.$('#open-file')).uploadFile(...files);
  await page.waitForFunction(
    () => document.querySelector('#status').textContent === 'Opened thermometer.gatt',
  );
  assert.equal(await shownHex(page), golden('gatt-thermometer').trim());
  await page.waitForFunction(() => document.querySelector('#image-hash').textContent !== '');
  assert.equal((await text(page, '#image-hash')) + '\n', golden('gatt-thermometer', '.hash'));
  assert.deepEqual(errors, []);
});

test('clicks and typing build the heart-rate database', async () => {
  const { page, errors } = await openConfigurator(browser);
  const s = '[data-row="services[0]"]';
  const c = (j) => '[data-row="services[0].characteristics[' + j + ']"]';
  await typeInto(page, s + ' input.uuid', '180D');
  await typeInto(page, c(0) + ' input.uuid', '2A37');
  await page.click(c(0) + ' [data-property="read"]');
  await page.click(c(0) + ' [data-property="notify"]');
  await page.select(c(0) + ' select', 'hex');
  await typeInto(page, c(0) + ' .value input', '0048');
  await page.click(s + ' button.add');
  await typeInto(page, c(1) + ' input.uuid', '2A38');
  await page.focus(c(1) + ' .value input');
  await page.keyboard.type('01');
  assert.equal(await text(page, '#status'), '');
  assert.equal(await shownHex(page), golden('heart-rate').trim());
  assert.equal(await text(page, '[data-uuid-name="services[0]"]'), 'Heart Rate');
  await page.type(s + ' input.name', 'hr');
  assert.equal(await text(page, '#handles tbody tr .constant'), 'GATT_DB_HR_SERVICE_HANDLE');
  // A notifying characteristic without its descriptor builds, and the check's finding stands beside it.
  await page.click(c(0) + ' .cccd input');
  assert.match(await text(page, '[data-messages="services[0].characteristics[0]"]'), /\[cccd-missing\]$/);
  assert.match(await text(page, '#handles tr[data-handle="2"] .finding.error'), /\[cccd-missing\]$/);
  assert.deepEqual(errors, []);
});

test('an image opened through the file input shows its handle table, and compares with a description', async () => {
  const { page, errors } = await openConfigurator(browser);
  const bytes = golden('battery-device-information')
    .split(/\s+/)
    .filter(Boolean)
    .map((h) => parseInt(h, 16));
  const image = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'gattdb-image-')), 'device.bin');
  fs.writeFileSync(image, Buffer.from(bytes));
  await (await page.$('#open-file')).uploadFile(image);
  await page.waitForFunction(() => document.querySelector('#status').textContent === 'Opened device.bin');
  const rows = await page.$$eval('#handles tbody tr', (trs) =>
    trs.map((tr) => tr.innerText.replace(/\s+/g, ' ').trim()),
  );
  assert.equal(rows.length, 17);
  assert.equal(rows[0], '1 service 180F Battery Service GATT_DB_BATTERY_SERVICE_SERVICE_HANDLE 0+4');
  assert.equal(
    rows[16],
    '17 value 2A28 Software Revision String GATT_DB_SOFTWARE_REVISION_STRING_VALUE_HANDLE 115+13',
  );

  await (await page.$('#compare-file')).uploadFile(path.join(EXAMPLES, 'heart-rate.json'));
  await page.waitForSelector('#comparison pre.diff');
  assert.match(await text(page, '#comparison pre.diff'), /removed: service 180D Heart Rate/);
  assert.deepEqual(errors, []);
});

test('a refused edit shows its error in its row and keeps the last image', async () => {
  const { page, errors } = await openConfigurator(browser);
  const row = '[data-row="services[0].characteristics[0]"]';
  const value = row + ' .value input';
  await page.select(row + ' select', 'hex');
  await page.$eval(value, (input) => {
    input.value = '00'.repeat(255);
    input.dispatchEvent(new Event('input'));
  });
  const largest = await text(page, '#hex');
  await page.focus(value);
  await page.keyboard.press('End');
  await page.keyboard.type('00');
  assert.equal(
    await text(page, '[data-messages="services[0].characteristics[0]"]'),
    'services[0].characteristics[0].value value of 256 bytes, at most 255',
  );
  assert.equal(
    await text(page, '#status'),
    'gattdb: untitled.json: services[0].characteristics[0].value: value of 256 bytes, at most 255',
  );
  assert.equal(await page.$eval(value, (n) => n.getAttribute('aria-invalid')), 'true');
  assert.equal(await text(page, '#hex'), largest);
  assert.equal(await page.$eval('[data-save="bin"]', (n) => n.disabled), true);
  assert.deepEqual(errors, []);
});

test('a dropped file opens; the keyboard moves and removes characteristics; a dropped older file compares', async () => {
  const { page, errors } = await openConfigurator(browser);
  const drop = (selector, name) =>
    page.evaluate(
      (selector, name, text) => {
        const files = new DataTransfer();
        files.items.add(new File([text], name));
        const event = new DragEvent('drop', { dataTransfer: files, bubbles: true, cancelable: true });
        document.querySelector(selector).dispatchEvent(event);
      },
      selector,
      name,
      fs.readFileSync(path.join(EXAMPLES, name), 'utf8'),
    );
  const labels = () =>
    page.$$eval('#handles tbody tr[data-type="declaration"]', (trs) =>
      trs.map((tr) => tr.cells[2].firstChild.textContent),
    );

  await drop('main', 'heart-rate.json');
  await page.waitForFunction(
    () => document.querySelector('#status').textContent === 'Opened heart-rate.json',
  );
  await page.focus('[aria-label="Move characteristic 2 of service 1 up"]');
  await page.keyboard.press('Enter');
  assert.deepEqual(await labels(), ['2A38 Body Sensor Location', '2A37 Heart Rate Measurement']);

  await drop('#compare-label', 'heart-rate.json');
  await page.waitForSelector('#comparison pre.diff');
  assert.match(await text(page, '#comparison pre.diff'), /^moved: characteristic 2A37 .*declaration 2 -> 4/m);
  assert.deepEqual(await page.$$eval('#handles tr.moved', (trs) => trs.map((tr) => tr.dataset.handle)), [
    '2',
    '3',
    '4',
    '5',
    '6',
  ]);

  await page.focus('[aria-label="Remove characteristic 1 of service 1"]');
  await page.keyboard.press('Enter');
  assert.deepEqual(await labels(), ['2A37 Heart Rate Measurement']);
  assert.deepEqual(errors, []);
});

test('saving downloads what the tool writes', async () => {
  const { page, errors } = await openConfigurator(browser);
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'gattdb-saved-'));
  const session = await page.createCDPSession();
  await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
  await (await page.$('#open-file')).uploadFile(path.join(EXAMPLES, 'heart-rate.json'));
  await page.waitForFunction(
    () => document.querySelector('#status').textContent === 'Opened heart-rate.json',
  );
  const saved = async (button, name) => {
    await page.click('[data-save="' + button + '"]');
    const file = path.join(folder, name);
    for (let tries = 0; !fs.existsSync(file) && tries < 50; ++tries)
      await new Promise((r) => setTimeout(r, 100));
    return fs.readFileSync(file);
  };
  assert.equal((await saved('header', 'gatt_db.h')).toString(), golden('heart-rate', '.h'));
  assert.deepEqual(
    JSON.parse(await saved('map', 'heart-rate.map.json')),
    JSON.parse(golden('heart-rate', '.map.json')),
  );
  assert.equal(
    (await saved('bin', 'heart-rate.bin')).toString('hex').toUpperCase(),
    golden('heart-rate').replace(/\s+/g, ''),
  );
  assert.deepEqual(errors, []);
});

test('the engine answers structures: errors, differences, formats, descriptions, AES-CMAC', async () => {
  const { page, errors } = await openConfigurator(browser);
  const answers = await page.evaluate(async () => {
    const g = window.gattdb;
    const bytes = (hex) => new Uint8Array(hex.match(/../g).map((h) => parseInt(h, 16)));
    const refused = g.build(
      '{"services": [{"uuid": "180D", "characteristics": [{"uuid": "2A3"}]}]}',
      'json',
      'db.json',
    );
    let thrown = null;
    try {
      g.read('00 02', 'hex', 'image.hex');
    } catch (error) {
      thrown = { message: error.message, place: error.place, file: error.file, line: error.line };
    }
    const hr = (order) =>
      JSON.stringify({
        services: [
          { uuid: '180D', characteristics: order.map((uuid) => ({ uuid, properties: ['notify'] })) },
        ],
      });
    const rfcKey = bytes('2B7E151628AED2A6ABF7158809CF4F3C');
    const rfcMessage = bytes(
      '6BC1BEE22E409F96E93D7E117393172AAE2D8A571E03AC9C9EB76FAC45AF8E51' +
        '30C81C46A35CE411E5FBC1191A0A52EFF69F2445DF4F9B17AD2B417BE66C3710',
    );
    const tags = [];
    for (const length of [0, 16, 40, 64]) {
      const tag = await g.cmac(rfcKey, rfcMessage.subarray(0, length));
      tags.push(Array.from(tag, (b) => b.toString(16).toUpperCase().padStart(2, '0')).join(''));
    }
    const named =
      '{"services": [{"uuid": "180F", "name": "power", "characteristics": [{"uuid": "2A19", "name": "level", "properties": ["read", "notify"], "value": "64", "cccd": true}]}]}';
    return {
      refused: refused.error,
      thrown,
      differences: g.diff(
        { contents: hr(['2A37', '2A38']), format: 'json' },
        { contents: hr(['2A38', '2A37']), format: 'json' },
      ),
      formats: [
        g.formatFor('DB.JSON', new TextEncoder().encode('{}')),
        g.formatFor('Profile.GATT', new Uint8Array()),
        g.formatFor('IMAGE.BIN', new TextEncoder().encode('00 02')),
        g.formatFor('image.txt', new TextEncoder().encode('00 02 0D 18\n')),
        g.formatFor('image', new Uint8Array([0, 2, 0x0d, 0x18])),
      ],
      saved: g.output(named, 'json', 'description'),
      tags,
    };
  });
  assert.deepEqual(answers.refused, {
    message: '"2A3" is not 4, 8 or 32 hex digits nor a dashed 128-bit UUID',
    place: 'services[0].characteristics[0].uuid',
    file: 'db.json',
    line: 'gattdb: db.json: services[0].characteristics[0].uuid: "2A3" is not 4, 8 or 32 hex digits nor a dashed 128-bit UUID',
  });
  assert.equal(answers.thrown.file, 'image.hex');
  assert.equal(
    answers.thrown.line,
    'gattdb: image.hex: ' + answers.thrown.place + ': ' + answers.thrown.message,
  );
  const moved = answers.differences.filter((d) => d.kind === 'moved');
  assert.equal(moved.length, 2);
  assert.deepEqual(moved[0].moves, [
    { attribute: 'declaration', oldHandle: 2, newHandle: 5 },
    { attribute: 'value', oldHandle: 3, newHandle: 6 },
    { attribute: 'descriptor', oldHandle: 4, newHandle: 7 },
  ]);
  assert.equal(moved[0].oldHandle, 2);
  assert.equal(moved[0].newHandle, 5);
  assert.match(
    moved[0].line,
    /^moved: characteristic 2A37 .*: declaration 2 -> 5, value 3 -> 6, descriptor 4 -> 7$/,
  );
  assert.deepEqual(answers.formats, ['json', 'gatt', 'bin', 'hex', 'bin']);
  assert.equal(
    answers.saved,
    '{ "services": [\n    { "uuid": "180F", "name": "power",\n      "characteristics": [\n' +
      '        { "uuid": "2A19", "name": "level", "properties": ["read", "notify"], "value": "64" } ] } ] }\n',
  );
  assert.deepEqual(answers.tags, [
    'BB1D6929E95937287FA37D129B756746',
    '070A16B46B4D4144F79BDD9DD04A287C',
    'DFA66747DE9AE63030CA32611497C827',
    '51F0BEBF7E3B9D92FC49741779363CFE',
  ]);
  assert.deepEqual(errors, []);
});

test('a .gatt file opened lossy lists its warnings and builds without what the image cannot hold', async () => {
  const { page, errors } = await openConfigurator(browser);
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'gattdb-lossy-'));
  const gatt = path.join(folder, 'hr.gatt');
  fs.writeFileSync(gatt, 'PRIMARY_SERVICE, 180D\nCHARACTERISTIC, 2A38, READ | READ_ENCRYPTED, 01\n');
  await (await page.$('#open-file')).uploadFile(gatt);
  await page.waitForFunction(() =>
    document.querySelector('#status').textContent.startsWith('gattdb: hr.gatt:2:'),
  );
  assert.equal(
    await text(page, '#status'),
    'gattdb: hr.gatt:2: cannot keep READ_ENCRYPTED: the image holds no security or permission flags (--lossy leaves it out)',
  );
  await page.click('#lossy');
  await (await page.$('#open-file')).uploadFile(gatt);
  await page.waitForFunction(() => document.querySelector('#status').textContent === 'Opened hr.gatt');
  assert.deepEqual(await page.$$eval('#warnings li', (items) => items.map((li) => li.textContent)), [
    'gattdb: hr.gatt:2: warning: left out READ_ENCRYPTED: the image holds no security or permission flags',
  ]);
  assert.equal(await shownHex(page), '00 02 0D 18 30 05 02 03 00 38 2A 00 D0 01 01 00');
  assert.deepEqual(errors, []);
});

const CAPTURE = path.join(ROOT, 'tests', 'tool', 'captures', 'toy-car.btsnoop');

test('a capture opens lossy as import takes it, and is either side of a comparison', async () => {
  const { page, errors } = await openConfigurator(browser);
  const statusIs = (line) =>
    page.waitForFunction((l) => document.querySelector('#status').textContent === l, {}, line);
  const diffLines = () => page.$$eval('#comparison pre.diff > *', (lines) => lines.map((l) => l.textContent));
  // Its magic number names the format whatever the file is called.
  const renamed = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'gattdb-capture-')), 'phone.txt');
  fs.copyFileSync(CAPTURE, renamed);
  await (await page.$('#open-file')).uploadFile(renamed);
  await page.waitForFunction(() =>
    document.querySelector('#status').textContent.startsWith('gattdb: phone.txt:'),
  );
  assert.equal(
    await text(page, '#status'),
    'gattdb: phone.txt: handle 19: cannot keep descriptor 2901 Characteristic User Descriptor: ' +
      'the image holds no descriptors but the client characteristic configuration (--lossy leaves it out)',
  );

  await page.click('#lossy');
  await (await page.$('#open-file')).uploadFile(CAPTURE);
  await statusIs('Opened toy-car.btsnoop');
  const warnings = await page.$$eval('#warnings li', (items) => items.map((li) => li.textContent));
  assert.equal(warnings.length, 19);
  assert.equal(warnings.filter((w) => / warning: left out descriptor 2901 /.test(w)).length, 2);
  assert.ok(
    warnings.includes(
      'gattdb: toy-car.btsnoop: handle 3: warning: the capture holds no value for characteristic 2A00 Device Name (handles 2-3); left empty',
    ),
  );
  const rows = await page.$$eval('#handles tbody tr', (trs) =>
    trs.map((tr) => tr.innerText.replace(/\s+/g, ' ').trim()),
  );
  assert.equal(rows.length, 51);
  assert.match(rows[0], /^1 service 1800 Generic Access /);
  assert.match(rows[10], /^11 value 2A23 System ID /);

  // The capture is the newer side: an older database without its last service.
  const description = JSON.parse(
    await page.evaluate(
      async (bytes) => window.gattdb.read(new Uint8Array(bytes), 'btsnoop', 'car.btsnoop', { lossy: true }),
      [...fs.readFileSync(CAPTURE)],
    ),
  );
  const last = description.services.pop();
  const olderFile = path.join(path.dirname(renamed), 'older.json');
  fs.writeFileSync(olderFile, JSON.stringify(description));
  await (await page.$('#compare-file')).uploadFile(olderFile);
  await page.waitForSelector('#comparison pre.diff');
  assert.deepEqual(await diffLines(), [
    'added: service ' + last.uuid.toUpperCase().replace(/^0X/, '') + ' (handles 49-51)',
  ]);

  // And the older side: the starter database compared with the capture.
  await page.click('#new-db');
  await (await page.$('#compare-file')).uploadFile(CAPTURE);
  await statusIs('Compared with toy-car.btsnoop');
  const lines = await diffLines();
  assert.ok(lines.length > 5, lines.join('\n'));
  assert.ok(lines.includes('removed: service FF10 (handles 49-51)'), lines.join('\n'));

  // window.gattdb.diff reads a capture as the device served it, as `gattdb diff` does: its lossy
  // import lost the two descriptors the image cannot hold.
  const served = await page.evaluate(
    (bytes) => {
      const capture = new Uint8Array(bytes);
      const imported = window.gattdb.read(capture, 'btsnoop', 'car.btsnoop', { lossy: true });
      return window.gattdb
        .diff(
          { contents: capture, format: 'btsnoop', name: 'car.btsnoop' },
          { contents: imported, format: 'json', name: 'car.json' },
        )
        .filter((d) => d.kind === 'changed')
        .map((d) => d.line);
    },
    [...fs.readFileSync(CAPTURE)],
  );
  assert.deepEqual(served, [
    'changed: characteristic FFE4 in service FFE0: descriptor 2901 Characteristic User Descriptor removed (was handle 19)',
    'changed: characteristic FFE9 in service FFE5: descriptor 2901 Characteristic User Descriptor removed (was handle 24)',
  ]);
  assert.deepEqual(errors, []);
});

test('an edit in the largest database shows its new bytes in the byte map', async () => {
  const { page, errors } = await openConfigurator(browser);
  const file = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'gattdb-largest-')), 'largest.json');
  // With a finding in the last service, whose rows the editor draws after the first screen's.
  const description = JSON.parse(largestDescription());
  description.services[4].characteristics[20].properties.push('broadcast');
  fs.writeFileSync(file, JSON.stringify(description));
  await (await page.$('#open-file')).uploadFile(file);
  await page.waitForFunction(() => document.querySelector('#status').textContent === 'Opened largest.json');
  assert.match(await text(page, '#image-summary'), new RegExp(`, ${IMAGE_SIZE} bytes, 5 of 20 services$`));
  await page.waitForSelector('#editor[data-drawn="true"]');
  assert.equal(await page.$$eval('#editor tr[data-row]', (rows) => rows.length), 125);
  assert.match(
    await text(page, '[data-messages="services[4].characteristics[20]"]'),
    /services\[4\]\.characteristics\[20\] error: .* \[broadcast\]/,
  );
  // Not beside the whole database, where a finding goes whose row the editor does not have.
  assert.doesNotMatch(await text(page, '[data-messages="services"]'), /broadcast/);
  // The last byte of the value of the 13th characteristic of the last service.
  const place = 'services[4].characteristics[12]';
  // The byte at offset as the byte map shows it: the line of its offset, and its place in the line.
  const byteShown = (offset) =>
    page.evaluate((offset) => {
      const start = (offset - (offset % 16)).toString(16).toUpperCase().padStart(4, '0');
      const line = [...document.querySelectorAll('#hex .hex-line')].find(
        (l) => l.querySelector('.offset').textContent === start,
      );
      return line ? line.querySelectorAll('.byte')[offset % 16].textContent : null;
    }, offset);
  const value = '[data-row="' + place + '"] .value input';
  await page.focus(value);
  await page.keyboard.press('End');
  await page.keyboard.press('Backspace');
  await page.keyboard.press('Backspace');
  await page.keyboard.type('EE');
  const offset = await page.$eval(
    '#handles tr[data-type="value"][data-handle="' + (await valueHandle(page, place)) + '"] td:last-child',
    (td) => {
      const [start, length] = td.textContent.split('+').map(Number);
      return start + length - 2; // 255 bytes take a filler byte after them
    },
  );
  assert.equal(await byteShown(offset), 'EE');
  assert.equal(await byteShown(offset - 1), 'EC'); // the byte before it, (253 * 7 + 1) & 0xff, is kept
  assert.equal(await text(page, '#status'), '');
  assert.deepEqual(errors, []);
});

test('without requestIdleCallback, as in Safari, the rows below the first screen are drawn too', async () => {
  const fresh = await browser.newPage();
  await fresh.evaluateOnNewDocument(() => {
    delete window.requestIdleCallback;
  });
  const { page, errors } = await openConfigurator(browser, undefined, fresh);
  assert.equal(await page.evaluate(() => typeof window.requestIdleCallback), 'undefined');
  const file = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'gattdb-largest-')), 'largest.json');
  fs.writeFileSync(file, largestDescription());
  await (await page.$('#open-file')).uploadFile(file);
  await page.waitForSelector('#editor[data-drawn="true"]');
  assert.equal(await page.$$eval('#editor tr[data-row]', (rows) => rows.length), 125);
  assert.deepEqual(errors, []);
});

// The handle of the value of the characteristic at place, as the editor's row shows its handles.
async function valueHandle(page, place) {
  const handles = await text(page, '[data-handles="' + place + '"]');
  return Number(handles.split('–')[1]);
}
