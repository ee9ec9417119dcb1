// The SCORM 1.2 package in Chromium as a learning platform runs it: a page
// holding scorm-again's SCORM 1.2 API (a run-time written by others) opens
// the unzipped SCO in a frame; a student takes the quiz under the name the
// platform gives; the API's data model must then hold the score, status and
// interactions the results page shows, and LMSFinish comes when the frame
// is left. Opened on its own, the SCO is the plain quiz.
import { describe, it, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { copyFileSync, mkdirSync, writeFileSync } from 'node:fs';
import path from 'node:path';

import { serveFolder } from './lib/server.mjs';
import { launchBrowser, e2eDir } from './lib/site.mjs';
import { readQuiz, expectedResults } from './lib/quiz.mjs';
import { none, pick, scenarios } from './lib/scenarios.mjs';
import { fixtureDocument } from './lib/platform.mjs';
import { SingleFileStudent } from './lib/single_file.mjs';

// The browser build of scorm-again's SCORM 1.2 API (its package exports no such path).
const scormAgain = path.join(e2eDir, 'node_modules', 'scorm-again', 'dist', 'scorm12.js');

// The platform's page: the API where the SCO looks for it, every call logged.
const lmsPage = `<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Plateforme</title>
<script src="scorm12.js"></script>
<script>
  window.API = new Scorm12API({ logLevel: 5 });
  API.loadFromJSON({ core: { student_id: '4242', student_name: 'Dupont, Marie' } }, '');
  window.calls = [];
  for (const name of ['LMSInitialize', 'LMSFinish', 'LMSCommit', 'LMSSetValue', 'LMSGetValue']) {
    const call = API[name].bind(API);
    API[name] = (...args) => {
      const result = call(...args);
      calls.push([name, ...args, String(result)]);
      return result;
    };
  }
</script></head>
<body><iframe name="sco" src="sco/index.html" width="900" height="700"></iframe></body></html>
`;

// The actions SingleFileStudent needs, inside the SCO's frame.
function frameActions(page, frame) {
  const byRole = (role, name) => frame.getByRole(role, { name, exact: true });
  return {
    click: (role, name) => byRole(role, name).click(),
    fill: (name, text) => byRole('textbox', name).fill(text),
    setChecked: (role, name, checked) => byRole(role, name).setChecked(checked),
    selectIndex: (name, index) => byRole('combobox', name).selectOption({ index }),
    evaluate: (fn, arg) => frame.evaluate(fn, arg),
    onProblem: (record) => {
      page.on('pageerror', (error) => record(`script error: ${error.message}`));
      page.on('console', (m) => {
        // The browser asks for the platform page's icon by itself; there is none.
        if (m.type() === 'error' && !m.location().url?.endsWith('/favicon.ico')) record(`console error: ${m.text()}`);
      });
    },
  };
}

// Each quiz with a pass mark on either side of its score. With the
// certainty option the weighted rate is reported: 20+20+0+20+20+0+20+9+0 =
// 109 of 180, 61%, passed at 60, where the share of right answers (5 of 9,
// 56%) would fail. Without it, 4 of 9 right: 44%, failed at 45.
const runs = [
  {
    fixture: 'suisse-certitude',
    answers: [pick(1, true), pick(0, true), none, pick(0, true), pick(11, true), pick(0, true), pick(1, true), pick(1), none],
    passMark: 60,
    status: 'passed',
  },
  { fixture: 'chimie-sans-certitude', answers: scenarios[1].firstPass, passMark: 45, status: 'failed' },
];

describe('SCORM 1.2 package under a SCORM 1.2 run-time', () => {
  let browser;
  before(async () => {
    browser = await launchBrowser();
  });
  after(() => browser?.close());

  for (const { fixture, answers, passMark, status } of runs) {
    describe(`${fixture}, pass mark ${passMark}`, () => {
      const quiz = readQuiz(path.join(e2eDir, 'fixtures', `${fixture}.json`));
      let doc;
      let server;
      before(async () => {
        doc = fixtureDocument(fixture);
        doc.run(['export-scorm', doc.doc, '--prefs', doc.file('prefs'), '--pass-mark', String(passMark)]);
        const lms = doc.file('lms');
        mkdirSync(lms);
        execFileSync('unzip', ['-q', doc.file(`${fixture}-scorm.zip`), '-d', path.join(lms, 'sco')]);
        copyFileSync(scormAgain, path.join(lms, 'scorm12.js'));
        writeFileSync(path.join(lms, 'lms.html'), lmsPage);
        server = await serveFolder(lms, { charset: 'utf-8' });
      });
      after(async () => {
        await server?.close();
        doc?.remove();
      });

      it('reports the results the student sees, then finishes when the frame is left', async () => {
        const page = await browser.newPage();
        try {
          await page.goto(`${server.url}lms.html`, { waitUntil: 'load' });
          const s = new SingleFileStudent(frameActions(page, page.frame({ name: 'sco' })), null);
          await s.waitForView();
          assert.equal((await s.view()).name, 'Marie Dupont', 'the platform\u2019s "Last, First" shown as "First Last"');
          await s.act.click('button', 'Commencer');
          for (const q of quiz.questions) {
            await s.answer(quiz, q, answers[q.number - 1]);
            await s.next();
          }
          await s.link('Voir les r\u00e9sultats');
          const shown = (await s.view()).text.replace(/\s+/g, ' ');

          const expected = expectedResults(quiz, answers);
          const score = quiz.certainty
            ? Number.parseInt(expected.rate, 10)
            : Math.round((expected.rightCount * 100) / quiz.questions.length);
          assert.ok(shown.includes('Marie Dupont, voici vos r\u00e9sultats:'), shown);
          assert.ok(shown.includes(`${expected.rightCount} sur ${quiz.questions.length}`), shown);
          if (quiz.certainty) assert.ok(shown.includes(`pond\u00e9r\u00e9: ${expected.rate}`), shown);

          const cmi = (await page.evaluate(() => API.renderCMIToJSONObject())).cmi;
          assert.equal(cmi.core.student_name, 'Dupont, Marie');
          assert.deepEqual(cmi.core.score, { raw: String(score), min: '0', max: '100' });
          assert.equal(cmi.core.lesson_status, status);
          assert.deepEqual(
            Object.values(cmi.interactions).map((r) => [r.id, r.type, r.student_response, r.result]),
            quiz.questions.map((q, i) => [
              `Q${q.number}`,
              'choice',
              expected.outcomes[i].answerText,
              expected.outcomes[i].right ? 'correct' : 'wrong',
            ]),
          );
          let calls = await page.evaluate(() => calls.map((c) => c[0]));
          assert.equal(calls[0], 'LMSInitialize');
          assert.equal(calls.at(-1), 'LMSCommit', 'the results are committed');
          assert.ok(!calls.includes('LMSFinish'), 'not finished while the quiz is open');

          // The platform leaves the activity.
          await page.evaluate(() => (document.querySelector('iframe').src = 'about:blank'));
          await page.waitForFunction(() => calls.some((c) => c[0] === 'LMSFinish'));
          calls = await page.evaluate(() => calls);
          assert.deepEqual(calls.at(-1), ['LMSFinish', '', 'true']);
          assert.equal(calls.filter((c) => c[0] === 'LMSFinish').length, 1);
          assert.ok(calls.every((c) => c.at(-1) !== 'false'), `a call the API refused: ${JSON.stringify(calls)}`);
          assert.match((await page.evaluate(() => API.renderCMIToJSONObject())).cmi.core.session_time, /^\d+:\d\d:\d\d/);
          assert.deepEqual(s.problems, []);
        } finally {
          await page.close();
        }
      });

      it('runs as the plain quiz without a platform', async () => {
        const page = await browser.newPage();
        try {
          const problems = [];
          page.on('pageerror', (error) => problems.push(error.message));
          page.on('console', (m) => m.type() === 'error' && problems.push(m.text()));
          page.on('dialog', (dialog) => problems.push(dialog.message()));
          await page.goto(`${server.url}sco/index.html`, { waitUntil: 'load' });
          assert.equal(await page.evaluate(() => typeof window.TavimorHost), 'undefined');
          assert.equal(await page.getByRole('textbox', { name: 'Quel est votre nom?' }).inputValue(), '');
          await page.getByRole('textbox', { name: 'Quel est votre nom?' }).fill('Seul');
          await page.getByRole('button', { name: 'Commencer', exact: true }).click();
          assert.equal(await page.getByRole('heading', { level: 2 }).innerText(), 'Question 1');
          assert.deepEqual(problems, []);
        } finally {
          await page.close();
        }
      });
    });
  }
});
