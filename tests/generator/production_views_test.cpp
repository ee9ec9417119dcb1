// A production reads its document's questions as views of the file instead of
// the editor's model. Whatever the file holds, both readings must end alike
// (same error, same refusal) and give the same site and the same
// self-contained quiz, byte for byte: these tests produce each document both
// ways and compare.
#include "generator/PageSet.h"

#include "base/Errors.h"
#include "base/FileIo.h"
#include "generator/QuizScript.h"
#include "generator/StandaloneQuiz.h"
#include "model/QuestionViews.h"
#include "model/sample_document.h"
#include "site_test_support.h"

#include "golden/cert_border/input.h"
#include "golden/plain_count/input.h"

#include <gtest/gtest.h>

#include <optional>

namespace tavimor {
namespace {

using namespace site_test;

// A document file's bytes read both ways.
struct BothReadings {
    explicit BothReadings(const std::string& bytes)
    {
        ResetToStartupState(model, "");
        ResetToStartupState(viewed, "");
        try {
            modelRefusal = ReadDocument(model, bytes).refusal;
        } catch (const Error& e) {
            modelError = e.what();
        }
        ByteBlock block(bytes.size());
        std::copy(bytes.begin(), bytes.end(), block.Data());
        try {
            viewedRefusal = ReadDocumentForProduction(viewed, views, std::move(block)).refusal;
        } catch (const Error& e) {
            viewedError = e.what();
        }
    }

    bool Read() const { return !modelError && !modelRefusal; }

