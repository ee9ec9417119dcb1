// export-gift, export-moodle and import-gift: the quiz to and from the files
// that learning platforms take into their question banks.
#include "cli/Commands.h"

#include "exchange/GiftReader.h"
#include "exchange/GiftWriter.h"
#include "exchange/MoodleXmlWriter.h"
#include "exchange/PlatformQuestion.h"
#include "model/Cp1252.h"
#include "model/DocumentFile.h"
#include "model/FileIo.h"
#include "presentation/AppFolders.h"

#include <iostream>
#include <optional>

namespace tavimor::cli {
namespace {

// The document as the editor has it after opening the file; nothing when its
// version is refused (the refusal is printed).
std::optional<TQuizDocument> OpenForExport(const std::string& path)
{
    TQuizDocument doc;
    ResetToStartupState(doc, PrefsFolder());
    const LoadOutcome loaded = LoadDocument(doc, path);
    if (loaded.refusal) {
        std::cerr << Cp1252ToUtf8(*loaded.refusal) << '\n';
        return std::nullopt;
    }
    return doc;
}

void PrintNotes(const TPlatformExport& exported)
{
    for (const std::string& note : exported.Notes)
        std::cout << Cp1252ToUtf8(note) << '\n';
}

// DOC [OUT]: the output beside the document, named after the quiz, unless OUT is given.
std::string OutputPath(const Args& args, const char* suffix)
{
    return args.size() == 2 ? args[1] : BesideDocument(args[0], suffix);
}

} // namespace

int ExportGiftCommand(const Args& args)
{
    if (args.empty() || args.size() > 2)
        throw UsageError {"export-gift takes a document and, optionally, the GIFT file to write"};
    const std::optional<TQuizDocument> doc = OpenForExport(args[0]);
    if (!doc)
        return 1;
    PrintNotes(ExportGiftFile(*doc, QuizNameOf(args[0]), OutputPath(args, ".gift")));
    return 0;
}

int ExportMoodleCommand(const Args& args)
{
    if (args.empty() || args.size() > 2)
        throw UsageError {"export-moodle takes a document and, optionally, the XML file to write"};
    const std::optional<TQuizDocument> doc = OpenForExport(args[0]);
    if (!doc)
        return 1;
    PrintNotes(ExportMoodleXmlFile(*doc, args[0], OutputPath(args, ".xml")));
    return 0;
}

// import-gift IN.gift OUT.kwz: a new document as the editor starts it, the
// questions of the file in it, saved. Nothing is written when the file
// cannot be imported.
int ImportGiftCommand(const Args& args)
{
    if (args.size() != 2)
        throw UsageError {"import-gift takes the GIFT file to read and the document to write"};
    TQuizDocument doc;
    ResetToStartupState(doc, PrefsFolder());
    const std::string notice = ImportGift(doc, ReadWholeFile(args[0]));
    SaveDocument(doc, args[1]);
    const int count = doc.Quests.Count();
    std::cout << Cp1252ToUtf8(std::to_string(count)
        + (count == 1 ? " question import\xE9"
                        "e dans "
                      : " questions import\xE9"
                        "es dans ")
        + Utf8ToCp1252(args[1]) + ".")
              << '\n';
    if (!notice.empty())
        std::cout << Cp1252ToUtf8(notice) << '\n';
    return 0;
}

} // namespace tavimor::cli
