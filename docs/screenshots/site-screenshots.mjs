// Takes the manual's pictures of the quiz a student sees: produces the site
// of the sample quiz with tavimor-cli (TAVIMOR_CLI), serves it on 127.0.0.1
// and walks through it in headless Chromium as a student would, saving the
// pages in the folder given as argument.
//   node docs/screenshots/site-screenshots.mjs SAMPLE.kwz OUTPUT-FOLDER
import { execFileSync, spawnSync } from 'node:child_process';
import { copyFileSync, mkdirSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

import { serveFolder } from '../../tests/e2e/lib/server.mjs';
import { cliPath, launchBrowser } from '../../tests/e2e/lib/site.mjs';
import { Student } from '../../tests/e2e/lib/student.mjs';

const [sample, output] = process.argv.slice(2);
if (!sample || !output) {
  console.error('usage: node site-screenshots.mjs SAMPLE.kwz OUTPUT-FOLDER');
  process.exit(2);
}
mkdirSync(output, { recursive: true });

const work = mkdtempSync(path.join(tmpdir(), 'tavimor-shots-'));
const doc = path.join(work, 'decouverte.kwz');
copyFileSync(sample, doc);
execFileSync(cliPath(), ['produce', doc, '--prefs', path.join(work, 'prefs')], { stdio: 'pipe' });

const server = await serveFolder(path.join(work, 'decouverte'));
const browser = await launchBrowser();
try {
  const page = await browser.newPage({ viewport: { width: 820, height: 280 } });
  const student = new Student(page, server.url);
  const shoot = async (name) => {
    await page.waitForTimeout(200);
    await page.screenshot({ path: path.join(output, name) });
    console.log(path.join(output, name));
  };

  await student.open();
  await student.main.locator('input[name="nom"]').fill('Camille');
  await shoot('site-accueil.png');
  await student.enter('Camille');

  // The sample's eight questions: the first answered right with certainty,
  // the fifth wrong (it has its own message and an attached page).
  const answers = [
    { choice: 0, cert: true }, { choice: 0, cert: true }, { choice: 0, cert: false }, { choice: 1, cert: false },
    { choice: 0, cert: true }, { choice: 0, cert: false }, { choice: 2, cert: true }, { choice: 1, cert: true },
  ];
  const types = [0, 1, 2, 0, 0, 1, 2, 0];
  for (let i = 0; i < answers.length; i++) {
    await student.answer({ type: types[i] }, answers[i], true);
    if (i === 0) await shoot('site-question.png');
    if (i === 2) await shoot('site-closure.png');
    await student.next({ menuReloads: i === answers.length - 1 });
  }
  await shoot('site-fin.png');
  await student.endPageLink('voir les r\u00e9sultats');
  await shoot('site-resultats.png');
  await student.openFeedback(5);
  await shoot('site-retour.png');
  if (student.problems.length) throw new Error(student.problems.join('\n'));

  // The self-contained quiz, from a tavimor-cli that makes it, opened from
  // file:// as a double-click opens it.
  if (spawnSync(cliPath(), ['help', 'standalone'], { stdio: 'ignore' }).status === 0) {
    const single = path.join(work, 'decouverte.html');
    execFileSync(cliPath(), ['standalone', doc, single, '--prefs', path.join(work, 'prefs')], { stdio: 'pipe' });
    const phone = await browser.newPage({ viewport: { width: 360, height: 640 } });
    await phone.goto(pathToFileURL(single).href, { waitUntil: 'load' });
    await phone.waitForTimeout(200);
    await phone.screenshot({ path: path.join(output, 'autonome-telephone.png') });
    console.log(path.join(output, 'autonome-telephone.png'));
  }
} finally {
  await browser.close();
  await server.close();
  rmSync(work, { recursive: true, force: true });
}
