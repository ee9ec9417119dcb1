// The session as both front ends drive it: documents opened, saved and
// replaced without ever losing the one open, every kind of edit undone and
// redone, the modified state following the history, and the listener told
// what changed.
#include "base/FileIo.h"
#include "common/temp_folder.h"
#include "exchange/QuestionBanks.h"
#include "model/DocumentFile.h"
#include "model/TextExchange.h"
#include "resources/EmbeddedGifs.h"
#include "session/QuizSession.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

namespace tavimor {

void PrintTo(const SessionChange& change, std::ostream* out)
{
    *out << "{part " << static_cast<int>(change.What) << ", " << change.Index << "}";
}

namespace {

using Part = SessionChange::Part;

struct Recorder : SessionListener {
    std::vector<SessionChange> changes;
    int states = 0;
    void DocumentChanged(const SessionChange& change) override { changes.push_back(change); }
    void StateChanged() override { ++states; }
};

class SessionTest : public ::testing::Test {
protected:
    SessionTest()
        : session(Options())
    {
        session.AddListener(recorder);
    }

    SessionOptions Options()
    {
        SessionOptions options;
        options.Defaults.PrefsDir = folder.Path() + "Prefs/";
        options.Gifs = &EmbeddedGifs();
        options.Notify = [this](const std::string& message) { notes.push_back(message); };
        return options;
    }

    // A saved document of count standard questions "Q1".. with two answers.
    std::string SavedQuiz(const std::string& name, int count)
    {
        TQuizDocument doc = NewDocument(Options().Defaults);
        for (int n = 1; n <= count; ++n) {
            TQuest quest = NewQuestion(TRepType::rKWZ);
            quest.QText = "Q" + std::to_string(n);
            quest.Reps = {"a", "b"};
            quest.NRep = 2;
            quest.GoodRep = 0;
            doc.Quests.InsertQuest(n, quest);
        }
        const std::string path = folder.Path() + name;
        SaveDocument(doc, path);
        return path;
    }

    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (int n = 1; n <= session.Document().Quests.Count(); ++n)
            texts.push_back(session.Document().Quests.Quest(n).QText);
        return texts;
    }

    test::TempFolder folder;
    std::vector<std::string> notes;
    QuizSession session;
    Recorder recorder;
};

TEST_F(SessionTest, ANewDocumentIsTheOneOfAFreshStart)
{
    const std::string path = SavedQuiz("quiz.kwz", 2);
    session.Open(path);
    session.SetNoAnswerMessage("Autre chose");
    session.New();
    QuizSession fresh(Options());
    EXPECT_EQ(DocumentBytes(session.Document()), DocumentBytes(fresh.Document()));
    EXPECT_EQ(session.Path(), "");
    EXPECT_FALSE(session.IsModified());
    EXPECT_FALSE(session.CanUndo());
    EXPECT_EQ(recorder.changes.back(), (SessionChange {Part::Document, 0}));
}

TEST_F(SessionTest, ADocumentThatCannotBeReadChangesNothing)
{
    const std::string good = SavedQuiz("quiz.kwz", 2);
    session.Open(good);
    session.SetQuestionText(1, "Changed");
    const std::string before = DocumentBytes(session.Document());
    const auto changesBefore = recorder.changes.size();

    const std::string cut = folder.Path() + "cut.kwz";
    {
        std::ifstream in(good, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), {});
        std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    }
    const std::string old = folder.Path() + "old.kwz";
    std::ofstream(old, std::ios::binary) << std::string("\x02\x02", 2);
    const std::string text = folder.Path() + "notes.txt";
    std::ofstream(text, std::ios::binary) << "$r1=x\r\n";

    EXPECT_THROW(session.Open(cut), std::exception);
    EXPECT_TRUE(session.Open(old).refusal.has_value());
    EXPECT_THROW(session.Open(folder.Path() + "absent.kwz"), std::exception);
    EXPECT_EQ(DocumentBytes(session.Document()), before);
    EXPECT_EQ(session.Path(), good);
    EXPECT_TRUE(session.IsModified());
    EXPECT_TRUE(session.CanUndo());
    EXPECT_EQ(recorder.changes.size(), changesBefore);
}

