#include "generator/QuizScript.h"

#include "generator/DistinctTexts.h"
#include "generator/QuestionTexts.h"
#include "generator/SpecHTML.h"
#include "generator/TextBuffer.h"
#include "model/QuestModel.h"
#include "model/QuestionViews.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tavimor {

namespace {

// Feedback messages are stored, and compared, cut to this many characters.
constexpr std::size_t kMaxMessageLength = 255;

// The script's view of the page state. Each page that loads the script reads
// the hidden fields of the top frame again.
constexpr std::string_view kModeFunctions = R"JS(function loadTwo(page2, page3) {
	parent.menu.location.href = page2;
	parent.main.location.href = page3;
}

function setMode(n) {
	QMode = n;
	if (n == 2) getCGiven();
	dataForm.QModeD.value = QMode;
}

)JS";

// Each page load starts from the stored answers: a fresh quiz records empty
// strings, a running one (a reloaded menu frame included) restores its records
// from the hidden fields so that a later store does not lose earlier answers.
constexpr std::string_view kStartUp = R"JS(if (QMode == 0) {
	rString = "";
	cString = "";
	setAllValues();
} else {
	getCGiven();
}

)JS";

constexpr std::string_view kQuestionFunctions = R"JS(function setQTitle() {
	return "Question " + curQ;
}

function setQuestion(n) {
	Max = Q[curQ - 1].mChx;
	return Q[curQ - 1].text;
}

function setRChoix() {
	var q = Q[curQ - 1];
	if (q.qType == 2) return "";
	var s = "<TD valign=top>";
	for (var j = 0; j < Max; j++) {
		s += "<INPUT TYPE=radio NAME=\"RadChoix\" >" + "<!-- routine changed -->" + q.chx[j] + "<P>";
		if (q.rCols > 1) {
			s += "</TD>";
			if ((j + 1) % q.rCols == 0) s += "</TR><TR>";
			s += "<TD valign=top>";
		}
	}
	return s;
}

function resetChoix() {
	var f = parent.main.document.CForm;
	if (f != null && f.RadChoix != null) {
		var r = f.RadChoix;
		if (r.length == null) r = [r];
		for (var i = 0; i < r.length; i++) r[i].checked = false;
	}
	Q[curQ - 1].CGiven = -1;
	Q[curQ - 1].CertVal = 0;
)JS";

constexpr std::string_view kResetCertainty = "\tif (f != null && f.CertCheck != null) f.CertCheck.checked = false;";

// One radio button is not returned as a list, hence the wrapping into an
// array; a page without the answer form (the end page) records nothing; the
// blank first entry of a cloze list means "not answered".
constexpr std::string_view kNavigationFunctions = R"JS(
}

function showQuest(fName) {
	setAllValues();
	parent.main.location.href = fName;
}

function getPrevious() {
	if (QMode == 1) {
		getChoix();
		curQ = curQ - 1;
		if (curQ < 1) curQ = maxQ;
		showQuest("quest.htm");
	} else if (QMode == 3) {
		curQ = curQ - 1;
		if (curQ < 1) curQ = maxQ;
		dataForm.curQD.value = curQ;
		parent.main.location.href = "mess.htm";
	} else if (QMode == 2) {
		comeBack();
	}
}

function goNext() {
	if (QMode == 3) {
		curQ = parseInt(curQ, 10) + 1;
		if (curQ > maxQ) curQ = 1;
		dataForm.curQD.value = curQ;
		parent.main.location.href = "mess.htm";
	} else if (QMode == 1) {
		var page = "quest.htm";
		getChoix();
		curQ = parseInt(curQ, 10) + 1;
		if (curQ > maxQ) {
			page = "end.htm";
			parent.menu.location.href = "menu.htm";
			curQ = 1;
		}
		showQuest(page);
	} else if (QMode == 2) {
		comeBack();
	}
}

function getChoix() {
	var f = document.CForm;
	if (parent != null && parent.main != null) f = parent.main.document.CForm;
	if (f == null) return;
	var q = Q[curQ - 1];
	if (q.qType == 2) {
		var list = f.elements[0];
		if (list != null && list.selectedIndex != null) {
			q.CGiven = (list.selectedIndex > 0) ? list.selectedIndex : -1;
		}
	} else if (f.RadChoix != null) {
		var r = f.RadChoix;
		if (r.length == null) r = [r];
		for (var i = 0; i < r.length && i < q.mChx; i++) {
			if (r[i].checked) q.CGiven = i;
		}
	}
)JS";

