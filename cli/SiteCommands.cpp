// produce, exam, standalone and export-scorm: the quiz site, the printable
// exam, the self-contained quiz page and the SCORM package of a document, as
// the editor's HTML menu makes them.
#include "cli/CommandSupport.h"

#include "generator/ExamVersions.h"
#include "session/QuizSession.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cstdint>
#include <iostream>
#include <memory>
#include <optional>

namespace tavimor::cli {

int Produce(const Args& args)
{
    const DocumentArgs parsed = ParseDocumentArgs(args, Takes::Prefs, "produce");
    // Nothing is edited: the document is read for the production alone.
    const auto production = MakeSession(parsed.prefsDir)->ProduceSiteOfFile(parsed.document);
    if (production.refusal) {
        Say(std::cerr, *production.refusal);
        return 1;
    }
    const ProduceOutcome& outcome = production.produced;
    Say(outcome.Produced ? std::cout : std::cerr, outcome.Message);
    return outcome.Produced ? 0 : 1;
}

namespace {

struct ExamArgs {
    Args document; // the document and --prefs, as the other commands take them
    std::optional<int> versions;
    std::optional<std::uint64_t> seed;
    bool keepOrder = false;
    bool json = false;
    bool pdf = false;
};

ExamArgs ParseExamArgs(const Args& args)
{
    ExamArgs parsed;
    const auto value = [&](std::size_t& i, const char* what) -> const std::string& {
        if (i + 1 == args.size())
            throw UsageError {std::string("exam: ") + args[i] + " needs " + what};
        return args[++i];
    };
    const auto number = [](const std::string& text, std::uint64_t most) -> std::optional<std::uint64_t> {
        std::uint64_t n = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
        if (text.empty() || error != std::errc() || end != text.data() + text.size() || n > most)
            return std::nullopt;
        return n;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--variants") {
            const auto n = number(value(i, "a number of versions"), kMaxExamVersions);
            if (!n || *n < kMinExamVersions)
                throw UsageError {"exam: --variants takes a number of versions from 2 to 26"};
            parsed.versions = static_cast<int>(*n);
        } else if (args[i] == "--seed") {
            parsed.seed = number(value(i, "a seed"), UINT64_MAX);
            if (!parsed.seed)
                throw UsageError {"exam: --seed takes a whole number from 0 to 18446744073709551615"};
        } else if (args[i] == "--keep-order") {
            parsed.keepOrder = true;
        } else if (args[i] == "--json") {
            parsed.json = true;
        } else if (args[i] == "--pdf") {
            parsed.pdf = true;
        } else if (args[i] == "--prefs") {
            parsed.document.push_back(args[i]);
            parsed.document.push_back(value(i, "a folder"));
        } else {
            parsed.document.push_back(args[i]);
        }
    }
    if (!parsed.versions && (parsed.seed || parsed.keepOrder || parsed.json))
        throw UsageError {"exam: --seed, --keep-order and --json go with --variants N"};
    return parsed;
}

std::string JsonPaths(const std::vector<std::string>& paths)
{
    std::string json = "[";
    for (std::size_t i = 0; i < paths.size(); ++i)
        json += (i ? ", " : "") + nlohmann::json(paths[i]).dump();
    return json + "]";
}

// What was made, for other tools (paths as written).
std::string ExamVersionsJson(const ExamVersionsOutcome& outcome)
{
    std::string json = "{\"seed\": " + std::to_string(outcome.Seed) + ", \"key\": " + JsonPaths(outcome.KeyFiles)
        + ", \"variants\": [";
    for (std::size_t v = 0; v < outcome.Versions.size(); ++v) {
        const TExamVersion& version = outcome.Versions[v];
        json += std::string(v ? ", " : "") + "{\"letter\": \"" + version.Letter
            + "\", \"files\": " + JsonPaths(outcome.VersionFiles[v]) + ", \"questions\": [";
        for (std::size_t q = 0; q < version.Questions.size(); ++q) {
            const TPrintedQuestion& printed = version.Questions[q];
            json += std::string(q ? ", " : "") + "{\"original\": " + std::to_string(printed.Original)
                + ", \"choices\": [";
            for (std::size_t k = 0; k < printed.Choices.size(); ++k)
                json += (k ? ", " : "") + std::to_string(printed.Choices[k]);
            json += "], \"right\": " + (printed.Right ? std::to_string(*printed.Right) : std::string("null")) + "}";
        }
        json += "]}";
    }
    return json + "]}";
}

int ExamVersions(const ExamArgs& exam)
{
    const DocumentArgs parsed = ParseDocumentArgs(exam.document, Takes::Prefs, "exam");
    const auto session = MakeSession(parsed.prefsDir);
    if (!OpenOrRefuse(*session, parsed.document))
        return 1;
    TExamVersionOptions options;
    options.Count = *exam.versions;
    options.Seed = exam.seed.value_or(FreshExamSeed());
    options.ShuffleQuestions = !exam.keepOrder;
    options.Pdf = exam.pdf;
    const ExamVersionsOutcome outcome = session->WriteExamVersions(options);
    if (!outcome.Written) {
        Say(std::cerr, outcome.Message);
        return 1;
    }
    if (exam.json)
        std::cout << ExamVersionsJson(outcome) << '\n';
    else
        Say(std::cout, outcome.Message);
    return 0;
}

} // namespace

