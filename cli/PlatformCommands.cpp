// export-gift and export-moodle: the quiz as the files that learning
// platforms take into their question banks.
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
