/*
 * Runtime of the self-contained quiz page written by Tavimor ("Quiz autonome").
 *
 * The page holds the quiz as JSON in <script type="application/json"
 * id="quiz-data"> and this script runs it in one page: the entry page with the
 * name field, one question at a time, the end page, the results and the
 * feedback of each question. Marking and moves between the views follow the
 * quiz script of the produced site (generator/QuizScript.cpp):
 *   - an answer is right when it is the marked choice; the blank entry of a
 *     cloze list means "no answer";
 *   - with the certainty option a question earns 20 points when right and
 *     certain, 11 when right, 9 when wrong, 0 when wrong and certain or not
 *     answered; the weighted rate is round(total * 100 / (count * 20));
 *   - "Question précédente" / "Question suivante" wrap round; going on past
 *     the last question shows the end page and numbering starts again at 1;
 *     on the feedback views they move between the feedback views.
 * On the results view the student can save a results record, one line of
 * JSON that the teacher's program reads back (docs/formats/results-record.md),
 * into a file through a download link, or send it to the teacher's address
 * in an e-mail; nothing is sent by the page itself.
 * The student's progress is kept in sessionStorage under a key of the quiz,
 * so that a reload keeps it and "Recommencer" clears it; a closed tab or
 * another student's session starts afresh.
 *
 * Host contract
 * -------------
 * The page may carry one more inline script placed before this one (its hash
 * is in the page's Content-Security-Policy too). That script may define
 *
 *   window.TavimorHost = {
 *     // A name for the entry page's name field, or null/undefined for none.
 *     studentName() { ... },
 *     // Called every time the results are shown.
 *     onResults(detail) { ... },
 *   };
 *
 * where detail is
 *   {
 *     studentName,      // the name typed on the entry page
 *     questionCount,    // number of questions
 *     rightCount,       // number of right answers
 *     scorePercent,     // Math.round(rightCount * 100 / questionCount)
 *     weightedPercent,  // the certainty-weighted rate shown on the results
 *                       // (0-100), or null without the certainty option
 *     questions: [ { number,    // 1-based
 *                    response,  // text of the chosen answer, '' when none
 *                    correct }  // boolean
 *                ],
 *   }
 *
 * Both members are optional and nothing happens without a host. An error
 * thrown by the host is written to the console and the quiz goes on.
 */
