#include "base/Errors.h"
#include "base/FileIo.h"
#include "base/ValueStream.h"
#include "common/temp_folder.h"
#include "model/DocumentFile.h"
#include "model/hex_bytes.h"
#include "model/sample_document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tavimor {
namespace {

using namespace std::string_literals;
using test::Fields;
using test::Hex;
using test::RichDocument;
using test::StartupDocument;
using test::WriteBytes;

// The error text a read stops with, or "" when the whole document was read.
std::string ReadError(TQuizDocument& doc, std::string_view bytes)
{
    try {
        ReadDocument(doc, bytes);
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

// The bytes of the question records of a document: what lies between the
// question count with LReserved and the style block.
std::string RecordBytes(const TQuizDocument& doc)
{
    TQuizDocument none = StartupDocument();
    none.Header = doc.Header;
    none.Quests.LReserved = doc.Quests.LReserved;
    const std::string without = DocumentBytes(none);
    const std::string with = DocumentBytes(doc);
    // The first difference is the payload of the count (a one-byte integer here).
    const auto [differ, unused] = std::mismatch(without.begin(), without.end(), with.begin());
    const auto start = static_cast<std::size_t>(differ - without.begin()) + 1 + 2; // count, then LReserved 0
    return with.substr(start, with.size() - without.size());
}

void ExpectSameDocument(const TQuizDocument& read, const TQuizDocument& written)
{
    EXPECT_EQ(Fields(read.Header), Fields(written.Header));
    EXPECT_EQ(read.Layout.MenuLeft, written.Layout.MenuLeft);
    EXPECT_EQ(read.Layout.NoBorder, written.Layout.NoBorder);
    EXPECT_EQ(read.Layout.DistinctPages, written.Layout.DistinctPages);
    EXPECT_EQ(read.Layout.ImgNames, written.Layout.ImgNames);
    EXPECT_EQ(read.Quests.GenMess, written.Quests.GenMess);
    EXPECT_EQ(read.Quests.NoAnswerMess, written.Quests.NoAnswerMess);
    EXPECT_EQ(read.Quests.LReserved, written.Quests.LReserved);
    for (int page = 0; page < THMPList::kPageCount; ++page) {
        EXPECT_EQ(read.Pages.GetTitle(page), written.Pages.GetTitle(page));
        EXPECT_EQ(read.Pages.GetBody(page), written.Pages.GetBody(page));
    }
    ASSERT_EQ(read.Quests.Count(), written.Quests.Count());
    for (int n = 1; n <= read.Quests.Count(); ++n)
        EXPECT_EQ(Fields(read.Quests.Quest(n)), Fields(written.Quests.Quest(n))) << "question " << n;
}

TEST(DocumentFile, RoundTripKeepsEveryValue)
{
    const TQuizDocument written = RichDocument();
    const std::string bytes = DocumentBytes(written);

    TQuizDocument read = StartupDocument();
    const LoadOutcome outcome = ReadDocument(read, bytes);
    EXPECT_EQ(outcome.version, 5);
    EXPECT_FALSE(outcome.refusal);
    ExpectSameDocument(read, written);
    EXPECT_EQ(read.Style.BGColor, "ivory");
    EXPECT_EQ(read.Style.PMargin, "3%");
    EXPECT_EQ(read.Style.StyleSpecs[3].Options, "border:1px;\r\npadding-top:2px");
    EXPECT_EQ(read.Style.StyleSpecs[13].Selector, ".encadr\xE9");
    EXPECT_TRUE(read.Style.LinkStyles[1].Underline);
    EXPECT_EQ(DocumentBytes(read), bytes);
}

TEST(DocumentFile, StartsWithTheVersionAndTheHeader)
{
    const std::string bytes = DocumentBytes(StartupDocument());
    EXPECT_EQ(Hex(bytes.substr(0, 4)), "02 05 06 0F");
    EXPECT_EQ(bytes.substr(4, 15), "Nom de l'auteur");
    // Accented header text is stored as UTF-8 with tag 20.
    const std::size_t certainty = bytes.find("Je suis certain(e) de cette r\xC3\xA9ponse.");
    ASSERT_NE(certainty, std::string::npos);
    EXPECT_EQ(Hex(bytes.substr(certainty - 5, 5)), "14 25 00 00 00");
    // The default points, the three spare strings, then the layout block with its default flags.
    EXPECT_NE(bytes.find("\x06\x01"
                         "0\x06\x00\x06\x00\x06\x00\x09\x08\x08\x06\x0C"
                         "empty string"s),
        std::string::npos);
}

TEST(DocumentFile, QuestionRecordBytes)
{
    TQuizDocument plain = StartupDocument();
    plain.Quests.AddQuest();
    plain.Quests.Current().QText = "Q";
    EXPECT_EQ(Hex(RecordBytes(plain)),
        "02 00 02 00 02 00 06 01 51 02 00 02 00 " // reserved, type, priority, text, points, no choice
        "09 06 00 02 00 09 06 00 02 00 " // both sides: generic, own text, index
        "08 06 00 06 00 08 02 00"); // summary, file, link, use file, points again

    TQuizDocument wide = StartupDocument();
    wide.Quests.AddQuest();
    TQuest& q = wide.Quests.Current();
    q.QType = TRepType::rOList;
    q.Priority = 1;
    q.QText = "\xE9";
    q.Points = 40000;
    q.Reps = {"a"};
    q.NRep = 1;
    q.Columns = 65535;
    q.UseGenMess[0] = false;
    q.MessIdx[0] = 300;
    q.ShowResum = true;
    q.ExtFile = "f";
    q.UseExtFile = true;
    EXPECT_EQ(Hex(RecordBytes(wide)),
        "02 00 02 02 02 01 14 02 00 00 00 C3 A9 04 40 9C 00 00 " // points zero-extended
        "02 01 06 01 61 02 FF 04 FF FF 00 00 " // one choice, none correct, columns
        "08 06 00 03 2C 01 09 06 00 02 00 "
        "09 06 01 66 06 00 09 04 40 9C 00 00");
}

TEST(DocumentFile, QuestionWithoutChoiceReadsWithNewQuestionDefaults)
{
    TQuizDocument written = StartupDocument();
    written.Quests.AddQuest();
    TQuest& q = written.Quests.Current();
    q.GoodRep = 3; // not written without choices
    q.Columns = 4;
    TQuizDocument read = StartupDocument();
    ReadDocument(read, DocumentBytes(written));
    ASSERT_EQ(read.Quests.Count(), 1);
    EXPECT_EQ(read.Quests.Quest(1).GoodRep, -1);
    EXPECT_EQ(read.Quests.Quest(1).Columns, 1);
    EXPECT_EQ(read.Quests.Quest(1).NRep, 0);
}

TEST(DocumentFile, EmptyDocumentAndEmptyBank)
{
    TQuizDocument written = StartupDocument();
    written.Quests.GenMess[0].clear();
    TQuizDocument read = StartupDocument();
    ReadDocument(read, DocumentBytes(written));
    EXPECT_TRUE(read.Quests.GenMess[0].empty());
    EXPECT_EQ(read.Quests.GenMess[1], written.Quests.GenMess[1]);
    EXPECT_EQ(read.Quests.Count(), 0);
}

TEST(DocumentFile, Version4HasNoStyleBlock)
{
    TQuizDocument doc = StartupDocument();
    doc.Style.BGColor = "navy"; // left as it was
    std::vector<std::string> remembered;
    doc.Pages.SetRememberHook([&](int page, THMPList::TextKind, const std::string& text) {
        remembered.push_back(std::to_string(page) + ":" + text);
    });

    const LoadOutcome outcome = ReadDocument(doc, test::Version4File());
    EXPECT_EQ(outcome.version, 4);
    EXPECT_EQ(doc.Header.AuthorName, "Auteur v4");
    EXPECT_EQ(doc.Quests.NoAnswerMess, "Sans r\xE9ponse.");
    EXPECT_EQ(doc.Quests.NoAnswerMess, "Sans r\xE9ponse.");
    EXPECT_EQ(doc.Header.DefaultPoints, "7");
    EXPECT_FALSE(doc.Layout.MenuLeft);
    EXPECT_TRUE(doc.Layout.NoBorder);
    EXPECT_FALSE(doc.Layout.DistinctPages);
    EXPECT_EQ(doc.Layout.ImgNames[0], "img0");
    EXPECT_EQ(doc.Layout.ImgNames[8], "img8");
    EXPECT_EQ(doc.Quests.GenMess[0], (std::vector<std::string> {"Faux!", "Non."}));
    EXPECT_EQ(doc.Quests.GenMess[1], (std::vector<std::string> {"Juste!"}));
    EXPECT_EQ(doc.Pages.GetTitle(0),
        "Entr\xE9"
        "e");
    EXPECT_EQ(doc.Pages.GetBody(2), "Voici.");
    EXPECT_EQ(doc.Quests.LReserved, 9);
    ASSERT_EQ(doc.Quests.Count(), 2);
    const TQuest& second = doc.Quests.Quest(2);
    EXPECT_EQ(second.QText, "Deuxi\xE8me question");
    EXPECT_EQ(second.Reps, (std::vector<std::string> {"oui", "non"}));
    EXPECT_EQ(second.GoodRep, 1);
    EXPECT_EQ(second.Priority, 1);
    EXPECT_EQ(second.Points, 6); // the second copy of the points stays
    EXPECT_EQ(doc.Quests.Quest(1).Points, 5);
    EXPECT_EQ(doc.Style.BGColor, "navy");
    // Loading the evaluation and results texts makes them the remembered ones.
    EXPECT_NE(std::find(remembered.begin(), remembered.end(), "1:Fini?"), remembered.end());
    EXPECT_NE(std::find(remembered.begin(), remembered.end(), "2:Voici."), remembered.end());
}

TEST(DocumentFile, Version3ReadsTheOldBlockAndReplacesTheFirstPageTexts)
{
    TQuizDocument doc = StartupDocument();
    doc.Style.BGColor = "navy";
    const LoadOutcome outcome = ReadDocument(doc, test::Version3File());
    EXPECT_EQ(outcome.version, 3);
    EXPECT_EQ(doc.Header.AuthorName, "Auteur v3");
    EXPECT_FALSE(doc.Layout.MenuLeft);
    EXPECT_TRUE(doc.Layout.NoBorder);
    EXPECT_TRUE(doc.Layout.DistinctPages);
    EXPECT_EQ(doc.Layout.ImgNames[4], "old4");
    EXPECT_EQ(doc.Pages.GetTitle(0),
        "Entr\xE9"
        "e");
    EXPECT_EQ(doc.Pages.GetBody(1), "Revoyez.");
    EXPECT_EQ(doc.Quests.Count(), 2);
    EXPECT_EQ(doc.Quests.Quest(2).Points, 6);
    EXPECT_EQ(doc.Style.BGColor, "navy");
}

TEST(DocumentFile, HigherVersionsReadAsVersion5)
{
    TStylePrefs style;
    style.BGColor = "olive";
    TValueWriter block;
    style.WriteTo(block);

    TQuizDocument doc = StartupDocument();
    const LoadOutcome outcome = ReadDocument(doc, test::Version4File(6) + block.Bytes());
    EXPECT_EQ(outcome.version, 6);
    EXPECT_EQ(doc.Quests.Count(), 2);
    EXPECT_EQ(doc.Style.BGColor, "olive");
}

TEST(DocumentFile, OldVersionsAreRefusedUnread)
{
    const std::pair<int, std::string> cases[] = {
        {2,
            "La version 2 n'est plus support\xE9"
            "e..."},
        {0,
            "La version 0 n'est plus support\xE9"
            "e..."},
        {-7,
            "La version -7 n'est plus support\xE9"
            "e..."},
    };
    for (const auto& [version, refusal] : cases) {
        TValueWriter w;
        w.WriteInteger(version);
        test::WriteStartupHeader(w, "ignored");
        TQuizDocument doc = StartupDocument();
        const LoadOutcome outcome = ReadDocument(doc, w.Bytes());
        EXPECT_EQ(outcome.version, version);
        ASSERT_TRUE(outcome.refusal);
        EXPECT_EQ(*outcome.refusal, refusal);
        EXPECT_EQ(doc.Header.AuthorName, "");
    }
}

TEST(DocumentFile, NumbersKeepTheirWidth)
{
    // Points and choice counts keep their low 16 bits; the second points win.
    TValueWriter w;
    w.WriteInteger(5);
    test::WriteStartupHeader(w, "");
    THTMPrefs().WriteBlock(w);
    w.WriteInteger(1);
    w.WriteString("f");
    w.WriteInteger(1);
    w.WriteString("b");
    for (int i = 0; i < 6; ++i)
        w.WriteString("");
    w.WriteInteger(65536 + 1); // question count: 1
    w.WriteInteger(0);
    w.WriteInteger(-5); // reserved
    w.WriteInteger(258); // type byte 2
    w.WriteInteger(0);
    w.WriteString("<option>");
    w.WriteInteger(-1); // points, first copy
    w.WriteInteger(65537); // one choice
    w.WriteString("x");
    w.WriteInteger(0);
    w.WriteInteger(-1); // columns 65535
    for (int side = 0; side < 2; ++side) {
        w.WriteBoolean(true);
        w.WriteString("");
        w.WriteInteger(0);
    }
    w.WriteBoolean(false);
    w.WriteString("");
    w.WriteString("");
    w.WriteBoolean(false);
    w.WriteInteger(70000); // points, second copy
    TStylePrefs().WriteTo(w);

    TQuizDocument doc = StartupDocument();
    ASSERT_EQ(ReadError(doc, w.Bytes()), "");
    ASSERT_EQ(doc.Quests.Count(), 1);
    const TQuest& q = doc.Quests.Quest(1);
    EXPECT_EQ(q.QReserved, -5);
    EXPECT_EQ(q.QType, TRepType::rOList);
    EXPECT_EQ(q.NRep, 1);
    EXPECT_EQ(q.Reps, std::vector<std::string> {"x"});
    EXPECT_EQ(q.Columns, 65535);
    EXPECT_EQ(q.Points, 70000 - 65536);
}

// A small but complete document for the byte-by-byte damage sweeps.
std::string SweepDocument()
{
    TQuizDocument doc = RichDocument();
    doc.Quests.Quest(3).Mess[1] = "court";
    doc.Pages.SetBody(2, "Voici.");
    return DocumentBytes(doc);
}

TEST(DocumentFileDamage, TruncatedAnywhereStopsWithStreamReadError)
{
    const std::string bytes = SweepDocument();
    const TQuizDocument fresh = StartupDocument();
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        TQuizDocument doc = fresh;
        ASSERT_EQ(ReadError(doc, std::string_view(bytes).substr(0, size)), "Stream read error") << size;
    }
}

TEST(DocumentFileDamage, ChangedBytesGiveAReadErrorOrADocument)
{
    const std::string bytes = SweepDocument();
    const TQuizDocument fresh = StartupDocument();
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        for (const char replacement : {'\x00', '\x0C', '\x14', '\xFF'}) {
            std::string damaged = bytes;
            damaged[at] = replacement;
            TQuizDocument doc = fresh;
            try {
                ReadDocument(doc, damaged);
            } catch (const StreamReadError&) {
            } catch (const InvalidPropertyValue&) {
            } catch (const ConvertError&) {
                // a damaged element style text holding a non-numeric number
            } catch (const std::exception& e) {
                ADD_FAILURE() << at << ": " << e.what();
            }
        }
    }
}

TEST(DocumentFileDamage, WrongKindStopsThereAndKeepsWhatWasRead)
{
    std::string bytes = test::Version4File();
    const std::string secondText = "Deuxi\xC3\xA8me";
    const std::size_t at = bytes.find(secondText);
    ASSERT_NE(at, std::string::npos);
    bytes[at - 5] = '\x02'; // the string's tag 20 becomes an integer tag

    TQuizDocument doc = StartupDocument();
    EXPECT_EQ(ReadError(doc, bytes), "Invalid property value");
    EXPECT_EQ(doc.Header.AuthorName, "Auteur v4");
    ASSERT_EQ(doc.Quests.Count(), 2);
    EXPECT_EQ(doc.Quests.Quest(1).Points, 5);
    EXPECT_EQ(doc.Quests.Quest(2).Priority, 1);
    EXPECT_EQ(doc.Quests.Quest(2).QText, "");
}

TEST(DocumentFileDamage, HugeCountsEndAtTheFirstMissingValue)
{
    TValueWriter head;
    head.WriteInteger(5);
    test::WriteStartupHeader(head, "");
    THTMPrefs().WriteBlock(head);

    TValueWriter bank = head;
    bank.WriteInteger(INT32_MAX);
    bank.WriteString("seul");
    TQuizDocument first = StartupDocument();
    EXPECT_EQ(ReadError(first, bank.Bytes()), "Stream read error");
    EXPECT_EQ(first.Quests.GenMess[0], std::vector<std::string> {"seul"});

    TValueWriter questions = head;
    for (int side = 0; side < 2; ++side) {
        questions.WriteInteger(1);
        questions.WriteString("m");
    }
    for (int i = 0; i < 6; ++i)
        questions.WriteString("");
    questions.WriteInteger(65535);
    questions.WriteInteger(0);
    questions.WriteInteger(0);
    TQuizDocument second = StartupDocument();
    EXPECT_EQ(ReadError(second, questions.Bytes()), "Stream read error");
    EXPECT_EQ(second.Quests.Count(), 1);
}

TEST(DocumentFile, LoadAndSaveThroughFiles)
{
    const test::TempFolder folder("tavimor-doc");
    const std::string path = folder.File("quiz.kwz");
    const TQuizDocument written = RichDocument();
    SaveDocument(written, path);
    EXPECT_EQ(ReadWholeFile(path), DocumentBytes(written));

    TQuizDocument read = StartupDocument();
    EXPECT_EQ(LoadDocument(read, path).version, 5);
    ExpectSameDocument(read, written);

    const std::string missing = folder.File("absent.kwz");
    TQuizDocument other = StartupDocument();
    try {
        LoadDocument(other, missing);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.what(), "Cannot open file " + missing);
    }
}

