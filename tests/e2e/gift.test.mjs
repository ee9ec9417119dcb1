// The GIFT export read by gift-pegjs, a GIFT parser written by others: every
// question must come out with the type, texts, right answer and feedback of
// the quiz. Then the export goes back through import-gift and the document
// holds again what GIFT carries.
import { describe, it, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { existsSync, readdirSync, readFileSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import giftPegjs from 'gift-pegjs';

import { readQuiz, feedbackHtml, QuestionType } from './lib/quiz.mjs';
import { fixtureDocument } from './lib/platform.mjs';
import { e2eDir } from './lib/site.mjs';

const fixtures = ['suisse-certitude', 'chimie-sans-certitude', 'speciaux-plateformes'];
const markup = /<[A-Za-z/!]|&(#[0-9]+|#x[0-9A-Fa-f]+|[A-Za-z0-9]+);/;

// A text as the parser gives it: kept for HTML, on one line otherwise.
const shown = (text, html) => (html ? text.trim() : text.replace(/[\r\n]/g, ' ').replace(/\s\s+/g, ' ').trim());

// What the platform must read for one question of the quiz.
function expectedQuestion(quiz, q) {
  const right = q.good >= 0 && q.good < q.choices.length ? q.good : -1;
  const feedback = [feedbackHtml(quiz, q, 0), feedbackHtml(quiz, q, 1)];
  const marker = q.type === QuestionType.cloze ? q.text.indexOf('<option>') : -1;
  const before = marker >= 0 ? q.text.slice(0, marker) : q.text;
  const rest = marker >= 0 ? q.text.slice(marker + '<option>'.length + 1) : '';
  // A right first choice with "->" would read as a matching question: its arrow is written "-&gt;".
  const arrow = right === 0 && q.choices.length > 1 && q.choices[0].includes('->');
  const choices = q.choices.map((c, k) => (k === 0 && arrow ? c.replaceAll('->', '-&gt;') : c));
  const html = arrow || [before, rest, ...q.choices, ...feedback].some((t) => markup.test(t));
  const trueFalse =
    q.type === QuestionType.trueFalse && [...q.choices].sort().join() === 'Faux,Vrai' && right >= 0;
  let stem = shown(before, html);
  if (marker >= 0) stem = `${stem === '' ? (html ? '&nbsp; ' : '') : `${stem} `}_____ ${shown(rest, html)}`;
  return { html, trueFalse, right, stem, choices, embedded: marker >= 0, feedback: feedback.map((f) => shown(f, html)) };
}

for (const fixture of fixtures) {
  describe(`GIFT export of ${fixture}`, () => {
    const quiz = readQuiz(`${e2eDir}/fixtures/${fixture}.json`);
    let doc;
    before(() => {
      doc = fixtureDocument(fixture);
      doc.run(['export-gift', doc.doc]);
    });
    after(() => doc.remove());

    it('reads back with the types, texts, right answers and feedback of the quiz', () => {
      const parsed = giftPegjs.parse(readFileSync(doc.file(`${fixture}.gift`), 'utf8'));
      assert.deepEqual(parsed[0], { type: 'Category', title: `$course$/top/${fixture}` });
      const questions = parsed.slice(1);
      assert.equal(questions.length, quiz.questions.length);
      quiz.questions.forEach((q, i) => {
        const where = `question ${q.number}`;
        const want = expectedQuestion(quiz, q);
        const got = questions[i];
        assert.equal(got.stem.format, want.html ? 'html' : 'moodle', `${where}: format`);
        assert.equal(got.stem.text, want.stem, `${where}: text`);
        assert.equal(got.hasEmbeddedAnswers, want.embedded, `${where}: missing word`);
        if (want.trueFalse) {
          assert.equal(got.type, 'TF', `${where}: type`);
          assert.equal(got.isTrue, q.choices[want.right] === 'Vrai', `${where}: right answer`);
          // The first message after "#" is shown after a wrong answer, the second after a right one.
          assert.deepEqual([got.trueFeedback.text, got.falseFeedback.text], want.feedback, `${where}: feedback`);
          return;
        }
        assert.equal(got.type, 'MC', `${where}: type`);
        assert.deepEqual(
          got.choices.map((c) => [c.text.text, c.isCorrect || c.weight === 100, c.feedback.text]),
          want.choices.map((c, k) => [shown(c, want.html), k === want.right, want.feedback[k === want.right ? 1 : 0]]),
          `${where}: choices`,
        );
        if (q.choices.length === 1) assert.equal(got.globalFeedback.text, want.feedback[0], `${where}: wrong message`);
      });
    });

    it('imports back into a document with what GIFT carries', () => {
      doc.run(['import-gift', doc.file(`${fixture}.gift`), doc.file('retour.kwz')]);
      const back = JSON.parse(doc.run(['to-json', doc.file('retour.kwz')])).Questions;
      assert.equal(back.length, quiz.questions.length);
      quiz.questions.forEach((q, i) => {
        const want = expectedQuestion(quiz, q);
        const type = q.type === QuestionType.trueFalse && !want.trueFalse ? QuestionType.standard : q.type;
        assert.deepEqual(
          [back[i].QType, back[i].QText, back[i].Reps, back[i].GoodRep],
          [type, q.text, want.choices, q.good],
          `question ${q.number}`,
        );
        assert.deepEqual(
          back[i].Feedback,
          {
            Wrong: { UseGenMess: false, Mess: feedbackHtml(quiz, q, 0), MessIdx: 0 },
            Right: { UseGenMess: false, Mess: feedbackHtml(quiz, q, 1), MessIdx: 0 },
          },
          `question ${q.number}: feedback`,
        );
      });
    });
  });
}

// Texts made of the characters GIFT reserves, tags, entities, line breaks and
// look-alikes of its syntax, in every kind of question: the parser must read
// every question, with its kind.
describe('GIFT export of texts full of reserved characters', () => {
  const pieces = ['a', ' ', '\u00e9', '~', '=', '#', '{', '}', ':', '\\', '//', '%', '[html]', '[plain]', '->', '<b>',
    '&amp;', '&', '<', '\n', '\r\n', 'T', '::', '$CATEGORY:', '####', '\t', '\u20ac'];
  let seed = 20240;
  const pick = (n) => ((seed = (seed * 1103515245 + 12345) & 0x7fffffff) % n);
  const text = (max) => Array.from({ length: pick(max) }, () => pieces[pick(pieces.length)]).join('');

  it('parses every question', () => {
    const questions = Array.from({ length: 300 }, () => {
      const type = pick(3);
      const reps = type === 1 && pick(2) ? ['Vrai', 'Faux'] : Array.from({ length: 1 + pick(4) }, () => text(6));
      let qText = text(8);
      if (type === QuestionType.cloze) qText = `${qText.slice(0, 3)}<option>${qText.slice(3)}`;
      const own = { UseGenMess: false, Mess: text(6) };
      return { QType: type, QText: qText, Reps: reps, GoodRep: pick(reps.length + 1) - 1, Feedback: { Wrong: own } };
    });
    const doc = fixtureDocument('chimie-sans-certitude');
    try {
      const json = JSON.parse(readFileSync(doc.file('chimie-sans-certitude.json'), 'utf8'));
      writeFileSync(doc.file('reserve.json'), JSON.stringify({ ...json, Questions: questions }));
      doc.run(['from-json', doc.file('reserve.json'), doc.file('reserve.kwz')]);
      doc.run(['export-gift', doc.file('reserve.kwz')]);
      const parsed = giftPegjs.parse(readFileSync(doc.file('reserve.gift'), 'utf8')).slice(1);
      assert.equal(parsed.length, questions.length);
      parsed.forEach((got, i) => {
        const q = questions[i];
        const trueFalse = q.QType === QuestionType.trueFalse && q.Reps.length === 2 && q.Reps.includes('Vrai') && q.GoodRep >= 0;
        assert.equal(got.type, trueFalse ? 'TF' : 'MC', `question ${i + 1}: ${JSON.stringify(q)}`);
        assert.equal(got.type === 'TF' || got.choices.length === q.Reps.length, true, `question ${i + 1}: choices`);
      });
    } finally {
      doc.remove();
    }
  });
});

// Banks written by others come in through import-gift and go out again
// through export-gift: the parser reads every question that came in, of the
// kind it came in as.
describe('GIFT banks written by others, imported then exported', () => {
  const corpus = path.join(e2eDir, '..', '..', '..', 'shared', 'corpora', 'gift');
  const walk = (dir) =>
    readdirSync(dir, { withFileTypes: true }).flatMap((e) =>
      e.isDirectory() ? walk(path.join(dir, e.name)).map((f) => path.join(e.name, f)) : [e.name],
    );
  const files = existsSync(corpus) ? walk(corpus).filter((f) => /\.(gift|txt)$/.test(f)).sort() : [];

  it('export every imported question as a question gift-pegjs reads', () => {
    assert.ok(files.length > 0, `no GIFT bank under ${corpus}`);
    const doc = fixtureDocument('chimie-sans-certitude');
    let imported = 0;
    try {
      for (const [i, file] of files.entries()) {
        const out = doc.file(`banque${i}.kwz`);
        try {
          doc.run(['import-gift', path.join(corpus, file), out]);
        } catch (refused) {
          // Refused whole: not UTF-8, or no question a quiz can hold; nothing is written.
          assert.equal(existsSync(out), false, `${file}: refused, yet written`);
          continue;
        }
        const count = JSON.parse(doc.run(['to-json', out])).Questions.length;
        doc.run(['export-gift', out, doc.file(`banque${i}.gift`)]);
        const parsed = giftPegjs.parse(readFileSync(doc.file(`banque${i}.gift`), 'utf8'));
        const questions = parsed.filter((q) => q.type !== 'Category' && q.type !== 'Description');
        assert.equal(questions.length, count, `${file}: questions read back`);
        for (const q of questions) assert.ok(q.type === 'MC' || q.type === 'TF', `${file}: kind ${q.type}`);
        imported += count;
      }
    } finally {
      doc.remove();
    }
    assert.ok(imported > 400, `${imported} questions imported`);
  });
});