constexpr std::string_view kChoixCertainty = "\tif (f.CertCheck != null) q.CertVal = (f.CertCheck.checked) ? 1 : 0;\n";

// The answers string keeps one character per question: the digits 0-9 for
// CGiven + 1 up to 9, then one character from "A" upward (code 55 + value),
// so that a choice past the ninth does not shift the later questions.
constexpr std::string_view kRecordFunctions = R"JS(}

function EvalNow() {
	if (QMode != 0) {
		getChoix();
		showQuest("quest.htm");
	}
}

function getCGiven() {
	if (rString != "") {
		for (var i = 0; i < maxQ; i++) {
			var r = 0;
			var c = 0;
			if (i < rString.length) {
				r = rString.charCodeAt(i);
				r = (r < 65) ? r - 48 : r - 55;
			}
			if (i < cString.length) c = cString.charCodeAt(i) - 48;
			Q[i].CGiven = r - 1;
			Q[i].CertVal = c;
		}
	}
}

function checkVisited() {
	if (QMode > 0) {
		getCGiven();
		var q = Q[curQ - 1];
		var f = document.CForm;
		if (f == null) return;
		if (q.CGiven > -1) {
			if (q.qType == 2) {
				if (f.elements[0] != null) f.elements[0].selectedIndex = q.CGiven;
			} else if (f.RadChoix != null) {
				var r = f.RadChoix;
				if (r.length == null) r = [r];
				if (q.CGiven < r.length) r[q.CGiven].checked = true;
			}
		}
		if (q.CertVal > 0 && f.CertCheck != null) f.CertCheck.checked = true;
	} else {
		QMode = 1;
		dataForm.QModeD.value = QMode;
	}
}

function showMess(n) {
	curQ = n + 1;
	setAllValues();
	parent.main.location.href = "mess.htm";
	QMode = 3;
	dataForm.QModeD.value = QMode;
	parent.menu.location.href = "menu.htm";
}

function getAnswer() {
	getCGiven();
	var q = Q[curQ - 1];
	if (q.CGiven < 0 || q.CGiven >= q.mChx) return "";
	return q.chx[q.CGiven];
}

function setMessage() {
	var q = Q[curQ - 1];
	var m = NAM;
	Evaluate(curQ - 1);
	if (q.ss) m = gMess[q.rq[1]];
	else if (q.CGiven > -1) m = bMess[q.rq[0]];
	return "<B>" + m + "</B>";
}

function getAllGood() {
	var n = 0;
	getCGiven();
	for (var i = 0; i < maxQ; i++) {
		if (Q[i].CGiven == Q[i].CGood) Q[i].ss = true;
		if (Q[i].ss) n++;
	}
	return n;
}

function comeBack() {
	dataForm.curQD.value = 1;
	curQ = 1;
	QMode = 1;
	dataForm.QModeD.value = QMode;
	parent.main.location.href = "quest.htm";
}

function loadMenu(n) {
	QMode = n;
	dataForm.QModeD.value = QMode;
	parent.menu.location.href = "menu.htm";
}

function getResults() {
	for (var i = 0; i < maxQ; i++) Evaluate(i);
	return doRTable();
}

function doTotal() {
	var n = 0;
	for (var i = 0; i < maxQ; i++) {
		if (Q[i].ss) n++;
	}
	return n;
}

function doTotalIC() {
	var total = 0;
	for (var i = 0; i < maxQ; i++) {
		var p = 0;
		if (Q[i].ss) p = (Q[i].CertVal > 0) ? 20 : 11;
		else if (Q[i].CGiven != -1) p = (Q[i].CertVal > 0) ? 0 : 9;
		Q[i].pnts = p;
		total += p;
	}
	return Math.round(total * 100 / (maxQ * 20)) + "%";
}

function Evaluate(n) {
	Q[n].ss = (Q[n].CGiven == Q[n].CGood);
}

function doRTable() {
	var s = "<TABLE CELLSPACING=2 ALIGN=CENTER BORDER=1>";
	s += "<TR BGCOLOR=\"WHITE\" ALIGN=CENTER>" + "<TH BGCOLOR=\"WHITE\" width=20> Q </TH>";
	for (var i = 0; i < maxQ; i++) {
		s += "<TD><TT><B>" + "<A HREF=\"javascript:showMess(" + i + ")\">" + (i + 1) + "</A></B></TT></TD>";
	}
	s += "</TR>";
	s += "<TR BGCOLOR=\"LIGHTGREY\" ALIGN=CENTER>" + "<TH BGCOLOR=\"WHITE\"> R </TH>";
	for (var j = 0; j < maxQ; j++) {
		var img = "<IMG SRC=\"bImg.gif\" BORDER=0>";
		if (Q[j].ss) img = "<IMG SRC=\"gImg.gif\" BORDER=0>";
		else if (Q[j].CGiven == -1) img = "<IMG SRC=\"nImg.gif\" BORDER=0>";
		s += "<TD ALIGN=CENTER>" + img + "</TD>";
	}
)JS";