TEST_F(SessionTest, TheModifiedStateFollowsSavesUndoAndRedo)
{
    const std::string path = SavedQuiz("quiz.kwz", 3);
    session.Open(path);
    EXPECT_FALSE(session.IsModified());
    session.SetQuestionText(2, "Deux");
    session.SetPriority(2, 1);
    EXPECT_TRUE(session.IsModified());
    session.Save();
    EXPECT_FALSE(session.IsModified());
    session.Undo();
    EXPECT_TRUE(session.IsModified());
    session.Redo();
    EXPECT_FALSE(session.IsModified()); // back at the saved state

    session.Undo();
    session.Undo();
    EXPECT_TRUE(session.IsModified());
    session.SetColumns(1, 2); // the saved state can no longer be reached
    session.Undo();
    EXPECT_TRUE(session.IsModified());

    // Saving under a new name names the document.
    session.SaveAs(folder.Path() + "copie.kwz");
    EXPECT_EQ(session.Path(), folder.Path() + "copie.kwz");
    EXPECT_FALSE(session.IsModified());
    TQuizDocument copy;
    LoadDocument(copy, folder.Path() + "copie.kwz");
    EXPECT_EQ(DocumentBytes(copy), DocumentBytes(session.Document()));
}

TEST_F(SessionTest, QuestionStepsUndoAndRedoWithTheirNames)
{
    session.Open(SavedQuiz("quiz.kwz", 3));
    recorder.changes.clear();

    EXPECT_EQ(session.AddQuestion(TRepType::rTrue), 4);
    EXPECT_EQ(session.Document().Quests.Quest(4).Reps, (std::vector<std::string> {"Vrai", "Faux"}));
    EXPECT_EQ(session.UndoName(), "l'ajout de la question 4");
    session.DeleteQuestion(2);
    EXPECT_EQ(session.UndoName(), "la suppression de la question 2");
    EXPECT_EQ(Texts(), (std::vector<std::string> {"Q1", "Q3", ""}));
    session.MoveQuestion(3, 1);
    EXPECT_EQ(session.UndoName(), "le d\xE9placement de la question 3");
    EXPECT_EQ(Texts(), (std::vector<std::string> {"", "Q1", "Q3"}));
    EXPECT_EQ(recorder.changes,
        (std::vector<SessionChange> {{Part::QuestionList, 4}, {Part::QuestionList, 2}, {Part::QuestionList, 1}}));

    session.Undo();
    EXPECT_EQ(Texts(), (std::vector<std::string> {"Q1", "Q3", ""}));
    session.Undo();
    EXPECT_EQ(Texts(), (std::vector<std::string> {"Q1", "Q2", "Q3", ""}));
    EXPECT_EQ(recorder.changes.back(), (SessionChange {Part::QuestionList, 2}));
    EXPECT_EQ(session.RedoName(), "la suppression de la question 2");
    session.Undo();
    EXPECT_EQ(Texts(), (std::vector<std::string> {"Q1", "Q2", "Q3"}));
    EXPECT_FALSE(session.IsModified());
    session.Redo();
    session.Redo();
    session.Redo();
    EXPECT_EQ(Texts(), (std::vector<std::string> {"", "Q1", "Q3"}));
    EXPECT_FALSE(session.CanRedo());
}

TEST_F(SessionTest, EachFieldOfAQuestionIsOneNamedStep)
{
    session.Open(SavedQuiz("quiz.kwz", 2));
    const TQuest original = session.Document().Quests.Quest(1);
    const struct {
        std::function<void()> edit;
        const char* name;
    } edits[] = {
        {[&] { session.SetQuestionText(1, "Texte"); }, "la modification du texte de la question 1"},
        {[&] {
             session.SetChoices(1, {"x", "y", "z"});
         },
            "la modification des r\xE9ponses de la question 1"},
        {[&] { session.SetRightChoice(1, 2); }, "le choix de la bonne r\xE9ponse de la question 1"},
        {[&] { session.SetColumns(1, 3); }, "le changement du nombre de colonnes de la question 1"},
        {[&] { session.SetPriority(1, 2); }, "le changement de priorit\xE9 de la question 1"},
        {[&] { session.SetQuestionType(1, TRepType::rOList); }, "le changement de type de la question 1"},
        {[&] { session.SetFeedback(1, kWrongSide, false, 0, "Non."); }, "la modification du message de la question 1"},
        {[&] { session.SetAttachedFile(1, true, "voir: ", "\"a.htm\""); },
            "le changement du fichier joint de la question 1"},
    };
    for (const auto& edit : edits) {
        edit.edit();
        EXPECT_EQ(session.UndoName(), edit.name);
    }
    const TQuest edited = session.Document().Quests.Quest(1);
    EXPECT_EQ(edited.Reps, (std::vector<std::string> {"x", "y", "z"}));
    EXPECT_EQ(edited.GoodRep, 2);
    EXPECT_EQ(edited.Mess[kWrongSide], "Non.");
    for (std::size_t i = 0; i < std::size(edits); ++i)
        session.Undo();
    EXPECT_EQ(session.Document().Quests.Quest(1), original);
    EXPECT_THROW(session.SetRightChoice(1, 5), std::exception);

    // A store from the editor is one step named after what the author sees change.
    TQuest stored = session.Document().Quests.Quest(1);
    stored.QText = "Stock\xE9";
    stored.GoodRep = 1;
    session.UpdateQuestion(1, stored);
    EXPECT_EQ(session.UndoName(), "la modification de la question 1");
    // A difference nobody sees (the own text of a generic side) adds no step.
    const int depth = session.CanUndo() ? 1 : 0;
    stored.Mess[kRightSide] = "invisible";
    session.UpdateQuestion(1, stored);
    EXPECT_EQ(session.Document().Quests.Quest(1).Mess[kRightSide], "invisible");
    EXPECT_EQ(session.UndoName(), "la modification de la question 1");
    session.Undo();
    EXPECT_EQ(session.Document().Quests.Quest(1), original);
    EXPECT_EQ(depth, 1);
}

