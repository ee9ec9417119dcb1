// A produced quiz site driven in Chromium as a student uses it: entry page,
// answering with and without certainty, navigation round the questions, the
// end page, the results, the feedback pages and the restart. Each quiz runs
// the same journeys; one quiz has the certainty option, the other not.
import { describe, it, before, after } from 'node:test';
import assert from 'node:assert/strict';
import path from 'node:path';

import { serveFolder } from './lib/server.mjs';
import { produceSite, launchBrowser, e2eDir } from './lib/site.mjs';
import { Student } from './lib/student.mjs';
import { readQuiz, squash, clozeParts, feedbackHtml, outcomeOf, expectedResults, QuestionType } from './lib/quiz.mjs';
import { none, scenarios } from './lib/scenarios.mjs';

const screenshotDir = process.env.TAVIMOR_E2E_SCREENSHOTS;

// The question page of question q, showing the answer recorded for it.
function checkQuestionPage(view, quiz, q, shown) {
  const where = `question ${q.number}`;
  assert.equal(view.page, 'quest.htm', `${where}: page`);
  assert.equal(view.title, `Question ${q.number}`, `${where}: heading`);
  const text = squash(view.text);
  if (q.type === QuestionType.cloze) {
    for (const part of clozeParts(q.text)) assert.ok(text.includes(squash(part)), `${where}: text "${part}"`);
    assert.deepEqual(view.options, ['', ...q.choices], `${where}: drop-down list`);
    assert.equal(view.radios.length, 0, `${where}: no radio buttons`);
    assert.equal(view.selectedIndex, shown.choice === null ? 0 : shown.choice + 1, `${where}: list selection`);
  } else {
    assert.ok(text.includes(squash(q.text)), `${where}: question text`);
    assert.equal(view.options, null, `${where}: no drop-down list`);
    assert.deepEqual(view.labels, q.choices, `${where}: choice texts`);
    assert.deepEqual(
      view.radios,
      q.choices.map((_, i) => i === shown.choice),
      `${where}: ticked radio button`,
    );
    if (q.columns > 1) {
      assert.equal(view.cellCount, q.choices.length, `${where}: one cell per choice`);
      assert.equal(view.rowCount, Math.ceil(q.choices.length / q.columns), `${where}: rows of ${q.columns}`);
    } else {
      assert.equal(view.cellCount, 1, `${where}: every choice in one cell`);
    }
  }
  if (quiz.certainty) {
    assert.equal(view.cert, Boolean(shown.cert), `${where}: certainty box`);
    assert.ok(text.includes(squash(quiz.certSentence)), `${where}: certainty sentence`);
  } else {
    assert.equal(view.cert, null, `${where}: no certainty box without the option`);
  }
}

function checkResults(view, quiz, answers, student, marks) {
  const expected = expectedResults(quiz, answers);
  // The planned marks, counted by hand, agree with the marking rule.
  assert.equal(expected.rightCount, marks.rightCount, 'hand count of right answers');
  assert.equal(expected.rate, marks.rate, 'hand-computed weighted rate');

  const n = quiz.questions.length;
  assert.equal(view.page, 'result.htm');
  assert.ok(
    view.text.includes(`${student}, voici vos r\u00e9sultats:`),
    `the name is shown as typed: ${view.text}`,
  );
  assert.equal(view.nestedBold, 0, 'the name adds no markup to the page');
  const count = /Nombre de bonnes r\u00e9ponses:\s*(\d+)\s*sur\s*(\d+)\./.exec(view.text);
  assert.ok(count, `count line: ${view.text}`);
  assert.deepEqual([Number(count[1]), Number(count[2])], [expected.rightCount, n], 'right answers out of all');
  const rate = /Taux de r\u00e9ussite pond\u00e9r\u00e9:\s*(\d+%)/.exec(view.text);
  if (quiz.certainty) {
    assert.ok(rate, `weighted rate line: ${view.text}`);
    assert.equal(rate[1], expected.rate, 'certainty-weighted rate');
  } else {
    assert.equal(rate, null, 'no weighted rate without the certainty option');
  }
  assert.deepEqual(view.rowHeads, quiz.certainty ? ['Q', 'R', 'IC'] : ['Q', 'R'], 'rows of the table');
  assert.deepEqual(
    view.numbers,
    quiz.questions.map((_, i) => ({ text: String(i + 1), href: `javascript:showMess(${i})` })),
    'question numbers',
  );
  assert.deepEqual(
    view.images,
    expected.outcomes.map((o) => o.image),
    'mark of each question',
  );
  assert.ok(view.imagesLoaded, 'every mark image is loaded');
  assert.deepEqual(
    view.certainty,
    quiz.certainty ? expected.outcomes.map((o) => String(o.cert)) : [],
    'certainty of each question',
  );
}

