#include "analysis/ClassReport.h"

#include "analysis/Calibration.h"
#include "analysis/ItemStatistics.h"
#include "analysis/QuestionReview.h"
#include "analysis/ReportCharts.h"
#include "analysis/ReportMarkup.h"
#include "base/Cp1252.h"
#include "base/FileIo.h"
#include "generator/InlineData.h"
#include "generator/PlainText.h"

#include <algorithm>
#include <cctype>
#include <unordered_set>
#include <vector>

namespace tavimor {
namespace {

constexpr std::size_t kQuestionChars = 70;
constexpr std::size_t kChoiceChars = 40;
// A chart of this many rows still fits an A4 page.
constexpr std::size_t kCalibrationRowsPerChart = 25;

// The page's one style block; its policy names it by its hash.
constexpr std::string_view kStyle = R"(
:root { color-scheme: light; }
body { font-family: "DejaVu Sans", "Liberation Sans", Arial, sans-serif; color: #1a1a1a; background: #fff;
  max-width: 62rem; margin: 0 auto; padding: 1rem 1.5rem 2rem; line-height: 1.4; }
h1 { font-size: 1.6rem; margin: 0; }
h2 { font-size: 1.25rem; border-bottom: 2px solid #2f5f8f; padding-bottom: .15rem; margin: 1.8rem 0 .6rem;
  break-after: avoid; }
h3 { font-size: 1.05rem; margin: 1.1rem 0 .4rem; break-after: avoid; }
p { margin: .4rem 0; }
.quiz { font-size: 1.25rem; margin: .2rem 0; }
.note { color: #3d3d3d; font-size: .9rem; }
table { border-collapse: collapse; margin: .5rem 0 1rem; font-size: .9rem; }
caption { text-align: left; font-weight: bold; padding: .2rem 0; }
th, td { border: 1px solid #a9b7c6; padding: .25rem .5rem; vertical-align: top; text-align: left; }
thead th { background: #e6edf5; }
thead { display: table-header-group; }
.n { text-align: right; font-variant-numeric: tabular-nums; }
td.n { white-space: nowrap; }
tr, figure, .bloc, dl { break-inside: avoid; }
figure { margin: .6rem 0 1rem; }
figcaption { font-size: .9rem; color: #3d3d3d; }
svg { display: block; width: 100%; max-width: 44rem; height: auto; }
svg text { font-size: 12px; fill: #1a1a1a; }
svg .titre-axe { font-weight: bold; }
svg .axe { stroke: #1a1a1a; }
svg .grille { stroke: #d3dae2; }
svg .barre, svg .certaines { fill: #2f5f8f; }
svg .incertaines { stroke: #2f5f8f; }
svg .fond-hachures { fill: #dce7f3; }
svg .hachure { stroke: #2f5f8f; stroke-width: 2; }
svg .moitie { stroke: #a4161a; stroke-width: 2; stroke-dasharray: 6 4; }
svg .aucune { font-style: italic; fill: #4a4a4a; }
ul.reponses { list-style: none; margin: 0; padding: 0; }
.bonne { font-weight: bold; }
.sr { position: absolute; width: 1px; height: 1px; margin: -1px; padding: 0; overflow: hidden;
  clip: rect(0 0 0 0); white-space: nowrap; border: 0; }
dl.definitions { font-size: .9rem; display: grid; grid-template-columns: max-content 1fr; gap: .15rem .8rem; }
dl.definitions dt { font-weight: bold; }
dl.definitions dd { margin: 0; }
@page { size: A4; margin: 14mm 12mm; }
@media print {
  body { max-width: none; padding: 0; font-size: 10pt; }
  h2 { margin-top: 1.2rem; }
  table { font-size: 9pt; }
}
)";

// A French text of this file (Windows-1252) as the page shows it, its
// blanks before ":", ";", "?", "!", "%" and "»" and after "«" made no-break
// spaces, so that no line starts with a sign or a unit.
std::string Fr(std::string_view cp1252)
{
    std::string text(cp1252);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const char previous = i > 0 ? text[i - 1] : '\0';
        if (text[i] == ' '
            && (std::string_view(":;?!%\xBB").find(next) != std::string_view::npos || previous == '\xAB'))
            text[i] = '\xA0';
    }
    return Shown(text);
}

// A name as a French reader sorts it: case and accents aside.
std::string SortKey(std::string_view cp1252)
{
    // The base letter of each byte from 0xC0 on.
    static constexpr std::string_view kFolded = "aaaaaaaceeeeiiiidnooooo*ouuuuytsaaaaaaaceeeeiiiidnooooo/ouuuuyty";
    std::string key;
    for (const char c : cp1252) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 0xC0)
            key += kFolded[byte - 0xC0];
        else if (byte == 0x8C || byte == 0x9C)
            key += "oe";
        else
            key += static_cast<char>(std::tolower(byte));
    }
    return key;
}

// The students counted, in the order of their names.
std::vector<const TStudentResult*> ByName(const TClassResults& results)
{
    std::vector<const TStudentResult*> students;
    for (const TStudentResult& student : results.Students)
        students.push_back(&student);
    std::stable_sort(students.begin(), students.end(),
        [](const TStudentResult* a, const TStudentResult* b) { return SortKey(a->Student) < SortKey(b->Student); });
    return students;
}

// "0 élève" and "1 élève", as French says them; "2 élèves".
std::string Count(int count, std::string_view one, std::string_view many)
{
    return std::to_string(count) + " " + Fr(count < 2 ? one : many);
}

std::string StudentsText(std::size_t students)
{
    return Count(static_cast<int>(students), "\xE9l\xE8ve", "\xE9l\xE8ves");
}

// "3 sur 4 (75 %)", or "aucune" when there is nothing to count.
std::string PartText(int part, int whole)
{
    if (whole == 0)
        return "aucune";
    return std::to_string(part) + " sur " + std::to_string(whole) + " (" + PercentText(ShareOf(part, whole), 0) + ")";
}

std::string Duration(long long seconds)
{
    const long long minutes = seconds / 60;
    const auto twoDigits = [](long long value) { return (value < 10 ? "0" : "") + std::to_string(value); };
    if (minutes >= 60)
        return std::to_string(minutes / 60) + kNoBreakSpace + "h" + kNoBreakSpace + twoDigits(minutes % 60);
    return std::to_string(minutes) + kNoBreakSpace + "min" + kNoBreakSpace + twoDigits(seconds % 60) + kNoBreakSpace
        + "s";
}

std::string Cell(std::string_view content, bool number = false)
{
    return std::string(number ? "<td class=\"n\">" : "<td>") + std::string(content) + "</td>";
}

// A table's head: the column names (already markup) and the class of each.
std::string TableHead(std::string_view caption, const std::vector<std::pair<std::string, bool>>& columns)
{
    std::string html = "<table>\n<caption>" + std::string(caption) + "</caption>\n<thead><tr>";
    for (const auto& [name, number] : columns)
        html += std::string(number ? "<th scope=\"col\" class=\"n\">" : "<th scope=\"col\">") + name + "</th>";
    return html + "</tr></thead>\n<tbody>\n";
}

std::string QuizTitle(const TQuizDocument& doc, std::string_view quizName)
{
    const std::string title = PlainTextUtf8(doc.Pages.GetTitle(0));
    if (!title.empty())
        return Escaped(title);
    if (!quizName.empty())
        return Shown(quizName);
    return Fr("Quiz sans titre");
}

// A choice's letter: A to Z, then its number.
std::string ChoiceLetter(std::size_t choice)
{
    return choice < 26 ? std::string(1, static_cast<char>('A' + choice)) : std::to_string(choice + 1);
}

std::string ChoiceMention(const TQuest& quest, std::size_t choice)
{
    const std::string text = choice < quest.Reps.size() ? PlainTextUtf8(quest.Reps[choice]) : std::string();
    return ChoiceLetter(choice) + kNoBreakSpace + Fr("\xAB") + kNoBreakSpace
        + Escaped(ShortenedUtf8(text, kChoiceChars)) + kNoBreakSpace + Fr("\xBB");
}

std::string QuestionStart(const TQuest& quest)
{
    return Escaped(ShortenedUtf8(PlainTextUtf8(quest.QText), kQuestionChars));
}

std::string Head(const std::string& title)
{
    return "<!DOCTYPE html>\n<html lang=\"fr\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src "
        + CspHashSource(kStyle)
        + "; base-uri 'none'; form-action 'none'\">\n"
          "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>"
        + Fr("R\xE9sultats de la classe \x96 ") + title + "</title>\n<style>" + std::string(kStyle)
        + "</style>\n</head>\n";
}

std::string ClassSection(const TClassStatistics& stats)
{
    const auto rate = [](const std::optional<double>& value) { return PercentText(value, 1); };
    std::string html = "<section aria-labelledby=\"classe\">\n<h2 id=\"classe\">" + Fr("La classe") + "</h2>\n";
    html += TableHead(Fr("Taux pond\xE9r\xE9 des \xE9l\xE8ves"),
        {{Fr("\xC9l\xE8ves"), true}, {"Moyenne", true},
            {Fr("M\xE9"
                "diane"),
                true},
            {Fr("\xC9"
                "cart-type"),
                true}});
    html += "<tr>" + Cell(std::to_string(stats.Students), true) + Cell(rate(stats.MeanRate), true)
        + Cell(rate(stats.MedianRate), true) + Cell(rate(stats.RateStandardDeviation), true) + "</tr>\n";
    html += "</tbody></table>\n<figure>\n";
    html += HistogramSvg(stats.RateHistogram, "histogramme",
        Cp1252ToUtf8ResolvingReferences("Histogramme des taux pond\xE9r\xE9s : nombre d'\xE9l\xE8ves par "
                                        "tranche de 10 % du taux"));
    html += "\n<figcaption>"
        + Fr("Nombre d'\xE9l\xE8ves par tranche de 10 % du taux pond\xE9r\xE9 (un taux \xE9gal "
             "\xE0 une borne compte dans la tranche au-dessus, 100 % dans la derni\xE8re).")
        + "</figcaption>\n</figure>\n";
    std::vector<std::pair<std::string, bool>> columns {{Fr("Tranche (%)"), false}};
    for (std::size_t bin = 0; bin < kRateBins; ++bin)
        columns.push_back({std::to_string(bin * 10) + Fr("\x96") + std::to_string(bin * 10 + 10), true});
    html += TableHead(Fr("\xC9l\xE8ves par tranche de taux pond\xE9r\xE9"), columns) + "<tr><th scope=\"row\">"
        + Fr("\xC9l\xE8ves") + "</th>";
    for (const std::size_t count : stats.RateHistogram)
        html += Cell(std::to_string(count), true);
    return html + "</tr>\n</tbody></table>\n</section>\n";
}

// The record lines of some students, to tell a record among them at once.
std::unordered_set<std::string_view> LinesOf(const std::vector<TStudentResult>& students)
{
    std::unordered_set<std::string_view> lines;
    for (const TStudentResult& student : students)
        lines.insert(student.Record.Line);
    return lines;
}

std::string StudentName(const TStudentResult& student, const std::unordered_set<std::string_view>& altered)
{
    std::string name = Shown(student.Student);
    if (student.Attempts > 1)
        name += " (" + std::to_string(student.Attempts) + " essais)";
    if (altered.contains(student.Record.Line))
        name += Fr(" \x96 modifi\xE9 apr\xE8s coup");
    return name;
}

std::string StudentsTable(const TClassResults& results)
{
    const std::unordered_set<std::string_view> altered = LinesOf(results.Altered);
    std::string html = TableHead(Fr("R\xE9sultats des \xE9l\xE8ves"),
        {{Fr("\xC9l\xE8ve"), false}, {Fr("Bonnes r\xE9ponses"), true}, {Fr("Taux pond\xE9r\xE9"), true},
            {Fr("Dur\xE9"
                "e"),
                true}});
    for (const TStudentResult* student : ByName(results))
        html += "<tr><th scope=\"row\">" + StudentName(*student, altered) + "</th>"
            + Cell(std::to_string(student->Right) + " sur " + std::to_string(results.QuestionCount), true)
            + Cell(PercentText(student->RatePercent / 100, 1), true) + Cell(Duration(student->Seconds), true)
            + "</tr>\n";
    return html + "</tbody></table>\n";
}

std::string AlteredPart(const TClassResults& results)
{
    if (results.Altered.empty())
        return {};
    // Counted only when asked for, corrected from the quiz.
    const std::unordered_set<std::string_view> counted = LinesOf(results.Students);
    std::string html = "<h3>" + Fr("R\xE9sultats modifi\xE9s apr\xE8s coup") + "</h3>\n<p>"
        + Fr("Ces r\xE9sultats ont \xE9t\xE9 chang\xE9s apr\xE8s que la page du quiz les a \xE9"
             "crits. La valeur "
             "de contr\xF4le de chaque r\xE9sultat rend visibles les d\xE9g\xE2ts accidentels et les retouches "
             "ordinaires d'un fichier, mais elle ne peut pas arr\xEAter un \xE9l\xE8ve d\xE9termin\xE9, qui peut "
             "la recalculer.")
        + "</p>\n";
    html += TableHead(Fr("R\xE9sultats modifi\xE9s apr\xE8s coup"),
        {{"Fichier", false}, {Fr("\xC9l\xE8ve"), false}, {Fr("Ce qui ne correspond pas"), false},
            {Fr("Compt\xE9"), false}});
    for (const TStudentResult& altered : results.Altered)
        html += "<tr>" + Cell(Shown(altered.File)) + Cell(Shown(altered.Student))
            + Cell(Fr(altered.Record.CheckMatches ? "les notes inscrites ne sont pas celles des r\xE9ponses donn\xE9"
                                                    "es"
                                                  : "la valeur de contr\xF4le"))
            + Cell(Fr(counted.contains(altered.Record.Line) ? "oui, corrig\xE9 d'apr\xE8s le quiz" : "non"))
            + "</tr>\n";
    return html + "</tbody></table>\n";
}

std::string RefusedPart(const TClassResults& results)
{
    if (results.Refused.empty())
        return {};
    std::string html = "<h3>" + Fr("Fichiers non compt\xE9s") + "</h3>\n";
    html += TableHead(Fr("Fichiers non compt\xE9s et pourquoi"), {{"Fichier", false}, {"Raison", false}});
    for (const TRefusedFile& refused : results.Refused)
        html += "<tr>" + Cell(Shown(refused.File)) + Cell(Shown(refused.Reason)) + "</tr>\n";
    return html + "</tbody></table>\n";
}

std::string StudentsSection(const TClassResults& results)
{
    std::string html = "<section aria-labelledby=\"eleves\">\n<h2 id=\"eleves\">" + Fr("Les \xE9l\xE8ves") + "</h2>\n";
    if (results.Students.empty())
        html += "<p>" + Fr("Aucun r\xE9sultat n'a pu \xEAtre compt\xE9 pour ce quiz.") + "</p>\n";
    else
        html += StudentsTable(results);
    if (results.Copies > 0)
        html += "<p>" + std::to_string(results.Copies)
            + Fr(" r\xE9sultat(s) re\xE7u(s) en double, compt\xE9(s) une seule fois.") + "</p>\n";
    return html + AlteredPart(results) + RefusedPart(results) + "</section>\n";
}

std::string StatisticsTable(const TQuizDocument& doc, const std::vector<TItemStatistics>& items)
{
    std::string html = TableHead(Fr("Statistiques des questions"),
        {{Fr("N\xB0"), true},
            {Fr("D\xE9"
                "but du texte"),
                false},
            {Fr("Facilit\xE9"), true},
            {Fr("\xC9"
                "cart-type"),
                true},
            {"Indice de discrimination", true}, {Fr("Efficacit\xE9 discriminante"), true}, {"Poids effectif", true}});
    for (int n = 1; n <= doc.Quests.Count(); ++n) {
        const TItemStatistics item
            = static_cast<std::size_t>(n) <= items.size() ? items[static_cast<std::size_t>(n - 1)] : TItemStatistics {};
        const auto percent = [](const std::optional<double>& value) {
            return value ? FigureText(value, 1) + kNoBreakSpace + "%" : std::string(kNoFigure);
        };
        html += "<tr><th scope=\"row\" class=\"n\">" + std::to_string(n) + "</th>"
            + Cell(QuestionStart(doc.Quests.Quest(n))) + Cell(FigureText(item.Facility, 3), true)
            + Cell(FigureText(item.StandardDeviation, 3), true) + Cell(percent(item.DiscriminationIndex), true)
            + Cell(percent(item.DiscriminativeEfficiency), true) + Cell(percent(item.EffectiveWeight), true)
            + "</tr>\n";
    }
    return html + "</tbody></table>\n";
}

std::string Definitions()
{
    const std::pair<const char*, const char*> terms[] = {
        {"Facilit\xE9", "la note moyenne de la question, de 0 (personne ne l'a r\xE9ussie) \xE0 1 (tout le monde)."},
        {"\xC9"
         "cart-type",
            "la dispersion des notes de la question."},
        {"Indice de discrimination",
            "la corr\xE9lation, en %, entre la note de la question et celle du reste du test : \xE9lev\xE9 quand "
            "les \xE9l\xE8ves qui r\xE9ussissent le reste du test r\xE9ussissent aussi cette question."},
        {"Efficacit\xE9 discriminante", "cet indice rapport\xE9 au plus haut qu'il pourrait atteindre avec ces notes."},
        {"Poids effectif", "la part que prend la question dans le classement des \xE9l\xE8ves."},
        {"\x97",
            "un chiffre qui ne peut pas \xEAtre calcul\xE9 (trop peu d'\xE9l\xE8ves, ou tous ont eu la "
            "m\xEAme note)."},
    };
    std::string html = "<dl class=\"definitions\">\n";
    for (const auto& [term, definition] : terms)
        html += "<dt>" + Fr(term) + "</dt><dd>" + Fr(definition) + "</dd>\n";
    return html + "</dl>\n";
}

std::string ChoiceItem(const TQuest& quest, const TAnswerCounts& counts, std::size_t choice, int students, bool right)
{
    std::string html = right ? "<li class=\"bonne\">" : "<li>";
    html += ChoiceMention(quest, choice) + Fr(" : ") + PercentText(ShareOf(counts.Chosen[choice], students), 0) + " ("
        + std::to_string(counts.Chosen[choice]) + ")";
    if (right)
        html += " <span aria-hidden=\"true\">&#10003;</span><span class=\"sr\">" + Fr("bonne r\xE9ponse") + "</span>";
    return html + "</li>";
}

std::string AnswersTable(
    const TQuizDocument& doc, const std::vector<TAnswerCounts>& counts, bool certainty, std::size_t studentCount)
{
    const int students = static_cast<int>(studentCount);
    std::vector<std::pair<std::string, bool>> columns {{Fr("N\xB0"), true},
        {Fr("R\xE9ponses choisies (part des \xE9l\xE8ves, nombre)"), false}, {Fr("Sans r\xE9ponse"), true}};
    if (certainty) {
        columns.push_back({Fr("R\xE9ponses certaines"), true});
        columns.push_back({Fr("Justes parmi les certaines"), true});
    }
    std::string html = TableHead(Fr("R\xE9ponses choisies"), columns);
    for (int n = 1; n <= doc.Quests.Count() && static_cast<std::size_t>(n) <= counts.size(); ++n) {
        const TQuest& quest = doc.Quests.Quest(n);
        const TAnswerCounts& c = counts[static_cast<std::size_t>(n - 1)];
        const int good = doc.Quests.GetGoodRep(n);
        html += "<tr><th scope=\"row\" class=\"n\">" + std::to_string(n) + "</th><td><ul class=\"reponses\">";
        for (std::size_t choice = 0; choice < c.Chosen.size(); ++choice)
            html += ChoiceItem(quest, c, choice, students, static_cast<int>(choice) == good);
        html += "</ul></td>"
            + Cell(PercentText(ShareOf(c.Unanswered, students), 0) + " (" + std::to_string(c.Unanswered) + ")", true);
        if (certainty) {
            const int answered = students - c.Unanswered;
            html += Cell(students == 0 ? std::string(kNoFigure) : PartText(c.Certain, answered), true)
                + Cell(students == 0 ? std::string(kNoFigure) : PartText(c.CertainRight, c.Certain), true);
        }
        html += "</tr>\n";
    }
    return html + "</tbody></table>\n<p class=\"note\">" + Fr("&#10003; : la bonne r\xE9ponse.") + "</p>\n";
}

std::string QuestionsSection(const TQuizDocument& doc, const std::vector<TItemStatistics>& items,
    const std::vector<TAnswerCounts>& counts, bool certainty, std::size_t students)
{
    return "<section aria-labelledby=\"questions\">\n<h2 id=\"questions\">" + Fr("Les questions") + "</h2>\n"
        + StatisticsTable(doc, items) + Definitions() + AnswersTable(doc, counts, certainty, students) + "</section>\n";
}

// "3 élèves sur 20": the students who gave question n's right answer.
std::string RightAnswersText(const TQuizDocument& doc, int n, const TAnswerCounts& counts, std::size_t students)
{
    return StudentsText(static_cast<std::size_t>(RightAnswers(doc, n, counts))) + " sur " + std::to_string(students);
}

// The choices of question n nobody took, said in one sentence.
std::string NeverChosenText(const TQuizDocument& doc, int n, const std::vector<std::size_t>& choices)
{
    std::string text = Fr(choices.size() == 1 ? "aucun \xE9l\xE8ve n'a choisi la r\xE9ponse "
                                              : "aucun \xE9l\xE8ve n'a choisi les r\xE9ponses ");
    for (std::size_t i = 0; i < choices.size(); ++i) {
        text += i == 0 ? "" : i + 1 == choices.size() ? " et " : ", ";
        text += ChoiceMention(doc.Quests.Quest(n), choices[i]);
        if (static_cast<int>(choices[i]) == doc.Quests.GetGoodRep(n))
            text += Fr(" (la bonne r\xE9ponse)");
    }
    return text;
}

std::string ReasonText(const TQuizDocument& doc, int n, const TItemStatistics& item, const TAnswerCounts& counts,
    std::size_t students, const TReviewReason& reason)
{
    const TQuest& quest = doc.Quests.Quest(n);
    const std::size_t choice = static_cast<std::size_t>(std::max(0, reason.Choice));
    switch (reason.Kind) {
    case TReviewKind::TooHard:
        return Fr("trop difficile : ") + RightAnswersText(doc, n, counts, students)
            + Fr(" seulement ont donn\xE9 la bonne r\xE9ponse (moins de 30 %)");
    case TReviewKind::TooEasy:
        return Fr("trop facile : ") + RightAnswersText(doc, n, counts, students)
            + Fr(" ont donn\xE9 la bonne r\xE9ponse (plus de 95 %)");
    case TReviewKind::WeakDiscrimination:
        return Fr("distingue mal les \xE9l\xE8ves forts des faibles : indice de discrimination de ")
            + FigureText(item.DiscriminationIndex, 1) + kNoBreakSpace + "%"
            + Fr(*item.DiscriminationIndex < 0
                    ? ", n\xE9gatif : les \xE9l\xE8ves qui r\xE9ussissent le reste du test la ratent plus souvent"
                    : ", sous 20 %");
    case TReviewKind::NeverChosen:
        return NeverChosenText(doc, n, {choice});
    case TReviewKind::StrongerPreferWrong: {
        const std::size_t good = doc.Quests.GetGoodRep(n);
        return Fr("la moiti\xE9 la plus forte de la classe a choisi la r\xE9ponse ") + ChoiceMention(quest, choice)
            + " (" + StudentsText(static_cast<std::size_t>(counts.ChosenByStronger[choice]))
            + Fr(") plus souvent que la bonne r\xE9ponse ") + ChoiceMention(quest, good) + " ("
            + StudentsText(static_cast<std::size_t>(counts.ChosenByStronger[good])) + ")";
    }
    }
    return {};
}

// A question to review with its reasons, the choices nobody took in one.
std::string ReviewBlock(const TQuizDocument& doc, const TQuestionReview& review,
    const std::vector<TItemStatistics>& items, const std::vector<TAnswerCounts>& counts, std::size_t students)
{
    const int n = review.Question;
    const std::size_t i = static_cast<std::size_t>(n - 1);
    std::vector<std::size_t> unchosen;
    for (const TReviewReason& reason : review.Reasons)
        if (reason.Kind == TReviewKind::NeverChosen)
            unchosen.push_back(static_cast<std::size_t>(reason.Choice));
    std::string html = "<div class=\"bloc\">\n<h3>Question " + std::to_string(n) + Fr(" : ")
        + QuestionStart(doc.Quests.Quest(n)) + "</h3>\n<ul>\n";
    for (const TReviewReason& reason : review.Reasons) {
        if (reason.Kind != TReviewKind::NeverChosen)
            html += "<li>" + ReasonText(doc, n, items[i], counts[i], students, reason) + "</li>\n";
        else if (static_cast<std::size_t>(reason.Choice) == unchosen.front())
            html += "<li>" + NeverChosenText(doc, n, unchosen) + "</li>\n";
    }
    return html + "</ul>\n</div>\n";
}

// Who the stronger half of this class is.
std::string StrongerHalfRule(std::size_t students)
{
    if (students < 2)
        return Fr(" Ce dernier crit\xE8re demande au moins deux \xE9l\xE8ves.");
    const std::size_t half = StrongerHalfSize(students);
    return Fr(" La moiti\xE9 la plus forte, ce sont ")
        + (half == 1 ? Fr("l'\xE9l\xE8ve le mieux not\xE9")
                     : Fr("les ") + StudentsText(half) + Fr(" les mieux not\xE9s"))
        + Fr(" au total des notes (la moiti\xE9 arrondie au-dessus ; \xE0 \xE9galit\xE9, dans l'ordre des noms).");
}

std::string ReviewSection(const TQuizDocument& doc, const std::vector<TItemStatistics>& items,
    const std::vector<TAnswerCounts>& counts, std::size_t students)
{
    std::string html = "<section aria-labelledby=\"revoir\">\n<h2 id=\"revoir\">" + Fr("Questions \xE0 revoir")
        + "</h2>\n<p>"
        + Fr("Une question est signal\xE9"
             "e quand moins de 30 % des \xE9l\xE8ves ont donn\xE9 sa bonne r\xE9ponse (trop difficile) ou plus "
             "de 95 % (trop facile), quand son indice de discrimination est sous 20 %, quand une de ses r\xE9ponses "
             "n'a \xE9t\xE9 choisie par personne, ou quand la moiti\xE9 la plus forte de la classe a choisi une "
             "mauvaise r\xE9ponse plus souvent que la bonne.")
        + StrongerHalfRule(students) + "</p>\n";
    const std::vector<TQuestionReview> reviews = QuestionsToReview(doc, items, counts, students);
    if (students == 0)
        html += "<p>"
            + Fr("Sans \xE9l\xE8ve compt\xE9, aucune question ne peut \xEAtre jug\xE9"
                 "e.")
            + "</p>\n";
    else if (reviews.empty())
        html += "<p>" + Fr("Aucune question ne remplit ces crit\xE8res.") + "</p>\n";
    for (const TQuestionReview& review : reviews)
        html += ReviewBlock(doc, review, items, counts, students);
    return html + "</section>\n";
}

// The verdict, and on which answers it rests when only one kind has enough.
std::string VerdictCell(const TCalibration& calibration)
{
    std::string text = Fr(VerdictText(calibration.Verdict()));
    const bool certain = calibration.Certain >= kCalibrationMinimum;
    const bool uncertain = calibration.Uncertain >= kCalibrationMinimum;
    if (certain != uncertain)
        text += Fr(certain ? " (d'apr\xE8s les r\xE9ponses certaines seules)"
                           : " (d'apr\xE8s les r\xE9ponses incertaines seules)");
    return text;
}

// The rows in as few charts as keep each on one printed page, the rows
// shared evenly between them.
std::string CalibrationCharts(const std::vector<TCalibrationRow>& rows)
{
    const std::size_t parts
        = std::max<std::size_t>(1, (rows.size() + kCalibrationRowsPerChart - 1) / kCalibrationRowsPerChart);
    const std::size_t perPart = (rows.size() + parts - 1) / parts;
    std::string html;
    for (std::size_t part = 0; part < parts; ++part) {
        const auto first = rows.begin() + static_cast<std::ptrdiff_t>(std::min(rows.size(), part * perPart));
        const auto last = rows.begin() + static_cast<std::ptrdiff_t>(std::min(rows.size(), (part + 1) * perPart));
        std::string name = Cp1252ToUtf8ResolvingReferences(
            "Calibration de la certitude : part des r\xE9ponses justes parmi les r\xE9ponses certaines et parmi "
            "les incertaines, de la classe et de chaque \xE9l\xE8ve, face \xE0 la ligne des 50 %");
        if (parts > 1)
            name += " (partie " + std::to_string(part + 1) + " sur " + std::to_string(parts) + ")";
        html += "<figure>\n"
            + CalibrationSvg(std::vector<TCalibrationRow>(first, last), "calibration-" + std::to_string(part + 1), name)
            + "\n</figure>\n";
    }
    return html;
}

std::string CalibrationSection(const TClassResults& results)
{
    std::vector<TCalibrationRow> rows {{"La classe", ClassCalibration(results)}};
    for (const TStudentResult* student : ByName(results))
        rows.push_back({Cp1252ToUtf8ResolvingReferences(student->Student), CalibrationOf(*student)});
    std::string html = "<section aria-labelledby=\"certitude\">\n<h2 id=\"certitude\">"
        + Fr("Calibration de la certitude") + "</h2>\n<p>"
        + Fr("Cocher \xAB certain \xBB rapporte quand on a raison plus d'une fois sur deux. Un \xE9l\xE8ve bien "
             "calibr\xE9 a juste plus de la moiti\xE9 de ses r\xE9ponses certaines, et au plus la moiti\xE9 de ses "
             "r\xE9ponses incertaines. Seules les questions r\xE9pondues comptent, et aucun verdict n'est port\xE9 "
             "sur moins de 5 r\xE9ponses d'un genre.")
        + "</p>\n" + CalibrationCharts(rows);
    html += TableHead(Fr("Calibration de la certitude, en nombres"),
        {{Fr("\xC9l\xE8ve"), false}, {Fr("Justes parmi les r\xE9ponses certaines"), true},
            {Fr("Justes parmi les r\xE9ponses incertaines"), true}, {"Verdict", false}});
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TCalibration& c = rows[i].Counts;
        html += "<tr><th scope=\"row\">" + Escaped(rows[i].Label) + "</th>"
            + Cell(PartText(c.CertainRight, c.Certain), true) + Cell(PartText(c.UncertainRight, c.Uncertain), true)
            + Cell(VerdictCell(c)) + "</tr>\n";
    }
    return html + "</tbody></table>\n</section>\n";
}

} // namespace

std::string ClassReportHtml(const TQuizDocument& doc, const TClassResults& results, std::string_view quizName)
{
    const TMarksTable table = results.Marks();
    const std::vector<TItemStatistics> items = ComputeItemStatistics(table);
    const std::vector<TAnswerCounts> counts = CountAnswers(doc, results);
    const std::string title = QuizTitle(doc, quizName);
    std::string html = Head(title) + "<body>\n<main>\n<h1>" + Fr("R\xE9sultats de la classe")
        + "</h1>\n<p class=\"quiz\">" + title + "</p>\n<p>" + StudentsText(results.Students.size()) + ", "
        + Count(doc.Quests.Count(), "question", "questions")
        + Fr(results.Certainty ? ", avec le degr\xE9 de certitude" : "") + ".</p>\n";
    html += ClassSection(ComputeClassStatistics(table)) + StudentsSection(results)
        + QuestionsSection(doc, items, counts, results.Certainty, results.Students.size())
        + ReviewSection(doc, items, counts, results.Students.size());
    if (results.Certainty)
        html += CalibrationSection(results);
    return html + "</main>\n</body>\n</html>\n";
}

void WriteClassReport(
    const std::string& path, const TQuizDocument& doc, const TClassResults& results, std::string_view quizName)
{
    // The page is made again from the records whenever it is asked for.
    WriteFileAtomically(path, ClassReportHtml(doc, results, quizName), Durability::Regenerable);
}

} // namespace tavimor