constexpr std::string_view kTableCertainty
    = R"JS(	s += "<TR BGCOLOR=\"WHITE\" ALIGN=CENTER>" + "<TH BGCOLOR=\"WHITE\" width=20> IC </TH>";
	for (var k = 0; k < maxQ; k++) {
		s += "<TD><FONT COLOR=DARKGREEN><TT><B>" + Q[k].CertVal + "</B></TT></TD>";
	}
)JS";

// The student's name goes into the results page through document.write, so
// the characters that would start markup are written as entities.
constexpr std::string_view kStateFunctions = R"JS(	s += "</TR></TABLE>";
	return s;
}

function getSName() {
	var s = "" + dataForm.sNameD.value;
	s = s.replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/>/g, "&gt;").replace(/"/g, "&quot;");
	return s;
}

function fixRString() {
	var s = "";
	for (var i = 0; i < maxQ; i++) {
		var v = Q[i].CGiven + 1;
		if (v < 10) s += v;
		else s += String.fromCharCode(55 + v);
	}
	return s;
}

function fixCString() {
	var s = "";
	for (var i = 0; i < maxQ; i++) s += Q[i].CertVal;
	return s;
}

function setAllValues() {
	dataForm.curQD.value = curQ;
	rString = fixRString();
	dataForm.rStrD.value = rString;
	cString = fixCString();
	dataForm.cStrD.value = cString;
}

)JS";

constexpr std::string_view kSlashes = "//////////////////////////////////////////////////////////////////";
static_assert(kSlashes.size() == 66);

// The fixed parts of the script with the file's line ends, CR LF, made once:
// the whole script is built as the file holds it, so that its page is stored
// as it is made, without a pass over it for the line ends.
std::string WithCrLf(std::string_view lines)
{
    std::string text;
    text.reserve(lines.size() + lines.size() / 16);
    for (const char c : lines) {
        if (c == '\n')
            text += '\r';
        text += c;
    }
    return text;
}

struct FixedParts {
    std::string modeFunctions = WithCrLf(kModeFunctions);
    std::string startUp = WithCrLf(kStartUp);
    std::string questionFunctions = WithCrLf(kQuestionFunctions);
    std::string resetCertainty = WithCrLf(kResetCertainty);
    std::string navigationFunctions = WithCrLf(kNavigationFunctions);
    std::string choixCertainty = WithCrLf(kChoixCertainty);
    std::string recordFunctions = WithCrLf(kRecordFunctions);
    std::string tableCertainty = WithCrLf(kTableCertainty);
    std::string stateFunctions = WithCrLf(kStateFunctions);
};

const FixedParts& Fixed()
{
    static const FixedParts parts;
    return parts;
}

template <class Quests>
void WriteGlobals(TextBuffer& out, const Quests& quests, bool useCertainty, const std::string& resumBody)
{
    out += "var main= document\r\n"
           "if (parent != null) main=parent.main.document;\r\n"
           "var dataForm = parent.topMenu.dataForm;\r\n"
           "\r\n"
           "var Resum=\"";
    out.AppendJsText(resumBody);
    out += "\"\r\nvar maxQ=";
    out.AppendNumber(quests.Count());
    out += "\r\nvar curQ= dataForm.curQD.value;\r\n"
           "var QMode = dataForm.QModeD.value;\r\n"
           "var resultOn = false \r\n"
           "var maxPnts = ";
    out.AppendNumber(quests.TotalPoints());
    out += "\r\nvar NAM = \"";
    out.AppendJsEscape(quests.NoAnswerMess);
    out += "\"\r\nvar rString = dataForm.rStrD.value;\r\n"
           "var cString = dataForm.cStrD.value;\r\n";
    out += useCertainty ? "var ICertShow = true; \r\n" : "var ICertShow = false;\r\n";
    out += "\r\n";
}

// Feedback positions of each question (question order), one list per side.
using MessageIndex = std::array<std::vector<std::uint32_t>, 2>;

