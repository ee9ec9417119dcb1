// The questions of a document file as a production reads them: every field
// of a question, its texts viewed in the bytes of the file (turned into the
// code page where they stand) instead of copied into strings of their own.
// A big document is read several times faster this way, in less than half
// the memory; the editor keeps its TQuestList, which the texts can grow in.
#pragma once

#include "base/BlockResource.h"
#include "base/FileIo.h"
#include "model/QuestModel.h"

#include <array>
#include <cstdint>
#include <deque>
#include <memory_resource>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavimor {

class TValueReader;

// A TQuest whose texts are views. The defaults are those of a new TQuest.
struct TQuestView {
    std::int32_t QReserved = 0;
    TRepType QType = TRepType::rKWZ;
    std::int32_t Priority = 0;
    std::string_view QText;
    std::uint16_t NRep = 0;
    std::span<const std::string_view> Reps;
    std::int32_t GoodRep = -1;
    std::uint16_t Columns = 1;
    std::array<std::int32_t, 2> MessIdx {0, 0};
    std::array<std::string_view, 2> Mess;
    std::array<bool, 2> UseGenMess {true, true};
    bool ShowResum = false;
    std::string_view ExtFile;
    std::string_view ExtLink;
    bool UseExtFile = false;
    std::uint16_t Points = 0;
};

// The questions of one document, with the reading operations of TQuestList
// (same numbering, same ListIndexError). The generic messages and the
// no-answer message are those of the TQuestList given at construction, which
// holds the document's banks (and no question) and outlives the views.
class TQuestViews {
public:
    explicit TQuestViews(const TQuestList& messages)
        : GenMess(messages.GenMess)
        , NoAnswerMess(messages.NoAnswerMess)
    {
    }
    TQuestViews(const TQuestViews&) = delete;
    TQuestViews& operator=(const TQuestViews&) = delete;

    // Takes the bytes of a whole document file; the views will point into them.
    std::string_view Hold(ByteBlock bytes);
    // Reads count question records from reader, which reads the held bytes
    // from where the questions start. Errors as the document reader's.
    void ReadQuestions(TValueReader& reader, std::uint16_t count);

    int Count() const { return static_cast<int>(quests_.size()); }
    const TQuestView& Quest(int n) const;
    TRepType GetQType(int n) const { return Quest(n).QType; }
    std::span<const std::string_view> GetReps(int index) const { return Quest(index + 1).Reps; }
    std::uint16_t GetGoodRep(int n) const { return static_cast<std::uint16_t>(Quest(n).GoodRep); }
    std::uint16_t GetColumns(int n) const { return Quest(n).Columns; }
    std::uint16_t GetPoints(int n) const { return Quest(n).Points; }
    std::uint16_t TotalPoints() const; // wraps modulo 65536
    std::string_view FeedbackMessage(int n, int side) const;

    const std::array<std::vector<std::string>, 2>& GenMess;
    const std::string& NoAnswerMess;

private:
    friend struct ViewTexts;
    std::string_view Text(TValueReader& reader);

    ByteBlock bytes_; // the file; its texts are turned into the code page in place
    // The room of the two lists below, made in one step for the questions
    // the file announces.
    BlockResource listRoom_;
    std::pmr::vector<TQuestView> quests_ {&listRoom_};
    std::pmr::vector<std::string_view> choices_ {&listRoom_}; // every question's choices, one after the other
    std::deque<std::string> converted_; // texts the file holds in UTF-16, converted
};

} // namespace tavimor
