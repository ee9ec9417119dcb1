// Feeds arbitrary bytes to both readings of a document: the editor's model
// and the views of a production. They must end alike (same error, same
// refusal) and, when the document is read, give the same quiz script, exam
// and self-contained quiz, or fail them with the same error. Anything else
// (a difference, a crash, a sanitizer report) is a finding.
#include "base/Errors.h"
#include "base/FileIo.h"
#include "generator/PageSet.h"
#include "generator/QuizScript.h"
#include "generator/StandaloneQuiz.h"
#include "model/DocumentFile.h"
#include "model/QuestionViews.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

class NoGifs final : public tavimor::GifSource {
public:
    std::optional<std::string_view> Find(std::string_view) const override { return std::nullopt; }
};

template <class Build> std::string TextOrError(Build build)
{
    try {
        return build();
    } catch (const tavimor::Error& e) {
        return std::string("error: ") + e.what();
    }
}

[[noreturn]] void Finding(const char* what)
{
    std::fprintf(stderr, "the two readings differ: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const tavimor::TQuizDocument startup = [] {
        tavimor::TQuizDocument doc;
        tavimor::ResetToStartupState(doc, "");
        return doc;
    }();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    tavimor::TQuizDocument model = startup;
    std::string modelEnd;
    try {
        modelEnd = tavimor::ReadDocument(model, bytes).refusal.value_or("");
    } catch (const tavimor::Error& e) {
        modelEnd = std::string("error: ") + e.what();
    }

    tavimor::TQuizDocument viewed = startup;
    tavimor::TQuestViews views(viewed.Quests);
    tavimor::ByteBlock block(size);
    std::copy(bytes.begin(), bytes.end(), block.Data());
    std::string viewedEnd;
    try {
        viewedEnd = tavimor::ReadDocumentForProduction(viewed, views, std::move(block)).refusal.value_or("");
    } catch (const tavimor::Error& e) {
        viewedEnd = std::string("error: ") + e.what();
    }
    if (viewedEnd != modelEnd)
        Finding("how the reading ends");
    if (!modelEnd.empty())
        return 0;
    if (views.Count() != model.Quests.Count())
        Finding("the number of questions");

    const tavimor::TJSM script;
    if (TextOrError([&] { return script.MakeScript(views, true, "r"); })
        != TextOrError([&] { return script.MakeScript(model.Quests, true, "r"); }))
        Finding("the quiz script");
    static const NoGifs gifs;
    const tavimor::THKWZ fromModel(model, gifs);
    const tavimor::THKWZ fromViews(viewed, views, gifs);
    if (TextOrError([&] { return fromViews.ExamQuestions(true); })
        != TextOrError([&] { return fromModel.ExamQuestions(true); }))
        Finding("the exam");
    const tavimor::StandaloneContent content;
    if (TextOrError([&] { return tavimor::StandalonePage(viewed, views, content); })
        != TextOrError([&] { return tavimor::StandalonePage(model, content); }))
        Finding("the self-contained quiz");
    return 0;
}
