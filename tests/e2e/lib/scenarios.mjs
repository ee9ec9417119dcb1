// The planned journeys through the fixture quizzes, shared by the tests of
// the produced site and of the single page: for each quiz, the answers given
// on the first pass (0-based choice, null for none; cert ticks the certainty
// box), the answer changed on the second pass through "revoir les
// questions", and the marks worked out by hand.
export const none = { choice: null, cert: false };
export const pick = (choice, cert = false) => ({ choice, cert });

export const scenarios = [
  {
    fixture: 'suisse-certitude',
    student: 'Zo\u00e9 <b>&"x',
    firstPass: [
      pick(0), // wrong, generic wrong message 1
      pick(0), // true/false, right
      none, // cloze left on its blank entry
      pick(0, true), // the only choice, right and certain
      pick(11, true), // the 12th of 12 choices, right and certain
      pick(0, true), // wrong and certain: own message and attached file
      pick(1), // right, after the 12-choice question
      pick(1), // cloze, wrong
      { choice: null, cert: true }, // not answered, certainty ticked all the same
    ],
    secondPass: { question: 1, answer: pick(1, true) },
    // 9 + 11 + 0 + 20 + 20 + 0 + 11 + 9 + 0 = 80 of 180; then 20 for question 1: 91.
    marks: { firstPass: { rightCount: 4, rate: '44%' }, secondPass: { rightCount: 5, rate: '51%' } },
  },
  {
    fixture: 'chimie-sans-certitude',
    student: 'Camille <i>L\u00e9a</i> & "Jo"',
    firstPass: [
      none, // true/false not answered
      pick(10), // the 11th of 11 choices, right
      none, // cloze left on its blank entry
      pick(0), // the only choice, right, own message
      pick(2), // wrong: own message and attached file
      pick(9), // the 10th of 10 choices, right
      pick(1), // cloze, right
      pick(1), // wrong, generic message
      pick(1), // true/false, wrong
    ],
    secondPass: { question: 1, answer: pick(0) },
    // 0 + 11 + 0 + 11 + 9 + 11 + 11 + 9 + 9 = 71 of 180; then 11 for question 1: 82.
    marks: { firstPass: { rightCount: 4, rate: '39%' }, secondPass: { rightCount: 5, rate: '46%' } },
  },
];
