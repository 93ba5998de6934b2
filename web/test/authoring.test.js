// SPDX-License-Identifier: MIT
// Writing from the standard in the page: a SIG service from the picker, a finding's Fix, and a value
// typed as numbers, each giving what the command-line tool gives.
const assert = require('node:assert/strict');
const { after, before, test } = require('node:test');
const { launch, openConfigurator } = require('./browser');

let browser;
before(async () => {
  browser = await launch();
});
after(async () => {
  await browser.close();
});

const text = (page, selector) => page.$eval(selector, (node) => node.textContent);
const uuids = (page) =>
  page.$$eval('#editor [data-row] input.uuid', (inputs) => inputs.map((input) => input.value));
const rules = (page) =>
  page.evaluate(() => [...document.querySelectorAll('#handles .finding')].map((n) => n.textContent));

test('Heart Rate from the picker, one Fix, and a value typed as numbers', async () => {
  const { page, errors } = await openConfigurator(browser);
  await page.click('#add-service');
  await page.type('#service-search', 'heart');
  await page.click('[data-service="180D"]');
  await page.click('[data-optional="2A38"]');
  await page.click('#add-service-confirm');
  assert.equal(await text(page, '#status'), 'Added Heart Rate');
  assert.deepEqual(await uuids(page), ['1800', '2A00', '180D', '2A37', '2A38']);
  assert.equal(
    await page.$eval('[data-row="services[1].characteristics[0]"] .cccd input', (n) => n.checked),
    true,
  );

  // The page's starting database has no Service Changed; its finding has a Fix, and Fix adds it.
  const fix = '[data-messages="services"] button.fix, #handles .finding button.fix';
  assert.ok((await rules(page)).some((r) => r.includes('[service-changed]')));
  await page.click(fix);
  assert.match(await text(page, '#status'), /^Fixed: .*\[service-changed\]$/);
  assert.deepEqual(await uuids(page), ['1800', '2A00', '180D', '2A37', '2A38', '1801', '2A05']);
  assert.ok(!(await rules(page)).some((r) => r.includes('[service-changed]')));

  // 72 beats a minute, typed; the image holds the engine's bytes 00 48 00.
  const value = '[data-row="services[1].characteristics[0]"] .value';
  await page.select(value + ' select', 'typed');
  await page.type(value + ' input', 'u8 0, u16 72');
  const description = await page.evaluate(() => window.gattdbApp.description());
  assert.match(description, /"uuid": ?"2A37",[^}]*"value": ?"004800"/);
  await page.type(value + ' input', '000');
  assert.equal(await page.$eval(value + ' input', (n) => n.getAttribute('aria-invalid')), 'true');
  assert.equal(
    await page.$eval(value + ' input', (n) => n.title),
    'gattdb: part 2: 72000 is out of range 0 to 65535',
  );
  assert.deepEqual(errors, []);
});