// The feedback page of question q for the answer given.
function checkFeedback(view, quiz, q, answer) {
  const where = `feedback of question ${q.number}`;
  const outcome = outcomeOf(quiz, q, answer);
  assert.equal(view.page, 'mess.htm', `${where}: page`);
  assert.equal(view.title, `Question ${q.number}`, `${where}: heading`);
  const text = squash(view.text);
  const question = q.type === QuestionType.cloze ? clozeParts(q.text)[0] : q.text;
  assert.ok(text.includes(squash(question)), `${where}: question text`);
  const shown = squash(`Votre r\u00e9ponse:${outcome.answerText}${outcome.message}`);
  assert.ok(text.includes(shown), `${where}: expected answer and message "${shown}" in "${text}"`);
  const others = [feedbackHtml(quiz, q, 0), feedbackHtml(quiz, q, 1), quiz.noAnswer];
  for (const other of others) {
    if (squash(outcome.message).includes(squash(other))) continue;
    assert.ok(!text.includes(squash(other)), `${where}: shows another message too: ${other}`);
  }
  const link = q.extFile && outcome.answered ? q.extFile : null;
  const fileLinks = view.links.filter((l) => q.extFile && l.href === q.extFile.file);
  if (link) {
    const name = link.link.slice(link.link.indexOf('|') + 1);
    assert.deepEqual(fileLinks, [{ href: link.file, text: ` ${name}` }], `${where}: attached-file link`);
  } else {
    assert.deepEqual(fileLinks, [], `${where}: no attached-file link`);
  }
}

