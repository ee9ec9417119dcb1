// The quiz key of the results records: sixteen hexadecimal digits that
// change whenever a question, a choice, a right answer or the certainty
// marking changes, and not when a message, a page text or the style does.
// The self-contained quiz writes it into every record; the results reader
// computes it again from the document and refuses a record of another
// version of the quiz. Its definition is part of the record's format
// (docs/formats/results-record.md): it must never change.
#pragma once

#include "model/QuestModel.h"

#include <nettle/sha2.h>

#include <string>
#include <string_view>

namespace tavimor {

class QuizKeyHasher {
public:
    explicit QuizKeyHasher(bool certainty);
    void Field(std::string_view bytes);
    void Number(long long value);
    void EndQuestion();
    // The first eight bytes of the SHA-256 digest, in lowercase hexadecimal.
    std::string Key();

private:
    sha256_ctx context_ {};
};

// Quests: TQuestList or TQuestViews, with Count(), Quest(n) and GetGoodRep(n).
template <class Quests> std::string QuizKey(const Quests& quests, bool certainty)
{
    QuizKeyHasher hasher(certainty);
    for (int n = 1; n <= quests.Count(); ++n) {
        const auto& quest = quests.Quest(n);
        hasher.Number(static_cast<int>(quest.QType));
        hasher.Field(quest.QText);
        for (const auto& choice : quest.Reps)
            hasher.Field(choice);
        // The site keeps the low 16 bits of the marked choice.
        hasher.Number(quests.GetGoodRep(n));
        hasher.EndQuestion();
    }
    return hasher.Key();
}

} // namespace tavimor