// Writes the two message arrays and returns, for each side, the position of
// each question's message in its array (question order). spill() may store
// and empty out between messages.
template <class Quests, class Spill> MessageIndex WriteMessages(TextBuffer& out, const Quests& quests, Spill spill)
{
    // The message of question n on one side as the bank knows it, after
    // what out holds: escaped, with its link, cut to its length. Returns
    // where it starts.
    const auto appendMessage = [&quests](TextBuffer& out, int n, int side) {
        const std::size_t start = out.Size();
        FeedbackPieces(quests, n, side, [&out](std::string_view piece) { out.AppendJsEscape(piece); });
        out.Truncate(start + kMaxMessageLength);
        return start;
    };
    const int count = quests.Count();
    std::array<DistinctTexts, 2> banks; // the distinct messages of each side
    MessageIndex messIndex;
    for (int side = 0; side < 2; ++side) {
        banks[side].Reserve(static_cast<std::size_t>(count));
        messIndex[side].reserve(static_cast<std::size_t>(count));
    }
    // The banks keep no text: each message is made in the first buffer,
    // and an earlier one with the same hash again in the second.
    std::array<TextBuffer, 2> made;
    const auto messageOf = [&](TextBuffer& buffer, std::uint32_t question, int side) {
        buffer.Clear();
        appendMessage(buffer, static_cast<int>(question), side);
        return buffer.View();
    };
    for (std::uint32_t n = 1; n <= static_cast<std::uint32_t>(count); ++n) {
        for (int side = 0; side < 2; ++side) {
            const auto earlier = [&](std::uint32_t question) { return messageOf(made[1], question, side); };
            messIndex[side].push_back(banks[side].Position(messageOf(made[0], n, side), n, earlier));
        }
    }

    out += "var maxBM = ";
    out.AppendNumber(static_cast<long long>(banks[0].Size()) - 1);
    out += "; var bMess = new Array(maxBM)\r\nvar maxGM = ";
    out.AppendNumber(static_cast<long long>(banks[1].Size()) - 1);
    out += "; var gMess = new Array(maxGM)\r\n";
    static constexpr std::array<std::string_view, 2> arrayNames {"bMess[", "gMess["};
    for (int side = 0; side < 2; ++side) {
        const DistinctTexts& bank = banks[side];
        for (std::size_t j = 0; j < bank.Size(); ++j) {
            out += arrayNames[side];
            out.AppendNumber(static_cast<long long>(j));
            out += "]=\"";
            // A cut through an escape leaves a lone backslash at the end,
            // which is dropped.
            const std::size_t start = appendMessage(out, static_cast<int>(bank.FirstOccurrence(j)), side);
            if (out.Size() > start && out.View().back() == '\\')
                out.Truncate(out.Size() - 1);
            out += "\"\r\n";
            spill();
        }
    }
    out += "\r\n";
    return messIndex;
}

// The record of question n.
template <class Quests>
void AppendQuestionRecord(TextBuffer& out, const Quests& quests, const MessageIndex& messIndex, int n)
{
    const std::size_t slot = static_cast<std::size_t>(n - 1);
    // "Q[k", written about fifteen times.
    char key[16] = "Q[";
    const auto keySize = static_cast<std::size_t>(std::to_chars(key + 2, key + sizeof key, n - 1).ptr - key);
    const auto addKey = [&out, &key, keySize] { out.AppendPrefix(key, keySize); };

    const TRepType type = quests.GetQType(n);
    const bool cloze = type == TRepType::rOList;
    const auto& reps = quests.GetReps(n - 1);
    // The blank first entry of a cloze list shifts every choice by one.
    const long long shift = cloze ? 1 : 0;

    addKey();
    out += "]= new TQuest()\r\n";
    addKey();
    out += "].text= \"";
    HtmlTextPieces(quests, n, [&out](std::string_view piece) { out.AppendJsText(piece); });
    out += "\"\r\n";

    addKey();
    out += "].qType =";
    out.AppendNumber(static_cast<int>(type));
    out += " ; ";
    addKey();
    out += "].mChx =";
    out.AppendNumber(static_cast<long long>(reps.size()) + shift);
    out += " ; ";
    addKey();
    out += "].chx = new Array(";
    addKey();
    out += "].mChx)\r\n";

    if (cloze) {
        addKey();
        out += "].chx[0] = \" \"\r\n";
    }
    for (std::size_t i = 0; i < reps.size(); ++i) {
        addKey();
        out += "].chx[";
        out.AppendNumber(static_cast<long long>(i) + shift);
        out += "] = \"";
        out.AppendJsText(reps[i]);
        out += "\"\r\n";
    }

    // 65535 (65536 for cloze) when no choice is marked: no answer equals it.
    addKey();
    out += "].CGood =";
    out.AppendNumber(static_cast<long long>(quests.GetGoodRep(n)) + shift);
    out += " ; ";
    addKey();
    out += "].CGiven =-1 ; ";
    addKey();
    out += "].rCols =";
    out.AppendNumber(quests.GetColumns(n));
    out += " ; ";
    addKey();
    out += "].rq = new Array(";
    out.AppendNumber(static_cast<long long>(messIndex[0][slot]));
    out += ',';
    out.AppendNumber(static_cast<long long>(messIndex[1][slot]));
    out += ")\r\n";

    addKey();
    out += "].pnts = ";
    out.AppendNumber(quests.GetPoints(n));
    out += " ; ";
    addKey();
    out += "].ss = false ; ";
    addKey();
    out += "].CertVal = 0 ; \r\n\r\n";
}