for (const scenario of scenarios) {
  describe(`quiz ${scenario.fixture}`, () => {
    const quiz = readQuiz(path.join(e2eDir, 'fixtures', `${scenario.fixture}.json`));
    const n = quiz.questions.length;
    let site;
    let server;
    let browser;
    let context;
    let student;

    before(async () => {
      assert.equal(scenario.firstPass.length, n, 'one planned answer per question');
      site = produceSite(scenario.fixture);
      server = await serveFolder(site.siteDir);
      browser = await launchBrowser();
    });

    after(async () => {
      await browser?.close();
      await server?.close();
      site?.remove();
    });

    // Every journey starts in a fresh browser context and must end without
    // a script error or console error in any frame.
    async function startSession() {
      context = await browser.newContext({ viewport: { width: 1100, height: 900 } });
      student = new Student(await context.newPage(), server.url);
      await student.open();
      return student;
    }

    async function endSession() {
      const problems = student.problems;
      await context.close();
      assert.deepEqual(problems, [], 'no script or console error in any frame');
    }

    // Answers every question in order with the arrows, then goes on past the
    // last one: the end page, with the menu frame reloaded.
    async function answerAll(s, answers, check, afterAnswer = async () => {}) {
      for (const q of quiz.questions) {
        if (check) checkQuestionPage(await s.questionView(), quiz, q, none);
        await s.answer(q, answers[q.number - 1], quiz.certainty);
        await afterAnswer(q);
        await s.next({ menuReloads: q.number === n });
      }
      assert.equal(Student.pageOf(s.main), 'end.htm', 'past the last question');
    }

    it('records one pass and marks it on the results page', async () => {
      const s = await startSession();
      assert.equal(await s.nameField(), '', 'the name field starts empty');
      await s.enter(scenario.student);
      assert.deepEqual(await s.state(), {
        name: scenario.student,
        curQ: '1',
        mode: '1',
        answers: '',
        certainty: '',
      });
      assert.deepEqual(await s.menuLinks(), ['Eval.gif'], 'the menu offers the restart image');
      // With TAVIMOR_E2E_SCREENSHOTS set, pictures of the main frame at the
      // question with the most choices and of the whole results page.
      const busiest = Math.max(...quiz.questions.map((q) => q.choices.length));
      await answerAll(s, scenario.firstPass, true, async (q) => {
        if (screenshotDir && q.choices.length === busiest) {
          await s.page.locator('frame[name="main"]').screenshot({
            path: path.join(screenshotDir, `${scenario.fixture}-question.png`),
          });
        }
      });
      const end = await s.main.evaluate(() => document.body.innerText);
      assert.ok(end.includes(quiz.pages[1].title), 'end page title');
      await s.endPageLink('voir les r\u00e9sultats');
      checkResults(await s.resultsView(), quiz, scenario.firstPass, scenario.student, scenario.marks.firstPass);
      if (screenshotDir) {
        await s.page.locator('frame[name="main"]').screenshot({
          path: path.join(screenshotDir, `${scenario.fixture}-results.png`),
        });
        await s.page.screenshot({ path: path.join(screenshotDir, `${scenario.fixture}-window.png`) });
      }
      await endSession();
    });

    it('keeps every answer through "revoir les questions" and the arrows of the end page', async () => {
      const s = await startSession();
      await s.enter(scenario.student);
      await answerAll(s, scenario.firstPass, false);
      const final = [...scenario.firstPass];
      const changed = scenario.secondPass.question;
      final[changed - 1] = scenario.secondPass.answer;
      const last = quiz.questions[n - 1];

      // Second pass: question 1 shows its answer; change it, then go back past
      // the first question to the last one, and on past it to the end page.
      await s.endPageLink('revoir les questions');
      checkQuestionPage(await s.questionView(), quiz, quiz.questions[0], scenario.firstPass[0]);
      await s.answer(quiz.questions[changed - 1], scenario.secondPass.answer, quiz.certainty);
      await s.previous();
      checkQuestionPage(await s.questionView(), quiz, last, final[n - 1]);
      await s.next({ menuReloads: true });
      assert.equal(Student.pageOf(s.main), 'end.htm');

      // The arrows while the end page shows: previous goes to the last
      // question, next to question 2 (numbering restarted at 1). Then every
      // question page shows the answer kept for it.
      await s.previous();
      checkQuestionPage(await s.questionView(), quiz, last, final[n - 1]);
      await s.next({ menuReloads: true });
      assert.equal(Student.pageOf(s.main), 'end.htm');
      await s.next();
      checkQuestionPage(await s.questionView(), quiz, quiz.questions[1], final[1]);
      await s.previous();
      checkQuestionPage(await s.questionView(), quiz, quiz.questions[0], final[0]);
      for (const q of quiz.questions.slice(1)) {
        await s.next();
        checkQuestionPage(await s.questionView(), quiz, q, final[q.number - 1]);
      }
      await s.next({ menuReloads: true });
      assert.equal(Student.pageOf(s.main), 'end.htm');

      await s.endPageLink('voir les r\u00e9sultats');
      checkResults(await s.resultsView(), quiz, final, scenario.student, scenario.marks.secondPass);
      await endSession();
    });

    it('shows the feedback of each question, moves between them, and restarts empty', async () => {
      const s = await startSession();
      await s.enter(scenario.student);
      await answerAll(s, scenario.firstPass, false);
      await s.endPageLink('voir les r\u00e9sultats');
      const answers = scenario.firstPass;
      const feedbackOf = async (k) => checkFeedback(await s.feedbackView(), quiz, quiz.questions[k - 1], answers[k - 1]);

      await s.openFeedback(1);
      await feedbackOf(1);
      assert.deepEqual(await s.menuLinks(), ['bRes.gif', 'Eval.gif'], 'the menu offers results and restart');
      await s.previous();
      await feedbackOf(n);
      await s.next();
      await feedbackOf(1);
      for (let k = 2; k <= n; k++) {
        await s.next();
        await feedbackOf(k);
      }
      await s.next();
      await feedbackOf(1);

      // Back to the results through the menu; a number further on opens its page.
      await s.menuResults();
      checkResults(await s.resultsView(), quiz, answers, scenario.student, scenario.marks.firstPass);
      const linked = quiz.questions.find((q) => q.extFile);
      await s.openFeedback(linked.number);
      await feedbackOf(linked.number);
      const unanswered = quiz.questions.find((q) => answers[q.number - 1].choice === null);
      await s.menuResults();
      await s.openFeedback(unanswered.number);
      await feedbackOf(unanswered.number);

      // The restart image starts the quiz again with no answers at all.
      await s.restart();
      assert.equal(await s.nameField(), '', 'the name field is empty again');
      assert.deepEqual(await s.state(), { name: '', curQ: '1', mode: '0', answers: '', certainty: '' });
      await s.enter(scenario.student);
      for (const q of quiz.questions) {
        checkQuestionPage(await s.questionView(), quiz, q, none);
        await s.next({ menuReloads: q.number === n });
      }
      await s.endPageLink('voir les r\u00e9sultats');
      const nothing = quiz.questions.map(() => none);
      checkResults(await s.resultsView(), quiz, nothing, scenario.student, { rightCount: 0, rate: '0%' });

      // The logo of the top frame starts over as well.
      await s.restart('logo');
      assert.equal(await s.nameField(), '', 'the name field is empty after the logo');
      assert.deepEqual(await s.state(), { name: '', curQ: '1', mode: '0', answers: '', certainty: '' });
      await endSession();
    });
  });
}

