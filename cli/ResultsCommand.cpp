// results: the students' results records of a quiz, checked against its
// document and gathered into the class's marks, with their item analysis.
#include "analysis/ClassReport.h"
#include "analysis/ClassResults.h"
#include "analysis/DecimalText.h"
#include "analysis/ItemStatistics.h"
#include "analysis/MarksTableCsv.h"
#include "base/Cp1252.h"
#include "cli/AnalysisOutput.h"
#include "cli/CommandSupport.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

namespace tavimor::cli {
namespace {

namespace fs = std::filesystem;

struct ResultsArgs {
    std::string document;
    std::vector<std::string> inputs;
    std::string csv;
    std::string report;
    bool json = false;
    TGatherOptions gather;
};

ResultsArgs ParseResultsArgs(const Args& args)
{
    ResultsArgs parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw UsageError {"results: " + arg + " needs a value"};
            return args[++i];
        };
        if (arg == "--json") {
            parsed.json = true;
        } else if (arg == "--csv") {
            parsed.csv = value();
        } else if (arg == "--report") {
            parsed.report = value();
        } else if (arg == "--include-altered") {
            parsed.gather.IncludeAltered = true;
        } else if (arg == "--attempt") {
            const std::string& which = value();
            if (which == "first")
                parsed.gather.Attempt = TAttemptChoice::First;
            else if (which == "last")
                parsed.gather.Attempt = TAttemptChoice::Last;
            else if (which == "best")
                parsed.gather.Attempt = TAttemptChoice::Best;
            else
                throw UsageError {"results: --attempt takes first, last or best, not '" + which + "'"};
        } else if (arg.starts_with("--")) {
            throw UsageError {"results: unknown option '" + arg + "'"};
        } else if (parsed.document.empty()) {
            parsed.document = arg;
        } else {
            parsed.inputs.push_back(arg);
        }
    }
    if (parsed.document.empty() || parsed.inputs.empty())
        throw UsageError {"results needs the quiz (DOC.kwz) and at least one results file or folder"};
    return parsed;
}

// A file's name as messages show it.
std::string ShownName(const fs::path& path)
{
    return Utf8ToCp1252Referencing(path.string());
}

// The file, or why it cannot be read as results.
void ReadSource(const fs::path& path, std::vector<TResultsSource>& sources, std::vector<TRefusedFile>& unread)
{
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (error) {
        unread.push_back({ShownName(path), "le fichier est introuvable ou illisible"});
        return;
    }
    if (size > kMaxResultsFileSize) {
        unread.push_back({ShownName(path), "le fichier est trop grand pour \xEAtre un r\xE9sultat"});
        return;
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
        unread.push_back({ShownName(path), "le fichier est illisible"});
        return;
    }
    sources.push_back({ShownName(path), std::move(bytes)});
}

// The files given, and the files inside the folders given (hidden ones
// apart), in the order of their names.
void ReadInputs(
    const std::vector<std::string>& inputs, std::vector<TResultsSource>& sources, std::vector<TRefusedFile>& unread)
{
    for (const std::string& input : inputs) {
        std::error_code error;
        if (!fs::is_directory(input, error)) {
            ReadSource(input, sources, unread);
            continue;
        }
        std::vector<fs::path> files;
        for (auto it = fs::recursive_directory_iterator(input, fs::directory_options::skip_permission_denied, error);
             !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
            const std::string name = it->path().filename().string();
            if (name.starts_with(".")) {
                if (it->is_directory(error))
                    it.disable_recursion_pending();
                continue;
            }
            if (it->is_regular_file(error))
                files.push_back(it->path());
        }
        if (error)
            unread.push_back({ShownName(input), "le dossier n'a pas pu \xEAtre lu en entier"});
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files)
            ReadSource(file, sources, unread);
    }
}

std::string Duration(long long seconds)
{
    const long long minutes = seconds / 60;
    if (minutes >= 60)
        return std::to_string(minutes / 60) + " h " + (minutes % 60 < 10 ? "0" : "") + std::to_string(minutes % 60);
    return std::to_string(minutes) + " min " + (seconds % 60 < 10 ? "0" : "") + std::to_string(seconds % 60) + " s";
}

// The list of refusals, the altered records left out among them.
std::vector<TRefusedFile> AllRefusals(const TClassResults& results, const TGatherOptions& options)
{
    std::vector<TRefusedFile> refused = results.Refused;
    if (!options.IncludeAltered)
        for (const TStudentResult& altered : results.Altered)
            refused.push_back({altered.File, "modifi\xE9 apr\xE8s coup (r\xE9sultat de " + altered.Student + ")"});
    return refused;
}

