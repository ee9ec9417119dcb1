// The layout of one question record in the document file, read once for the
// two forms a question takes in memory: the editor's TQuest, whose texts are
// strings of their own, and the production's TQuestView, whose texts are
// views of the file. Private to the document readers.
#pragma once

#include "base/ValueStream.h"
#include "model/QuestModel.h"

#include <cstdint>

namespace tavimor::record {

// Unsigned 16-bit fields keep the low 16 bits of what is read.
inline std::uint16_t ReadWord(TValueReader& reader)
{
    return static_cast<std::uint16_t>(reader.ReadInteger());
}

// Fills a question just appended; fields absent from the record keep the
// values of a new question. texts.Text(reader) reads one text and
// texts.Choices(reader, quest) the quest.NRep choices.
template <class Quest, class Texts> void ReadQuestion(TValueReader& reader, Quest& quest, Texts& texts)
{
    quest.QReserved = reader.ReadInteger();
    quest.QType = static_cast<TRepType>(static_cast<std::uint8_t>(reader.ReadInteger()));
    quest.Priority = reader.ReadInteger();
    quest.QText = texts.Text(reader);
    quest.Points = ReadWord(reader);
    quest.NRep = ReadWord(reader);
    if (quest.NRep > 0) {
        texts.Choices(reader, quest);
        quest.GoodRep = reader.ReadInteger();
        quest.Columns = ReadWord(reader);
    }
    for (std::size_t side = 0; side < 2; ++side) {
        quest.UseGenMess[side] = reader.ReadBoolean();
        quest.Mess[side] = texts.Text(reader);
        quest.MessIdx[side] = reader.ReadInteger();
    }
    quest.ShowResum = reader.ReadBoolean();
    quest.ExtFile = texts.Text(reader);
    quest.ExtLink = texts.Text(reader);
    quest.UseExtFile = reader.ReadBoolean();
    quest.Points = ReadWord(reader); // the second copy is the one that stays
}

// The fewest bytes a question record can take (every value in its shortest
// form, no choices) and a choice (an empty string): room reserved for the
// count a file announces is capped by what the rest of the file can hold.
inline constexpr std::size_t kSmallestQuestion = 30;
inline constexpr std::size_t kSmallestChoice = 2;

} // namespace tavimor::record
