// The class report page: what it says of made-up classes (the questions to
// review and why, the histogram, the certainty calibration), that nothing a
// student or a file name brings can become markup, and that a class too
// small for a figure shows a dash.
#include "analysis/ClassReport.h"
#include "analysis/QuestionReview.h"
#include "generator/PlainText.h"

#include "common/results_record.h"
#include "generator/InlineData.h"
#include "model/sample_document.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <regex>

namespace tavimor {
namespace {

using test::Add;
using test::Given;
using test::Question;
using test::RecordLine;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

// The page says its French texts in UTF-8.
constexpr const char* kToReview = "Questions \xC3\xA0 revoir";
constexpr const char* kCalibration = "Calibration de la certitude";

TClassResults Gather(const TQuizDocument& doc, const std::vector<std::pair<std::string, std::vector<Given>>>& class_)
{
    std::vector<TResultsSource> sources;
    for (const auto& [student, answers] : class_)
        sources.push_back({student + ".json", RecordLine(doc, student, answers)});
    return GatherResults(doc, "geo", sources, {});
}

std::string Report(const TQuizDocument& doc, const TClassResults& results)
{
    return ClassReportHtml(doc, results, "geo");
}

// Seven questions, two or three choices each, the first choice right but on
// question 2; no certainty.
TQuizDocument ReviewQuiz()
{
    TQuizDocument doc = test::StartupDocument();
    Add(doc, Question(TRepType::rKWZ, "Capitale de la France ?", {"Paris", "Lyon", "Nice"}, 0));
    Add(doc, Question(TRepType::rKWZ, "Plus long fleuve ?", {"Seine", "Loire", "Rh\xF4ne"}, 1));
    Add(doc, Question(TRepType::rKWZ, "Plus haut sommet ?", {"mont Blanc", "Vignemale", "Puy de D\xF4me"}, 0));
    Add(doc, Question(TRepType::rTrue, "Lyon est au bord du Rh\xF4ne.", {"Vrai", "Faux"}, 0));
    for (const char* text : {"Q5", "Q6", "Q7"})
        Add(doc, Question(TRepType::rTrue, text, {"Vrai", "Faux"}, 0));
    return doc;
}

// Ana, Bea and Cyr get the last three questions right and the others wrong:
// they are the stronger half. On question 3 they all chose "Puy de Dôme"
// while the weaker half found the right answer; nobody chose "Vignemale".
TClassResults ReviewClass(const TQuizDocument& doc)
{
    const Given strong[] = {{0}, {0}, {0}};
    const Given weak[] = {{1}, {1}, {1}};
    const auto with = [](std::vector<Given> first, const Given(&last)[3]) {
        first.insert(first.end(), std::begin(last), std::end(last));
        return first;
    };
    return Gather(doc,
        {
            {"Ana", with({{0}, {1}, {2}, {1}}, strong)},
            {"Bea", with({{0}, {0}, {2}, {0}}, strong)},
            {"Cyr", with({{0}, {2}, {2}, {1}}, strong)},
            {"Dan", with({{0}, {0}, {0}, {1}}, weak)},
            {"Eva", with({{0}, {0}, {0}, {0}}, weak)},
            {"Flo", with({{0}, {0}, {0}, {1}}, weak)},
        });
}

TEST(ClassReview, EachReasonFiresWhereTheClassGivesIt)
{
    const TQuizDocument doc = ReviewQuiz();
    const TClassResults results = ReviewClass(doc);
    ASSERT_EQ(results.Students.size(), 6u);
    const std::vector<TItemStatistics> items = ComputeItemStatistics(results.Marks());
    const std::vector<TAnswerCounts> counts = CountAnswers(doc, results);
    EXPECT_THAT(counts[2].Chosen, ElementsAre(3, 0, 3));
    EXPECT_THAT(counts[2].ChosenByStronger, ElementsAre(0, 0, 3));

    using K = TReviewKind;
    std::vector<std::pair<int, std::vector<std::pair<K, int>>>> found;
    for (const TQuestionReview& review : QuestionsToReview(doc, items, counts, results.Students.size())) {
        found.push_back({review.Question, {}});
        for (const TReviewReason& reason : review.Reasons)
            found.back().second.push_back({reason.Kind, reason.Choice});
    }
    using Reasons = std::vector<std::pair<K, int>>;
    EXPECT_THAT(found,
        ElementsAre(
            // Everyone right: too easy, and two choices nobody took.
            std::pair {1, Reasons {{K::TooEasy, -1}, {K::NeverChosen, 1}, {K::NeverChosen, 2}}},
            // One right in six, the wrong answers spread over the strong.
            std::pair {2, Reasons {{K::TooHard, -1}}},
            std::pair {3, Reasons {{K::WeakDiscrimination, -1}, {K::NeverChosen, 1}, {K::StrongerPreferWrong, 2}}},
            // Right for one strong and one weak student; "Faux" for two of the strong.
            std::pair {4, Reasons {{K::WeakDiscrimination, -1}, {K::StrongerPreferWrong, 1}}}));

    const std::string html = Report(doc, results);
    EXPECT_THAT(html, HasSubstr("<h3>Question 1\xC2\xA0: Capitale de la France ?</h3>"));
    EXPECT_THAT(
        html, HasSubstr("trop facile\xC2\xA0: 6 \xC3\xA9l\xC3\xA8ves sur 6 ont donn\xC3\xA9 la bonne r\xC3\xA9ponse"));
    EXPECT_THAT(html, HasSubstr("trop difficile\xC2\xA0: 1 \xC3\xA9l\xC3\xA8ve sur 6 seulement"));
    EXPECT_THAT(
        html, HasSubstr("aucun \xC3\xA9l\xC3\xA8ve n'a choisi la r\xC3\xA9ponse B\xC2\xA0\xC2\xAB\xC2\xA0Vignemale"));
    EXPECT_THAT(html,
        HasSubstr(
            "la moiti\xC3\xA9 la plus forte de la classe a choisi la r\xC3\xA9ponse C\xC2\xA0\xC2\xAB\xC2\xA0Puy de "
            "D\xC3\xB4me\xC2\xA0\xC2\xBB (3 \xC3\xA9l\xC3\xA8ves) plus souvent que la bonne r\xC3\xA9ponse A"));
    EXPECT_THAT(html, HasSubstr("ce sont les 3 \xC3\xA9l\xC3\xA8ves les mieux not\xC3\xA9s au total"));
    EXPECT_THAT(html, Not(HasSubstr("<h3>Question 5")));
}

TEST(ClassReview, TheStrongerHalfIsTheUpperHalfRoundedUpAndNeedsTwoStudents)
{
    EXPECT_EQ(StrongerHalfSize(0), 0u);
    EXPECT_EQ(StrongerHalfSize(1), 1u);
    EXPECT_EQ(StrongerHalfSize(5), 3u);
    EXPECT_EQ(StrongerHalfSize(6), 3u);

    // Alone and wrong: too hard, but no half of a class to compare.
    const TQuizDocument doc = ReviewQuiz();
    const TClassResults alone = Gather(doc, {{"Ana", {{1}, {0}, {1}, {1}, {1}, {1}, {1}}}});
    const auto reviews
        = QuestionsToReview(doc, ComputeItemStatistics(alone.Marks()), CountAnswers(doc, alone), alone.Students.size());
    ASSERT_FALSE(reviews.empty());
    for (const TQuestionReview& review : reviews)
        for (const TReviewReason& reason : review.Reasons)
            EXPECT_NE(reason.Kind, TReviewKind::StrongerPreferWrong) << "question " << review.Question;
}

// A quiz of three questions, right choices 0, 1 and (cloze) 2.
TQuizDocument Quiz(bool certainty);

TEST(ClassReview, UnderTheCertaintyMarkingTooHardMeansFewRightAnswers)
{
    // Nobody right on question 2, all unsure: its facility, the mean mark, is
    // 0.45 (a wrong answer given without certainty), yet the question is too
    // hard. Everyone right on question 1, one unsure: too easy all the same.
    const TQuizDocument doc = Quiz(true);
    std::vector<std::pair<std::string, std::vector<Given>>> class_;
    for (const char* name : {"Ana", "Bob", "Cy", "Dom"})
        class_.push_back({name, {{0, name[0] != 'A'}, {0, false}, {2, true}}});
    const TClassResults results = Gather(doc, class_);
    const std::vector<TItemStatistics> items = ComputeItemStatistics(results.Marks());
    ASSERT_DOUBLE_EQ(*items[1].Facility, 0.45);
    const auto reviews = QuestionsToReview(doc, items, CountAnswers(doc, results), results.Students.size());
    ASSERT_EQ(reviews.size(), 3u);
    EXPECT_EQ(reviews[0].Reasons.front().Kind, TReviewKind::TooEasy);
    EXPECT_EQ(reviews[1].Reasons.front().Kind, TReviewKind::TooHard);
}

TQuizDocument Quiz(bool certainty)
{
    TQuizDocument doc = test::StartupDocument();
    doc.Header.UseCertainty = certainty;
    doc.Pages.SetTitle(0, "G\xE9ographie <b>de la</b> France &amp; &#960;");
    Add(doc, Question(TRepType::rKWZ, "Capitale ? <img src=x onerror=alert(1)>", {"Paris", "Lyon", "<i>Nice</i>"}, 0));
    Add(doc, Question(TRepType::rTrue, "La Loire est en Espagne.", {"Vrai", "Faux"}, 1));
    Add(doc, Question(TRepType::rOList, "Le <option> est haut.", {"Puy", "Jura", "mont Blanc"}, 2));
    return doc;
}

TEST(ClassReport, NothingFromStudentsFilesOrTheQuizBecomesMarkup)
{
    const TQuizDocument doc = Quiz(false);
    std::vector<TResultsSource> sources {
        {"a.json", RecordLine(doc, "<script>alert(1)</script>\\u0020&amp;\\u0020\\u03c0", {{0}, {1}, {2}})},
        {"<img src=x onerror=alert(2)>.json", "rien"},
    };
    std::string altered = RecordLine(doc, "<b>Eve</b>", {{1}, {1}, {2}});
    altered.replace(altered.find("\"right\":false,\"mark\":0"), 22, "\"right\":true,\"mark\":1");
    sources.push_back({"eve.json", altered});
    const std::string html = Report(doc, GatherResults(doc, "geo", sources, {}));

    EXPECT_THAT(html, HasSubstr("&lt;script&gt;alert(1)&lt;/script&gt; &amp;amp; \xCF\x80"));
    EXPECT_THAT(html, HasSubstr("&lt;img src=x onerror=alert(2)&gt;.json"));
    EXPECT_THAT(html, HasSubstr("&lt;b&gt;Eve&lt;/b&gt;"));
    // The teacher's markup is dropped from the short texts, its references read.
    EXPECT_THAT(html,
        HasSubstr("<title>R\xC3\xA9sultats de la classe \xE2\x80\x93 G\xC3\xA9ographie de la France "
                  "&amp; \xCF\x80</title>"));
    EXPECT_THAT(html, HasSubstr("Le ___ est haut."));
    EXPECT_THAT(html, HasSubstr("C\xC2\xA0\xC2\xAB\xC2\xA0Nice\xC2\xA0\xC2\xBB"));
    for (const char* markup : {"<script", "<img", "<b>", "<i>"})
        EXPECT_THAT(html, Not(HasSubstr(markup))) << markup;

    // The altered record is shown apart with the plain sentence on what the
    // check value can and cannot do.
    EXPECT_THAT(html, HasSubstr("R\xC3\xA9sultats modifi\xC3\xA9s apr\xC3\xA8s coup"));
    EXPECT_THAT(html, HasSubstr("ne peut pas arr\xC3\xAAter un \xC3\xA9l\xC3\xA8ve d\xC3\xA9termin\xC3\xA9"));
}

TEST(ClassReport, IsOneFrenchPageThatAllowsNothingButItsOwnStyle)
{
    const std::string html = Report(Quiz(false), {});
    EXPECT_THAT(html, testing::StartsWith("<!DOCTYPE html>\n<html lang=\"fr\">\n<head>\n<meta charset=\"utf-8\">"));
    std::smatch policy;
    ASSERT_TRUE(std::regex_search(html, policy, std::regex("Content-Security-Policy\" content=\"([^\"]*)\"")));
    std::smatch style;
    ASSERT_TRUE(std::regex_search(html, style, std::regex("<style>([^<]*)</style>")));
    EXPECT_EQ(policy[1].str(),
        "default-src 'none'; style-src " + CspHashSource(style[1].str()) + "; base-uri 'none'; form-action 'none'");
    EXPECT_THAT(html, HasSubstr("@page { size: A4;"));
    // No address but the SVG namespace, which names and fetches nothing.
    EXPECT_EQ(std::regex_replace(html, std::regex("xmlns=\"http://www.w3.org/2000/svg\""), "").find("://"),
        std::string::npos);
}

TEST(ClassReport, AClassTooSmallForAFigureShowsADashNeverNaN)
{
    const TQuizDocument doc = Quiz(true);
    for (const std::size_t students : {0u, 1u}) {
        std::vector<TResultsSource> sources;
        if (students == 1)
            sources.push_back({"a.json", RecordLine(doc, "Ana", {{0, true}, {std::nullopt}, {2, false}})});
        const std::string html = Report(doc, GatherResults(doc, "geo", sources, {}));
        // DecimalText writes an undefined figure "nan", "-nan" or "inf".
        EXPECT_FALSE(std::regex_search(html, std::regex("\\b(nan|inf)\\b", std::regex::icase)))
            << students << " student(s)";
        // The class's standard deviation needs two students.
        EXPECT_THAT(html, HasSubstr("<td class=\"n\">\xE2\x80\x94</td></tr>\n</tbody></table>\n<figure>"))
            << students << " student(s)";
        EXPECT_THAT(html,
            HasSubstr(students == 0 ? "Aucun r\xC3\xA9sultat n'a pu \xC3\xAAtre compt\xC3\xA9"
                                    : "<th scope=\"row\">Ana</th><td class=\"n\">2 sur 3</td>"));
        EXPECT_THAT(html, HasSubstr("</html>\n"));
    }
}

std::size_t Occurrences(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The cells of the histogram's table, in order.
std::vector<std::string> HistogramCells(const std::string& html)
{
    const std::size_t row = html.find("<th scope=\"row\">\xC3\x89l\xC3\xA8ves</th>");
    const std::string rest = html.substr(row, html.find("</tr>", row) - row);
    std::vector<std::string> cells;
    const std::regex cell("<td class=\"n\">([^<]*)</td>");
    for (auto it = std::sregex_iterator(rest.begin(), rest.end(), cell); it != std::sregex_iterator(); ++it)
        cells.push_back((*it)[1]);
    return cells;
}

TEST(ClassReport, CountsTheStudentsOfEachTenthOfTheRate)
{
    const TQuizDocument doc = Quiz(false);
    // Rates 0, 33.3, 66.7, 100 and 100 %.
    const TClassResults results = Gather(doc,
        {{"A", {{1}, {0}, {0}}}, {"B", {{0}, {0}, {0}}}, {"C", {{0}, {1}, {0}}}, {"D", {{0}, {1}, {2}}},
            {"E", {{0}, {1}, {2}}}});
    const std::string html = Report(doc, results);
    EXPECT_THAT(HistogramCells(html), ElementsAre("1", "0", "0", "1", "0", "0", "1", "0", "0", "2"));
    // The bars: one an occupied tenth, its count above it.
    EXPECT_EQ(Occurrences(html, "class=\"barre\""), 4u);
    EXPECT_THAT(html,
        HasSubstr("role=\"img\" aria-labelledby=\"histogramme-titre\"><title id=\"histogramme-titre\">"
                  "Histogramme des taux pond\xC3\xA9r\xC3\xA9s"));
    // Mean 60 %, median 66.7 %.
    EXPECT_THAT(html,
        HasSubstr("<td class=\"n\">5</td><td class=\"n\">60,0\xC2\xA0%</td><td "
                  "class=\"n\">66,7\xC2\xA0%</td>"));
}

TEST(ClassReport, CalibrationOnlyWithTheCertaintyOption)
{
    EXPECT_THAT(Report(Quiz(false), Gather(Quiz(false), {{"Ana", {{0}, {1}, {2}}}})), Not(HasSubstr(kCalibration)));

    const TQuizDocument doc = Quiz(true);
    // Bob is sure of everything and right on one question in three: with the
    // class's six certain answers, three right, the class is over-confident.
    const TClassResults results = Gather(doc,
        {{"Ana", {{0, true}, {0, false}, {std::nullopt}}}, {"Bob", {{0, true}, {0, true}, {0, true}}},
            {"Cy", {{0, true}, {0, true}, {1, false}}}});
    const std::string html = Report(doc, results);
    EXPECT_THAT(html, HasSubstr(kCalibration));
    EXPECT_THAT(html,
        HasSubstr("<th scope=\"row\">La classe</th><td class=\"n\">3 sur 6 (50\xC2\xA0%)</td><td "
                  "class=\"n\">0 sur 2 (0\xC2\xA0%)</td><td>trop s\xC3\xBBr(e) de soi (d'apr\xC3\xA8s "
                  "les r\xC3\xA9ponses certaines seules)</td>"));
    EXPECT_THAT(html,
        HasSubstr("<th scope=\"row\">Ana</th><td class=\"n\">1 sur 1 (100\xC2\xA0%)</td><td "
                  "class=\"n\">0 sur 1 (0\xC2\xA0%)</td><td>trop peu de r\xC3\xA9ponses pour en juger"));
    EXPECT_THAT(html, HasSubstr("aria-labelledby=\"calibration-1-titre\""));
    // Per question: answers given as certain, and how many of them right.
    EXPECT_THAT(html, HasSubstr("<td class=\"n\">3 sur 3 (100\xC2\xA0%)</td><td class=\"n\">3 sur 3 (100\xC2\xA0%)"));
    EXPECT_THAT(html, HasSubstr("<td class=\"n\">2 sur 3 (67\xC2\xA0%)</td><td class=\"n\">0 sur 2 (0\xC2\xA0%)"));
}

TEST(PlainText, KeepsWhatAReaderSeesOfTheTeachersHtml)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Le <b>Rh\xF4ne</b>&nbsp;&amp; la <i>Sa\xF4ne</i>", "Le Rh\xC3\xB4ne & la Sa\xC3\xB4ne"},
        {"Ligne<br>suivante<p>para</p>", "Ligne suivante para"},
        {"a <!-- note -->b<script>x = '<b>'</script><style>p{}</style>c", "a bc"},
        {"&#960; &#x3C0; &eacute;&unknown; &#0; x < y", "\xCF\x80 \xCF\x80 \xC3\xA9&unknown; \xEF\xBF\xBD x < y"},
        {"Le <option> est <IMG alt=\"a>b\" src=x>haut", "Le ___ est haut"},
        {"coup\xE9 <b", "coup\xC3\xA9"},
    };
    for (const auto& [html, plain] : cases)
        EXPECT_EQ(PlainTextUtf8(html), plain) << html;

    EXPECT_EQ(ShortenedUtf8("court", 10), "court");
    EXPECT_EQ(ShortenedUtf8("un texte bien trop long", 12), "un texte\xE2\x80\xA6");
    EXPECT_EQ(ShortenedUtf8("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 3), "\xC3\xA9\xC3\xA9\xE2\x80\xA6");
}

} // namespace
} // namespace tavimor
