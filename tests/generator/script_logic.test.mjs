// Runs a produced quiz script in node against fake frames and checks its logic.
// Usage: node script_logic.test.mjs SCRIPT.js
// The quiz behind the script (made by quiz_script_test.cpp):
//   Q[0] standard, 14 choices, correct choice index 12, two columns
//   Q[1] standard, a single choice, correct index 0
//   Q[2] cloze, 3 choices, correct choice 1 (list entry 2)
//   Q[3] true/false, correct index 0, own right-answer message
// The checks adapt to the certainty option read from the script (ICertShow).
import assert from 'node:assert/strict';
import fs from 'node:fs';
import vm from 'node:vm';

const scriptPath = process.argv[2];
if (!scriptPath) {
    console.error('usage: node script_logic.test.mjs SCRIPT.js');
    process.exit(2);
}
// The script is Windows-1252 text; latin1 keeps every byte as one character.
const source = fs.readFileSync(scriptPath, 'latin1');
const compiled = new vm.Script(source, { filename: scriptPath });

// The hidden state form of the top frame, as a fresh site holds it.
function freshFields() {
    return { sNameD: { value: '' }, curQD: { value: '1' }, QModeD: { value: '0' },
             rStrD: { value: '' }, cStrD: { value: '' } };
}

// A radio group as a form returns it: one button alone, several as a list.
function radios(count, checked = -1) {
    const list = [];
    for (let i = 0; i < count; i++) list.push({ checked: i === checked });
    return count === 1 ? list[0] : list;
}

// Loads the script into a frame. `mainDoc` is the document of the main frame,
// `ownDoc` that of the frame running the script (the menu frame by default).
function loadFrame(fields, mainDoc = {}, ownDoc = {}) {
    const parent = {
        topMenu: { dataForm: fields },
        main: { document: mainDoc, location: { href: '' } },
        menu: { location: { href: '' } },
    };
    const context = vm.createContext({ parent, document: ownDoc, Math, String, parseInt });
    compiled.runInContext(context);
    return context;
}

const failures = [];
function check(name, body) {
    try {
        body();
    } catch (error) {
        failures.push(`${name}: ${error.message}`);
    }
}

const probe = loadFrame(freshFields());
const certainty = probe.ICertShow;
const maxQ = probe.maxQ;

check('the quiz is the expected one', () => {
    assert.equal(maxQ, 4);
    assert.deepEqual([0, 1, 2, 3].map((i) => probe.Q[i].mChx), [14, 1, 4, 2]);
    assert.deepEqual([0, 1, 2, 3].map((i) => probe.Q[i].CGood), [12, 0, 2, 0]);
});

check('a fresh load stores empty answers', () => {
    const fields = freshFields();
    loadFrame(fields);
    assert.equal(fields.rStrD.value, '0000');
    assert.equal(fields.cStrD.value, '0000');
    assert.equal(String(fields.curQD.value), '1');
});

// Answers as stored by one frame and read back by a frame loaded afterwards.
function storeAnswers(given, certs) {
    const fields = freshFields();
    fields.QModeD.value = '1';
    const frame = loadFrame(fields);
    given.forEach((g, i) => { frame.Q[i].CGiven = g; frame.Q[i].CertVal = certs[i]; });
    frame.setAllValues();
    return fields;
}

check('one character per question, past the ninth choice too', () => {
    const fields = storeAnswers([12, 0, 2, -1], [1, 0, 1, 0]);
    assert.equal(fields.rStrD.value, 'D130');
    assert.equal(fields.cStrD.value, '1010');
    const again = loadFrame(fields);
    assert.deepEqual([0, 1, 2, 3].map((i) => again.Q[i].CGiven), [12, 0, 2, -1]);
    assert.deepEqual([0, 1, 2, 3].map((i) => again.Q[i].CertVal), [1, 0, 1, 0]);
    for (const g of [8, 9, 10, 13]) {
        const f = storeAnswers([g, 0, 1, 1], [0, 0, 0, 0]);
        assert.equal(f.rStrD.value.length, 4, `CGiven ${g}`);
        assert.equal(loadFrame(f).Q[0].CGiven, g);
        assert.equal(loadFrame(f).Q[3].CGiven, 1);
    }
});

