// The quiz document in memory: the ordered questions, the two banks of generic
// feedback messages and the message for an unanswered question.
//
// Questions are numbered from 1 in every operation taking n; GetQText and
// GetReps take a 0-based index. A number or index outside the list throws
// ListIndexError with the 0-based index. All text is Windows-1252.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavimor {

enum class TRepType : std::uint8_t {
    rKWZ = 0, // standard multiple choice
    rTrue = 1, // true/false
    rOList = 2, // cloze text: "<option>" in the text becomes a drop-down list
};

// The name shown after "Type: " in the editor.
const char* RepTypeName(TRepType type);

// Feedback sides: 0 = wrong answer ("si faux"), 1 = right answer ("si bon").
inline constexpr int kWrongSide = 0;
inline constexpr int kRightSide = 1;

// The cloze marker: where a cloze question's drop-down list stands.
inline constexpr const char* kOptionMarker = "<option>";

struct TQuest {
    std::int32_t QReserved = 0;
    TRepType QType = TRepType::rKWZ;
    std::int32_t Priority = 0;
    std::string QText;
    std::uint16_t NRep = 0;
    std::vector<std::string> Reps;
    std::int32_t GoodRep = -1; // 0-based index into Reps, -1 while none is chosen
    std::uint16_t Columns = 1;
    std::array<std::int32_t, 2> MessIdx {0, 0};
    std::array<std::string, 2> Mess;
    std::array<bool, 2> UseGenMess {true, true};
    bool ShowResum = false;
    std::string ExtFile;
    std::string ExtLink; // label, "|", link name
    bool UseExtFile = false;
    std::uint16_t Points = 0;

    bool operator==(const TQuest&) const = default;
};

class TQuestList {
public:
    TQuestList();

    // The default generic messages and no-answer message.
    void InitMessages();

    // Appends a new question, makes it current and returns the new count.
    std::uint16_t AddQuest();
    // Makes room for count questions in all, so that adding them moves none.
    void Reserve(std::size_t count) { quests_.reserve(count); }
    // Removes question n (0 does nothing); CurQ becomes n, or the new count
    // when n was the last one, or 0 when the list is now empty.
    void DeleteQuest(std::uint16_t n);
    // Puts quest at number n (1..Count()+1); the questions from n on move one
    // place down. CurQ is not changed.
    void InsertQuest(int n, TQuest quest);
    // The same for several questions at once, the first at number n, in
    // time proportional to the list's size.
    void InsertQuests(int n, std::vector<TQuest> quests);
    // Removes count questions from number n on (all within the list); CurQ
    // as DeleteQuest leaves it for question n.
    void DeleteQuests(int n, int count);
    // Removes every question; the banks and NoAnswerMess stay.
    void Clear();
    // Moves one question (0-based positions), as a drop in the question list.
    void Move(int from, int to);

    int Count() const { return static_cast<int>(quests_.size()); }
    TQuest& Quest(int n);
    const TQuest& Quest(int n) const;
    // The question most recently addressed by an operation taking n.
    TQuest& Current();

    TRepType GetQType(int n) const;
    void SetQType(int n, TRepType type);
    const std::string& GetQText(int index) const;
    std::vector<std::string>& GetReps(int index);
    const std::vector<std::string>& GetReps(int index) const;
    const std::string& GetRep(int n, int choice) const;
    std::uint16_t GetGoodRep(int n) const; // low 16 bits: 65535 for none
    std::uint16_t GetColumns(int n) const;
    std::uint16_t GetPoints(int n) const;
    std::uint16_t TotalPoints() const; // wraps modulo 65536
    std::uint16_t CountReps(int n);
    const std::string& GetExtFile(int n) const;

    // The generic or own message of one side alone. A generic index outside
    // its bank is "List index out of bounds (%d)".
    const std::string& FeedbackMessage(int n, int side) const;

    // After the generic message at position k was removed from bank side:
    // on that side an index equal to k becomes 0 and an index above k drops by one.
    void ShiftMessIdx(int k, int side);

    std::array<std::vector<std::string>, 2> GenMess;
    std::string NoAnswerMess;
    std::int32_t LReserved = 0;
    // 1-based number of the question shown in the editor; 0 when empty.
    std::uint16_t CurQ = 0;

private:
    std::size_t IndexOf(int n) const; // checks n, returns n - 1

    std::vector<TQuest> quests_;
    mutable std::size_t current_ = 0;
};

// A question as "Ajouter une question" makes it: an empty text (the marker
// alone for a cloze question), no answer but "Vrai" and "Faux" for a
// true/false question in two columns, no column for a cloze question, one
// column otherwise, none marked,
// the generic message on both sides, and the captions of an attached file
// not yet chosen.
TQuest NewQuestion(TRepType type);

// A cloze text around its marker: the text ahead of the first "<option>", and
// what follows the marker once the one character after it is dropped (the
// list takes its place, and its blank, in the pages).
struct TClozeParts {
    std::string Before;
    std::string Rest;
};
// Nothing when the text holds no marker.
std::optional<TClozeParts> SplitClozeText(const std::string& text);

// FixOptionTag of the editor: types 0 and 1 lose a "<option>" at the very start
// of the text; a cloze text gets the marker when it has none (an empty text
// becomes "<option>", another text gets " <option>" appended).
std::string FixOptionTag(TRepType type, const std::string& text);

// True when the author sees no difference between the two questions: same
// type, priority, text (line breaks aside), answers and right answer,
// columns where they are laid out, and the feedback and attached file in use.
bool SameForAuthor(const TQuest& a, const TQuest& b);

// Throws ListIndexError(side) unless side is kWrongSide or kRightSide.
void CheckFeedbackSide(int side);
// The generic message at index in the bank of side (checked first); an
// index outside the bank is ListIndexError(index).
const std::string& GenericMessage(const std::array<std::vector<std::string>, 2>& banks, int side, std::int32_t index);

// The generic index of a question after the message at position k was
// removed from its bank: k becomes 0, an index above k drops by one.
std::int32_t ShiftedMessIdx(std::int32_t index, int k);

// The pieces of a cloze text around its marker, which goes with the one
// character after it; false when the marker is gone.
bool SplitAtMarker(std::string_view text, std::string_view& before, std::string_view& after);

} // namespace tavimor
