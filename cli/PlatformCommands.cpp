// export-gift, export-moodle and import-gift: the quiz to and from the files
// that learning platforms take into their question banks.
#include "cli/CommandSupport.h"

#include "base/Cp1252.h"

#include <iostream>

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

// import-gift IN.gift OUT.kwz: a new document with the file's questions,
// saved. Nothing is written when the file cannot be imported.
int ImportGiftCommand(const Args& args)
{
    const DocumentArgs parsed = ParseDocumentArgs(args, Takes::Output, "import-gift");
    if (parsed.output.empty())
        throw UsageError {"import-gift takes the GIFT file to read and the document to write"};
    const auto session = MakeSession(parsed.prefsDir);
    const std::string notice = session->ImportGift(parsed.document);
    session->SaveAs(parsed.output);
    const int count = session->Document().Quests.Count();
    Say(std::cout,
        std::to_string(count)
            + (count == 1 ? " question import\xE9"
                            "e dans "
                          : " questions import\xE9"
                            "es dans ")
            + Utf8ToCp1252(parsed.output) + ".");
    if (!notice.empty())
        Say(std::cout, notice);
    return 0;
}

} // namespace tavimor::cli
