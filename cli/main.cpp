// tavimor-cli: the document commands of the editor, without a window.
#include "base/Cp1252.h"
#include "base/Errors.h"
#include "cli/Commands.h"

#include <exception>
#include <iostream>
#include <span>
#include <string>
#include <string_view>

#ifndef TAVIMOR_VERSION
#error "the build defines TAVIMOR_VERSION"
#endif

namespace {

using Command = int (*)(const tavimor::cli::Args&);

// One command: its name, what runs it, its arguments as the usage shows them
// and its help, plain text of lines up to 72 characters. `help COMMAND`
// prints them, and `--help` (hence the manual page) prints them all.
struct CommandEntry {
    std::string_view name;
    Command run;
    std::string_view arguments;
    std::string_view help;
};

// In the order of the usage text.
constexpr CommandEntry kCommands[] = {
    {"produce", tavimor::cli::Produce, "DOC.kwz [--prefs DIR]",
        "Writes the quiz site of DOC.kwz beside it, as \"Produire KWZ\" does in\n"
        "the editor: a folder named after the document (its file name up to\n"
        "the first point) holding index.html and hPages/ with the pages, the\n"
        "quiz script, the style sheet and the nine images. A document with\n"
        "fewer than two questions, or a question without answers, is refused\n"
        "with the editor's message. With --prefs DIR, a GIF image in the\n"
        "preferences folder DIR replaces the built-in image of the same name\n"
        "(default: the editor's own preferences folder)."},
    {"exam", tavimor::cli::Exam, "DOC.kwz [--prefs DIR] [--pdf] [--variants N [options]]",
        "Writes the printable exam NAMEexm.htm and its answer key NAMEsol.htm\n"
        "(NAME: the document's file name up to the first point) into the\n"
        "site's folder beside the document, as \"Produire examen\" does; the\n"
        "folders are made when missing. The document needs at least one\n"
        "question. The preferences folder is chosen with --prefs DIR as for\n"
        "produce. With --variants N (2 to 26), versions A, B... of the exam\n"
        "instead, NAMEexm-A.htm..., each with its key NAMEsol-A.htm..., the\n"
        "questions in another order (--keep-order keeps the document's) and the\n"
        "choices of standard and cloze questions shuffled, and the key of all\n"
        "versions NAMEsol-versions.htm: the seed, and for each version its\n"
        "questions' numbers in the document with their right answers. The same\n"
        "seed (--seed S, else one chosen and printed in the key) gives the same\n"
        "versions. --json prints what was made: {\"seed\", \"key\": [files],\n"
        "\"variants\": [{\"letter\", \"files\", \"questions\": [{\"original\",\n"
        "\"choices\", \"right\"}, ...]}, ...]}. With --pdf, every exam and key\n"
        "(but the key of all versions) is also written as an A4 PDF file of the\n"
        "same name ending in .pdf (NAMEexm.pdf, NAMEsol-A.pdf...), listed after\n"
        "its page in the --json output."},
    {"export-text", tavimor::cli::ExportTextCommand, "DOC.kwz [OUT.txt]",
        "Writes the text form of the quiz, as \"Exporter (.txt)\" does: the\n"
        "identity, the options, the messages, the page texts and every\n"
        "question with its answers. Without OUT.txt the file is written\n"
        "beside the document, named after it up to the first point of its\n"
        "name, with .txt."},
    {"import-text", tavimor::cli::ImportTextCommand, "IN.txt OUT.kwz",
        "Reads a text form written by export-text into a new document, as\n"
        "\"Importer(.txt)\" does, and saves it as OUT.kwz. What the text form\n"
        "does not carry (points, feedback, attached files, columns) takes\n"
        "the values of a new document."},
    {"upgrade", tavimor::cli::Upgrade, "IN.kwz OUT.kwz",
        "Reads a document of any version the editor opens and writes it as\n"
        "a document of the current version (5) to OUT.kwz."},
    {"to-json", tavimor::cli::ToJson, "DOC.kwz",
        "Prints the whole document as JSON (UTF-8) on standard output: every\n"
        "value of the document file, so that from-json gives the same\n"
        "document back."},
    {"from-json", tavimor::cli::FromJson, "IN.json OUT.kwz",
        "Writes the document described by IN.json, in the form to-json\n"
        "prints, to OUT.kwz. to-json followed by from-json gives back the\n"
        "document byte for byte."},
    {"standalone", tavimor::cli::Standalone, "DOC.kwz [OUT.html] [--prefs DIR]",
        "Writes the self-contained quiz of DOC.kwz, as \"Produire quiz autonome\"\n"
        "does in the editor: one HTML file holding the pages' texts, the quiz\n"
        "runtime, the style sheet and every picture, which a student opens\n"
        "with a double click, offline, in any browser or on a phone. Without\n"
        "OUT.html it is written beside the document, named after it up to the\n"
        "first point of its name, with .html. The document is checked as for\n"
        "produce, and images come from the preferences folder in the same way."},
    {"export-scorm", tavimor::cli::ExportScorm, "DOC.kwz [OUT.zip] [--prefs DIR] [--pass-mark N]",
        "Writes a SCORM 1.2 package of DOC.kwz that learning platforms take as\n"
        "an activity: imsmanifest.xml and the self-contained quiz, which takes\n"
        "the student's name from the platform and reports to it, when the\n"
        "results are shown, the score (the share of right answers, or the\n"
        "certainty-weighted rate with the certainty option), passed or failed\n"
        "against the pass mark N percent (50 by default; a mastery score set on\n"
        "the platform comes first) and each question's answer. Without OUT.zip\n"
        "it is written beside the document as NAME-scorm.zip (NAME: the file\n"
        "name up to its first point). Checks and images as for standalone."},
    {"export-moodle", tavimor::cli::ExportMoodleCommand, "DOC.kwz [OUT.xml]",
        "Writes the questions of DOC.kwz as a Moodle XML file that learning\n"
        "platforms import into their question banks: standard questions as\n"
        "multiple choice, \"Vrai\"/\"Faux\" questions as true/false, cloze\n"
        "questions with their drop-down list, each answer with the message the\n"
        "site shows for it, and the pictures of the texts inside the file.\n"
        "Without OUT.xml it is written beside the document, named after it up\n"
        "to the first point of its name, with .xml."},
    {"export-gift", tavimor::cli::ExportGiftCommand, "DOC.kwz [OUT.gift]",
        "Writes the questions of DOC.kwz in the GIFT text format (UTF-8) that\n"
        "learning platforms import: multiple choice, {T}/{F} for \"Vrai\"/\"Faux\"\n"
        "questions, the missing-word form for cloze questions, each answer\n"
        "with the message the site shows for it after \"#\". Without OUT.gift it\n"
        "is written beside the document, named after it up to the first point\n"
        "of its name, with .gift. What could not be carried is said."},
    {"import-gift", tavimor::cli::ImportGiftCommand, "IN.gift (OUT.kwz | --into DOC.kwz)",
        "Reads the multiple-choice, true/false and missing-word questions of a\n"
        "GIFT file (UTF-8) into a new document saved as OUT.kwz, or adds them\n"
        "at the end of DOC.kwz. Each answer's feedback is kept in the question's\n"
        "messages, the general feedback after both. Prints the import report:\n"
        "every question of the file that did not come in as written, with its\n"
        "line, its title or first words and what was not carried over (other\n"
        "kinds, partial credit brought to 0, an unreadable question). A file\n"
        "that is not UTF-8, or holds no question a quiz can hold, is refused\n"
        "and nothing is written."},
    {"import-moodle", tavimor::cli::ImportMoodleCommand, "IN.xml (OUT.kwz | --into DOC.kwz)",
        "The same for a Moodle XML question file: multiple choice with one\n"
        "answer at 100 %, true/false, and cloze questions holding one\n"
        "multiple-choice list. Pictures inside the file are written beside the\n"
        "document, never over another file. A file that is not well-formed XML\n"
        "is refused with its line."},
    {"import-aiken", tavimor::cli::ImportAikenCommand, "IN.txt (OUT.kwz | --into DOC.kwz)",
        "The same for an Aiken file: each question, its choices \"A.\" or\n"
        "\"A)\", then \"ANSWER: X\"."},
    {"export-amc", tavimor::cli::ExportAmcCommand, "DOC.kwz [OUT.txt] [--variants N [--seed S]]",
        "Writes the questions of DOC.kwz in AMC-TXT, the plain-text questionnaire\n"
        "from which the answer-sheet scanner package (auto-multiple-choice) prints\n"
        "answer sheets, reads their scans and exports the marks: each question\n"
        "with a right choice and two choices or more, a cloze question with a\n"
        "blank in its text; the others are left out and listed. Without OUT.txt\n"
        "it is written beside the document as NAME-amc.txt. With --variants N,\n"
        "one file a version (NAME-amc-A.txt...) in the order of that version,\n"
        "as exam --variants N --seed S prints it and its key lists it."},
    {"export-csv", tavimor::cli::ExportCsvCommand, "DOC.kwz [OUT.csv]",
        "Writes the questions of DOC.kwz as a spreadsheet file (UTF-8 with a\n"
        "byte-order mark, \";\"), one question a row: type, question, right\n"
        "choice, messages, points, priority, columns, attached file, then the\n"
        "choices. import-csv reads it back to the same questions, so that a bank\n"
        "can be edited in a spreadsheet program. Without OUT.csv it is written\n"
        "beside the document, named after it up to the first point of its name."},
    {"import-csv", tavimor::cli::ImportCsvCommand, "IN.csv (OUT.kwz | --into DOC.kwz)",
        "The same for a spreadsheet saved as CSV, one question a row, in the\n"
        "columns export-csv writes (\";\" or \",\", UTF-8)."},
    {"results", tavimor::cli::Results, "DOC.kwz FILE... [--csv F] [--json] [--attempt W]",
        "Reads the results that students saved from the self-contained quiz of\n"
        "DOC.kwz: results files, or any text file holding a results line, such as\n"
        "a saved e-mail. Each FILE is a file or a folder, whose files are all\n"
        "read. Every result is checked against the document: a result of another\n"
        "quiz or of another version of it (its questions or right answers changed\n"
        "since), a damaged, cut or newer file is refused with its name and the\n"
        "reason, and the others still count. A result whose check value or marks\n"
        "do not match was changed after the page wrote it: it is listed as\n"
        "\"modifie apres coup\" and left out unless --include-altered. The same\n"
        "result twice counts once, and a student once: by the attempt started\n"
        "first (what the student knew), or with --attempt W (first, last or best)\n"
        "the last or the best one. Every mark is computed again from the\n"
        "document. Prints each student's right answers, weighted rate and time\n"
        "taken, then the item analysis as stats does. --csv F writes the marks\n"
        "table (UTF-8, \";\", decimal comma: Eleve;Q1;...;QN;Total;Taux), which\n"
        "stats reads. --json prints the object stats prints with \"marks\":\n"
        "[{\"student\", \"marks\", \"right\", \"rate\"}, ...] and \"refused\": [{\"file\",\n"
        "\"reason\"}, ...] added. --report F.html writes the class report, one\n"
        "HTML page in French that opens in any browser without asking for\n"
        "anything and prints on A4: the class's figures and histogram, each\n"
        "student's result, the altered and refused files, every question's\n"
        "statistics and the share of each answer, the questions to review and\n"
        "why and, with the certainty option, how well each student judged their\n"
        "own certainty. It is written even when no result counts. Exits 1 when\n"
        "no result could be counted."},
    {"stats", tavimor::cli::Stats, "MARKS.csv [--json]",
        "Prints the item analysis of a class's marks: the number of students,\n"
        "then for every question its facility (the mean mark, 0 to 1), the\n"
        "standard deviation of its marks, its discrimination index and\n"
        "discriminative efficiency (against the rest of the test) and its\n"
        "effective weight, the last three in percent. MARKS.csv is a table in\n"
        "UTF-8 with one row a student and a column headed Q1, Q2... for each\n"
        "question, each mark a fraction of the question's maximum (an empty\n"
        "cell counts 0); the name comes from a column headed Eleve, Nom, Name\n"
        "or Student, and other columns are ignored. When the header line holds\n"
        "a \";\" the fields are separated by \";\" and the decimals by a comma\n"
        "or a point, otherwise by \",\" and a point. A figure that cannot be\n"
        "computed (fewer than two students, a question everyone scored the\n"
        "same on) shows as a dash. With --json, prints {\"students\": N,\n"
        "\"questions\": [{\"question\": 1, \"facility\": ..., \"sd\": ...,\n"
        "\"discrimination_index\": ..., \"discriminative_efficiency\": ...,\n"
        "\"effective_weight\": ...}, ...]} at full precision, null for such a\n"
        "figure. A file that is not such a table is refused with the line and\n"
        "column at fault."},
};

const CommandEntry* FindCommand(std::string_view name)
{
    for (const CommandEntry& entry : kCommands) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

std::string Synopsis(const CommandEntry& entry)
{
    return "tavimor-cli " + std::string(entry.name) + " " + std::string(entry.arguments);
}

// The short usage printed with every command-line mistake.
std::string UsageText()
{
    std::string text = "usage:\n";
    for (const CommandEntry& entry : kCommands)
        text += "  " + Synopsis(entry) + "\n";
    return text;
}

// text with every line after an indent (empty lines stay empty).
std::string Indented(std::string_view text, std::string_view indent)
{
    std::string out;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        if (!line.empty())
            out += indent;
        out += line;
        out += '\n';
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return out;
}

std::string CommandHelp(const CommandEntry& entry)
{
    return "Usage: " + Synopsis(entry) + "\n\n" + std::string(entry.help) + "\n";
}

std::string FullHelp()
{
    std::string text = "Usage: tavimor-cli COMMAND ARGUMENTS...\n"
                       "  or:  tavimor-cli help COMMAND\n"
                       "Produces and converts Tavimor quiz documents (.kwz) without opening\n"
                       "the editor: the quiz site, the printable exam, the text form, JSON,\n"
                       "the self-contained quiz and the learning-platform formats. Also\n"
                       "analyses the marks of a class.\n"
                       "Texts inside documents are kept in Windows-1252; messages and JSON\n"
                       "are UTF-8.\n"
                       "\n"
                       "Commands:\n";
    for (const CommandEntry& entry : kCommands)
        text += "  " + std::string(entry.name) + " " + std::string(entry.arguments) + "\n"
            + Indented(entry.help, "      ");
    text += "\n"
            "Options:\n"
            "  -h, --help     print this help and exit\n"
            "  -V, --version  print the version and exit\n"
            "\n"
            "\"tavimor-cli help COMMAND\" or \"tavimor-cli COMMAND --help\" prints the\n"
            "help of one command.\n"
            "\n"
            "Exit status:\n"
            "  0  success\n"
            "  1  failure: the message, or the error text of the file that could not\n"
            "     be read or written, is printed on standard error\n";
    return text;
}

std::string VersionText()
{
    return "tavimor-cli " TAVIMOR_VERSION "\n";
}

bool IsHelpOption(std::string_view word)
{
    return word == "--help" || word == "-h";
}

int UsageMistake(const std::string& message)
{
    std::cerr << "tavimor-cli: " << message << '\n' << UsageText();
    return 1;
}

// `help [COMMAND]`.
int Help(std::span<char* const> words)
{
    if (words.empty()) {
        std::cout << FullHelp();
        return 0;
    }
    if (words.size() > 1)
        return UsageMistake("help takes one command name");
    const CommandEntry* entry = FindCommand(words[0]);
    if (entry == nullptr)
        return UsageMistake("unknown command '" + std::string(words[0]) + "'");
    std::cout << CommandHelp(*entry);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << UsageText();
        return 1;
    }
    const std::string_view first = argv[1];
    if (IsHelpOption(first)) {
        std::cout << FullHelp();
        return 0;
    }
    if (first == "--version" || first == "-V") {
        std::cout << VersionText();
        return 0;
    }
    if (first == "help")
        return Help(std::span<char* const>(argv + 2, argv + argc));

    const CommandEntry* entry = FindCommand(first);
    if (entry == nullptr) {
        std::cerr << "tavimor-cli: unknown command '" << argv[1] << "'\n" << UsageText();
        return 1;
    }
    if (argc == 3 && IsHelpOption(argv[2])) {
        std::cout << CommandHelp(*entry);
        return 0;
    }
    try {
        return entry->run(tavimor::cli::Args(argv + 2, argv + argc));
    } catch (const tavimor::cli::UsageError& e) {
        std::cerr << "tavimor-cli: " << e.message << '\n' << UsageText();
    } catch (const std::exception& e) {
        std::cerr << tavimor::Cp1252ToUtf8(e.what()) << '\n';
    }
    return 1;
}
