// Runs tavimor-cli on a fixture in a temporary folder for the platform
// exports: the document is made with from-json, then each command runs there.
import { execFileSync } from 'node:child_process';
import { copyFileSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';

import { cliPath, e2eDir } from './site.mjs';

export function fixtureDocument(name) {
  const work = mkdtempSync(path.join(tmpdir(), 'tavimor-platform-'));
  const json = path.join(work, `${name}.json`);
  copyFileSync(path.join(e2eDir, 'fixtures', `${name}.json`), json);
  const run = (args) => execFileSync(cliPath(), args, { cwd: work, encoding: 'utf8', stdio: 'pipe' });
  const doc = path.join(work, `${name}.kwz`);
  run(['from-json', json, doc]);
  return { work, doc, run, file: (n) => path.join(work, n), remove: () => rmSync(work, { recursive: true, force: true }) };
}