check('getChoix reads a list of radio buttons, one button alone and the cloze list', () => {
    const fields = freshFields();
    fields.QModeD.value = '1';
    const mainDoc = { CForm: { RadChoix: radios(14, 12), CertCheck: { checked: true } } };
    mainDoc.CForm.elements = [mainDoc.CForm.RadChoix[0]];
    const frame = loadFrame(fields, mainDoc);
    frame.getChoix();
    assert.equal(frame.Q[0].CGiven, 12);
    assert.equal(frame.Q[0].CertVal, certainty ? 1 : 0);

    frame.curQ = 2;
    mainDoc.CForm = { RadChoix: radios(1, 0), CertCheck: { checked: false } };
    frame.getChoix();
    assert.equal(frame.Q[1].CGiven, 0);

    frame.curQ = 3;
    const list = { selectedIndex: 2 };
    mainDoc.CForm = { elements: [list], CertCheck: { checked: false } };
    frame.getChoix();
    assert.equal(frame.Q[2].CGiven, 2);
    list.selectedIndex = 0; // back on the blank entry: not answered
    frame.getChoix();
    assert.equal(frame.Q[2].CGiven, -1);
});

check('getChoix on a page without the answer form changes nothing', () => {
    const fields = storeAnswers([12, 0, 2, 0], [0, 0, 0, 0]);
    const mainDoc = { NForm: {} }; // the end page
    const frame = loadFrame(fields, mainDoc);
    frame.getChoix();
    frame.goNext();
    assert.equal(fields.rStrD.value, 'D131');
    assert.equal(frame.parent.main.location.href, 'quest.htm');
    assert.equal(String(fields.curQD.value), '2');
});

check('checkVisited ticks the stored answer, one radio button alone too', () => {
    const fields = storeAnswers([12, 0, 2, -1], [0, 1, 0, 0]);
    fields.curQD.value = '2';
    const doc = { CForm: { RadChoix: radios(1), CertCheck: { checked: false } } };
    loadFrame(fields, doc, doc).checkVisited();
    assert.equal(doc.CForm.RadChoix.checked, true);
    assert.equal(doc.CForm.CertCheck.checked, true);

    fields.curQD.value = '1';
    doc.CForm = { RadChoix: radios(14) };
    loadFrame(fields, doc, doc).checkVisited();
    assert.equal(doc.CForm.RadChoix[12].checked, true);

    fields.curQD.value = '3';
    const list = { selectedIndex: 0 };
    doc.CForm = { elements: [list] };
    loadFrame(fields, doc, doc).checkVisited();
    assert.equal(list.selectedIndex, 2);
});

check('a reloaded menu keeps the answers of the first pass', () => {
    const fields = storeAnswers([12, 0, 2, 1], [0, 0, 0, 0]);
    // Past the last question the menu frame was reloaded; "revoir les questions"
    // then shows question 1 again and the student moves on.
    fields.curQD.value = '1';
    const mainDoc = { CForm: { RadChoix: radios(14, 12) } };
    const menu = loadFrame(fields, mainDoc);
    menu.goNext();
    assert.equal(fields.rStrD.value, 'D132');
    assert.equal(String(fields.curQD.value), '2');
});

check('going past the last question shows the end page and reloads the menu', () => {
    const fields = storeAnswers([12, 0, 2, 1], [0, 0, 0, 0]);
    fields.curQD.value = '4';
    const mainDoc = { CForm: { RadChoix: radios(2, 0) } };
    const menu = loadFrame(fields, mainDoc);
    menu.goNext();
    assert.equal(menu.parent.main.location.href, 'end.htm');
    assert.equal(menu.parent.menu.location.href, 'menu.htm');
    assert.equal(String(fields.curQD.value), '1');
    assert.equal(fields.rStrD.value, 'D131');
    // Back from the first question wraps to the last; the end page has no form.
    mainDoc.CForm = undefined;
    menu.getPrevious();
    assert.equal(String(fields.curQD.value), '4');
});

// The results page: getAllGood, then doTotalIC and doRTable.
function results(given, certs) {
    const fields = storeAnswers(given, certs);
    const page = loadFrame(fields);
    const good = page.getAllGood();
    return { good, rate: page.doTotalIC(), table: page.doRTable(), page };
}

