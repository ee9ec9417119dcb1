#include "base/Errors.h"
#include "model/QuestModel.h"
#include "model/QuizHeader.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tavimor {
namespace {

// The error text a call stops with, or "" when it returns.
std::string ErrorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

// A list of count questions whose texts are "Q1", "Q2", ...
TQuestList Numbered(int count)
{
    TQuestList list;
    for (int n = 1; n <= count; ++n) {
        list.AddQuest();
        list.Current().QText = "Q" + std::to_string(n);
    }
    return list;
}

std::vector<std::string> Texts(const TQuestList& list)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list.Count(); ++i)
        texts.push_back(list.GetQText(i));
    return texts;
}

TEST(QuestModel, NewDocumentAndNewQuestion)
{
    TQuestList list;
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.CurQ, 0);
    EXPECT_EQ(list.GenMess[0], std::vector<std::string> {"Cette r\xE9ponse est fausse."});
    EXPECT_EQ(list.GenMess[1], std::vector<std::string> {"Cette r\xE9ponse est la bonne."});
    EXPECT_EQ(list.NoAnswerMess, "Vous n'avez pas r\xE9pondu \xE0 cette question.");
    EXPECT_EQ(list.LReserved, 0);

    EXPECT_EQ(list.AddQuest(), 1);
    EXPECT_EQ(list.AddQuest(), 2);
    EXPECT_EQ(list.CurQ, 2);
    const TQuest& q = list.Quest(2);
    EXPECT_EQ(q.QType, TRepType::rKWZ);
    EXPECT_TRUE(q.Reps.empty());
    EXPECT_EQ(q.GoodRep, -1);
    EXPECT_EQ(q.Columns, 1);
    EXPECT_EQ(q.UseGenMess, (std::array<bool, 2> {true, true}));
    EXPECT_EQ(q.MessIdx, (std::array<std::int32_t, 2> {0, 0}));
    EXPECT_EQ(q.Points, 0);
    EXPECT_FALSE(q.UseExtFile);
    EXPECT_EQ(list.GetGoodRep(2), 65535);
}

TEST(QuestModel, DeleteShowsTheNeighbour)
{
    struct Case {
        int count;
        std::uint16_t deleted;
        std::vector<std::string> left;
        std::uint16_t curQ;
    };
    const Case cases[] = {
        {1, 1, {}, 0}, // the only question: an empty document
        {3, 3, {"Q1", "Q2"}, 2}, // the last one: the new last one is shown
        {3, 2, {"Q1", "Q3"}, 2}, // one in the middle: the next takes its place
        {3, 1, {"Q2", "Q3"}, 1}, {3, 0, {"Q1", "Q2", "Q3"}, 3}, // 0 does nothing
    };
    for (const Case& c : cases) {
        TQuestList list = Numbered(c.count);
        list.DeleteQuest(c.deleted);
        EXPECT_EQ(Texts(list), c.left) << c.count << " " << c.deleted;
        EXPECT_EQ(list.CurQ, c.curQ) << c.count << " " << c.deleted;
        if (c.curQ > 0) {
            EXPECT_EQ(list.Current().QText, list.GetQText(c.curQ - 1));
        }
    }
}

TEST(QuestModel, MoveKeepsCurrentOnItsQuestion)
{
    TQuestList list = Numbered(4);
    list.Quest(2);
    list.Move(0, 3);
    EXPECT_EQ(list.Current().QText, "Q2");
    EXPECT_EQ(Texts(list), (std::vector<std::string> {"Q2", "Q3", "Q4", "Q1"}));
    list.Quest(3);
    list.Move(3, 1);
    EXPECT_EQ(list.Current().QText, "Q4");
    EXPECT_EQ(Texts(list), (std::vector<std::string> {"Q2", "Q1", "Q3", "Q4"}));
    list.Quest(4);
    list.Move(3, 3);
    EXPECT_EQ(list.Current().QText, "Q4");
    EXPECT_EQ(ErrorOf([&] { list.Move(4, 0); }), "List index out of bounds (4)");
}

TEST(QuestModel, ClearKeepsTheBanks)
{
    TQuestList list = Numbered(3);
    list.GenMess[0].push_back("Autre");
    list.NoAnswerMess = "Rien?";
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.CurQ, 0);
    EXPECT_EQ(list.GenMess[0].size(), 2u);
    EXPECT_EQ(list.NoAnswerMess, "Rien?");
}

TEST(QuestModel, BadNumbersReportTheZeroBasedIndex)
{
    TQuestList list = Numbered(2);
    list.Quest(1).Reps = {"a"};
    const std::vector<std::pair<std::function<void()>, std::string>> cases {
        {[&] { list.GetQType(0); }, "List index out of bounds (-1)"},
        {[&] { list.GetPoints(3); }, "List index out of bounds (2)"},
        {[&] { list.GetQText(2); }, "List index out of bounds (2)"},
        {[&] { list.GetReps(-1); }, "List index out of bounds (-1)"},
        {[&] { list.GetRep(1, 1); }, "List index out of bounds (1)"},
        {[&] { list.DeleteQuest(3); }, "List index out of bounds (2)"},
        {[&] { list.FeedbackMessage(1, 2); }, "List index out of bounds (2)"},
        {[&] {
             list.Quest(1).MessIdx[0] = 5;
             list.FeedbackMessage(1, 0);
         },
            "List index out of bounds (5)"},
        {[&] { list.GetRep(1, 0); }, ""},
    };
    for (const auto& [call, error] : cases)
        EXPECT_EQ(ErrorOf(call), error);
    EXPECT_EQ(list.Count(), 2);
}