// The frames load side by side. A welcome page that is ready before the top
// frame's page arrives throws from its onload handler (Student.isFrameOrderRace);
// the student must still be able to start, and nothing they do is lost.
describe('a welcome page that loads before the top frame', () => {
  const scenario = scenarios[0];
  const quiz = readQuiz(path.join(e2eDir, 'fixtures', `${scenario.fixture}.json`));
  let site;
  let server;
  let browser;

  before(async () => {
    site = produceSite(scenario.fixture);
    server = await serveFolder(site.siteDir);
    browser = await launchBrowser();
  });

  after(async () => {
    await browser?.close();
    await server?.close();
    site?.remove();
  });

  it('still lets the student start and keeps the first answer', async () => {
    const context = await browser.newContext();
    const page = await context.newPage();
    await page.route('**/topMenu.htm', async (route) => {
      await new Promise((resolve) => setTimeout(resolve, 500));
      await route.continue();
    });
    const s = new Student(page, server.url);
    await s.open();
    await s.top.locator('form[name="dataForm"]').waitFor({ state: 'attached' });
    assert.equal(s.frameOrderRaces.length, 1, 'the welcome page ran before the top frame was there');
    assert.equal(await s.nameField(), '', 'the name field is empty');

    await s.enter(scenario.student);
    const first = quiz.questions[0];
    await s.answer(first, scenario.firstPass[0], quiz.certainty);
    await s.next({ menuReloads: quiz.questions.length === 1 });
    const state = await s.state();
    assert.equal(state.name, scenario.student, 'the name typed reaches the top frame');
    assert.equal(state.curQ, '2', 'the student moved on');
    assert.equal(state.answers[0], String(scenario.firstPass[0].choice + 1), 'the first answer is kept');
    await context.close();
    assert.deepEqual(s.problems, [], 'no other script or console error');
  });
});
