// What a student must see for a fixture quiz, worked out from the fixture's
// JSON and the answers the test plans to give, without looking at the
// produced site.
import { readFileSync } from 'node:fs';

const TYPE_STANDARD = 0;
const TYPE_TRUE_FALSE = 1;
const TYPE_CLOZE = 2;
export const QuestionType = { standard: TYPE_STANDARD, trueFalse: TYPE_TRUE_FALSE, cloze: TYPE_CLOZE };

function required(object, key, where) {
  if (!(key in object)) throw new Error(`fixture ${where}: "${key}" must be given`);
  return object[key];
}

// The fields of one feedback side; a question that leaves them out keeps the
// generic message 0, as a new question does.
function sideOf(question, name) {
  const side = question.Feedback?.[name] ?? {};
  return { useGeneric: side.UseGenMess ?? true, own: side.Mess ?? '', index: side.MessIdx ?? 0 };
}

// Reads a fixture in the JSON form of tavimor-cli from-json. The options the
// expectations depend on must be spelt out in the fixture.
export function readQuiz(file) {
  const doc = JSON.parse(readFileSync(file, 'utf8'));
  const header = required(doc, 'Header', file);
  const banks = required(doc, 'GenMess', file);
  const sentence = required(header, 'CountSentence', `${file} Header`);
  const questionCount = required(doc, 'Questions', file).length;
  return {
    // The entry page's line with the number of questions, '' when it has none.
    countLine:
      required(header, 'ShowCount', `${file} Header`) && sentence
        ? sentence.includes('<Q>')
          ? sentence.replace('<Q>', String(questionCount))
          : `${sentence} ${questionCount}`
        : '',
    certainty: required(header, 'UseCertainty', `${file} Header`),
    certSentence: required(header, 'CertSentence', `${file} Header`),
    noAnswer: required(header, 'UnansweredMess', `${file} Header`),
    pages: required(doc, 'Pages', file).map((p) => ({ title: p.Title, body: p.Body })),
    generic: [required(banks, 'Wrong', `${file} GenMess`), required(banks, 'Right', `${file} GenMess`)],
    questions: required(doc, 'Questions', file).map((q, i) => ({
      number: i + 1,
      type: required(q, 'QType', `${file} question ${i + 1}`),
      text: required(q, 'QText', `${file} question ${i + 1}`),
      choices: required(q, 'Reps', `${file} question ${i + 1}`),
      good: required(q, 'GoodRep', `${file} question ${i + 1}`),
      columns: q.Columns ?? 1,
      sides: [sideOf(q, 'Wrong'), sideOf(q, 'Right')],
      extFile: q.UseExtFile ? { file: q.ExtFile ?? '', link: q.ExtLink ?? '' } : null,
    })),
  };
}

// Markup removed and every blank dropped, so that texts can be compared with
// what the browser lays out whatever line breaks and paragraphs it inserts.
export function squash(html) {
  return html
    .replace(/<[^>]*>/g, '')
    .replace(/&nbsp;/g, ' ')
    .replace(/\s+/g, '');
}

// The feedback HTML of one side (0 wrong, 1 right): the generic or own
// message, then the attached-file link when the question has one.
export function feedbackHtml(quiz, question, side) {
  const s = question.sides[side];
  let text = s.useGeneric ? quiz.generic[side][s.index] : s.own;
  if (question.extFile) {
    const bar = question.extFile.link.indexOf('|');
    const label = bar < 0 ? question.extFile.link : question.extFile.link.slice(0, bar);
    const name = bar < 0 ? 'nom_du_lien' : question.extFile.link.slice(bar + 1);
    text += `<P>${label}<A HREF=${question.extFile.file}> ${name}</A>`;
  }
  return text;
}

// The text parts of a cloze question around its drop-down list (the blank
// after the marker is taken away with it).
export function clozeParts(text) {
  const at = text.indexOf('<option>');
  return [text.slice(0, at), text.slice(at + '<option>'.length + 1)];
}

// The outcome of one question for a planned answer { choice, cert }, choice
// being the 0-based index in the question's choices or null for no answer.
export function outcomeOf(quiz, question, answer) {
  const answered = answer.choice !== null;
  const right = answered && answer.choice === question.good;
  const cert = quiz.certainty && answer.cert ? 1 : 0;
  let points;
  if (right) points = cert ? 20 : 11;
  else points = answered ? (cert ? 0 : 9) : 0;
  return {
    right,
    answered,
    cert,
    points,
    image: right ? 'gImg.gif' : answered ? 'bImg.gif' : 'nImg.gif',
    answerText: answered ? question.choices[answer.choice] : '',
    message: right
      ? feedbackHtml(quiz, question, 1)
      : answered
        ? feedbackHtml(quiz, question, 0)
        : quiz.noAnswer,
  };
}

// Everything the results page must show for the final answers.
export function expectedResults(quiz, answers) {
  const outcomes = quiz.questions.map((q, i) => outcomeOf(quiz, q, answers[i]));
  const total = outcomes.reduce((sum, o) => sum + o.points, 0);
  return {
    outcomes,
    rightCount: outcomes.filter((o) => o.right).length,
    rate: `${Math.round((total * 100) / (quiz.questions.length * 20))}%`,
  };
}
