// SPDX-License-Identifier: MIT
// Opens the built configurator from disk in Debian's Chromium, headless, driven by puppeteer-core.
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const puppeteer = require('puppeteer-core');

const ROOT = path.resolve(__dirname, '..', '..');
const SITE = path.resolve(process.env.GATTDB_WEB_SITE || path.join(ROOT, 'build', 'web', 'site'));

// A fresh profile each run; nothing reaches the network or the machine's browser settings.
async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'gattdb-web-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: [
      '--no-sandbox',
      '--disable-gpu',
      '--disable-quic',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
    ],
  });
  // Chromium may still be writing the profile as it exits; a leftover temporary folder is no fault.
  browser.on('disconnected', () => {
    try {
      fs.rmSync(profile, { recursive: true, force: true, maxRetries: 5, retryDelay: 100 });
    } catch {}
  });
  return browser;
}

// A page (fresh, or a new one) with the configurator loaded and its engine ready; page errors fail
// the caller.
async function openConfigurator(browser, viewport = { width: 1280, height: 800 }, fresh = null) {
  const page = fresh || (await browser.newPage());
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.setViewport(viewport);
  await page.goto(pathToFileURL(path.join(SITE, 'index.html')).href);
  await page.waitForSelector('body[data-ready="true"]', { timeout: 20000 });
  return { page, errors };
}

module.exports = { ROOT, SITE, launch, openConfigurator };
