// Feeds arbitrary bytes to the GIFT reader. Refusing the file (GiftError,
// with its message) is the expected failure; any other exception, a crash or
// a sanitizer report is a finding. What was read must be sound questions, and
// the GIFT export of them must read back as the very same questions.
#include "exchange/GiftReader.h"
#include "exchange/GiftWriter.h"
#include "generator/QuestionTexts.h"
#include "model/DocumentFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

[[noreturn]] void Finding(const char* what, int n)
{
    std::fprintf(stderr, "question %d: %s\n", n, what);
    std::abort();
}

tavimor::TQuizDocument DocumentOf(const tavimor::TImportedBank& content)
{
    tavimor::TQuizDocument doc;
    tavimor::ResetToStartupState(doc, "");
    for (const tavimor::TQuest& quest : content.Quests)
        doc.Quests.Quest(doc.Quests.AddQuest()) = quest;
    return doc;
}

void CheckSound(const tavimor::TQuizDocument& doc)
{
    for (int n = 1; n <= doc.Quests.Count(); ++n) {
        const tavimor::TQuest& q = doc.Quests.Quest(n);
        if (q.Reps.empty() || q.NRep != q.Reps.size())
            Finding("choice count", n);
        if (q.GoodRep < 0 || q.GoodRep >= static_cast<std::int32_t>(q.Reps.size()))
            Finding("right choice", n);
        if (q.QType == tavimor::TRepType::rOList && q.QText.find(tavimor::kOptionMarker) == std::string::npos)
            Finding("cloze text without its marker", n);
    }
}

void CheckSame(const tavimor::TQuizDocument& read, const tavimor::TQuizDocument& again)
{
    if (read.Quests.Count() != again.Quests.Count())
        Finding("question count after the round trip", 0);
    for (int n = 1; n <= read.Quests.Count(); ++n) {
        const tavimor::TQuest& a = read.Quests.Quest(n);
        const tavimor::TQuest& b = again.Quests.Quest(n);
        if (a.QType != b.QType)
            Finding("type after the round trip", n);
        if (a.QText != b.QText)
            Finding("text after the round trip", n);
        // A right first choice holding "->" is written with "-&gt;".
        std::vector<std::string> written = a.Reps;
        if (a.GoodRep == 0 && written.size() > 1)
            for (std::size_t at = written[0].find("->"); at != std::string::npos; at = written[0].find("->", at))
                written[0].replace(at + 1, 1, "&gt;");
        if (written != b.Reps || a.GoodRep != b.GoodRep)
            Finding("choices after the round trip", n);
        for (int side : {tavimor::kWrongSide, tavimor::kRightSide})
            if (GetFeedbackHtml(read.Quests, n, side) != GetFeedbackHtml(again.Quests, n, side))
                Finding("feedback after the round trip", n);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    tavimor::TImportedBank content;
    try {
        content = tavimor::ReadGift(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const tavimor::GiftError&) {
        return 0;
    }
    const tavimor::TQuizDocument read = DocumentOf(content);
    CheckSound(read);
    const tavimor::TQuizDocument again = DocumentOf(tavimor::ReadGift(tavimor::GiftText(read, "fuzz").Text));
    CheckSame(read, again);
    return 0;
}