std::string ResultsJson(
    const TClassResults& results, const std::vector<TItemStatistics>& items, const std::vector<TRefusedFile>& refused)
{
    std::string json = "{\"students\": " + std::to_string(results.Students.size())
        + ", \"questions\": " + ItemStatisticsJson(items) + ", \"marks\": [";
    for (std::size_t i = 0; i < results.Students.size(); ++i) {
        const TStudentResult& student = results.Students[i];
        json += i == 0 ? "{" : ", {";
        json += "\"student\": " + JsonText(student.Student) + ", \"marks\": [";
        for (std::size_t q = 0; q < student.Marks.size(); ++q)
            json += (q == 0 ? "" : ", ") + JsonNumber(student.Marks[q]);
        json += "], \"right\": " + std::to_string(student.Right) + ", \"rate\": " + JsonNumber(student.RatePercent)
            + "}";
    }
    json += "], \"refused\": [";
    for (std::size_t i = 0; i < refused.size(); ++i)
        json += (i == 0 ? "{" : ", {") + std::string("\"file\": ") + JsonText(refused[i].File)
            + ", \"reason\": " + JsonText(refused[i].Reason) + "}";
    return json + "]}\n";
}

std::string ResultsTable(
    const TClassResults& results, const std::vector<TRefusedFile>& refused, const TGatherOptions& options)
{
    std::string text = StudentCount(results.Students.size()) + ", " + std::to_string(results.QuestionCount)
        + (results.QuestionCount == 1 ? " question" : " questions") + "\n";
    if (!results.Students.empty()) {
        std::vector<Row> rows {{"\xC9l\xE8ve", "Bonnes r\xE9ponses", "Taux pond\xE9r\xE9",
            "Dur\xE9"
            "e"}};
        for (const TStudentResult& student : results.Students)
            rows.push_back(
                {student.Student + (student.Attempts > 1 ? " (" + std::to_string(student.Attempts) + " essais)" : ""),
                    std::to_string(student.Right) + " sur " + std::to_string(results.QuestionCount),
                    Figure(student.RatePercent, 1, " %"), Duration(student.Seconds)});
        text += Aligned(rows);
    }
    if (results.Copies > 0)
        text += std::to_string(results.Copies) + " r\xE9sultat(s) re\xE7u(s) en double, compt\xE9(s) une fois.\n";
    if (!refused.empty()) {
        text += "Fichiers non compt\xE9s :\n";
        for (const TRefusedFile& file : refused)
            text += "  " + file.File + " : " + file.Reason + "\n";
    }
    if (!results.Altered.empty())
        text += std::string(options.IncludeAltered ? "Les r\xE9sultats modifi\xE9s apr\xE8s coup sont compt\xE9s "
                                                     "(--include-altered), corrig\xE9s d'apr\xE8s le quiz. "
                                                   : "")
            + "La valeur de contr\xF4le rend visibles les d\xE9g\xE2ts et les retouches ordinaires d'un fichier, "
              "mais un \xE9l\xE8ve d\xE9termin\xE9 peut la recalculer.\n";
    return text;
}

} // namespace

int Results(const Args& args)
{
    const ResultsArgs parsed = ParseResultsArgs(args);
    TQuizDocument doc;
    if (const LoadOutcome outcome = LoadDocument(doc, parsed.document); outcome.refusal) {
        Say(std::cerr, *outcome.refusal);
        return 1;
    }
    std::vector<TResultsSource> sources;
    std::vector<TRefusedFile> unread;
    ReadInputs(parsed.inputs, sources, unread);
    // The page names its quiz after the document's file name up to its first point.
    const std::string name = fs::path(parsed.document).filename().string();
    const std::string stem = Utf8ToCp1252Referencing(name.substr(0, name.find('.')));
    TClassResults results = GatherResults(doc, stem, sources, parsed.gather);
    results.Refused.insert(results.Refused.begin(), unread.begin(), unread.end());

    const TMarksTable table = results.Marks();
    const std::vector<TItemStatistics> items = ComputeItemStatistics(table);
    const std::vector<TRefusedFile> refused = AllRefusals(results, parsed.gather);
    if (!parsed.csv.empty())
        WriteMarksTableCsv(parsed.csv, table);
    // Written even when no record counts: the page then says which files
    // were refused and why.
    if (!parsed.report.empty())
        WriteClassReport(parsed.report, doc, results, stem);
    if (parsed.json) {
        std::cout << ResultsJson(results, items, refused);
    } else {
        std::cout << Cp1252ToUtf8ResolvingReferences(ResultsTable(results, refused, parsed.gather));
        if (!results.Students.empty())
            std::cout << Cp1252ToUtf8(ItemStatisticsTable(items));
    }
    std::cout.flush();
    if (results.Students.empty()) {
        Say(std::cerr, "Aucun r\xE9sultat n'a pu \xEAtre compt\xE9 pour ce quiz.");
        return 1;
    }
    return std::cout ? 0 : 1;
}

} // namespace tavimor::cli
