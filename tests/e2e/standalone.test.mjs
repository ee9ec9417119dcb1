// The self-contained quiz page ("Quiz autonome") opened from file:// as a
// student uses it, driven by role and accessible name in Chromium and in
// Firefox: entry page, answering with and without certainty, a reload in the
// middle, the end page and its arrows, a second pass, results, feedback and
// restart. Then, in Chromium: the same answers on the produced site and on
// the single page give the same results; axe-core and a 360 x 640 screen on
// every view; the host contract of quiz.js.
import { describe, it, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { createHash } from 'node:crypto';
import { existsSync, mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';

import { serveFolder } from './lib/server.mjs';
import { launchBrowser, e2eDir } from './lib/site.mjs';
import { Student } from './lib/student.mjs';
import { readQuiz, squash, clozeParts, feedbackHtml, outcomeOf, expectedResults, QuestionType } from './lib/quiz.mjs';
import { none, scenarios } from './lib/scenarios.mjs';
import {
  SingleFileStudent,
  produceSingleFile,
  launchFirefox,
  firefoxPath,
  playwrightActions,
  puppeteerActions,
} from './lib/single_file.mjs';

const screenshotDir = process.env.TAVIMOR_E2E_SCREENSHOTS;
const quizOf = (scenario) => readQuiz(path.join(e2eDir, 'fixtures', `${scenario.fixture}.json`));
const markNames = { 'gImg.gif': 'Bonne r\u00e9ponse', 'bImg.gif': 'Mauvaise r\u00e9ponse', 'nImg.gif': 'Pas de r\u00e9ponse' };

function checkQuestion(view, quiz, q, shown, where = `question ${q.number}`) {
  assert.equal(view.heading, `Question ${q.number}`, `${where}: heading`);
  const text = squash(view.text);
  if (q.type === QuestionType.cloze) {
    for (const part of clozeParts(q.text)) assert.ok(text.includes(squash(part)), `${where}: text "${part}"`);
    assert.deepEqual(view.options, ['', ...q.choices], `${where}: drop-down list`);
    assert.equal(view.selectedIndex, shown.choice === null ? 0 : shown.choice + 1, `${where}: list selection`);
    assert.equal(view.radios.length, 0, `${where}: no radio buttons`);
  } else {
    assert.ok(text.includes(squash(q.text)), `${where}: question text`);
    assert.equal(view.options, null, `${where}: no drop-down list`);
    assert.deepEqual(view.labels, q.choices, `${where}: radio buttons named by the choices`);
    assert.deepEqual(
      view.radios,
      q.choices.map((_, i) => i === shown.choice),
      `${where}: ticked radio button`,
    );
    assert.equal(view.cellCount, q.choices.length, `${where}: one cell per choice`);
    assert.equal(view.rowCount, Math.ceil(q.choices.length / q.columns), `${where}: rows of ${q.columns}`);
  }
  assert.equal(view.cert, quiz.certainty ? Boolean(shown.cert) : null, `${where}: certainty box`);
}

function checkResults(view, quiz, answers, student, marks) {
  const expected = expectedResults(quiz, answers);
  assert.equal(expected.rightCount, marks.rightCount, 'hand count of right answers');
  assert.equal(expected.rate, marks.rate, 'hand-computed weighted rate');
  const n = quiz.questions.length;
  const text = view.text.replace(/\s+/g, ' ');
  assert.equal(view.heading, quiz.pages[2].title, 'results heading');
  assert.ok(text.includes(`${student}, voici vos r\u00e9sultats:`), `the name as typed: ${text}`);
  const count = /Nombre de bonnes r\u00e9ponses:\s*(\d+)\s*sur\s*(\d+)\./.exec(text);
  assert.ok(count, `count line: ${text}`);
  assert.deepEqual([Number(count[1]), Number(count[2])], [expected.rightCount, n], 'right answers out of all');
  const rate = /Taux de r\u00e9ussite pond\u00e9r\u00e9:\s*(\d+%)/.exec(text);
  assert.equal(rate?.[1] ?? null, quiz.certainty ? expected.rate : null, 'certainty-weighted rate');
  assert.deepEqual(view.rowHeads, quiz.certainty ? ['Q', 'R', 'IC'] : ['Q', 'R'], 'row header cells');
  assert.deepEqual(view.headerCells, quiz.certainty ? [n + 1, 1, 1] : [n + 1, 1], 'question numbers are header cells');
  assert.deepEqual(
    view.numbers,
    quiz.questions.map((q) => `Question ${q.number}`),
    'links named "Question N"',
  );
  assert.deepEqual(
    view.marks,
    expected.outcomes.map((o) => ({ alt: markNames[o.image], loaded: true })),
    'mark of each question',
  );
  assert.deepEqual(view.certainty, quiz.certainty ? expected.outcomes.map((o) => String(o.cert)) : []);
}

function checkFeedback(view, quiz, q, answer) {
  const where = `feedback of question ${q.number}`;
  const outcome = outcomeOf(quiz, q, answer);
  assert.equal(view.heading, `Question ${q.number}`, `${where}: heading`);
  const text = squash(view.text);
  const question = q.type === QuestionType.cloze ? clozeParts(q.text)[0] : q.text;
  assert.ok(text.includes(squash(question)), `${where}: question text`);
  const shown = squash(`Votre r\u00e9ponse:${outcome.answerText}${outcome.message}`);
  assert.ok(text.includes(shown), `${where}: expected "${shown}" in "${text}"`);
  for (const other of [feedbackHtml(quiz, q, 0), feedbackHtml(quiz, q, 1), quiz.noAnswer]) {
    if (!squash(outcome.message).includes(squash(other))) {
      assert.ok(!text.includes(squash(other)), `${where}: shows another message too: ${other}`);
    }
  }
  const fileLinks = view.links.filter((l) => q.extFile && l.href === q.extFile.file);
  const expected = q.extFile && outcome.answered ? [{ href: q.extFile.file, text: ` ${q.extFile.link.split('|')[1]}` }] : [];
  assert.deepEqual(fileLinks, expected, `${where}: attached-file link`);
}

// The whole journey of one quiz in one browser.
async function journey(s, quiz, scenario) {
  const n = quiz.questions.length;
  const previousAndNext = ['Question pr\u00e9c\u00e9dente', 'Question suivante'];
  await s.open();
  let view = await s.view();
  assert.equal(view.h1, quiz.pages[0].title, 'entry page title');
  assert.ok(squash(view.text).includes(squash(quiz.countLine)), 'number of questions');
  assert.ok(squash(view.text).includes(squash(quiz.pages[0].body)), 'the text under the entry title');
  assert.equal(view.name, '');
  assert.deepEqual(view.navigation, [], 'no navigation before "Commencer"');

  // First pass, with a reload (F5) in the middle: the answers so far stay.
  await s.enter(scenario.student);
  const middle = Math.ceil(n / 2);
  for (const q of quiz.questions) {
    view = await s.view();
    checkQuestion(view, quiz, q, none);
    if (q.number === 1) {
      assert.equal(view.focused, 'view-heading', 'the focus moves to the new view');
      assert.deepEqual(view.navigation, [...previousAndNext, 'Recommencer']);
    }
    const answer = scenario.firstPass[q.number - 1];
    await s.answer(quiz, q, answer);
    if (q.number === middle) {
      await s.reload();
      checkQuestion(await s.view(), quiz, q, answer, `question ${q.number} after a reload`);
      await s.previous();
      const before = quiz.questions[q.number - 2];
      checkQuestion(await s.view(), quiz, before, scenario.firstPass[before.number - 1], 'after a reload');
      await s.next();
    }
    await s.next();
  }

  // The end page; its arrows go round as the site's do (numbering starts
  // again at 1, so "next" shows question 2).
  view = await s.view();
  assert.equal(view.heading, quiz.pages[1].title, 'end page title');
  assert.ok(squash(view.text).includes(squash(quiz.pages[1].body)), 'end page text');
  const last = quiz.questions[n - 1];
  await s.previous();
  checkQuestion(await s.view(), quiz, last, scenario.firstPass[n - 1]);
  await s.next();
  await s.next();
  checkQuestion(await s.view(), quiz, quiz.questions[1], scenario.firstPass[1]);
  await s.previous();
  await s.previous();
  await s.next();
  assert.equal((await s.view()).heading, quiz.pages[1].title, 'back on the end page');
  await s.link('Voir les r\u00e9sultats');
  checkResults(await s.view(), quiz, scenario.firstPass, scenario.student, scenario.marks.firstPass);

  // Second pass from the end page: question 1 shows its answer; change it.
  await s.previous();
  await s.next();
  await s.link('Revoir les questions');
  checkQuestion(await s.view(), quiz, quiz.questions[0], scenario.firstPass[0]);
  const final = [...scenario.firstPass];
  final[scenario.secondPass.question - 1] = scenario.secondPass.answer;
  await s.answer(quiz, quiz.questions[scenario.secondPass.question - 1], scenario.secondPass.answer);
  await s.previous();
  checkQuestion(await s.view(), quiz, last, final[n - 1]);
  await s.next();
  await s.link('Voir les r\u00e9sultats');
  checkResults(await s.view(), quiz, final, scenario.student, scenario.marks.secondPass);

  // Feedback views from the table; the arrows go round them.
  await s.openFeedback(1);
  view = await s.view();
  checkFeedback(view, quiz, quiz.questions[0], final[0]);
  assert.deepEqual(view.navigation, [...previousAndNext, 'Voir les r\u00e9sultats', 'Recommencer']);
  await s.previous();
  checkFeedback(await s.view(), quiz, last, final[n - 1]);
  for (let k = 1; k <= n; k++) {
    await s.next();
    checkFeedback(await s.view(), quiz, quiz.questions[k - 1], final[k - 1]);
  }
  await s.reload();
  checkFeedback(await s.view(), quiz, last, final[n - 1]);
  await s.link('Voir les r\u00e9sultats');
  checkResults(await s.view(), quiz, final, scenario.student, scenario.marks.secondPass);
  const linked = quiz.questions.find((q) => q.extFile);
  await s.openFeedback(linked.number);
  checkFeedback(await s.view(), quiz, linked, final[linked.number - 1]);

  // "Recommencer": an empty name and no answer at all, also after a reload.
  await s.restart();
  await s.reload();
  view = await s.view();
  assert.equal(view.name, '', 'the name field is empty again');
  assert.deepEqual(view.navigation, []);
  await s.enter(scenario.student);
  for (const q of quiz.questions) {
    checkQuestion(await s.view(), quiz, q, none, `question ${q.number} after the restart`);
    await s.next();
  }
  await s.link('Voir les r\u00e9sultats');
  const nothing = quiz.questions.map(() => none);
  checkResults(await s.view(), quiz, nothing, scenario.student, { rightCount: 0, rate: '0%' });
}

const browsers = [
  { name: 'Chromium', launch: launchBrowser, page: async (b) => playwrightActions(await b.newPage()) },
  {
    name: 'Firefox',
    launch: launchFirefox,
    page: async (b) => puppeteerActions(await b.newPage()),
  },
];

for (const engine of browsers) {
  describe(`single page in ${engine.name}, from file://`, () => {
    let browser;
    before(async () => {
      browser = await engine.launch();
    });
    after(async () => {
      await browser?.close();
    });

    for (const scenario of scenarios) {
      it(`${scenario.fixture}: every journey, reload and restart included`, async () => {
        const quiz = quizOf(scenario);
        const single = produceSingleFile(scenario.fixture);
        const actions = await engine.page(browser);
        try {
          const s = new SingleFileStudent(actions, single.url);
          await journey(s, quiz, scenario);
          assert.deepEqual(s.problems, [], 'no script error, console error or request');
        } finally {
          await actions.page.close();
          single.remove();
        }
      });
    }
  });
}

// The results sentences, from the results title to the last sentence before
// the table, blanks collapsed.
function resultSentences(text, quiz) {
  const flat = text.replace(/\s+/g, ' ');
  const start = flat.indexOf(quiz.pages[2].title);
  const end = /sur \d+\.( Taux de r\u00e9ussite pond\u00e9r\u00e9: \d+%)?/.exec(flat.slice(start));
  assert.ok(start >= 0 && end, `results sentences in: ${flat}`);
  return flat.slice(start, start + end.index + end[0].length);
}

const axeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

describe('more of the single page in Chromium', () => {
  let browser;
  before(async () => {
    browser = await launchBrowser();
  });
  after(async () => {
    await browser?.close();
  });

  for (const scenario of scenarios) {
    it(`${scenario.fixture}: the same answers give the same results as on the site`, async () => {
      const quiz = quizOf(scenario);
      const produced = produceSingleFile(scenario.fixture, { withSite: true });
      const server = await serveFolder(produced.siteDir);
      const context = await browser.newContext({ viewport: { width: 1100, height: 900 } });
      try {
        const answers = scenario.firstPass;
        const site = new Student(await context.newPage(), server.url);
        await site.open();
        await site.enter(scenario.student);
        for (const q of quiz.questions) {
          await site.answer(q, answers[q.number - 1], quiz.certainty);
          await site.next({ menuReloads: q.number === quiz.questions.length });
        }
        await site.endPageLink('voir les r\u00e9sultats');
        const onSite = await site.resultsView();

        const single = new SingleFileStudent(playwrightActions(await context.newPage()), produced.url);
        await single.open();
        await single.enter(scenario.student);
        for (const q of quiz.questions) {
          await single.answer(quiz, q, answers[q.number - 1]);
          await single.next();
        }
        await single.link('Voir les r\u00e9sultats');
        const onPage = await single.view();

        assert.equal(resultSentences(onPage.text, quiz), resultSentences(onSite.text, quiz), 'results sentences');
        assert.deepEqual(onPage.rowHeads, onSite.rowHeads, 'row headers');
        assert.deepEqual(
          onPage.numbers.map((t) => t.replace('Question ', '')),
          onSite.numbers.map((c) => c.text),
          'question numbers',
        );
        assert.deepEqual(
          onPage.marks.map((m) => m.alt),
          onSite.images.map((image) => markNames[image]),
          'marks',
        );
        assert.deepEqual(onPage.certainty, onSite.certainty, 'certainty row');
        assert.deepEqual([...site.problems, ...single.problems], []);
      } finally {
        await context.close();
        await server.close();
        produced.remove();
      }
    });
  }

  for (const scenario of scenarios) {
    it(`${scenario.fixture}: on a 360 x 640 screen, no serious axe-core fault and no sideways scrolling`, async () => {
      const quiz = quizOf(scenario);
      const single = produceSingleFile(scenario.fixture);
      const context = await browser.newContext({ viewport: { width: 360, height: 640 } });
      // Anything but the file itself and data: addresses would leave the page.
      const left = [];
      await context.route(/^(?!file:|data:)/, (route) => {
        left.push(route.request().url());
        return route.abort();
      });
      const page = await context.newPage();
      const s = new SingleFileStudent(playwrightActions(page), single.url);
      // The page's policy does not let axe in as a script block; the
      // browser's own evaluation channel does.
      const check = async (what) => {
        await page.evaluate(axeSource);
        const found = await page.evaluate(async () => {
          const result = await window.axe.run(document, { resultTypes: ['violations'] });
          return result.violations.map((v) => ({ id: v.id, impact: v.impact, nodes: v.nodes.map((n) => n.target) }));
        });
        const grave = found.filter((v) => v.impact === 'serious' || v.impact === 'critical');
        assert.deepEqual(grave, [], `${what}: axe-core violations`);
        const widths = await page.evaluate(() => [document.documentElement.scrollWidth, window.innerWidth]);
        assert.ok(widths[0] <= widths[1], `${what}: no sideways scrolling (${widths[0]} > ${widths[1]})`);
        if (screenshotDir) {
          await page.screenshot({ path: path.join(screenshotDir, `single-${scenario.fixture}-${what}-360.png`), fullPage: true });
        }
      };
      try {
        await s.open();
        await check('entry');
        await s.enter(scenario.student);
        const busiest = Math.max(...quiz.questions.map((q) => q.choices.length));
        const cloze = quiz.questions.find((q) => q.type === QuestionType.cloze);
        for (const q of quiz.questions) {
          await s.answer(quiz, q, scenario.firstPass[q.number - 1]);
          if (q.choices.length === busiest) await check(`question-${q.number}`);
          if (q === cloze) await check(`cloze-${q.number}`);
          await s.next();
        }
        await check('end');
        await s.link('Voir les r\u00e9sultats');
        await check('results');
        const linked = quiz.questions.find((q) => q.extFile);
        await s.openFeedback(linked.number);
        await check('feedback');
        assert.deepEqual(s.problems, [], 'no script error, console error or request');
        assert.deepEqual(left, [], 'no request left the file');
      } finally {
        await context.close();
        single.remove();
      }
    });
  }

  it('shows the pictures it carries, fetches none and runs none of the texts\' scripts', async () => {
    const doc = JSON.parse(readFileSync(path.join(e2eDir, 'fixtures', 'chimie-sans-certitude.json'), 'utf8'));
    doc.Questions[0].QText =
      'Voici <IMG SRC="../img/carre.gif" ALT="carr\u00e9"> <img src="http://127.0.0.1:9/loin.gif" alt="loin">' +
      ' <span style="color:rgb(0, 128, 0)">vert</span> <b onclick="document.title=1">gras</b>' +
      '</script><script>document.title="perdu"</script><style>body{display:none}</style>';
    // A 1 x 1 GIF in the folder the image dialog would have found it in.
    const gif = Buffer.from('R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7', 'base64');
    const single = produceSingleFile('images', {
      document: doc,
      prepare: (folder) => {
        mkdirSync(path.join(folder, 'images', 'img'), { recursive: true });
        writeFileSync(path.join(folder, 'images', 'img', 'carre.gif'), gif);
      },
    });
    const context = await browser.newContext();
    const left = [];
    await context.route(/^(?!file:|data:)/, (route) => {
      left.push(route.request().url());
      return route.abort();
    });
    try {
      const s = new SingleFileStudent(playwrightActions(await context.newPage()), single.url);
      await s.open();
      await s.enter('Camille');
      const seen = await s.act.evaluate(() => ({
        pictures: [...document.querySelectorAll('#quiz-view img')].map((i) => [i.alt, i.naturalWidth, i.hasAttribute('src')]),
        green: getComputedStyle(document.querySelector('#quiz-view span')).color,
        title: document.title,
        shown: getComputedStyle(document.body).display,
      }));
      assert.deepEqual(seen.pictures, [
        ['carr\u00e9', 1, true],
        ['loin', 0, false],
      ]);
      assert.equal(seen.green, 'rgb(0, 128, 0)', 'a style attribute of the text applies');
      assert.equal(seen.title, 'Question 1 - images');
      assert.equal(seen.shown, 'block');
      await s.act.click('button', 'Question suivante');
      assert.deepEqual(s.problems, [], 'no script error, console error or request');
      assert.deepEqual(left, [], 'no request left the file');
    } finally {
      await context.close();
      single.remove();
    }
  });

  // The host contract of quiz.js: a script placed before the runtime, allowed
  // by its hash, defines window.TavimorHost.
  it('fills the name from the host and hands over each showing of the results', async () => {
    const scenario = scenarios[0];
    const quiz = quizOf(scenario);
    const single = produceSingleFile(scenario.fixture);
    const host = `window.TavimorHost = {
  studentName: function () { return 'H\u00f4te \u00c9l\u00e8ve'; },
  onResults: function (detail) {
    var seen = JSON.parse(sessionStorage.getItem('host-results') || '[]');
    seen.push(detail);
    sessionStorage.setItem('host-results', JSON.stringify(seen));
  }
};`;
    const hash = `'sha256-${createHash('sha256').update(host, 'utf8').digest('base64')}'`;
    let html = readFileSync(single.file, 'utf8');
    html = html.replace("script-src '", `script-src ${hash} '`);
    const runtimeAt = html.lastIndexOf('<script>');
    html = `${html.slice(0, runtimeAt)}<script>${host}</script>\n${html.slice(runtimeAt)}`;
    writeFileSync(single.file, html);
    const page = await browser.newPage();
    try {
      const s = new SingleFileStudent(playwrightActions(page), single.url);
      await s.open();
      assert.equal((await s.view()).name, 'H\u00f4te \u00c9l\u00e8ve', 'the name comes from the host');
      await s.enter('Camille');
      for (const q of quiz.questions) {
        await s.answer(quiz, q, scenario.firstPass[q.number - 1]);
        await s.next();
      }
      await s.link('Voir les r\u00e9sultats');
      await s.reload();
      const seen = await page.evaluate(() => JSON.parse(sessionStorage.getItem('host-results') || '[]'));
      const expected = expectedResults(quiz, scenario.firstPass);
      const detail = {
        studentName: 'Camille',
        questionCount: quiz.questions.length,
        rightCount: expected.rightCount,
        scorePercent: Math.round((expected.rightCount * 100) / quiz.questions.length),
        weightedPercent: Number.parseInt(expected.rate, 10),
        questions: quiz.questions.map((q, i) => ({
          number: q.number,
          response: expected.outcomes[i].answerText,
          correct: expected.outcomes[i].right,
        })),
      };
      assert.deepEqual(seen, [detail, detail], 'one call per showing of the results, the reload included');
      assert.deepEqual(s.problems, []);
    } finally {
      await page.close();
      single.remove();
    }
  });
});