template <class Quests, class Spill>
void WriteQuestions(TextBuffer& out, const Quests& quests, const MessageIndex& messIndex, Spill spill)
{
    out += "var Q = new Array(maxQ -1)\r\n"
           "function TQuest(text, qType, mChx, chx, CGood, CGiven, rCols, rq, CertVal, pnts, ss){}\r\n"
           "\r\n";
    const int count = quests.Count();
    for (int n = 1; n <= count; ++n) {
        AppendQuestionRecord(out, quests, messIndex, n);
        spill();
    }
    out += "\r\n";
}

// The whole script into out; spill() may store and empty out between the
// messages and between the questions.
template <class Quests, class Spill>
void BuildScript(TextBuffer& out, const Quests& quests, bool useCertainty, const std::string& resumBody, Spill spill)
{
    const FixedParts& fixed = Fixed();
    WriteGlobals(out, quests, useCertainty, resumBody);
    out += fixed.modeFunctions;

    const auto messIndex = WriteMessages(out, quests, spill);
    out += "\r\n";

    WriteQuestions(out, quests, messIndex, spill);
    out += "\r\n";
    out += kSlashes;
    out += "\r\n";

    out += fixed.startUp;
    out += fixed.questionFunctions;
    // Without the certainty option the line stays, empty.
    if (useCertainty)
        out += fixed.resetCertainty;
    out += fixed.navigationFunctions;
    if (useCertainty)
        out += fixed.choixCertainty;
    out += fixed.recordFunctions;
    if (useCertainty)
        out += fixed.tableCertainty;
    out += fixed.stateFunctions;
}

// A generous estimate of the script's size, so that the text grows in place.
template <class Quests> std::size_t EstimatedSize(const Quests& quests)
{
    std::size_t size = 16384;
    const int count = quests.Count();
    for (int n = 1; n <= count; ++n) {
        const auto& quest = quests.Quest(n);
        std::size_t texts = quest.QText.size() + quest.Mess[0].size() + quest.Mess[1].size();
        for (const auto& rep : quest.Reps)
            texts += 2 * rep.size() + 48;
        size += 2 * texts + 320;
    }
    return size;
}

template <class Quests> std::string MakeScriptOf(const Quests& quests, bool useCertainty, const std::string& resumBody)
{
    TextBuffer out;
    out.Reserve(EstimatedSize(quests));
    BuildScript(out, quests, useCertainty, resumBody, [] {});
    return out.Take();
}

template <class Quests>
void WriteScriptOf(const std::string& path, const Quests& quests, bool useCertainty, const std::string& resumBody)
{
    PageWriter page(path, PageWriter::LineBreaks::CrLf, PageWriter::Length::Long);
    BuildScript(page.Text(), quests, useCertainty, resumBody, [&page] { page.Spill(); });
    page.Commit();
}

} // namespace

std::string TJSM::MakeScript(const TQuestList& quests, bool useCertainty, const std::string& resumBody) const
{
    return MakeScriptOf(quests, useCertainty, resumBody);
}

std::string TJSM::MakeScript(const TQuestViews& quests, bool useCertainty, const std::string& resumBody) const
{
    return MakeScriptOf(quests, useCertainty, resumBody);
}

void TJSM::WriteScript(
    const std::string& path, const TQuestList& quests, bool useCertainty, const std::string& resumBody) const
{
    WriteScriptOf(path, quests, useCertainty, resumBody);
}

void TJSM::WriteScript(
    const std::string& path, const TQuestViews& quests, bool useCertainty, const std::string& resumBody) const
{
    WriteScriptOf(path, quests, useCertainty, resumBody);
}

} // namespace tavimor