TEST_F(SessionTest, MessagePageLayoutHeaderAndStyleStepsUndo)
{
    session.Open(SavedQuiz("quiz.kwz", 3));
    const std::string saved = DocumentBytes(session.Document());
    // Question 3 uses the third of three wrong-answer messages, question 2 the second.
    EXPECT_EQ(session.AddGenericMessage(kWrongSide, "Deux"), 1);
    EXPECT_EQ(session.AddGenericMessage(kWrongSide, "Trois"), 2);
    session.SetFeedback(2, kWrongSide, true, 1, "");
    session.SetFeedback(3, kWrongSide, true, 2, "");
    recorder.changes.clear();
    session.DeleteGenericMessage(kWrongSide, 1);
    EXPECT_EQ(session.UndoName(), "la suppression d'un message g\xE9n\xE9rique");
    EXPECT_EQ(session.Document().Quests.GenMess[kWrongSide].size(), 2u);
    EXPECT_EQ(session.Document().Quests.Quest(2).MessIdx[kWrongSide], 0);
    EXPECT_EQ(session.Document().Quests.Quest(3).MessIdx[kWrongSide], 1);
    EXPECT_EQ(recorder.changes, (std::vector<SessionChange> {{Part::Messages, kWrongSide}}));
    session.Undo();
    EXPECT_EQ(session.Document().Quests.Quest(3).MessIdx[kWrongSide], 2);
    EXPECT_EQ(session.Document().Quests.GenMess[kWrongSide][1], "Deux");
    session.DeleteGenericMessage(kRightSide, 0); // the last message of a bank stays
    EXPECT_EQ(session.Document().Quests.GenMess[kRightSide].size(), 1u);

    session.SetGenericMessage(kWrongSide, 2, "Trois!");
    session.SetNoAnswerMessage("Rien?");
    EXPECT_EQ(session.UndoName(), "la modification du message de non-r\xE9ponse");
    session.SetPageText(2, "Fin", "Voil\xE0.");
    EXPECT_EQ(session.UndoName(), "la modification de la page \xAB R\xE9sultats \xBB");
    EXPECT_EQ(recorder.changes.back(), (SessionChange {Part::Pages, 2}));
    session.SetLayoutFlags(false, true, false);
    QuizHeader header = session.Document().Header;
    header.AuthorName = "Claire";
    session.SetHeader(header);
    EXPECT_EQ(session.UndoName(), "la modification des informations personnelles");
    header.UseCertainty = true;
    session.SetHeader(header);
    EXPECT_EQ(session.UndoName(), "la modification des param\xE8tres du quiz");
    TStylePrefs style = session.Document().Style;
    style.StyleSpecs[1].Margin = "12px";
    session.SetStyle(style);
    EXPECT_EQ(session.UndoName(), "la modification du style");
    EXPECT_NE(session.Document().Style.MakeStyleSheet().find("12px"), std::string::npos);

    while (session.CanUndo())
        session.Undo();
    EXPECT_EQ(DocumentBytes(session.Document()), saved);
    EXPECT_FALSE(session.IsModified());
    while (session.CanRedo())
        session.Redo();
    EXPECT_EQ(session.Document().Pages.GetTitle(2), "Fin");
    EXPECT_EQ(session.Document().Header.AuthorName, "Claire");
    EXPECT_TRUE(session.Document().Layout.NoBorder);
    EXPECT_EQ(session.Document().Quests.NoAnswerMess, "Rien?");
}

