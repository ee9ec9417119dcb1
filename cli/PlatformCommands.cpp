// export-gift and export-moodle: the quiz as the files that learning
// platforms take into their question banks.
#include "cli/CommandSupport.h"

#include "base/Cp1252.h"
#include "cli/Commands.h"
#include "exchange/AmcText.h"
#include "generator/ExamVersions.h"

#include <charconv>
#include <cstdint>
#include <iostream>
#include <optional>

namespace tavimor::cli {
namespace {

void SayNotes(const TPlatformExport& exported)
{
    for (const std::string& note : exported.Notes)
        Say(std::cout, note);
}

} // namespace

int ExportGiftCommand(const Args& args)
{
    const DocumentArgs parsed = ParseDocumentArgs(args, Takes::Output, "export-gift");
    const auto session = MakeSession(parsed.prefsDir);
    if (!OpenOrRefuse(*session, parsed.document))
        return 1;
    SayNotes(session->ExportGift(parsed.output));
    return 0;
}

int ExportMoodleCommand(const Args& args)
{
    const DocumentArgs parsed = ParseDocumentArgs(args, Takes::Output, "export-moodle");
    const auto session = MakeSession(parsed.prefsDir);
    if (!OpenOrRefuse(*session, parsed.document))
        return 1;
    SayNotes(session->ExportMoodleXml(parsed.output));
    return 0;
}

// export-amc DOC.kwz [OUT.txt] [--variants N [--seed S]]: the questionnaire
// of the answer-sheet scanner, beside the document as NAME-amc.txt by
// default; with versions, one file a version (NAME-amc-A.txt...) in the
// order of that version, which the exam's key of all versions lists.
int ExportAmcCommand(const Args& args)
{
    Args rest;
    std::optional<int> versions;
    std::uint64_t seed = 0;
    bool seedGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--variants" || args[i] == "--seed") {
            if (i + 1 == args.size())
                throw UsageError {"export-amc: " + args[i] + " needs a number"};
            const std::string& text = args[++i];
            std::uint64_t n = 0;
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
            if (text.empty() || error != std::errc() || end != text.data() + text.size())
                throw UsageError {"export-amc: " + args[i - 1] + " takes a whole number"};
            if (args[i - 1] == "--seed") {
                seed = n;
                seedGiven = true;
            } else if (n < kMinExamVersions || n > kMaxExamVersions) {
                throw UsageError {"export-amc: --variants takes a number of versions from 2 to 26"};
            } else {
                versions = static_cast<int>(n);
            }
        } else {
            rest.push_back(args[i]);
        }
    }
    if (seedGiven && !versions)
        throw UsageError {"export-amc: --seed goes with --variants N"};
    const DocumentArgs parsed = ParseDocumentArgs(rest, Takes::Output, "export-amc");
    const auto session = MakeSession(parsed.prefsDir);
    if (!OpenOrRefuse(*session, parsed.document))
        return 1;
    const TQuizDocument& doc = session->Document();
    const std::string base = parsed.output.empty() ? BesideDocument(parsed.document, "-amc.txt") : parsed.output;
    if (!versions) {
        SayNotes(SaveExport(AmcText(doc), base));
        Say(std::cout,
            "Le questionnaire du lecteur de copies " + Utf8ToCp1252(base)
                + " vient d'\xEAtre \xE9"
                  "crit.");
        return 0;
    }
    TExamVersionOptions options;
    options.Count = *versions;
    options.Seed = seedGiven ? seed : FreshExamSeed();
    const std::size_t point = base.rfind('.');
    const bool hasExtension = point != std::string::npos && base.find('/', point) == std::string::npos;
    for (const TExamVersion& version : MakeExamVersions(doc.Quests, options)) {
        const std::string path = hasExtension ? base.substr(0, point) + "-" + version.Letter + base.substr(point)
                                              : base + "-" + version.Letter;
        SayNotes(SaveExport(AmcText(doc, &version), path));
        Say(std::cout, "Version " + std::string(1, version.Letter) + " : " + Utf8ToCp1252(path));
    }
    Say(std::cout,
        "Graine " + std::to_string(options.Seed) + " : tavimor-cli exam avec --variants " + std::to_string(*versions)
            + " --seed " + std::to_string(options.Seed)
            + " \xE9"
              "crit le corrig\xE9 de ces versions.");
    return 0;
}

int ExportCsvCommand(const Args& args)
{
    const DocumentArgs parsed = ParseDocumentArgs(args, Takes::Output, "export-csv");
    const auto session = MakeSession(parsed.prefsDir);
    if (!OpenOrRefuse(*session, parsed.document))
        return 1;
    SayNotes(session->ExportSpreadsheet(parsed.output));
    return 0;
}

} // namespace tavimor::cli
