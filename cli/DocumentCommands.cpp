// upgrade, to-json, from-json, export-text and import-text: a document
// rewritten as version 5, as JSON and back, as its text form and back.
#include "cli/CommandSupport.h"

#include "base/FileIo.h"

#include <iostream>

namespace tavimor::cli {

namespace {

void ExpectArgs(const Args& args, std::size_t count, const char* what)
{
    if (args.size() != count)
        throw UsageError {what};
}

} // namespace

int Upgrade(const Args& args)
{
    ExpectArgs(args, 2, "upgrade needs IN.kwz and OUT.kwz");
    const auto session = MakeSession("");
    if (!OpenOrRefuse(*session, args[0]))
        return 1;
    session->SaveAs(args[1]);
    return 0;
}

int ToJson(const Args& args)
{
    ExpectArgs(args, 1, "to-json needs DOC.kwz");
    const auto session = MakeSession("");
    if (!OpenOrRefuse(*session, args[0]))
        return 1;
    std::cout << session->ExportJson();
    std::cout.flush();
    return std::cout ? 0 : 1;
}

int FromJson(const Args& args)
{
    ExpectArgs(args, 2, "from-json needs IN.json and OUT.kwz");
    const auto session = MakeSession("");
    session->ImportJson(ReadWholeFile(args[0]), args[0]);
    session->SaveAs(args[1]);
    return 0;
}

// export-text DOC.kwz [OUT.txt]: the text beside the document unless OUT is given.
int ExportTextCommand(const Args& args)
{
    if (args.empty() || args.size() > 2)
        throw UsageError {"export-text takes a document and, optionally, the text file to write"};
    const DocumentArgs parsed = ParseDocumentArgs(args, Takes::Output, "export-text");
    const auto session = MakeSession(parsed.prefsDir);
    if (!OpenOrRefuse(*session, parsed.document))
        return 1;
    session->ExportText(parsed.output);
    return 0;
}

// import-text IN.txt OUT.kwz: a new document read from the text, saved.
// Nothing is saved when the text cannot be read.
int ImportTextCommand(const Args& args)
{
    if (args.size() != 2)
        throw UsageError {"import-text takes the text file to read and the document to write"};
    const DocumentArgs parsed = ParseDocumentArgs(args, Takes::Output, "import-text");
    const auto session = MakeSession(parsed.prefsDir);
    session->ImportText(parsed.document);
    session->SaveAs(parsed.output);
    return 0;
}

} // namespace tavimor::cli