TEST(QuestModel, PointsAndChoiceCounts)
{
    TQuestList list;
    EXPECT_EQ(list.TotalPoints(), 0);
    list.AddQuest();
    list.Current().Points = 40000;
    list.AddQuest();
    list.Current().Points = 30000;
    EXPECT_EQ(list.TotalPoints(), 70000 - 65536);

    list.GetReps(1) = {"a", "b", "c"};
    EXPECT_EQ(list.Quest(2).NRep, 0);
    EXPECT_EQ(list.CountReps(2), 3);
    EXPECT_EQ(list.Quest(2).NRep, 3);
    list.Quest(2).GoodRep = 2;
    EXPECT_EQ(list.GetGoodRep(2), 2);
    list.Quest(2).GoodRep = -2;
    EXPECT_EQ(list.GetGoodRep(2), 65534);
}

TEST(QuestModel, FixOptionTag)
{
    struct Case {
        TRepType type;
        std::string text;
        std::string fixed;
    };
    const Case cases[] = {
        {TRepType::rKWZ, "<option>Quelle ville?", "Quelle ville?"},
        {TRepType::rTrue, "<option>", ""},
        {TRepType::rKWZ, "La <option> reste", "La <option> reste"},
        {TRepType::rOList, "", "<option>"},
        {TRepType::rOList, "La <option> de", "La <option> de"},
        {TRepType::rOList, "Paris est la", "Paris est la <option>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FixOptionTag(c.type, c.text), c.fixed) << c.text;
}

TEST(QuestModel, TypeNames)
{
    EXPECT_STREQ(RepTypeName(TRepType::rKWZ), "KWZ Standard");
    EXPECT_STREQ(RepTypeName(TRepType::rTrue), "Vrai/Faux");
    EXPECT_STREQ(RepTypeName(TRepType::rOList), "Liste d'options");
    TQuestList list;
    list.AddQuest();
    list.SetQType(1, TRepType::rOList);
    EXPECT_EQ(list.GetQType(1), TRepType::rOList);
}

TEST(QuestModel, ShiftMessIdxTouchesOnlyTheBankConcerned)
{
    TQuestList list;
    const std::int32_t before[] = {0, 1, 2, 3};
    for (const std::int32_t index : before) {
        list.AddQuest();
        list.Current().MessIdx = {index, index};
    }
    list.ShiftMessIdx(1, kWrongSide);
    std::vector<std::int32_t> wrong;
    std::vector<std::int32_t> right;
    for (int n = 1; n <= list.Count(); ++n) {
        wrong.push_back(list.Quest(n).MessIdx[0]);
        right.push_back(list.Quest(n).MessIdx[1]);
    }
    EXPECT_EQ(wrong, (std::vector<std::int32_t> {0, 0, 1, 2}));
    EXPECT_EQ(right, (std::vector<std::int32_t> {0, 1, 2, 3}));

    list.ShiftMessIdx(0, kRightSide);
    EXPECT_EQ(list.Quest(4).MessIdx[1], 2);
    EXPECT_EQ(list.Quest(1).MessIdx[1], 0);
}

TEST(QuizHeader, DefaultPointsValue)
{
    const std::pair<std::string, int> cases[] = {
        {"5", 5},
        {"0", 0},
        {"-3", -3},
        {"+4", 4},
        {"  7", 7},
        {"", 10},
        {"abc", 10},
        {"12x", 10},
        {"1.5", 10},
        {"+-2", 10},
        {"99999999999", 10},
        {"$14", 20},
        {"\t6", 6},
        {"7 ", 10},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(DefaultPointsValue(text), value) << '"' << text << '"';
}

TEST(QuizHeader, StartupValues)
{
    const QuizHeader h;
    EXPECT_EQ(h.AuthorLabel, "Nom de l'auteur");
    EXPECT_EQ(h.EmailLabel, "Courriel");
    EXPECT_EQ(h.InstitLabel, "Institution");
    EXPECT_EQ(h.UrlLabel, "Adresse URL");
    EXPECT_EQ(h.CountSentence, "Ce module compte <Q> questions.");
    EXPECT_TRUE(h.ShowCount);
    EXPECT_EQ(h.CertSentence, "Je suis certain(e) de cette r\xE9ponse.");
    EXPECT_EQ(TQuestList().NoAnswerMess, "Vous n'avez pas r\xE9pondu \xE0 cette question.");
}

} // namespace
} // namespace tavimor