TEST(DocumentFile, StartupState)
{
    TQuizDocument doc = RichDocument();
    ResetToStartupState(doc, "/prefs");
    EXPECT_EQ(Fields(doc.Header), Fields(QuizHeader {}));
    EXPECT_EQ(doc.Quests.Count(), 0);
    EXPECT_EQ(doc.Quests.CurQ, 0);
    EXPECT_EQ(doc.Quests.GenMess, TQuestList().GenMess);
    EXPECT_TRUE(doc.Layout.MenuLeft);
    EXPECT_FALSE(doc.Layout.NoBorder);
    EXPECT_FALSE(doc.Layout.DistinctPages);
    EXPECT_EQ(doc.Layout.ImgNames, DefaultImageNames());
    EXPECT_EQ(doc.Pages.GetTitle(0), "");
    EXPECT_EQ(doc.Pages.GetBody(0), "");
    EXPECT_EQ(doc.Pages.GetTitle(1), "Termin\xE9?");
    EXPECT_EQ(doc.Pages.GetBody(1), "Vous pouvez maintenant revoir vos r\xE9ponses ou passer aux r\xE9sultats.");
    EXPECT_EQ(doc.Pages.GetTitle(2), "R\xE9sultats");
    EXPECT_EQ(doc.Pages.GetBody(2), "Voici vos r\xE9sultats.");
    EXPECT_EQ(doc.Style.PrefsDir, "/prefs");
    EXPECT_EQ(doc.Style.BGColor, "WHITE");
    EXPECT_EQ(doc.Style.StyleSpecs[5].Selector, "H6"); // the start-up element table
}

