#include "generator/ExamVersions.h"

#include "base/Errors.h"
#include "generator/SpecHTML.h"
#include "presentation/PageTexts.h"

#include <chrono>
#include <numeric>
#include <random>

namespace tavimor {
namespace {

// SplitMix64: a small generator whose sequence is fixed by its seed on every
// system and compiler (the standard library's distributions are not).
class SeededDraw {
public:
    explicit SeededDraw(std::uint64_t seed)
        : state_(seed)
    {
    }

    std::uint64_t Next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Uniform in [0, bound), without the bias of a plain modulo.
    std::uint64_t Below(std::uint64_t bound)
    {
        const std::uint64_t limit = UINT64_MAX - UINT64_MAX % bound;
        std::uint64_t value = Next();
        while (value >= limit)
            value = Next();
        return value % bound;
    }

    template <class T> void Shuffle(std::vector<T>& items)
    {
        for (std::size_t i = items.size(); i > 1; --i)
            std::swap(items[i - 1], items[Below(i)]);
    }

private:
    std::uint64_t state_;
};

} // namespace

std::vector<TExamVersion> MakeExamVersions(const TQuestList& quests, const TExamVersionOptions& options)
{
    if (options.Count < kMinExamVersions || options.Count > kMaxExamVersions)
        throw Error("Le nombre de versions doit aller de " + std::to_string(kMinExamVersions) + " \xE0 "
            + std::to_string(kMaxExamVersions) + ".");
    std::vector<TExamVersion> versions;
    for (int v = 0; v < options.Count; ++v) {
        // Each version draws from a sequence of its own, so that adding
        // versions leaves the first ones as they were.
        SeededDraw draw(options.Seed ^ (0xA5A5A5A5ULL * static_cast<std::uint64_t>(v + 1)));
        TExamVersion version;
        version.Letter = static_cast<char>('A' + v);
        std::vector<int> order(static_cast<std::size_t>(quests.Count()));
        std::iota(order.begin(), order.end(), 1);
        if (options.ShuffleQuestions)
            draw.Shuffle(order);
        for (const int n : order) {
            const TQuest& quest = quests.Quest(n);
            TPrintedQuestion printed;
            printed.Original = n;
            printed.Choices.resize(quest.Reps.size());
            std::iota(printed.Choices.begin(), printed.Choices.end(), 0);
            if (options.ShuffleChoices && quest.QType != TRepType::rTrue)
                draw.Shuffle(printed.Choices);
            for (std::size_t k = 0; k < printed.Choices.size(); ++k)
                if (printed.Choices[k] == quest.GoodRep)
                    printed.Right = static_cast<int>(k);
            version.Questions.push_back(std::move(printed));
        }
        versions.push_back(std::move(version));
    }
    return versions;
}

TQuizDocument VersionDocument(const TQuizDocument& doc, const TExamVersion& version)
{
    TQuizDocument printed = doc;
    printed.Quests.Clear();
    printed.Quests.Reserve(version.Questions.size());
    for (const TPrintedQuestion& question : version.Questions) {
        TQuest quest = doc.Quests.Quest(question.Original);
        std::vector<std::string> choices;
        choices.reserve(question.Choices.size());
        for (const int k : question.Choices)
            choices.push_back(quest.Reps[static_cast<std::size_t>(k)]);
        quest.Reps = std::move(choices);
        quest.GoodRep = question.Right.value_or(-1);
        printed.Quests.Quest(printed.Quests.AddQuest()) = std::move(quest);
    }
    return printed;
}

std::string ExamVersionsKeyPage(const TQuizDocument& doc, const std::vector<TExamVersion>& versions, std::uint64_t seed,
    const std::string& quizName)
{
    const std::string lf = "\n";
    std::string page = PageHead("", "", "kwzStyle.css", EntityEncode("Corrig\xE9 des versions " + quizName));
    page += THTMPrefs::BodyTag("") + "<H2>" + EntityEncode(doc.Pages.GetTitle(0)) + "</H2>" + lf;
    page += EntityEncode("<P>Corrig\xE9 des " + std::to_string(versions.size()) + " versions de l'examen " + quizName
                + ". Graine : <B>" + std::to_string(seed)
                + "</B> (la m\xEAme graine redonne les m\xEAmes versions).</P>")
        + lf;
    for (const TExamVersion& version : versions) {
        page += std::string("<H3>Version ") + version.Letter + "</H3>" + lf;
        page += "<TABLE BORDER=1 CELLPADDING=3><TR><TH>Question de la version</TH><TH>Question du document</TH>"
                "<TH>Bonne r&eacute;ponse</TH></TR>"
            + lf;
        for (std::size_t q = 0; q < version.Questions.size(); ++q) {
            const TPrintedQuestion& printed = version.Questions[q];
            const TQuest& quest = doc.Quests.Quest(printed.Original);
            page += "<TR><TD>" + std::to_string(q + 1) + "</TD><TD>" + std::to_string(printed.Original) + "</TD><TD>";
            if (printed.Right)
                page += "choix " + std::to_string(*printed.Right + 1) + " : "
                    + EntityEncode(quest.Reps[static_cast<std::size_t>(quest.GoodRep)]);
            else
                page += "aucune";
            page += "</TD></TR>" + lf;
        }
        page += "</TABLE>" + lf;
    }
    return page + "</BODY></HTML>" + lf;
}

std::uint64_t FreshExamSeed()
{
    std::random_device device;
    const auto now = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    // Kept to nine digits: a seed the teacher can copy from the key by hand.
    return ((static_cast<std::uint64_t>(device()) << 32) ^ device() ^ now) % 1'000'000'000ULL;
}

} // namespace tavimor