TEST_F(SessionTest, AnEditThatChangesNothingAddsNoStep)
{
    session.Open(SavedQuiz("quiz.kwz", 2));
    session.SetQuestionText(1, "Q1");
    session.SetHeader(session.Document().Header);
    session.SetStyle(session.Document().Style);
    session.SetPageText(0, session.Document().Pages.GetTitle(0), session.Document().Pages.GetBody(0));
    session.MoveQuestion(2, 2);
    session.UpdateQuestion(1, session.Document().Quests.Quest(1));
    EXPECT_FALSE(session.CanUndo());
    EXPECT_FALSE(session.IsModified());
    EXPECT_TRUE(recorder.changes.size() == 1); // the opening only
}

TEST_F(SessionTest, ABoxStoredAtEachKeyIsOneStepUntilSomethingElseHappens)
{
    session.Open(SavedQuiz("quiz.kwz", 1));
    const std::string original = session.Document().Quests.GenMess[kRightSide][0];
    for (const char* typed : {"B", "Br", "Bra", "Bravo"})
        session.SetGenericMessage(kRightSide, 0, typed);
    session.Undo();
    EXPECT_EQ(session.Document().Quests.GenMess[kRightSide][0], original);
    EXPECT_FALSE(session.CanUndo());
    session.Redo();
    EXPECT_EQ(session.Document().Quests.GenMess[kRightSide][0], "Bravo");

    // A save, another entry or another edit ends the step.
    session.Save();
    session.SetGenericMessage(kRightSide, 0, "Bravo!");
    session.SetNoAnswerMessage("Rien");
    session.SetNoAnswerMessage("Rien?");
    session.Undo();
    EXPECT_EQ(session.Document().Quests.GenMess[kRightSide][0], "Bravo!");
    session.Undo();
    EXPECT_EQ(session.Document().Quests.GenMess[kRightSide][0], "Bravo");
    EXPECT_FALSE(session.IsModified());
}

TEST_F(SessionTest, TheHistoryKeepsAtLeastAHundredSteps)
{
    session.Open(SavedQuiz("quiz.kwz", 2));
    for (int i = 0; i < 600; ++i)
        session.SetQuestionText(1, "v" + std::to_string(i));
    int undone = 0;
    while (session.CanUndo()) {
        session.Undo();
        ++undone;
    }
    EXPECT_GE(undone, 100);
    EXPECT_EQ(undone, static_cast<int>(EditHistory::kDepth));
    EXPECT_TRUE(session.IsModified()); // the saved state fell off the history
}

TEST_F(SessionTest, ImportedTextIsANewUntitledModifiedDocument)
{
    session.Open(SavedQuiz("quiz.kwz", 2));
    session.SetQuestionText(1, "Export\xE9");
    const std::string text = session.ExportText();
    EXPECT_EQ(text, folder.Path() + "quiz.txt");
    session.ImportText(text);
    EXPECT_EQ(session.Path(), "");
    EXPECT_TRUE(session.IsModified());
    EXPECT_FALSE(session.CanUndo());
    EXPECT_EQ(Texts(), (std::vector<std::string> {"Export\xE9", "Q2"}));
    EXPECT_THROW(session.ImportText(folder.Path() + "absent.txt"), std::exception);
    EXPECT_EQ(Texts(), (std::vector<std::string> {"Export\xE9", "Q2"}));
}

TEST_F(SessionTest, ProductionsUseTheDocumentsFolders)
{
    session.Open(SavedQuiz("chimie.kwz", 2));
    const ProduceOutcome site = session.ProduceSite("");
    EXPECT_TRUE(site.Produced) << site.Message;
    EXPECT_EQ(session.Site().OutDir, folder.Path() + "chimie/");
    EXPECT_EQ(notes.size(), 2u); // the two new folders
    const ExamOutcome exam = session.WriteExam();
    EXPECT_TRUE(exam.Written);
    std::ifstream examFile(folder.Path() + "chimie/chimieexm.htm");
    EXPECT_TRUE(examFile.good());
    const StandaloneOutcome page = session.ProduceStandalone("");
    EXPECT_TRUE(page.Produced) << page.Message;
    EXPECT_EQ(page.OutputPath, folder.Path() + "chimie.html");

    session.New();
    EXPECT_FALSE(session.WriteExam().Written);
    EXPECT_FALSE(session.ProduceSite("").Produced);
}

