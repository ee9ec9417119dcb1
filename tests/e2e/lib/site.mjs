// Produces the quiz site of a fixture with tavimor-cli into a temporary
// folder, and starts the browser the tests drive.
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, copyFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

export const e2eDir = path.dirname(path.dirname(fileURLToPath(import.meta.url)));
export const chromiumPath = '/usr/bin/chromium';

export function cliPath() {
  const cli = process.env.TAVIMOR_CLI;
  if (!cli) throw new Error('TAVIMOR_CLI must name the built tavimor-cli');
  if (!existsSync(cli)) throw new Error(`TAVIMOR_CLI: no file ${cli}`);
  return cli;
}

// Converts fixtures/<name>.json into a document and produces its site with a
// preferences folder of its own. Returns the folder that holds index.html
// and a function that removes everything.
export function produceSite(name) {
  const cli = cliPath();
  const work = mkdtempSync(path.join(tmpdir(), 'tavimor-e2e-'));
  const json = path.join(work, `${name}.json`);
  copyFileSync(path.join(e2eDir, 'fixtures', `${name}.json`), json);
  const doc = path.join(work, `${name}.kwz`);
  const run = (args) => execFileSync(cli, args, { cwd: work, encoding: 'utf8', stdio: 'pipe' });
  run(['from-json', json, doc]);
  run(['produce', doc, '--prefs', path.join(work, 'prefs')]);
  const siteDir = path.join(work, name);
  if (!existsSync(path.join(siteDir, 'index.html'))) throw new Error(`no index.html in ${siteDir}`);
  return { siteDir, remove: () => rmSync(work, { recursive: true, force: true }) };
}

// Chromium as installed by the system; playwright gives every launch a fresh
// temporary profile (its own --user-data-dir).
export function launchBrowser() {
  return chromium.launch({
    executablePath: chromiumPath,
    headless: true,
    args: [
      '--headless',
      '--no-sandbox',
      '--disable-gpu',
      '--disable-background-networking',
      '--no-first-run',
      '--disable-component-update',
      '--disable-sync',
    ],
  });
}
