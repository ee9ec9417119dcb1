// Students take the self-contained quiz from disk in Chromium and in Firefox,
// by role and accessible name, and save their results with "Enregistrer mes
// résultats": a real download each. Every record must match the format's
// JSON Schema, the e-mail link must carry the same record, and
// `tavimor-cli results` must count each student with the marks they earned,
// while refusing an altered, a foreign and a cut file among them.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { existsSync, mkdirSync, readdirSync, readFileSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { after, before, describe, it } from 'node:test';

import Ajv2020 from 'ajv/dist/2020.js';
import puppeteer from 'puppeteer-core';

import { cliPath, e2eDir, launchBrowser } from './lib/site.mjs';
import { readQuiz } from './lib/quiz.mjs';
import {
  firefoxPath,
  playwrightActions,
  produceSingleFile,
  puppeteerActions,
  SingleFileStudent,
} from './lib/single_file.mjs';

const schema = JSON.parse(readFileSync(path.join(e2eDir, '../../docs/formats/results-record.schema.json'), 'utf8'));
const validate = new Ajv2020({ allErrors: true, strict: true }).compile(schema);

const fixtureFile = (name) => path.join(e2eDir, 'fixtures', `${name}.json`);

// The quiz of a fixture with the teacher's address, so that the page offers
// the e-mail link too.
function withAddress(name) {
  const doc = JSON.parse(readFileSync(fixtureFile(name), 'utf8'));
  doc.Header.Email = 'claire.dumont@example.org';
  return doc;
}

// What student s answers to question q: every fourth question left blank,
// the others a choice that moves with the student, sure on every other one.
function plannedAnswer(q, s) {
  if ((q.number + s) % 4 === 0) return { choice: null, cert: false };
  return { choice: (q.number + s) % q.choices.length, cert: (q.number + s) % 2 === 0 };
}

function expectedMark(quiz, q, answer) {
  if (answer.choice === null) return 0;
  const right = answer.choice === q.good;
  if (!quiz.certainty) return right ? 1 : 0;
  if (right) return answer.cert ? 1 : 0.55;
  return answer.cert ? 0 : 0.45;
}

const students = ['Élodie Dupré', 'Marc-Antoine Lefèvre', 'Zoé N’Diaye'];

async function takeTheQuiz(student, quiz, name, s) {
  await student.open();
  await student.enter(name);
  for (const q of quiz.questions) {
    const answer = plannedAnswer(q, s);
    if (answer.choice !== null) await student.answer(quiz, q, answer);
    await student.next();
  }
  await student.link('Voir les r\u00e9sultats');
}

async function recordsOf(quiz, folder, sendLinks) {
  const files = readdirSync(folder).filter((f) => f.endsWith('.json'));
  assert.equal(files.length, students.length, `one file a student: ${files}`);
  const records = [];
  for (const file of files) {
    const text = readFileSync(path.join(folder, file), 'utf8');
    assert.match(text, /^[\x21-\x7e]+\n$/, `${file}: one line of ASCII without blanks`);
    const record = JSON.parse(text);
    assert.ok(validate(record), `${file}: ${JSON.stringify(validate.errors)}`);
    const s = students.indexOf(record.student);
    assert.ok(s >= 0, `${file}: the student's name as typed (${record.student})`);
    const fileWord = students[s].normalize('NFD').replace(/[\u0300-\u036f]/g, '').replace(/[^A-Za-z0-9]+/g, '-');
    assert.ok(file.startsWith(`${path.basename(quiz.file, '.html')}-${fileWord}-`), `${file}: named after quiz and student`);
    assert.match(file, /-\d{4}-\d{2}-\d{2}-\d{4}\.json$/);
    assert.ok(sendLinks[record.student].includes(text.trim()), 'the e-mail carries the same record');
    records.push(record);
  }
  return records;
}

async function checkResultsCommand(name, quiz, folder, records) {
  const work = path.dirname(folder);
  const doc = path.join(work, `${name}.kwz`);
  // Among the students' files: a mark raised by hand, another quiz's record
  // and a file cut short.
  const one = readFileSync(path.join(folder, readdirSync(folder).find((f) => f.endsWith('.json'))), 'utf8');
  const altered = records[0].answers.find((a) => !a.right);
  assert.ok(altered, 'a wrong answer to alter');
  writeFileSync(path.join(folder, 'retouche.json'),
    one.replace(/"right":false,"mark":0(\.45)?/, '"right":true,"mark":1'));
  writeFileSync(path.join(folder, 'coupe.json'), one.slice(0, one.length >> 1));
  writeFileSync(path.join(folder, 'autre.json'), one.replace(/"key":"[0-9a-f]{16}"/, '"key":"0123456789abcdef"'));

  const run = spawnSync(cliPath(), ['results', doc, folder, '--json'], { encoding: 'utf8' });
  assert.equal(run.status, 0, run.stderr);
  const out = JSON.parse(run.stdout);
  assert.equal(out.students, students.length);
  assert.equal(out.questions.length, quiz.questions.length);
  for (const [s, student] of students.entries()) {
    const row = out.marks.find((m) => m.student === student);
    assert.ok(row, `${student} counted`);
    assert.deepEqual(row.marks, quiz.questions.map((q) => expectedMark(quiz, q, plannedAnswer(q, s))), student);
    assert.equal(row.right, quiz.questions.filter((q) => plannedAnswer(q, s).choice === q.good).length);
  }
  const reasons = Object.fromEntries(out.refused.map((r) => [path.basename(r.file), r.reason]));
  assert.match(reasons['coupe.json'] ?? '', /endommagé/);
  assert.match(reasons['autre.json'] ?? '', /autre/);
  assert.match(reasons['retouche.json'] ?? '', /modifié après coup/);
  assert.equal(out.refused.length, 3, JSON.stringify(out.refused));
}

