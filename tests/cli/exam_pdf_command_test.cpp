// tavimor-cli exam --pdf: the PDF files beside the pages, listed by --json,
// each version's questions printed in that version's order.
#include "cli_runner.h"
#include "model/DocumentFile.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tavimor {
namespace {

using test::CliRun;
using test::RunCli;
using test::TempFolder;

std::string PdfText(const std::string& path)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(
        ::popen(("pdftotext -layout -enc UTF-8 '" + path + "' -").c_str(), "r"), ::pclose);
    if (!pipe)
        throw std::runtime_error("cannot run pdftotext");
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
        out.append(buffer, n);
    return out;
}

// Questions "Question n°1 :"... each with three choices, the first one right.
void SaveQuiz(const TempFolder& folder, int count)
{
    TQuizDocument doc;
    ResetToStartupState(doc, "");
    doc.Pages.SetTitle(0, "Contr\xF4le \xAB final \xBB");
    for (int n = 1; n <= count; ++n) {
        doc.Quests.AddQuest();
        TQuest& q = doc.Quests.Quest(doc.Quests.Count());
        q.QText = "Question n\xB0" + std::to_string(n) + " :";
        q.Reps = {"Bonne " + std::to_string(n), "Autre " + std::to_string(n), "Encore " + std::to_string(n)};
        q.NRep = 3;
        q.GoodRep = 0;
    }
    SaveDocument(doc, folder.Path() + "Quiz.kwz");
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST(ExamPdfCommand, VersionsAndTheirKeysAreWrittenAsPdfInTheirOrder)
{
    TempFolder folder;
    SaveQuiz(folder, 6);
    const CliRun run
        = RunCli(folder, {"exam", "Quiz.kwz", "--prefs", "prefs", "--variants", "2", "--seed", "5", "--pdf", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto made = nlohmann::json::parse(run.out.substr(run.out.find('{')));
    ASSERT_EQ(made["variants"].size(), 2u);
    // The key of all versions, then each version's key and its PDF.
    ASSERT_EQ(made["key"].size(), 5u);
    EXPECT_TRUE(EndsWith(made["key"][0], "Quizsol-versions.htm"));
    std::vector<std::string> orders;
    for (std::size_t v = 0; v < 2; ++v) {
        const auto& variant = made["variants"][v];
        const std::string letter = variant["letter"];
        ASSERT_EQ(variant["files"].size(), 2u);
        EXPECT_TRUE(EndsWith(variant["files"][0], "Quizexm-" + letter + ".htm"));
        const std::string exam = folder.Path() + variant["files"][1].get<std::string>();
        ASSERT_TRUE(EndsWith(exam, "Quizexm-" + letter + ".pdf"));
        const std::string key = folder.Path() + made["key"][2 + 2 * v].get<std::string>();
        ASSERT_TRUE(EndsWith(key, "Quizsol-" + letter + ".pdf"));
        EXPECT_TRUE(EndsWith(made["key"][1 + 2 * v], "Quizsol-" + letter + ".htm"));

        const std::string examText = PdfText(exam);
        const std::string keyText = PdfText(key);
        EXPECT_NE(examText.find("Contr\xC3\xB4le \xC2\xAB final \xC2\xBB"), std::string::npos);
        EXPECT_NE(examText.find("Version " + letter), std::string::npos);
        EXPECT_NE(examText.find("Page 1 / 1"), std::string::npos);
        // Each question where the version prints it, with its right choice ticked in the key.
        std::size_t examAt = 0;
        std::size_t keyAt = 0;
        std::string order;
        for (const auto& question : variant["questions"]) {
            const std::string n = std::to_string(question["original"].get<int>());
            order += n;
            const std::size_t inExam = examText.find("Question n\xC2\xB0" + n + " :", examAt);
            ASSERT_NE(inExam, std::string::npos) << "question " << n << " of version " << letter;
            examAt = inExam;
            const std::size_t inKey = keyText.find("\xE2\x98\x92 Bonne " + n, keyAt);
            ASSERT_NE(inKey, std::string::npos) << "key of question " << n << " of version " << letter;
            keyAt = inKey;
        }
        orders.push_back(order);
    }
    EXPECT_NE(orders[0], orders[1]) << "seed 5 shuffles the two versions differently";
}

TEST(ExamPdfCommand, OneExamGetsItsPdfOnlyWhenAskedFor)
{
    TempFolder folder;
    SaveQuiz(folder, 3);
    const std::string out = folder.Path() + "Quiz/";
    ASSERT_EQ(RunCli(folder, {"exam", "Quiz.kwz", "--prefs", "prefs"}).exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(out + "Quizexm.htm"));
    EXPECT_FALSE(std::filesystem::exists(out + "Quizexm.pdf"));
    EXPECT_FALSE(std::filesystem::exists(out + "Quizsol.pdf"));

    const CliRun run = RunCli(folder, {"exam", "Quiz.kwz", "--prefs", "prefs", "--pdf"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Quizexm.pdf"), std::string::npos) << run.out;
    const std::string exam = PdfText(out + "Quizexm.pdf");
    EXPECT_NE(exam.find("Pr\xC3\xA9nom :"), std::string::npos);
    EXPECT_NE(exam.find("Question n\xC2\xB0"
                        "3 :"),
        std::string::npos);
    EXPECT_NE(PdfText(out + "Quizsol.pdf").find("\xE2\x98\x92 Bonne 2"), std::string::npos);
}

} // namespace
} // namespace tavimor
