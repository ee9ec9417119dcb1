// import-gift, import-moodle, import-aiken and import-csv: the questions of
// another program's question bank into a new document, or added to the end
// of an existing one with --into. The report says what did not come in as
// written; nothing is written when the file is refused.
#include "cli/CommandSupport.h"
#include "cli/Commands.h"

#include "base/Cp1252.h"
#include "base/FileIo.h"
#include "exchange/QuestionBanks.h"
#include "platform/AppFolders.h"

#include <iostream>

namespace tavimor::cli {
namespace {

struct ImportArgs {
    std::string source;
    std::string output; // a new document
    std::string into; // an existing document the questions are added to
};

ImportArgs ParseImportArgs(const Args& args, const std::string& command)
{
    ImportArgs parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--into") {
            if (i + 1 == args.size())
                throw UsageError {command + ": --into needs the document to add the questions to"};
            parsed.into = args[++i];
        } else if (parsed.source.empty()) {
            parsed.source = args[i];
        } else if (parsed.output.empty()) {
            parsed.output = args[i];
        } else {
            throw UsageError {command + ": unexpected argument '" + args[i] + "'"};
        }
    }
    if (parsed.source.empty() || parsed.output.empty() == parsed.into.empty())
        throw UsageError {command + " takes the file to read, then the new document to write or --into DOC.kwz"};
    return parsed;
}

int ImportBank(const Args& args, TBankFormat format, const std::string& command)
{
    const ImportArgs parsed = ParseImportArgs(args, command);
    TImportedBank bank = ReadQuestionBankFile(format, parsed.source);
    const auto session = MakeSession(PrefsFolder());
    std::string report;
    if (!parsed.into.empty()) {
        if (!OpenOrRefuse(*session, parsed.into))
            return 1;
        report = session->ImportQuestions(std::move(bank), session->Document().Quests.Count());
        session->Save();
    } else {
        const std::string folder = FolderPart(parsed.output);
        report = session->ImportQuestions(std::move(bank), 0, folder.empty() ? "./" : folder);
        session->SaveAs(parsed.output);
    }
    Say(std::cout, report);
    Say(std::cout,
        "Enregistr\xE9 dans " + Utf8ToCp1252(parsed.into.empty() ? parsed.output : parsed.into) + " ("
            + std::to_string(session->Document().Quests.Count()) + " questions en tout).");
    return 0;
}

} // namespace

int ImportGiftCommand(const Args& args)
{
    return ImportBank(args, TBankFormat::Gift, "import-gift");
}

int ImportMoodleCommand(const Args& args)
{
    return ImportBank(args, TBankFormat::MoodleXml, "import-moodle");
}

int ImportAikenCommand(const Args& args)
{
    return ImportBank(args, TBankFormat::Aiken, "import-aiken");
}

int ImportCsvCommand(const Args& args)
{
    return ImportBank(args, TBankFormat::Spreadsheet, "import-csv");
}

} // namespace tavimor::cli
