#include "model/QuestionViews.h"

#include "base/Cp1252.h"
#include "base/Errors.h"
#include "model/QuestionRecord.h"

#include <algorithm>

namespace tavimor {

// The texts of a record as views: those of the code page as they stand,
// UTF-8 ones turned into it where they stand, UTF-16 ones converted aside.
struct ViewTexts {
    TQuestViews& views;

    std::string_view Text(TValueReader& reader) { return views.Text(reader); }

    // The choices go one after the other into one list; the question's view
    // of them is made once the list has stopped growing.
    void Choices(TValueReader& reader, TQuestView& quest)
    {
        for (std::uint16_t i = 0; i < quest.NRep; ++i)
            views.choices_.push_back(Text(reader));
    }
};

std::string_view TQuestViews::Hold(ByteBlock bytes)
{
    bytes_ = std::move(bytes);
    return bytes_.View();
}

std::string_view TQuestViews::Text(TValueReader& reader)
{
    const TValueReader::RawString raw = reader.ReadRawString();
    switch (raw.tag) {
    case ValueTag::Utf8String: {
        // The reader never reads these bytes again: the shorter text of the
        // code page takes their place.
        char* const text = bytes_.Data() + (raw.payload.data() - bytes_.Data());
        return {text, Utf8ToCp1252InPlace(text, raw.payload.size())};
    }
    case ValueTag::WString:
        return converted_.emplace_back(Utf16LeToCp1252(raw.payload));
    default:
        return raw.payload;
    }
}

void TQuestViews::ReadQuestions(TValueReader& reader, std::uint16_t count)
{
    const std::size_t first = quests_.size();
    const std::size_t questRoom = std::min<std::size_t>(count, reader.BytesLeft() / record::kSmallestQuestion);
    // Room for six choices a question, the usual most, without going past
    // what the rest of the file can hold.
    const std::size_t choiceRoom
        = std::min<std::size_t>(std::size_t {count} * 6, reader.BytesLeft() / record::kSmallestChoice);
    listRoom_.AddBlock(sizeof(TQuestView) * (first + questRoom)
        + sizeof(std::string_view) * (choices_.size() + choiceRoom) + alignof(TQuestView) + alignof(std::string_view));
    quests_.reserve(first + questRoom);
    choices_.reserve(choices_.size() + choiceRoom);
    std::vector<std::size_t> firstChoice;
    firstChoice.reserve(quests_.capacity() - first);
    ViewTexts texts {*this};
    for (std::uint16_t i = 0; i < count; ++i) {
        firstChoice.push_back(choices_.size());
        record::ReadQuestion(reader, quests_.emplace_back(), texts);
    }
    for (std::size_t i = first; i < quests_.size(); ++i)
        quests_[i].Reps = std::span(choices_).subspan(firstChoice[i - first], quests_[i].NRep);
}

const TQuestView& TQuestViews::Quest(int n) const
{
    if (n < 1 || n > Count())
        throw ListIndexError(static_cast<long long>(n) - 1);
    return quests_[static_cast<std::size_t>(n - 1)];
}

std::uint16_t TQuestViews::TotalPoints() const
{
    std::uint16_t total = 0;
    for (const TQuestView& quest : quests_)
        total = static_cast<std::uint16_t>(total + quest.Points);
    return total;
}

std::string_view TQuestViews::FeedbackMessage(int n, int side) const
{
    const TQuestView& quest = Quest(n);
    CheckFeedbackSide(side);
    const auto s = static_cast<std::size_t>(side);
    if (!quest.UseGenMess[s])
        return quest.Mess[s];
    return GenericMessage(GenMess, side, quest.MessIdx[s]);
}

} // namespace tavimor
