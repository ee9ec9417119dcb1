// tavimor-results-files DOC.kwz COUNT OUTDIR: writes COUNT students' results
// records of the document into OUTDIR, one file each, as the self-contained
// quiz saves them, for the class-results measurement of
// bench/whole-process.sh. The answers are drawn from a fixed seed, so that
// every run reads the same class: a student's level sets how often they are
// right, and how often they tick the certainty box.
#include "model/DocumentFile.h"
#include "tests/common/results_record.h"

#include <charconv>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <stdexcept>

namespace {

std::vector<tavimor::test::Given> AnswersOf(const tavimor::TQuizDocument& doc, std::mt19937& draw)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double level = 0.3 + 0.6 * unit(draw);
    std::vector<tavimor::test::Given> given;
    for (int n = 1; n <= doc.Quests.Count(); ++n) {
        const auto& quest = doc.Quests.Quest(n);
        const int choices = static_cast<int>(quest.Reps.size());
        if (unit(draw) < 0.05 || choices == 0) {
            given.push_back({});
            continue;
        }
        const bool right = unit(draw) < level;
        int choice = quest.GoodRep;
        if (!right && choices > 1)
            choice = (quest.GoodRep + 1 + static_cast<int>(draw() % static_cast<unsigned>(choices - 1))) % choices;
        given.push_back({choice, unit(draw) < level});
    }
    return given;
}

} // namespace

int main(int argc, char** argv)
{
    int count = 0;
    const char* countText = argc == 4 ? argv[2] : "";
    const char* countEnd = countText + std::strlen(countText);
    const auto parsed = std::from_chars(countText, countEnd, count);
    if (argc != 4 || parsed.ec != std::errc() || parsed.ptr != countEnd || count < 1 || count > 100000) {
        std::cerr << "usage: tavimor-results-files DOC.kwz COUNT OUTDIR (COUNT from 1 to 100000)\n";
        return 2;
    }
    try {
        tavimor::TQuizDocument doc;
        if (const auto outcome = tavimor::LoadDocument(doc, argv[1]); outcome.refusal)
            throw std::runtime_error(*outcome.refusal);
        const std::filesystem::path dir = argv[3];
        std::filesystem::create_directories(dir);
        std::mt19937 draw(20261208);
        for (int i = 1; i <= count; ++i) {
            const std::string student = "Eleve\\u0020" + std::to_string(i);
            std::ofstream out(dir / ("quiz-Eleve-" + std::to_string(i) + "-2026-12-08-1432.json"), std::ios::binary);
            out << tavimor::test::RecordLine(doc, student, AnswersOf(doc, draw)) << '\n';
            if (!out.flush())
                throw std::runtime_error("cannot write into " + dir.string());
        }
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