(function () {
  'use strict';

  var data = JSON.parse(document.getElementById('quiz-data').textContent);
  var questions = data.questions.map(function (q) {
    return { type: q[0], text: q[1], choices: q[2], good: q[3], columns: q[4], wrong: q[5], right: q[6] };
  });
  var count = questions.length;
  var CLOZE = 2;
  var STORE_KEY = 'tavimor-quiz:' + data.key;
  var VIEWS = ['entry', 'question', 'end', 'results', 'feedback'];

  // QMode of the site's script: 0 not started, 1 answering, 3 reviewing.
  var state = freshState();

  function freshState() {
    var answers = [];
    var cert = [];
    for (var i = 0; i < count; i++) {
      answers.push(-1);
      cert.push(0);
    }
    return { name: '', mode: 0, curQ: 1, view: 'entry', answers: answers, cert: cert, started: '', finished: '' };
  }

  // ---- Storage ---------------------------------------------------------

  function storage() {
    try {
      return window.sessionStorage;
    } catch (e) {
      return null; // storage refused by the browser's settings: no reload memory
    }
  }

  function save() {
    var store = storage();
    if (!store) return;
    try {
      store.setItem(STORE_KEY, JSON.stringify(state));
    } catch (e) {
      // full or refused: the quiz goes on without reload memory
    }
  }

  function forget() {
    var store = storage();
    if (!store) return;
    try {
      store.removeItem(STORE_KEY);
    } catch (e) {
      // nothing to forget
    }
  }

  function isIndex(value, limit) {
    return typeof value === 'number' && value === Math.floor(value) && value >= -1 && value < limit;
  }

  // The stored progress when it fits this quiz, else null.
  function restored() {
    var store = storage();
    var saved = null;
    try {
      saved = store && JSON.parse(store.getItem(STORE_KEY) || 'null');
    } catch (e) {
      return null;
    }
    if (!saved || typeof saved !== 'object') return null;
    if (typeof saved.name !== 'string' || [0, 1, 3].indexOf(saved.mode) < 0) return null;
    if (VIEWS.indexOf(saved.view) < 0 || !isIndex(saved.curQ - 1, count) || saved.curQ < 1) return null;
    if (!Array.isArray(saved.answers) || saved.answers.length !== count) return null;
    if (!Array.isArray(saved.cert) || saved.cert.length !== count) return null;
    // Progress stored before the results record existed has no times.
    if (typeof saved.started !== 'string') saved.started = '';
    if (typeof saved.finished !== 'string') saved.finished = '';
    for (var i = 0; i < count; i++) {
      if (!isIndex(saved.answers[i], questions[i].choices.length)) return null;
      if (saved.cert[i] !== 0 && saved.cert[i] !== 1) return null;
    }
    return saved;
  }

  // ---- Marking ---------------------------------------------------------

  function isRight(i) {
    return state.answers[i] >= 0 && state.answers[i] === questions[i].good;
  }

  function rightCount() {
    var n = 0;
    for (var i = 0; i < count; i++) if (isRight(i)) n++;
    return n;
  }

  function weightedPercent() {
    var total = 0;
    for (var i = 0; i < count; i++) {
      var certain = state.cert[i] > 0;
      if (isRight(i)) total += certain ? 20 : 11;
      else if (state.answers[i] !== -1) total += certain ? 0 : 9;
    }
    return Math.round((total * 100) / (count * 20));
  }

  // ---- Building views --------------------------------------------------

  var main = document.getElementById('quiz-view');
  var nav = document.getElementById('quiz-nav');

  function el(tag, attributes, children) {
    var node = document.createElement(tag);
    if (attributes) {
      Object.keys(attributes).forEach(function (name) {
        if (name === 'text') node.textContent = attributes[name];
        else node.setAttribute(name, attributes[name]);
      });
    }
    (children || []).forEach(function (child) {
      node.append(child);
    });
    return node;
  }

  // The teacher's HTML is parsed in a document of its own, which loads
  // nothing and runs nothing, then moved into the page. Pictures point at the
  // page's own data: copies and any other address is dropped, so that nothing
  // is fetched. The page's writer renamed style attributes data-tavimor-style
  // (and event attributes data-tavimor-on...): the styles go through the style
  // object, which the page's policy allows. Scripts, style blocks and event
  // attributes could not run under that policy: they are left out.
  var inert = document.implementation.createHTMLDocument('');
  var LEFT_OUT = 'script, style, link, meta, base, iframe, frame, object, embed, video, audio, source, track';

  function parsed(html) {
    var body = inert.body;
    body.innerHTML = html;
    body.querySelectorAll(LEFT_OUT).forEach(function (node) {
      node.remove();
    });
    return body;
  }

  function teacherHtml(html) {
    var body = parsed(html);
    body.querySelectorAll('img').forEach(function (img) {
      var src = img.getAttribute('src');
      img.removeAttribute('srcset');
      if (src !== null && Object.prototype.hasOwnProperty.call(data.pictures, src)) {
        img.setAttribute('src', data.pictures[src]);
      } else if (src !== null && !/^\s*data:/i.test(src)) {
        img.removeAttribute('src');
      }
    });
    body.querySelectorAll('[background]').forEach(function (node) {
      node.removeAttribute('background');
    });
    var styled = [];
    body.querySelectorAll('[data-tavimor-style]').forEach(function (node) {
      styled.push([node, node.getAttribute('data-tavimor-style')]);
      node.removeAttribute('data-tavimor-style');
    });
    var fragment = document.createDocumentFragment();
    while (body.firstChild) fragment.append(document.adoptNode(body.firstChild));
    styled.forEach(function (entry) {
      entry[0].style.cssText = entry[1];
    });
    return fragment;
  }

  function block(tag, html, attributes) {
    var node = el(tag, attributes);
    node.append(teacherHtml(html));
    return node;
  }

  // The plain text of a piece of teacher HTML (answers given to the host).
  function plainText(html) {
    return parsed(html).textContent.replace(/\s+/g, ' ').trim();
  }

  function heading(text) {
    return el('h2', { id: 'view-heading', tabindex: '-1', text: text });
  }

  function htmlHeading(html, fallback) {
    var node = block('h2', html, { id: 'view-heading', tabindex: '-1' });
    if (!node.textContent.trim()) node.textContent = fallback;
    return node;
  }

  function picture(name, alt) {
    return el('img', { src: data.gifs[name], alt: alt });
  }

  function link(text, action, href) {
    var a = el('a', { href: href });
    if (text) a.append(text);
    a.addEventListener('click', function (event) {
      event.preventDefault();
      action();
    });
    return a;
  }

  function button(text, action, className) {
    var b = el('button', { type: 'button' });
    if (text) b.append(text);
    if (className) b.className = className;
    b.addEventListener('click', action);
    return b;
  }

  function question(number) {
    return questions[number - 1];
  }

  function entryView() {
    var nodes = [];
    if (data.count) nodes.push(block('p', data.count, { class: 'count' }));
    if (data.resum) nodes.push(block('div', data.resum, { class: 'resum' }));
    var field = el('input', { type: 'text', id: 'student-name', name: 'nom', autocomplete: 'name', size: '20' });
    field.value = state.name;
    if (window.TavimorHost && typeof window.TavimorHost.studentName === 'function') {
      var given = callHost('studentName');
      if (given !== null && given !== undefined && String(given) !== '') field.value = String(given);
    }
    var form = el('form', { class: 'identification' }, [
      el('p', {}, [el('label', { for: 'student-name', text: 'Quel est votre nom?' }), ' ', field]),
      el('p', { class: 'center' }, [el('button', { type: 'submit', class: 'start', text: 'Commencer' })]),
    ]);
    form.addEventListener('submit', function (event) {
      event.preventDefault();
      if (count === 0) return; // nothing to answer (the writer refuses such a quiz)
      state.name = field.value;
      state.started = isoNow();
      state.finished = '';
      state.curQ = 1;
      state.mode = 1;
      show('question');
    });
    nodes.push(heading('Identification'), form);
    return { nodes: nodes, title: 'Identification' };
  }

  function choiceTable(q, index) {
    var table = el('table', { class: 'choices', role: 'presentation' });
    var body = el('tbody');
    var columns = Math.max(1, q.columns);
    var row = null;
    q.choices.forEach(function (choice, i) {
      if (i % columns === 0) {
        row = el('tr');
        body.append(row);
      }
      var radio = el('input', { type: 'radio', name: 'choix', value: String(i) });
      radio.checked = state.answers[index] === i;
      radio.addEventListener('change', function () {
        if (radio.checked) record(index, i);
      });
      row.append(el('td', {}, [el('label', { class: 'choice' }, [radio, block('span', choice)])]));
    });
    table.append(body);
    return el('fieldset', { class: 'answers' }, [el('legend', { class: 'vh', text: 'Réponses' }), table]);
  }

  // The cloze list of the question text (the first list, as the site takes
  // it), or a new one after the text when the text lost its marker.
  function clozeList(text, q) {
    var list = text.querySelector('select');
    if (!list) {
      list = el('select');
      list.append(el('option'));
      q.choices.forEach(function (choice) {
        list.append(el('option', { text: plainText(choice) }));
      });
      text.append(' ', list);
    }
    return list;
  }

  function questionView() {
    var index = state.curQ - 1;
    var q = question(state.curQ);
    var title = 'Question ' + state.curQ;
    var text = block('div', q.text, { class: 'question-text' });
    var nodes = [heading(title), text];
    if (q.type === CLOZE) {
      var list = clozeList(text, q);
      list.id = 'cloze-answer';
      list.name = 'reponse';
      list.setAttribute('aria-label', 'Réponse');
      list.selectedIndex = state.answers[index] + 1;
      list.addEventListener('change', function () {
        record(index, list.selectedIndex > 0 ? list.selectedIndex - 1 : -1);
      });
    } else {
      nodes.push(choiceTable(q, index));
    }
    if (data.certainty) {
      var box = el('input', { type: 'checkbox', name: 'certitude' });
      box.checked = state.cert[index] > 0;
      box.addEventListener('change', function () {
        state.cert[index] = box.checked ? 1 : 0;
        save();
      });
      nodes.push(el('p', { class: 'certainty' }, [el('label', {}, [box, ' ', block('span', data.certSentence)])]));
    }
    return { nodes: nodes, title: title };
  }

  function endView() {
    var page = data.pages[1];
    return {
      nodes: [
        htmlHeading(page[0], 'Fin de la série'),
        block('div', page[1], { class: 'page-text' }),
        el('ul', { class: 'end-links' }, [
          el('li', {}, [link('Voir les résultats', showResults, '#resultats')]),
          el('li', {}, [link('Revoir les questions', comeBack, '#question-1')]),
        ]),
      ],
      title: 'Fin de la série',
    };
  }

  function markOf(i) {
    if (isRight(i)) return picture('gImg', 'Bonne réponse');
    if (state.answers[i] === -1) return picture('nImg', 'Pas de réponse');
    return picture('bImg', 'Mauvaise réponse');
  }

  function resultsTable() {
    var numbers = el('tr', { class: 'numbers' }, [el('th', { scope: 'row', text: 'Q' })]);
    var marks = el('tr', { class: 'marks' }, [el('th', { scope: 'row', text: 'R' })]);
    var certs = el('tr', { class: 'certs' }, [el('th', { scope: 'row', text: 'IC' })]);
    questions.forEach(function (q, i) {
      var a = link('', function () {
        showFeedback(i + 1);
      }, '#retour-' + (i + 1));
      a.append(el('span', { class: 'vh', text: 'Question ' }), String(i + 1));
      numbers.append(el('th', { scope: 'col' }, [a]));
      marks.append(el('td', {}, [markOf(i)]));
      certs.append(el('td', { text: String(state.cert[i]) }));
    });
    var body = el('tbody', {}, [numbers, marks]);
    if (data.certainty) body.append(certs);
    var table = el('table', { class: 'results' }, [el('caption', { class: 'vh', text: 'Résultats par question' }), body]);
    return el('div', { class: 'results-scroll', role: 'region', 'aria-label': 'Résultats par question' }, [table]);
  }

  function resultsDetail(right, weighted) {
    return {
      studentName: state.name,
      questionCount: count,
      rightCount: right,
      scorePercent: count > 0 ? Math.round((right * 100) / count) : 0,
      weightedPercent: data.certainty ? weighted : null,
      questions: questions.map(function (q, i) {
        var answer = state.answers[i];
        return { number: i + 1, response: answer >= 0 ? plainText(q.choices[answer]) : '', correct: isRight(i) };
      }),
    };
  }

  function resultsView() {
    var page = data.pages[2];
    if (!state.finished) {
      state.finished = isoNow();
      save();
    }
    var right = rightCount();
    var weighted = weightedPercent();
    var nodes = [
      htmlHeading(page[0], 'Résultats'),
      block('div', page[1], { class: 'page-text' }),
      el('p', {}, [el('b', { text: state.name }), ', voici vos résultats:']),
      el('p', {}, [
        'Nombre de bonnes réponses:',
        el('b', { text: String(right) }),
        ' sur ',
        el('b', { text: count + '.' }),
      ]),
    ];
    if (data.certainty) nodes.push(el('p', {}, ['Taux de réussite pondéré: ', el('b', { text: weighted + '%' })]));
    nodes.push(resultsTable(), resultsActions());
    return {
      nodes: nodes,
      title: 'Résultats',
      after: function () {
        var region = main.querySelector('.results-scroll');
        // A table wider than the screen scrolls inside its own box, which
        // the keyboard can then reach.
        if (region.scrollWidth > region.clientWidth) region.setAttribute('tabindex', '0');
        if (window.TavimorHost && typeof window.TavimorHost.onResults === 'function') {
          callHost('onResults', resultsDetail(right, weighted));
        }
      },
    };
  }

  function feedbackView() {
    var index = state.curQ - 1;
    var q = question(state.curQ);
    var title = 'Question ' + state.curQ;
    var text = block('div', q.text, { class: 'question-text' });
    // The list has nothing to choose here: the answer is shown below it.
    text.querySelectorAll('select').forEach(function (list) {
      list.replaceWith(el('span', { class: 'blank', text: '____________' }));
    });
    var answer = state.answers[index];
    var message = isRight(index)
      ? data.right[q.right]
      : answer !== -1
        ? data.wrong[q.wrong]
        : data.noAnswer;
    // Blocks rather than paragraphs: the teacher's HTML may hold paragraphs.
    var given = el('div', { class: 'given' }, [el('b', { text: 'Votre réponse:' }), ' ']);
    if (answer >= 0) given.append(teacherHtml(q.choices[answer]));
    var said = el('div', { class: 'message' });
    said.append(block('b', message));
    return { nodes: [heading(title), text, el('div', { class: 'feedback' }, [given, said])], title: title };
  }

  // ---- The student's results record --------------------------------------
  //
  // What the student did, as one line of ASCII JSON that the teacher's
  // program reads back (docs/formats/results-record.md): saved into a file
  // through a download link, or sent in the body of an e-mail.

  // Now as ISO 8601 to the second with the offset from UTC.
  function isoNow() {
    var now = new Date();
    var two = function (n) {
      return (n < 10 ? '0' : '') + n;
    };
    var offset = -now.getTimezoneOffset();
    var sign = offset < 0 ? '-' : '+';
    offset = Math.abs(offset);
    return (
      now.getFullYear() + '-' + two(now.getMonth() + 1) + '-' + two(now.getDate()) +
      'T' + two(now.getHours()) + ':' + two(now.getMinutes()) + ':' + two(now.getSeconds()) +
      sign + two(Math.floor(offset / 60)) + ':' + two(offset % 60)
    );
  }

  var CRC_TABLE = (function () {
    var table = [];
    for (var n = 0; n < 256; n++) {
      var c = n;
      for (var k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
      table.push(c >>> 0);
    }
    return table;
  })();

  // The CRC-32 of an ASCII text, as eight lowercase hexadecimal digits.
  function crc32(text) {
    var crc = 0xffffffff;
    for (var i = 0; i < text.length; i++) crc = CRC_TABLE[(crc ^ text.charCodeAt(i)) & 0xff] ^ (crc >>> 8);
    return ('0000000' + ((crc ^ 0xffffffff) >>> 0).toString(16)).slice(-8);
  }

  // JSON on one line of ASCII without blanks: a mail program neither
  // re-encodes nor wraps it.
  function asciiJson(value) {
    return JSON.stringify(value).replace(/[\u0000-\u0020\u007f-\uffff]/g, function (c) {
      return '\\u' + ('000' + c.charCodeAt(0).toString(16)).slice(-4);
    });
  }

  function quizTitle() {
    return plainText(data.pages[0][0]) || data.title;
  }

  // The certainty mark of a question in twentieths, as the results page counts it.
  function twentieths(i) {
    if (state.answers[i] === -1) return 0;
    var certain = state.cert[i] > 0;
    if (isRight(i)) return certain ? 20 : 11;
    return certain ? 0 : 9;
  }

  function resultsLine() {
    var marks = { 20: 1, 11: 0.55, 9: 0.45, 0: 0 };
    var record = {
      format: 'tavimor-results',
      version: 1,
      quiz: { title: quizTitle(), file: data.title, key: data.quizKey, questions: count, certainty: data.certainty },
      student: state.name,
      started: state.started || isoNow(),
      finished: state.finished || isoNow(),
      answers: questions.map(function (q, i) {
        var answered = state.answers[i] !== -1;
        return {
          question: i + 1,
          choice: answered ? state.answers[i] : null,
          certain: data.certainty ? state.cert[i] > 0 : null,
          right: isRight(i),
          mark: data.certainty ? marks[twentieths(i)] : isRight(i) ? 1 : 0,
        };
      }),
      totals: {
        right: rightCount(),
        questions: count,
        score_percent: count > 0 ? Math.round((rightCount() * 100) / count) : 0,
        weighted_percent: data.certainty ? weightedPercent() : null,
      },
      check: '',
    };
    var unchecked = asciiJson(record);
    return unchecked.slice(0, -2) + crc32(unchecked) + '"}';
  }

  // Letters and digits of a text, accents dropped, the rest as single hyphens.
  function fileWord(text) {
    var plain = String(text).normalize ? String(text).normalize('NFD') : String(text);
    return plain
      .replace(/[\u0300-\u036f]/g, '')
      .replace(/[^A-Za-z0-9]+/g, '-')
      .replace(/^-+|-+$/g, '');
  }

  function resultsFileName() {
    var when = (state.finished || isoNow()).slice(0, 16).replace('T', '-').replace(':', '');
    return [fileWord(data.title) || 'quiz', fileWord(state.name) || 'eleve', when].join('-') + '.json';
  }

  function saveResults(status) {
    var name = resultsFileName();
    var blob = new Blob([resultsLine() + '\n'], { type: 'application/json' });
    var address = URL.createObjectURL(blob);
    var anchor = el('a', { href: address, download: name, hidden: '' });
    document.body.append(anchor);
    anchor.click();
    anchor.remove();
    // The browser has the file once the click is handled; the address can go.
    setTimeout(function () {
      URL.revokeObjectURL(address);
    }, 60000);
    status.textContent = 'Vos résultats sont enregistrés dans le fichier « ' + name + ' ».';
  }

  // The address part of a mailto: link, the characters an address holds kept.
  function mailAddress(address) {
    return address.replace(/[^A-Za-z0-9.@_+-]/g, function (c) {
      return encodeURIComponent(c);
    });
  }

  function mailHref() {
    var title = quizTitle();
    var subject = 'Résultats de « ' + title + ' » : ' + (state.name || 'élève sans nom');
    var lines = [
      'Bonjour,',
      '',
      'Voici mes résultats au quiz « ' + title + ' » :',
      'bonnes réponses : ' + rightCount() + ' sur ' + count + '.',
    ];
    if (data.certainty) lines.push('taux de réussite pondéré : ' + weightedPercent() + ' %.');
    lines.push('', (state.name || '') + '', '', 'Résultats pour Tavimor (ne pas modifier la ligne suivante) :', resultsLine());
    return (
      'mailto:' + mailAddress(data.email) +
      '?subject=' + encodeURIComponent(subject) +
      '&body=' + encodeURIComponent(lines.join('\r\n'))
    );
  }

  // The results view's means to hand the results to the teacher.
  function resultsActions() {
    var status = el('p', { class: 'results-status', role: 'status' });
    var save = button('Enregistrer mes résultats', function () {
      saveResults(status);
    }, 'save-results');
    var items = [save];
    if (data.email) {
      var mail = el('a', { href: mailHref(), class: 'send-results' }, ['Envoyer mes résultats à l\'enseignant']);
      items.push(' ', mail);
    }
    return el('div', { class: 'results-actions' }, [el('p', {}, items), status]);
  }

  // ---- Readable colours --------------------------------------------------

  // The quiz's style sheet may give a text colour that reads badly on its
  // background (the start-up style makes the answer cells red on white).
  // Where the contrast falls below what WCAG asks (4.5:1, 3:1 for large
  // text), the colour is darkened (or lightened, on a dark background) just
  // enough, so that it keeps its hue.
  function rgbOf(colour) {
    var parts = /rgba?\(([^)]*)\)/.exec(colour);
    if (!parts) return null;
    var values = parts[1].split(/[\s,/]+/).filter(Boolean).map(parseFloat);
    return { rgb: values.slice(0, 3), alpha: values.length > 3 ? values[3] : 1 };
  }

  function luminance(rgb) {
    var linear = rgb.map(function (value) {
      var c = value / 255;
      return c <= 0.03928 ? c / 12.92 : Math.pow((c + 0.055) / 1.055, 2.4);
    });
    return 0.2126 * linear[0] + 0.7152 * linear[1] + 0.0722 * linear[2];
  }

  function contrast(a, b) {
    var la = luminance(a);
    var lb = luminance(b);
    return (Math.max(la, lb) + 0.05) / (Math.min(la, lb) + 0.05);
  }

  function backgroundOf(node) {
    for (var n = node; n && n.nodeType === 1; n = n.parentElement) {
      var found = rgbOf(getComputedStyle(n).backgroundColor);
      if (found && found.alpha > 0) return found.rgb;
    }
    return [255, 255, 255];
  }

  function mendContrast(nodes) {
    nodes.forEach(function (node) {
      var style = getComputedStyle(node);
      var text = rgbOf(style.color);
      if (!text) return;
      var size = parseFloat(style.fontSize);
      var large = size >= 24 || (size >= 18.66 && parseInt(style.fontWeight, 10) >= 700);
      var back = backgroundOf(node);
      var needed = large ? 3 : 4.5;
      if (contrast(text.rgb, back) >= needed) return;
      var target = contrast([0, 0, 0], back) >= contrast([255, 255, 255], back) ? 0 : 255;
      for (var step = 1; step <= 20; step++) {
        var mixed = text.rgb.map(function (value) {
          return Math.round(value + ((target - value) * step) / 20);
        });
        if (contrast(mixed, back) >= needed || step === 20) {
          node.style.color = 'rgb(' + mixed.join(', ') + ')';
          return;
        }
      }
    });
  }

  // ---- Moving between views ---------------------------------------------

  function record(index, answer) {
    state.answers[index] = answer;
    save();
  }

  var builders = {
    entry: entryView,
    question: questionView,
    end: endView,
    results: resultsView,
    feedback: feedbackView,
  };

  function navigation() {
    var items = [];
    if (state.mode === 1 || state.mode === 3) {
      items.push(button('Question précédente', previous, 'previous'), button('Question suivante', next, 'next'));
    }
    if (state.mode === 3 && state.view !== 'results') {
      var results = link('', showResults, '#resultats');
      results.append(el('img', { src: data.gifs.bRes, alt: '' }), ' Voir les résultats');
      items.push(results);
    }
    if (state.mode !== 0) {
      var restartButton = button('', restart, 'restart');
      restartButton.append(el('img', { src: data.gifs.Eval, alt: '' }), ' Recommencer');
      items.push(restartButton);
    }
    return items;
  }

  // Shows a view; moveFocus puts the keyboard focus on its heading, as a new
  // page would (not on the first showing, so that a reload leaves it alone).
  function show(view, moveFocus) {
    state.view = view;
    save();
    var built = builders[view]();
    main.replaceChildren.apply(main, built.nodes);
    nav.replaceChildren.apply(nav, navigation());
    nav.hidden = nav.childElementCount === 0;
    document.title = built.title + ' - ' + data.title;
    mendContrast(main.querySelectorAll('h2, table.choices td, .question-text, .page-text, .resum, .count'));
    if (built.after) built.after();
    if (moveFocus !== false) {
      var target = document.getElementById('view-heading');
      if (target) target.focus();
      window.scrollTo(0, 0);
    }
  }

  function wrap(number) {
    if (number < 1) return count;
    if (number > count) return 1;
    return number;
  }

  function previous() {
    state.curQ = wrap(state.curQ - 1);
    show(state.mode === 3 ? 'feedback' : 'question');
  }

  function next() {
    if (state.mode === 3) {
      state.curQ = wrap(state.curQ + 1);
      show('feedback');
    } else if (state.curQ + 1 > count) {
      state.curQ = 1;
      show('end');
    } else {
      state.curQ += 1;
      show('question');
    }
  }

  function comeBack() {
    state.curQ = 1;
    state.mode = 1;
    show('question');
  }

  function showResults() {
    show('results');
  }

  function showFeedback(number) {
    state.curQ = number;
    state.mode = 3;
    show('feedback');
  }

  function restart() {
    forget();
    state = freshState();
    show('entry');
  }

  function callHost(member, argument) {
    try {
      return window.TavimorHost[member](argument);
    } catch (e) {
      console.error('TavimorHost.' + member + ':', e);
      return undefined;
    }
  }

  // ---- Start -------------------------------------------------------------

  var banner = document.getElementById('quiz-banner');
  banner.append(el('img', { class: 'logo', src: data.gifs.KWZ, alt: 'produit par Tavimor' }));
  var title = block('h1', data.pages[0][0]);
  if (!title.textContent.trim()) title.textContent = data.title;
  banner.append(title);

  mendContrast([title]);

  var saved = restored();
  if (saved) state = saved;
  if (count === 0) state = freshState();
  show(state.view, false);
})();
