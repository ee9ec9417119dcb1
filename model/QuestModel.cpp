#include "model/QuestModel.h"

#include "base/Errors.h"

#include <algorithm>
#include <iterator>

namespace tavimor {
namespace {

constexpr const char* kDefaultWrongMess = "Cette r\xE9ponse est fausse.";
constexpr const char* kDefaultRightMess = "Cette r\xE9ponse est la bonne.";
constexpr const char* kDefaultNoAnswerMess = "Vous n'avez pas r\xE9pondu \xE0 cette question.";

} // namespace

void CheckFeedbackSide(int side)
{
    if (side != kWrongSide && side != kRightSide)
        throw ListIndexError(side);
}

const std::string& GenericMessage(const std::array<std::vector<std::string>, 2>& banks, int side, std::int32_t index)
{
    CheckFeedbackSide(side);
    const std::vector<std::string>& bank = banks[static_cast<std::size_t>(side)];
    if (index < 0 || static_cast<std::size_t>(index) >= bank.size())
        throw ListIndexError(index);
    return bank[static_cast<std::size_t>(index)];
}

std::optional<TClozeParts> SplitClozeText(const std::string& text)
{
    const std::string_view marker = kOptionMarker;
    const std::size_t at = text.find(marker);
    if (at == std::string::npos)
        return std::nullopt;
    const std::size_t restStart = std::min(text.size(), at + marker.size() + 1);
    return TClozeParts {text.substr(0, at), text.substr(restStart)};
}

const char* RepTypeName(TRepType type)
{
    switch (type) {
    case TRepType::rKWZ:
        return "KWZ Standard";
    case TRepType::rTrue:
        return "Vrai/Faux";
    case TRepType::rOList:
        return "Liste d'options";
    }
    return ""; // a type byte no editor writes, carried from a file
}

TQuestList::TQuestList()
{
    InitMessages();
}

void TQuestList::InitMessages()
{
    GenMess[kWrongSide] = {kDefaultWrongMess};
    GenMess[kRightSide] = {kDefaultRightMess};
    NoAnswerMess = kDefaultNoAnswerMess;
}

std::uint16_t TQuestList::AddQuest()
{
    quests_.emplace_back();
    current_ = quests_.size() - 1;
    CurQ = static_cast<std::uint16_t>(quests_.size());
    return CurQ;
}

void TQuestList::DeleteQuest(std::uint16_t n)
{
    if (n == 0)
        return;
    quests_.erase(quests_.begin() + static_cast<std::ptrdiff_t>(IndexOf(n)));
    const auto count = static_cast<std::uint16_t>(quests_.size());
    if (n > count)
        n = count;
    CurQ = n;
    // The question shown next (the one that took the removed one's place, or
    // the new last one) becomes current, as showing it in the editor does.
    current_ = n > 0 ? n - 1u : 0u;
}

void TQuestList::InsertQuest(int n, TQuest quest)
{
    if (n < 1 || n > Count() + 1)
        throw ListIndexError(static_cast<long long>(n) - 1);
    quests_.insert(quests_.begin() + (n - 1), std::move(quest));
    current_ = static_cast<std::size_t>(n - 1);
}

void TQuestList::InsertQuests(int n, std::vector<TQuest> quests)
{
    if (n < 1 || n > Count() + 1)
        throw ListIndexError(static_cast<long long>(n) - 1);
    quests_.insert(
        quests_.begin() + (n - 1), std::make_move_iterator(quests.begin()), std::make_move_iterator(quests.end()));
    current_ = static_cast<std::size_t>(n - 1);
}

void TQuestList::DeleteQuests(int n, int count)
{
    if (count <= 0)
        return;
    if (n < 1 || count > Count() - n + 1)
        throw ListIndexError(static_cast<long long>(n) - 1 + count - 1);
    quests_.erase(quests_.begin() + (n - 1), quests_.begin() + (n - 1 + count));
    const auto left = static_cast<std::uint16_t>(quests_.size());
    CurQ = static_cast<std::uint16_t>(std::min<int>(n, left));
    current_ = CurQ > 0 ? CurQ - 1u : 0u;
}

void TQuestList::Clear()
{
    quests_.clear();
    current_ = 0;
    CurQ = 0;
}

void TQuestList::Move(int from, int to)
{
    const int count = Count();
    if (from < 0 || from >= count)
        throw ListIndexError(from);
    if (to < 0 || to >= count)
        throw ListIndexError(to);
    const auto first = quests_.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);

    // Current keeps designating the same question.
    const auto cur = static_cast<int>(current_);
    if (cur == from)
        current_ = static_cast<std::size_t>(to);
    else if (from < cur && cur <= to)
        --current_;
    else if (to <= cur && cur < from)
        ++current_;
}

std::size_t TQuestList::IndexOf(int n) const
{
    if (n < 1 || n > Count())
        throw ListIndexError(static_cast<long long>(n) - 1);
    current_ = static_cast<std::size_t>(n - 1);
    return current_;
}

TQuest& TQuestList::Quest(int n)
{
    return quests_[IndexOf(n)];
}

const TQuest& TQuestList::Quest(int n) const
{
    return quests_[IndexOf(n)];
}

TQuest& TQuestList::Current()
{
    if (current_ >= quests_.size())
        throw ListIndexError(static_cast<long long>(current_));
    return quests_[current_];
}