const engines = [
  {
    name: 'Chromium',
    async run(quiz, folder) {
      const browser = await launchBrowser();
      const links = {};
      try {
        for (const [s, name] of students.entries()) {
          const context = await browser.newContext({ acceptDownloads: true });
          const page = await context.newPage();
          const student = new SingleFileStudent(playwrightActions(page), quiz.url);
          await takeTheQuiz(student, quiz.quiz, name, s);
          const [download] = await Promise.all([
            page.waitForEvent('download'),
            page.getByRole('button', { name: 'Enregistrer mes r\u00e9sultats', exact: true }).click(),
          ]);
          await download.saveAs(path.join(folder, download.suggestedFilename()));
          assert.match(await page.getByRole('status').innerText(), /enregistrés dans le fichier/);
          const href = await page.getByRole('link', { name: "Envoyer mes r\u00e9sultats \u00e0 l'enseignant" }).getAttribute('href');
          assert.ok(href.startsWith('mailto:claire.dumont@example.org?subject='), href);
          links[name] = decodeURIComponent(href);
          assert.deepEqual(student.problems, []);
          await context.close();
        }
      } finally {
        await browser.close();
      }
      return links;
    },
  },
  {
    name: 'Firefox',
    async run(quiz, folder) {
      assert.ok(existsSync(firefoxPath), `${firefoxPath} is missing: scripts/setup-deps.sh installs firefox-esr`);
      const browser = await puppeteer.launch({
        browser: 'firefox',
        executablePath: firefoxPath,
        headless: true,
        protocol: 'webDriverBiDi',
        extraPrefsFirefox: {
          'browser.download.folderList': 2,
          'browser.download.dir': folder,
          'browser.download.useDownloadDir': true,
          'browser.download.always_ask_before_handling_new_types': false,
          'browser.helperApps.neverAsk.saveToDisk': 'application/json',
        },
      });
      const links = {};
      try {
        for (const [s, name] of students.entries()) {
          const context = await browser.createBrowserContext();
          const page = await context.newPage();
          const student = new SingleFileStudent(puppeteerActions(page), quiz.url);
          await takeTheQuiz(student, quiz.quiz, name, s);
          const before = readdirSync(folder).length;
          await student.act.click('button', 'Enregistrer mes r\u00e9sultats');
          const deadline = Date.now() + 20_000;
          while (readdirSync(folder).filter((f) => f.endsWith('.json')).length <= before) {
            if (Date.now() > deadline) throw new Error(`Firefox saved no file for ${name}: ${readdirSync(folder)}`);
            await new Promise((resolve) => setTimeout(resolve, 100));
          }
          const href = await page.$eval('::-p-aria([name="Envoyer mes r\u00e9sultats \u00e0 l\'enseignant"][role="link"])', (a) => a.href);
          links[name] = decodeURIComponent(href);
          assert.deepEqual(student.problems, []);
          await context.close();
        }
        // A download is complete once Firefox has renamed its part file.
        const deadline = Date.now() + 20_000;
        while (readdirSync(folder).some((f) => f.endsWith('.part'))) {
          if (Date.now() > deadline) throw new Error('a download never finished');
          await new Promise((resolve) => setTimeout(resolve, 100));
        }
      } finally {
        await browser.close();
      }
      return links;
    },
  },
];

for (const fixture of ['suisse-certitude', 'chimie-sans-certitude']) {
  describe(`results records of ${fixture}`, () => {
    let produced;
    before(() => {
      produced = produceSingleFile(fixture, { document: withAddress(fixture) });
      produced.quiz = readQuiz(fixtureFile(fixture));
    });
    after(() => produced?.remove());

    for (const engine of engines) {
      it(`${engine.name}: students save their results, which the teacher's program counts`, async () => {
        const folder = path.join(path.dirname(produced.file), `classe-${engine.name}`);
        mkdirSync(folder);
        const links = await engine.run(produced, folder);
        const records = await recordsOf(produced, folder, links);
        for (const record of records) {
          assert.equal(record.quiz.certainty, produced.quiz.certainty);
          assert.equal(record.quiz.questions, produced.quiz.questions.length);
        }
        await checkResultsCommand(fixture, produced.quiz, folder, records);
      });
    }
  });
}