check('certainty-weighted rate', () => {
    const right = [12, 0, 2, 0];
    const wrong = [3, -1, 1, 1];
    assert.equal(results(right, [1, 1, 1, 1]).rate, '100%');
    assert.equal(results(right, [0, 0, 0, 0]).rate, '55%');
    assert.equal(results([3, 5, 3, 1], [0, 0, 0, 0]).rate, '45%');
    assert.equal(results([-1, -1, -1, -1], [1, 1, 1, 1]).rate, '0%');
    // right with certainty 20, right without 11, wrong with certainty 0, unanswered 0
    assert.equal(results([12, 0, 1, -1], [1, 0, 1, 0]).rate, `${Math.round(31 * 100 / 80)}%`);
    assert.equal(results(wrong, [0, 0, 0, 0]).good, 0);
});

check('results table', () => {
    const { good, table } = results([12, -1, 1, 0], [1, 0, 0, 1]);
    assert.equal(good, 2);
    const cells = [...table.matchAll(/<TD ALIGN=CENTER><IMG SRC="(\w+)\.gif" BORDER=0><\/TD>/g)].map((m) => m[1]);
    assert.deepEqual(cells, ['gImg', 'nImg', 'bImg', 'gImg']);
    assert.ok(table.startsWith('<TABLE CELLSPACING=2 ALIGN=CENTER BORDER=1><TR BGCOLOR="WHITE" ALIGN=CENTER>'));
    assert.ok(table.includes('<TD><TT><B><A HREF="javascript:showMess(3)">4</A></B></TT></TD></TR>'));
    assert.ok(table.endsWith('</TR></TABLE>'));
    const ic = table.includes('> IC </TH>');
    assert.equal(ic, certainty);
    if (certainty) assert.ok(table.includes('<TD><FONT COLOR=DARKGREEN><TT><B>1</B></TT></TD></TR></TABLE>'));
});

check('feedback page messages and answers', () => {
    const fields = storeAnswers([12, -1, 1, 0], [0, 0, 0, 0]);
    const page = (n) => { fields.curQD.value = String(n); return loadFrame(fields); };
    assert.equal(page(1).setMessage(), `<B>${probe.gMess[0]}</B>`);
    assert.equal(page(2).setMessage(), `<B>${probe.NAM}</B>`);
    assert.equal(page(3).setMessage(), `<B>${probe.bMess[0]}</B>`);
    assert.equal(page(4).setMessage(), '<B>Exact (au niveau de la mer).</B>');
    assert.equal(page(1).getAnswer(), 'Choix 13');
    assert.equal(page(2).getAnswer(), '');
    assert.equal(page(3).getAnswer(), 'ville');
});

check('the student name is escaped', () => {
    const fields = freshFields();
    fields.sNameD.value = '<b>"Tom" & Co</b>';
    assert.equal(loadFrame(fields).getSName(), '&lt;b&gt;&quot;Tom&quot; &amp; Co&lt;/b&gt;');
});

check('choices in columns end with an opened, empty cell', () => {
    const fields = freshFields();
    fields.QModeD.value = '1';
    const frame = loadFrame(fields);
    frame.setQuestion();
    const cells = frame.setRChoix();
    const radio = '<INPUT TYPE=radio NAME="RadChoix" ><!-- routine changed -->';
    assert.ok(cells.startsWith(`<TD valign=top>${radio}Choix 1<P></TD><TD valign=top>${radio}Choix 2<P></TD></TR><TR>`));
    assert.ok(cells.endsWith(`${radio}Choix 14<P></TD></TR><TR><TD valign=top>`));
    frame.curQ = 3;
    frame.setQuestion();
    assert.equal(frame.setRChoix(), '');
});

check('the results link opens the feedback pages, the arrows wrap round them', () => {
    const fields = storeAnswers([12, -1, 1, 0], [0, 0, 0, 0]);
    const page = loadFrame(fields);
    page.showMess(3);
    assert.equal(String(fields.curQD.value), '4');
    assert.equal(String(fields.QModeD.value), '3');
    assert.equal(page.parent.main.location.href, 'mess.htm');
    const menu = loadFrame(fields);
    menu.goNext();
    assert.equal(String(fields.curQD.value), '1');
    menu.getPrevious();
    assert.equal(String(fields.curQD.value), '4');
    assert.equal(fields.rStrD.value, 'D021');
});

if (failures.length) {
    console.error(`${scriptPath}:\n  ${failures.join('\n  ')}`);
    process.exit(1);
}
console.log(`${scriptPath}: script logic checks passed (certainty ${certainty ? 'on' : 'off'})`);
