// export-text and import-text: "Exporter (.txt)" and "Importer(.txt)" of the
// editor, without a window.
#include "cli/Commands.h"

#include "model/Cp1252.h"
#include "model/DocumentFile.h"
#include "model/TextExchange.h"
#include "presentation/AppFolders.h"

#include <iostream>

namespace tavimor::cli {

// export-text DOC.kwz [OUT.txt]: the text beside the document unless OUT is given.
int ExportTextCommand(const Args& args)
{
    if (args.empty() || args.size() > 2)
        throw UsageError {"export-text takes a document and, optionally, the text file to write"};
    const std::string& documentPath = args[0];

    TQuizDocument doc;
    ResetToStartupState(doc, PrefsFolder());
    const LoadOutcome loaded = LoadDocument(doc, documentPath);
    if (loaded.refusal) {
        std::cerr << Cp1252ToUtf8(*loaded.refusal) << '\n';
        return 1;
    }
    ExportTextFile(doc, args.size() == 2 ? args[1] : ExportTextPath(documentPath));
    return 0;
}

// import-text IN.txt OUT.kwz: a new document as the editor starts it, the
// text read into it, saved. Nothing is saved when the text cannot be read.
int ImportTextCommand(const Args& args)
{
    if (args.size() != 2)
        throw UsageError {"import-text takes the text file to read and the document to write"};

    TQuizDocument doc;
    ResetToStartupState(doc, PrefsFolder());
    ImportTextFile(doc, args[0]);
    SaveDocument(doc, args[1]);
    return 0;
}

} // namespace tavimor::cli