// The platform files land beside the document.
TEST_F(SessionTest, PlatformFilesGoOutBesideTheDocument)
{
    session.Open(SavedQuiz("chimie.v2.kwz", 2));
    EXPECT_EQ(session.ExportGift().Path, folder.Path() + "chimie.gift");
    EXPECT_EQ(session.ExportMoodleXml().Path, folder.Path() + "chimie.xml");
    EXPECT_EQ(session.ProduceScormPackage("").OutputPath, folder.Path() + "chimie-scorm.zip");
    session.New();
    // Untitled, the exports need a file name.
    EXPECT_THROW(session.ExportGift(), Error);
    EXPECT_FALSE(session.ExportGift(folder.Path() + "autre.gift").Path.empty());
}

TImportedBank BankOf(std::vector<std::string> texts)
{
    TImportedBank bank;
    for (std::string& text : texts) {
        TQuest quest = NewQuestion(TRepType::rKWZ);
        quest.QText = std::move(text);
        quest.Reps = {"x", "y"};
        quest.NRep = 2;
        quest.GoodRep = 1;
        bank.Quests.push_back(std::move(quest));
    }
    return bank;
}

// Imported questions come after the question shown, as one step that undo
// takes back whole; a bank that brings nothing changes nothing.
TEST_F(SessionTest, ImportedQuestionsComeAfterTheQuestionShownAsOneStep)
{
    session.Open(SavedQuiz("chimie.kwz", 3));
    session.SetCurrentQuestion(1);
    TImportedBank bank = BankOf({"I1", "I2"});
    bank.Notes.push_back(SkippedQuestion(7, "Combien ?", "num\xE9rique"));
    const std::string report = session.ImportQuestions(std::move(bank), session.Document().Quests.CurQ);
    EXPECT_EQ(report,
        "2 questions import\xE9"
        "es, 1 non import\xE9"
        "e.\n  ligne 7, \xAB\xA0"
        "Combien ?\xA0\xBB : non import\xE9"
        "e : num\xE9rique");
    EXPECT_EQ(Texts(), (std::vector<std::string> {"Q1", "I1", "I2", "Q2", "Q3"}));
    EXPECT_EQ(session.UndoName(), "l'importation de 2 questions");
    EXPECT_TRUE(session.IsModified());
    session.Undo();
    EXPECT_EQ(Texts(), (std::vector<std::string> {"Q1", "Q2", "Q3"}));
    EXPECT_FALSE(session.IsModified());
    session.Redo();
    EXPECT_EQ(Texts(), (std::vector<std::string> {"Q1", "I1", "I2", "Q2", "Q3"}));

    session.Undo();
    TImportedBank nothing;
    nothing.Notes.push_back(SkippedQuestion(1, "Combien ?", "num\xE9rique"));
    try {
        session.ImportQuestions(std::move(nothing), 0);
        ADD_FAILURE() << "an empty bank was imported";
    } catch (const ImportError& e) {
        EXPECT_NE(std::string(e.what()).find("ligne 1, \xAB\xA0"
                                             "Combien ?"),
            std::string::npos)
            << e.what();
    }
    EXPECT_FALSE(session.IsModified());
    EXPECT_FALSE(session.CanUndo());
}

// Pictures carried inside a bank are written beside the document, never over
// a file that holds other bytes; the questions follow the name they got.
TEST_F(SessionTest, ImportedPicturesLandBesideTheDocumentWithoutOverwriting)
{
    TImportedBank bank = BankOf({"Voyez " + PictureTag("carte.png", "carte"), "Et " + PictureTag("logo.png", "")});
    bank.Pictures = {{"carte.png", "PNG-carte"}, {"logo.png", "PNG-logo"}};
    session.New();
    EXPECT_THROW(session.ImportQuestions(bank, 0), Error); // untitled: no folder for them
    EXPECT_EQ(session.Document().Quests.Count(), 0);

    session.Open(SavedQuiz("geo.kwz", 1));
    folder.Write("carte.png", "une autre carte");
    folder.Write("logo.png", "PNG-logo");
    session.ImportQuestions(std::move(bank), 1);
    EXPECT_EQ(ReadWholeFile(folder.Path() + "carte.png"), "une autre carte");
    EXPECT_EQ(ReadWholeFile(folder.Path() + "carte-2.png"), "PNG-carte");
    EXPECT_EQ(ReadWholeFile(folder.Path() + "logo.png"), "PNG-logo");
    EXPECT_EQ(Texts(),
        (std::vector<std::string> {
            "Q1", "Voyez " + PictureTag("carte-2.png", "carte"), "Et " + PictureTag("logo.png", "")}));
}

} // namespace
} // namespace tavimor