    TQuizDocument model;
    TQuizDocument viewed;
    TQuestViews views {viewed.Quests};
    std::optional<std::string> modelError, viewedError, modelRefusal, viewedRefusal;
};

// What a text builder gives, or the message of the error it throws.
template <class Build> std::string TextOrError(Build build)
{
    try {
        return build();
    } catch (const Error& e) {
        return std::string("error: ") + e.what();
    }
}

// Every file of the site and of the exam, and the messages, produced in a
// folder of their own.
template <class MakeGenerator> std::map<std::string, std::string> ProducedSite(MakeGenerator makeGenerator)
{
    TempFolder folder;
    NamedGifs gifs;
    std::vector<std::string> messages;
    std::map<std::string, std::string> site;
    THKWZ generator = makeGenerator(gifs);
    generator.DocumentPath = folder.Path() + "Quiz.kwz";
    generator.PrefsDir = folder.Path() + "Prefs/";
    generator.ResumBody = "R\xE9sum\xE9";
    generator.Notify = [&messages](const std::string& message) { messages.push_back(message); };
    site["(message)"] = TextOrError([&] { return generator.Produce(true).Message; });
    // The exam and its key as the exam command writes them, beside the site.
    site["(exam)"] = TextOrError([&] {
        generator.WriteExam(false);
        generator.WriteExam(true);
        return generator.ExamAnnouncement(false);
    });
    if (fs::exists(folder.Path() + "Quiz"))
        for (const std::string& file : FilesUnder(folder.Path() + "Quiz"))
            site[file] = ReadBytes(folder.Path() + "Quiz/" + file);
    for (const std::string& message : messages)
        site["(announced)"] += message.substr(message.rfind('/') + 1) + "\n";
    return site;
}

enum class Expect { Read, NotRead };

// Reads the bytes both ways and checks that they end alike and, when read,
// give the same script, exam and site.
void ExpectSameProduction(const std::string& bytes, Expect expect = Expect::Read)
{
    BothReadings both(bytes);
    ASSERT_EQ(both.viewedError, both.modelError);
    ASSERT_EQ(both.viewedRefusal, both.modelRefusal);
    ASSERT_EQ(both.Read(), expect == Expect::Read) << both.modelError.value_or("");
    if (!both.Read())
        return;
    ASSERT_EQ(both.views.Count(), both.model.Quests.Count());

    const TJSM script;
    for (const bool certainty : {false, true}) {
        EXPECT_EQ(TextOrError([&] { return script.MakeScript(both.views, certainty, "Lisez (bien)."); }),
            TextOrError([&] { return script.MakeScript(both.model.Quests, certainty, "Lisez (bien)."); }));
    }
    NamedGifs gifs;
    const THKWZ fromModel(both.model, gifs);
    const THKWZ fromViews(both.viewed, both.views, gifs);
    for (const bool key : {false, true})
        EXPECT_EQ(fromViews.ExamQuestions(key), fromModel.ExamQuestions(key));
    EXPECT_EQ(fromViews.ResultPage(), fromModel.ResultPage());
    EXPECT_EQ(THKWZ::RightAnswerWarnings(both.views), THKWZ::RightAnswerWarnings(both.model.Quests));
    StandaloneContent content;
    content.QuizName = "Quiz";
    content.ResumBody = "R\xE9sum\xE9";
    EXPECT_EQ(TextOrError([&] { return StandalonePage(both.viewed, both.views, content); }),
        TextOrError([&] { return StandalonePage(both.model, content); }));

    const auto viewedSite = ProducedSite([&](const GifSource& g) { return THKWZ(both.viewed, both.views, g); });
    const auto modelSite = ProducedSite([&](const GifSource& g) { return THKWZ(both.model, g); });
    ASSERT_EQ(viewedSite.size(), modelSite.size());
    for (const auto& [file, content] : modelSite)
        EXPECT_EQ(viewedSite.at(file), content) << file;
}

// The value of an ASCII marker text in the file, as the writer stores it.
std::string MarkerValue(const std::string& marker)
{
    return std::string(1, '\x06') + static_cast<char>(marker.size()) + marker;
}

// The file of doc with the value of each marker text replaced by raw value bytes.
std::string WithRawValues(const TQuizDocument& doc, const std::vector<std::pair<std::string, std::string>>& values)
{
    std::string bytes = DocumentBytes(doc);
    for (const auto& [marker, raw] : values) {
        const std::size_t at = bytes.find(MarkerValue(marker));
        EXPECT_NE(at, std::string::npos) << marker;
        if (at != std::string::npos)
            bytes.replace(at, MarkerValue(marker).size(), raw);
    }
    return bytes;
}

// A string value of the file with a four-byte count: the payload's size, or
// the count given (of UTF-16 units).
std::string RawValue(char tag, const std::string& payload, std::size_t count = std::string::npos)
{
    if (count == std::string::npos)
        count = payload.size();
    std::string bytes(1, tag);
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>((count >> (8 * i)) & 0xFF);
    return bytes + payload;
}

// A quiz a teacher could write: accents, quotes, parentheses, line breaks,
// a cloze question, own and generic feedback (some alike, one over 255
// characters), an attached file, a question without a right answer.
TQuizDocument TeacherQuiz()
{
    TQuizDocument doc = test::StartupDocument();
    doc.Header.UseCertainty = true;
    doc.Quests.GenMess[0] = {"Faux.", "Non (relisez le cours)."};
    doc.Quests.GenMess[1] = {"Bravo\xA0!", "Exact \x96 tr\xE8s bien."};
    doc.Quests.NoAnswerMess = "Pas de r\xE9ponse \"ici\".";
    TQuest standard = test::Question(TRepType::rKWZ,
        "Quelle est la pr\xE9"
        "fecture de l'Ain\xA0?\r\nR\xE9pondez.",
        {"Bourg-en-Bresse", "Gap", "Nice \"la belle\"", "Privas (07)", "Laval\\Mayenne", "\xC9vreux"}, 0);
    standard.Columns = 3;
    standard.UseGenMess = {false, true};
    standard.Mess[0] = "Non\xA0: c'est Bourg-en-Bresse.";
    standard.MessIdx[1] = 1;
    standard.UseExtFile = true;
    standard.ExtFile = "carte.htm";
    standard.ExtLink = "Voir la carte\xA0: |Carte n\xB0 1";
    standard.Points = 3;
    test::Add(doc, standard);
    TQuest cloze = test::Question(TRepType::rOList,
        "Lyon est la <option>\xE9 pr\xE9"
        "fecture du Rh\xF4ne.",
        {"premi\xE8re", "seconde"}, 1);
    cloze.UseGenMess = {false, false};
    cloze.Mess = {std::string(300, 'x') + "\xE9", "Oui."};
    test::Add(doc, cloze);
    TQuest truth = test::Question(TRepType::rTrue, "La Seine passe \xE0 Paris.", {"Vrai", "Faux"}, -1);
    truth.UseGenMess = {false, false};
    truth.Mess = {"Non\xA0: c'est Bourg-en-Bresse.", "Oui."}; // the same texts as above: one entry each
    test::Add(doc, truth);
    return doc;
}

TEST(ProductionViews, ATeachersQuizGivesTheSameSite)
{
    ExpectSameProduction(DocumentBytes(TeacherQuiz()));
}

TEST(ProductionViews, TheGoldenQuizzesGiveTheSameSite)
{
    for (void (*build)(TQuizDocument&) : {&golden::cert_border::Build, &golden::plain_count::Build}) {
        TQuizDocument doc = test::StartupDocument();
        build(doc);
        ExpectSameProduction(DocumentBytes(doc));
    }
}

// Texts of every form a file can hold: the code page as older files stored
// it, UTF-16 with a lone surrogate, UTF-8 with broken and foreign sequences,
// and a cloze marker followed by a character of two bytes.
TEST(ProductionViews, EveryFormOfTextGivesTheSameSite)
{
    TQuizDocument doc = test::StartupDocument();
    TQuest first = test::Question(TRepType::rKWZ, "@TEXT-A", {"@REP-A", "deux", "@REP-B"}, 1);
    first.UseGenMess = {false, true};
    first.Mess[0] = "@MESS-A";
    test::Add(doc, first);
    test::Add(doc, test::Question(TRepType::rOList, "@TEXT-B", {"un", "@REP-C"}, 0));
    const std::string utf16 = RawValue('\x12', std::string("\xE9\x00(\x00\x00\xD8!\x00", 8), 4);
    const std::string brokenUtf8 = RawValue('\x14', "a\xC3\xE2\x82\xAC\xF0\x9F\x98\xC0");
    const std::string codePage = "\x06\x05"
                                 "d\xE9j\xE0\x85";
    const std::string longCodePage = RawValue('\x0C', "\x93ok\x94");
    const std::string clozeAccent = RawValue('\x14', "Il <option>\xC3\xA9t\xC3\xA9 fini");
    ExpectSameProduction(WithRawValues(doc,
        {{"@TEXT-A", utf16}, {"@REP-A", brokenUtf8}, {"@REP-B", codePage}, {"@MESS-A", longCodePage},
            {"@TEXT-B", clozeAccent}, {"@REP-C", utf16}}));
}

TEST(ProductionViews, RefusalsAndBadMessagesEndAlike)
{
    // Too few questions, a question without choices, a generic message
    // outside its bank, an old version.
    TQuizDocument one = test::StartupDocument();
    test::Add(one, test::Question(TRepType::rKWZ, "Seule", {"a", "b"}, 0));
    ExpectSameProduction(DocumentBytes(one));
    ExpectSameProduction(DocumentBytes(test::RichDocument()));
    TQuizDocument outside = TeacherQuiz();
    outside.Quests.Quest(1).MessIdx[1] = 7;
    ExpectSameProduction(DocumentBytes(outside));
    ExpectSameProduction(std::string("\x02\x02", 2), Expect::NotRead);
    ExpectSameProduction(test::Version4File());
    ExpectSameProduction(test::Version3File());
}

TEST(ProductionViews, DamagedFilesEndWithTheSameError)
{
    const std::string bytes = DocumentBytes(TeacherQuiz());
    for (std::size_t size = 0; size < bytes.size(); size += 5) {
        SCOPED_TRACE(size);
        BothReadings both(bytes.substr(0, size));
        EXPECT_EQ(both.viewedError, both.modelError);
    }
    // A value of the wrong kind in a question record, and a count larger
    // than the file can hold.
    std::string wrongKind = bytes;
    wrongKind[wrongKind.find(MarkerValue("Vrai"))] = '\x09';
    const BothReadings kind(wrongKind);
    EXPECT_EQ(kind.modelError, InvalidPropertyValue().what());
    EXPECT_EQ(kind.viewedError, kind.modelError);
}

} // namespace
} // namespace tavimor
