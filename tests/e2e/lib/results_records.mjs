// Students' results records made as the self-contained quiz makes them (the
// format: docs/formats/results-record.md), from a quiz in the JSON form of
// tavimor-cli from-json and the answers each student gives: marks, totals,
// quiz key and check value computed here from the format's rules.
import { createHash } from 'node:crypto';

// Windows-1252 where it differs from Latin-1; the document keeps any other
// character beyond the code page as a decimal HTML reference.
const CP1252_HIGH = '\u20ac\u0081\u201a\u0192\u201e\u2026\u2020\u2021\u02c6\u2030\u0160\u2039\u0152\u008d\u017d\u008f'
  + '\u0090\u2018\u2019\u201c\u201d\u2022\u2013\u2014\u02dc\u2122\u0161\u203a\u0153\u009d\u017e\u0178';

export function cp1252Bytes(text) {
  const bytes = [];
  for (const ch of text) {
    const cp = ch.codePointAt(0);
    const high = CP1252_HIGH.indexOf(ch);
    if (high >= 0) bytes.push(0x80 + high);
    else if (cp < 0x80 || (cp >= 0xa0 && cp <= 0xff)) bytes.push(cp);
    else for (const c of Buffer.from(`&#${cp};`, 'latin1')) bytes.push(c);
  }
  return Buffer.from(bytes);
}

// Sixteen hexadecimal digits: the start of the SHA-256 digest of the
// certainty option and, for each question, its type, text, choices and
// right choice, each field ended by 0x1F and each question by 0x1E.
export function quizKey(quiz) {
  const hash = createHash('sha256');
  const field = (text) => hash.update(Buffer.concat([cp1252Bytes(String(text)), Buffer.from([0x1f])]));
  field(quiz.Header.UseCertainty ? 1 : 0);
  for (const q of quiz.Questions) {
    field(q.QType);
    field(q.QText);
    for (const choice of q.Reps) field(choice);
    field(q.GoodRep >= 0 ? q.GoodRep : 65535);
    hash.update(Buffer.from([0x1e]));
  }
  return hash.digest('hex').slice(0, 16);
}

const CRC_TABLE = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});

export function crc32(text) {
  let crc = 0xffffffff;
  for (const byte of Buffer.from(text, 'latin1')) crc = CRC_TABLE[(crc ^ byte) & 0xff] ^ (crc >>> 8);
  return ((crc ^ 0xffffffff) >>> 0).toString(16).padStart(8, '0');
}

// A JSON string in the record's ASCII form: every character outside
// printable ASCII, and every blank, as \uXXXX.
function asciiString(text) {
  let out = '"';
  for (let i = 0; i < text.length; i++) {
    const ch = text[i];
    const code = text.charCodeAt(i);
    if (ch === '"' || ch === '\\') out += `\\${ch}`;
    else if (code > 0x20 && code < 0x7f) out += ch;
    else out += `\\u${code.toString(16).padStart(4, '0')}`;
  }
  return `${out}"`;
}

const TWENTIETHS = { rightCertain: 20, right: 11, wrong: 9, wrongCertain: 0 };

function twentiethsOf(certainty, answered, right, certain) {
  if (!answered) return 0;
  if (!certainty) return right ? 20 : 0;
  if (right) return certain ? TWENTIETHS.rightCertain : TWENTIETHS.right;
  return certain ? TWENTIETHS.wrongCertain : TWENTIETHS.wrong;
}

// The record line of a student of quiz (named file) who gave answers: one
// {choice, certain} a question, choice null when left unanswered.
export function recordLine(quiz, file, student, answers, times = {}) {
  const { started = '2026-12-08T14:32:05+01:00', finished = '2026-12-08T14:41:47+01:00' } = times;
  const certainty = Boolean(quiz.Header.UseCertainty);
  let right = 0;
  let points = 0;
  const items = answers.map((given, i) => {
    const answered = given.choice !== null && given.choice !== undefined;
    const isRight = answered && given.choice === quiz.Questions[i].GoodRep;
    const twentieths = twentiethsOf(certainty, answered, isRight, Boolean(given.certain));
    right += isRight ? 1 : 0;
    points += twentieths;
    const mark = twentieths === 20 ? '1' : twentieths === 11 ? '0.55' : twentieths === 9 ? '0.45' : '0';
    return `{"question":${i + 1},"choice":${answered ? given.choice : 'null'},"certain":${
      certainty ? Boolean(given.certain) : 'null'},"right":${isRight},"mark":${mark}}`;
  });
  const n = answers.length;
  const score = Math.floor((right * 200 + n) / (2 * n));
  const weighted = Math.floor((points * 10 + n) / (2 * n));
  const head = `{"format":"tavimor-results","version":1,"quiz":{"title":${asciiString(quiz.Pages[0].Title)},`
    + `"file":${asciiString(file)},"key":"${quizKey(quiz)}","questions":${n},"certainty":${certainty}},`
    + `"student":${asciiString(student)},"started":"${started}","finished":"${finished}",`;
  const totals = `"totals":{"right":${right},"questions":${n},"score_percent":${score},`
    + `"weighted_percent":${certainty ? weighted : 'null'}}`;
  const line = `${head}"answers":[${items.join(',')}],${totals},"check":""}`;
  return `${line.slice(0, -2)}${crc32(line)}"}`;
}
