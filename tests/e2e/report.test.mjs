// The class report of tavimor-cli results --report, opened from disk in
// Chromium as a teacher opens it: nothing leaves the page (not even for a
// student's name written as a picture), axe-core finds nothing to fault, the
// charts are images with names, the questions to review are found by their
// text, and the page prints on A4.
import { describe, it, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { existsSync, readFileSync, writeFileSync, mkdirSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

import { fixtureDocument } from './lib/platform.mjs';
import { recordLine } from './lib/results_records.mjs';
import { cliPath, e2eDir, launchBrowser } from './lib/site.mjs';

const screenshotDir = process.env.TAVIMOR_E2E_SCREENSHOTS;
const axeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
const FIXTURE = 'suisse-certitude';
const quiz = JSON.parse(readFileSync(path.join(e2eDir, 'fixtures', `${FIXTURE}.json`), 'utf8'));

// Were it ever written as markup, this name would fetch a picture.
const HOSTILE = '<img src="http://127.0.0.1:9/espion.png" alt="">';
const NAMES = ['Zo\u00e9 Martin', 'L\u00e9a Bernard', 'Hugo Petit', 'Chlo\u00e9 Durand', 'Louis Moreau', 'Emma Laurent',
  'Jules Simon', 'In\u00e8s Michel', 'Noah Lef\u00e8vre', 'Manon Leroy', 'Arthur Roux', 'Camille David',
  'Nathan Bertrand', 'Sarah Morel', 'Th\u00e9o Fournier', 'Jade Girard', 'Lucas Bonnet', 'Lina Dupont',
  'Adam Lambert', HOSTILE];

// A small seeded generator, so that the class is the same on every run.
function random(seed) {
  let state = seed >>> 0;
  return () => {
    state = (state + 0x6d2b79f5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

// Student k's answer to question q (from 0). Four questions are made to be
// reviewed: everyone gets the one-choice question 4 right and is sure of it; nobody picks
// January in question 5; the stronger students all pick "23" in question 6
// while the weaker ones find 26; two students alone get question 7 right.
function answerOf(k, q, next) {
  const ability = (k + 1) / (NAMES.length + 1);
  const good = quiz.Questions[q].GoodRep;
  const wrongs = quiz.Questions[q].Reps.map((_, i) => i).filter((i) => i !== good);
  let choice;
  if (q === 3) choice = good;
  else if (q === 4) choice = next() < ability ? good : 9 + Math.floor(next() * 2);
  else if (q === 5) choice = ability >= 0.5 ? 1 : good;
  else if (q === 6) choice = k === 3 || k === 8 ? good : wrongs[Math.floor(next() * wrongs.length)];
  else if (next() < 0.08) choice = null;
  else choice = next() < 0.9 * ability ? good : wrongs[Math.floor(next() * wrongs.length)];
  const right = choice === good;
  // Hugo is sure of everything, and everyone of the one-choice question
  // (its facility, the mean mark, reaches 1 only when all are right and
  // sure); the others mostly when they are right.
  const sure = k === 2 || q === 3;
  const certain = choice !== null && (sure || (right ? next() < 0.3 + 0.6 * ability : next() < 0.25));
  return { choice, certain };
}

function writeClass(folder) {
  mkdirSync(folder, { recursive: true });
  const next = random(20261208);
  NAMES.forEach((name, k) => {
    const answers = quiz.Questions.map((_, q) => answerOf(k, q, next));
    const minutes = String(5 + (k % 17)).padStart(2, '0');
    const line = recordLine(quiz, FIXTURE, name, answers, {
      started: '2026-12-08T14:00:00+01:00',
      finished: `2026-12-08T14:${minutes}:${String((k * 7) % 60).padStart(2, '0')}+01:00`,
    });
    writeFileSync(path.join(folder, `eleve-${k + 1}.json`), `${line}\n`);
    // A copy of Manon's file in which her score was raised by hand.
    if (k === 9) {
      const edited = line.replace(/"score_percent":\d+/, '"score_percent":100');
      writeFileSync(path.join(folder, 'manon-corrige.json'), `${edited}\n`);
    }
  });
  writeFileSync(path.join(folder, 'notes.txt'), 'Penser \u00e0 rendre les copies.\n');
}

// Runs results with --report; the status and what it said.
function report(doc, inputs, out) {
  const run = spawnSync(cliPath(), ['results', doc, ...inputs, '--report', out], { encoding: 'utf8' });
  return { status: run.status, out: run.stdout, err: run.stderr };
}

// Opens the report from disk; every request that is not the file itself,
// every script or console error (a refused style among them) is a problem.
async function openReport(browser, file, viewport) {
  const context = await browser.newContext({ viewport });
  const problems = [];
  await context.route(/^(?!file:)/, (route) => {
    problems.push(`request: ${route.request().url()}`);
    return route.abort();
  });
  const page = await context.newPage();
  page.on('pageerror', (error) => problems.push(`script error: ${error.message}`));
  page.on('console', (message) => {
    if (message.type() === 'error' || message.type() === 'warning') problems.push(`console: ${message.text()}`);
  });
  await page.goto(pathToFileURL(file).href, { waitUntil: 'load' });
  return { context, page, problems };
}

async function axeViolations(page) {
  // The page's policy lets no script in; the browser's own channel does.
  await page.evaluate(axeSource);
  return page.evaluate(async () => {
    const result = await window.axe.run(document, { resultTypes: ['violations'] });
    return result.violations.map((v) => ({ id: v.id, impact: v.impact, nodes: v.nodes.map((n) => n.target) }));
  });
}

describe('the class report in Chromium', () => {
  let browser;
  let work;
  before(async () => {
    work = fixtureDocument(FIXTURE);
    browser = await launchBrowser();
  });
  after(async () => {
    await browser?.close();
    work?.remove();
  });

  it('a class of twenty: charts, tables and the questions to review, with nothing leaving the page', async () => {
    const folder = work.file('classe');
    writeClass(folder);
    const out = work.file('rapport.html');
    const run = report(work.doc, [folder], out);
    assert.equal(run.status, 0, run.err);
    assert.ok(existsSync(out), 'the report is written');

    const { context, page, problems } = await openReport(browser, out, { width: 1100, height: 900 });
    try {
      assert.equal(await page.evaluate(() => document.documentElement.lang), 'fr');
      assert.equal(await page.title(), 'R\u00e9sultats de la classe \u2013 G\u00e9ographie de la Suisse');
      assert.deepEqual(await axeViolations(page), [], 'axe-core violations');

      const histogram = page.getByRole('img', { name: /^Histogramme des taux pond\u00e9r\u00e9s/ });
      assert.equal(await histogram.count(), 1);
      assert.equal(await page.getByRole('img', { name: /^Calibration de la certitude/ }).count(), 1);
      // The figures behind the histogram are a table too: twenty students in all.
      const bins = await page
        .getByRole('table', { name: '\u00c9l\u00e8ves par tranche de taux pond\u00e9r\u00e9' })
        .getByRole('cell')
        .allInnerTexts();
      assert.equal(bins.length, 10);
      assert.equal(bins.reduce((sum, n) => sum + Number(n), 0), 20);

      // The name is shown as typed, and the altered and refused files are said.
      for (const table of ['R\u00e9sultats des \u00e9l\u00e8ves', 'Calibration de la certitude, en nombres']) {
        const row = page.getByRole('table', { name: table }).getByRole('rowheader', { name: HOSTILE, exact: true });
        assert.equal(await row.count(), 1, table);
      }
      assert.equal(await page.getByRole('cell', { name: 'manon-corrige.json', exact: false }).count(), 1);
      assert.equal(await page.getByText(/ne peut pas arr\u00eater un \u00e9l\u00e8ve d\u00e9termin\u00e9/).count(), 1);
      assert.equal(await page.getByRole('cell', { name: /aucun r\u00e9sultat/ }).count(), 1);
      // The right answer is said in words, not by a colour or a sign alone.
      assert.equal(await page.getByRole('listitem').filter({ hasText: /bonne r\u00e9ponse$/ }).count(), 9);

      const review = page.locator('section', { has: page.getByRole('heading', { name: 'Questions \u00e0 revoir' }) });
      // A question is found by its heading, a reason by how it starts.
      const expectReason = async (heading, start) => {
        const block = review.locator('.bloc', { has: page.getByRole('heading', { name: heading, exact: true }) });
        const reasons = await block.getByRole('listitem').allInnerTexts();
        assert.ok(reasons.some((r) => r.startsWith(start)), `${heading}: "${start}" among\n${reasons.join('\n')}`);
      };
      await expectReason('Question 4 : Cochez la seule r\u00e9ponse propos\u00e9e.', 'trop facile');
      await expectReason(
        'Question 5 : Quel mois suit novembre?',
        "aucun \u00e9l\u00e8ve n'a choisi les r\u00e9ponses A\u00a0\u00ab\u00a0janvier\u00a0\u00bb, "
          + 'B\u00a0\u00ab\u00a0f\u00e9vrier\u00a0\u00bb',
      );
      await expectReason(
        'Question 6 : Combien de cantons compte la Suisse?',
        'la moiti\u00e9 la plus forte de la classe a choisi la r\u00e9ponse B\u00a0\u00ab\u00a023\u00a0\u00bb',
      );
      await expectReason("Question 7 : Quelle langue n'est pas nationale en Suisse?", 'trop difficile');
      // A question the class answered as expected is not listed.
      assert.equal(await review.getByRole('heading', { name: /^Question 9 / }).count(), 0);

      if (screenshotDir) {
        await page.screenshot({ path: path.join(screenshotDir, 'rapport-classe.png'), fullPage: true });
      }
      const pdf = await page.pdf({ format: 'A4' });
      assert.equal(pdf.subarray(0, 5).toString('latin1'), '%PDF-');
      const pages = pdf.toString('latin1').match(/\/Type\s*\/Page[^s]/g) ?? [];
      assert.ok(pages.length >= 2, `${pages.length} A4 page(s)`);
      assert.deepEqual(problems, []);
    } finally {
      await context.close();
    }
  });

  it('with no result counted, the page still says which files were refused and why', async () => {
    const out = work.file('vide.html');
    const note = work.file('notes-seules.txt');
    writeFileSync(note, 'Rien \u00e0 voir.\n');
    const run = report(work.doc, [note], out);
    assert.equal(run.status, 1);
    const { context, page, problems } = await openReport(browser, out, { width: 800, height: 900 });
    try {
      assert.equal(await page.getByText('Aucun r\u00e9sultat n\'a pu \u00eatre compt\u00e9 pour ce quiz.').count(), 1);
      assert.equal(await page.getByRole('cell', { name: /notes-seules\.txt$/ }).count(), 1);
      assert.equal(await page.getByRole('img', { name: /^Histogramme/ }).count(), 1);
      assert.deepEqual(await axeViolations(page), [], 'axe-core violations');
      assert.deepEqual(problems, []);
    } finally {
      await context.close();
    }
  });
});