// The exam needs no choices, so a document the site production refuses still
// gets its exam as long as it has a question. With --variants N, versions A,
// B... with their keys and the key of all versions. With --pdf, every exam
// and its key also as a PDF file beside it.
int Exam(const Args& args)
{
    const ExamArgs exam = ParseExamArgs(args);
    if (exam.versions)
        return ExamVersions(exam);
    const DocumentArgs parsed = ParseDocumentArgs(exam.document, Takes::Prefs, "exam");
    const auto written = MakeSession(parsed.prefsDir)->WriteExamOfFile(parsed.document, exam.pdf);
    if (written.refusal) {
        Say(std::cerr, *written.refusal);
        return 1;
    }
    const ExamOutcome& outcome = written.produced;
    Say(outcome.Written ? std::cout : std::cerr, outcome.Message);
    return outcome.Written ? 0 : 1;
}

// The same checks and messages as produce; the final message also names the
// pictures the page could not take in.
int Standalone(const Args& args)
{
    const DocumentArgs parsed = ParseDocumentArgs(args, Takes::OutputAndPrefs, "standalone");
    const auto production = MakeSession(parsed.prefsDir)->ProduceStandaloneOfFile(parsed.document, parsed.output);
    if (production.refusal) {
        Say(std::cerr, *production.refusal);
        return 1;
    }
    const StandaloneOutcome& outcome = production.produced;
    Say(outcome.Produced ? std::cout : std::cerr, outcome.Message);
    return outcome.Produced ? 0 : 1;
}

namespace {

// A pass mark: a whole number of percent from 0 to 100.
int ParsePassMark(const std::string& text)
{
    int value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0 || value > 100)
        throw UsageError {"--pass-mark takes a whole number of percent from 0 to 100, not '" + text + "'"};
    return value;
}

} // namespace

// The SCORM 1.2 package: the self-contained quiz with the platform adapter,
// checked and refused as standalone is. --pass-mark N may stand anywhere.
int ExportScorm(const Args& args)
{
    Args rest;
    int passMark = kDefaultPassMark;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--pass-mark") {
            rest.push_back(args[i]);
            continue;
        }
        if (i + 1 == args.size())
            throw UsageError {"--pass-mark needs a number"};
        passMark = ParsePassMark(args[++i]);
    }
    const DocumentArgs parsed = ParseDocumentArgs(rest, Takes::OutputAndPrefs, "export-scorm");
    const auto session = MakeSession(parsed.prefsDir);
    if (!OpenOrRefuse(*session, parsed.document))
        return 1;
    const TScormOutcome outcome
        = session->ProduceScormPackage(session->Document().Pages.GetBody(0), passMark, parsed.output);
    Say(outcome.Produced ? std::cout : std::cerr, outcome.Message);
    return outcome.Produced ? 0 : 1;
}

} // namespace tavimor::cli
