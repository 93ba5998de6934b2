// SPDX-License-Identifier: MIT
// Writes a 1280x800 screenshot of the configurator editing the heart-rate database, compared with
// the mixed example: node web/screenshot.js docs/web-configurator.png
const path = require('node:path');
const { ROOT, launch, openConfigurator } = require('./test/browser');

(async () => {
  const browser = await launch();
  try {
    const { page } = await openConfigurator(browser);
    await (await page.$('#open-file')).uploadFile(path.join(ROOT, 'examples', 'heart-rate.json'));
    await page.waitForFunction(() => document.querySelectorAll('table.handles tbody tr').length === 6);
    await page.hover('.byte[data-attribute="2"]');
    await page.screenshot({ path: process.argv[2] });
  } finally {
    await browser.close();
  }
})();