TRepType TQuestList::GetQType(int n) const
{
    return Quest(n).QType;
}

void TQuestList::SetQType(int n, TRepType type)
{
    Quest(n).QType = type;
}

const std::string& TQuestList::GetQText(int index) const
{
    return Quest(index + 1).QText;
}

std::vector<std::string>& TQuestList::GetReps(int index)
{
    return Quest(index + 1).Reps;
}

const std::vector<std::string>& TQuestList::GetReps(int index) const
{
    return Quest(index + 1).Reps;
}

const std::string& TQuestList::GetRep(int n, int choice) const
{
    const TQuest& quest = Quest(n);
    if (choice < 0 || static_cast<std::size_t>(choice) >= quest.Reps.size())
        throw ListIndexError(choice);
    return quest.Reps[static_cast<std::size_t>(choice)];
}

std::uint16_t TQuestList::GetGoodRep(int n) const
{
    return static_cast<std::uint16_t>(Quest(n).GoodRep);
}

std::uint16_t TQuestList::GetColumns(int n) const
{
    return Quest(n).Columns;
}

std::uint16_t TQuestList::GetPoints(int n) const
{
    return Quest(n).Points;
}

std::uint16_t TQuestList::TotalPoints() const
{
    std::uint16_t total = 0;
    for (const TQuest& quest : quests_)
        total = static_cast<std::uint16_t>(total + quest.Points);
    return total;
}

std::uint16_t TQuestList::CountReps(int n)
{
    TQuest& quest = Quest(n);
    quest.NRep = static_cast<std::uint16_t>(quest.Reps.size());
    return quest.NRep;
}

const std::string& TQuestList::GetExtFile(int n) const
{
    return Quest(n).ExtFile;
}

const std::string& TQuestList::FeedbackMessage(int n, int side) const
{
    const TQuest& quest = Quest(n);
    CheckFeedbackSide(side);
    const auto s = static_cast<std::size_t>(side);
    return quest.UseGenMess[s] ? GenericMessage(GenMess, side, quest.MessIdx[s]) : quest.Mess[s];
}

void TQuestList::ShiftMessIdx(int k, int side)
{
    CheckFeedbackSide(side);
    const auto s = static_cast<std::size_t>(side);
    for (TQuest& quest : quests_)
        quest.MessIdx[s] = ShiftedMessIdx(quest.MessIdx[s], k);
}

namespace {

std::string WithoutCarriageReturns(std::string text)
{
    std::erase(text, '\r');
    return text;
}

bool SameText(const std::string& a, const std::string& b)
{
    return a == b || WithoutCarriageReturns(a) == WithoutCarriageReturns(b);
}

std::uint16_t LaidOutColumns(std::uint16_t columns)
{
    return columns == 0 ? 1 : columns;
}

} // namespace

// What the author sees of a question: the fields that matter for its type
// and its feedback choices. A store that only fills a field nobody reads
// (the own text of a side that uses its generic message, the file of an
// unused link, the columns of a cloze question) changes nothing here.
bool SameForAuthor(const TQuest& a, const TQuest& b)
{
    if (a.QType != b.QType || a.Priority != b.Priority || !SameText(a.QText, b.QText) || a.Reps != b.Reps
        || a.GoodRep != b.GoodRep)
        return false;
    if (a.QType != TRepType::rOList && LaidOutColumns(a.Columns) != LaidOutColumns(b.Columns))
        return false;
    for (std::size_t side = 0; side < 2; ++side) {
        if (a.UseGenMess[side] != b.UseGenMess[side])
            return false;
        if (a.UseGenMess[side] ? a.MessIdx[side] != b.MessIdx[side] : !SameText(a.Mess[side], b.Mess[side]))
            return false;
    }
    if (a.UseExtFile != b.UseExtFile)
        return false;
    return !a.UseExtFile || (a.ExtFile == b.ExtFile && a.ExtLink == b.ExtLink);
}

std::int32_t ShiftedMessIdx(std::int32_t index, int k)
{
    if (index == k)
        return 0;
    return index > k ? index - 1 : index;
}

TQuest NewQuestion(TRepType type)
{
    TQuest quest;
    quest.QType = type;
    quest.QText = FixOptionTag(type, "");
    if (type == TRepType::rTrue) {
        quest.Reps = {"Vrai", "Faux"};
        quest.NRep = 2;
        quest.Columns = 2;
    } else if (type == TRepType::rOList) {
        quest.Columns = 0;
    }
    quest.ExtLink = "voir ... ";
    quest.ExtFile = "nom du fichier...";
    return quest;
}

bool SplitAtMarker(std::string_view text, std::string_view& before, std::string_view& after)
{
    const std::string_view marker = kOptionMarker;
    const std::size_t at = text.find(marker);
    if (at == std::string_view::npos)
        return false;
    before = text.substr(0, at);
    after = text.substr(std::min(text.size(), at + marker.size() + 1));
    return true;
}

std::string FixOptionTag(TRepType type, const std::string& text)
{
    const std::string_view marker = kOptionMarker;
    if (type != TRepType::rOList)
        return text.starts_with(marker) ? text.substr(marker.size()) : text;
    if (text.empty())
        return std::string(marker);
    if (text.find(marker) != std::string::npos)
        return text;
    // The text typed so far stays first; the list goes at its end.
    return text + " " + std::string(marker);
}

} // namespace tavimor
