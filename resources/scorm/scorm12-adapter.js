// Connects the self-contained quiz to a learning platform through the SCORM
// 1.2 run-time API, when the page finds one. Placed before the quiz's own
// script, it offers window.TavimorHost: the student's name from the platform
// for the entry field, and the results sent back as score, status and one
// interaction per question. Without a platform it defines nothing and the
// quiz runs on its own.
(function () {
  'use strict';

  // The pass mark in percent; the package writer sets it. A mastery score
  // the platform gives for the activity takes precedence.
  var PASS_MARK = 50;
  // How many parent windows are searched before giving up.
  var MAX_PARENTS = 10;

  // The API object of win or of one of its parents. A window of another
  // origin cannot be read: the search ends there.
  function searchUp(win) {
    for (var depth = 0; win && depth <= MAX_PARENTS; depth++) {
      try {
        if (win.API) return win.API;
      } catch (e) {
        return null;
      }
      if (!win.parent || win.parent === win) return null;
      win = win.parent;
    }
    return null;
  }

  function findApi() {
    var api = searchUp(window);
    if (!api && window.opener) api = searchUp(window.opener);
    return api;
  }

  var api = findApi();
  if (!api || String(api.LMSInitialize('')) !== 'true') return;

  var startedAt = Date.now();
  var finished = false;

  function get(element) {
    var value = api.LMSGetValue(element);
    return value === null || value === undefined ? '' : String(value);
  }

  function set(element, value) {
    api.LMSSetValue(element, String(value));
  }

  if (get('cmi.core.lesson_status') === 'not attempted') set('cmi.core.lesson_status', 'incomplete');

  // Platforms give "Last, First": the quiz shows "First Last".
  function displayName(lmsName) {
    var comma = lmsName.indexOf(',');
    if (comma < 0) return lmsName.trim();
    var last = lmsName.slice(0, comma).trim();
    var first = lmsName.slice(comma + 1).trim();
    return first && last ? first + ' ' + last : first || last;
  }

  function passMark() {
    var mastery = get('cmi.student_data.mastery_score');
    var value = mastery === '' ? NaN : Number(mastery);
    return value >= 0 && value <= 100 ? value : PASS_MARK;
  }

  // The text of the chosen answer, as the results page shows it ('' when
  // there is none), within the 255 characters a SCORM 1.2 value holds.
  function responseText(response) {
    return String(response === null || response === undefined ? '' : response).slice(0, 255);
  }

  // HHHH:MM:SS.SS
  function timespan(ms) {
    var seconds = Math.floor(ms / 1000);
    var pad = function (n, width) {
      var text = String(n);
      while (text.length < width) text = '0' + text;
      return text;
    };
    return (
      pad(Math.min(9999, Math.floor(seconds / 3600)), 4) + ':' + pad(Math.floor(seconds / 60) % 60, 2) + ':' +
      pad(seconds % 60, 2) + '.00'
    );
  }

  function finish() {
    if (finished) return;
    finished = true;
    set('cmi.core.session_time', timespan(Date.now() - startedAt));
    api.LMSCommit('');
    api.LMSFinish('');
  }

  window.TavimorHost = {
    studentName: function () {
      var name = displayName(get('cmi.core.student_name'));
      return name === '' ? null : name;
    },
    onResults: function (detail) {
      if (finished) return;
      var score = detail.weightedPercent === null || detail.weightedPercent === undefined
        ? detail.scorePercent
        : detail.weightedPercent;
      set('cmi.core.score.min', 0);
      set('cmi.core.score.max', 100);
      set('cmi.core.score.raw', score);
      set('cmi.core.lesson_status', score >= passMark() ? 'passed' : 'failed');
      detail.questions.forEach(function (question, i) {
        var record = 'cmi.interactions.' + i + '.';
        set(record + 'id', 'Q' + question.number);
        set(record + 'type', 'choice');
        set(record + 'student_response', responseText(question.response));
        set(record + 'result', question.correct ? 'correct' : 'wrong');
      });
      api.LMSCommit('');
    },
  };

  window.addEventListener('pagehide', finish);
  window.addEventListener('unload', finish);
})();