// A document several times the size of the reader's window, with values of
// every length (one longer than the window) so that values straddle its ends.
std::string LongDocumentBytes()
{
    TQuizDocument doc = RichDocument();
    for (int k = 0; k < 1500; ++k) {
        doc.Quests.AddQuest();
        TQuest& q = doc.Quests.Current();
        q.QText = "Q" + std::to_string(k) + std::string(static_cast<std::size_t>(k * 37 % 400), k % 2 ? 'a' : '\xE9');
        q.Reps = {"oui", std::string(static_cast<std::size_t>(k % 20), '\xE0'), "non"};
        q.NRep = 3;
        q.Mess[0] = std::string(static_cast<std::size_t>(k % 300), 'm');
    }
    doc.Quests.Quest(700).QText = std::string(100000, '\xE7');
    return DocumentBytes(doc);
}

TEST(DocumentFile, ReadingTheFileInPiecesGivesWhatReadingItWholeGives)
{
    const test::TempFolder folder("tavimor-doc");
    const std::string path = folder.File("long.kwz");
    const std::string bytes = LongDocumentBytes();
    ASSERT_GT(bytes.size(), 6u * 65536u);
    WriteBytes(path, bytes);
    TQuizDocument loaded = StartupDocument();
    LoadDocument(loaded, path);
    EXPECT_EQ(DocumentBytes(loaded), bytes);

    // Cut anywhere, around the window's ends and elsewhere: the same error and
    // the same values read before it.
    std::vector<std::size_t> sizes;
    for (std::size_t end = 65536; end < bytes.size(); end += 65536)
        for (std::size_t near = end - 3; near <= end + 3; ++near)
            sizes.push_back(near);
    for (std::size_t size = 1; size < bytes.size(); size += 40009)
        sizes.push_back(size);
    for (const std::size_t size : sizes) {
        const std::string_view cut = std::string_view(bytes).substr(0, size);
        WriteBytes(path, std::string(cut));
        TQuizDocument whole = StartupDocument();
        TQuizDocument pieces = StartupDocument();
        const std::string expected = ReadError(whole, cut);
        std::string error;
        try {
            LoadDocument(pieces, path);
        } catch (const Error& e) {
            error = e.what();
        }
        ASSERT_EQ(error, expected) << size;
        ASSERT_EQ(DocumentBytes(pieces), DocumentBytes(whole)) << size;
    }
}

} // namespace
} // namespace tavimor
