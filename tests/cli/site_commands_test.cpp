// tavimor-cli produce and exam, run as a teacher would: a saved document, a
// preferences folder, exit codes, messages and the files written.
#include "base/ValueStream.h"
#include "cli_runner.h"
#include "generator/PageSet.h"
#include "model/DocumentFile.h"
#include "platform/AppFolders.h"
#include "resources/EmbeddedGifs.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <ostream>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tavimor {
namespace {

namespace fs = std::filesystem;

using test::CliRun;
using test::ReadBytes;
using test::RunCli;
using test::TempFolder;

// A document with the given number of choices per question, saved as name.
std::string SaveQuiz(const TempFolder& folder, const std::string& name, const std::vector<int>& choiceCounts)
{
    TQuizDocument doc;
    ResetToStartupState(doc, "");
    doc.Pages.SetTitle(0, "Quiz d'essai");
    doc.Header.UseCertainty = true;
    for (const int count : choiceCounts) {
        doc.Quests.AddQuest();
        TQuest& q = doc.Quests.Quest(doc.Quests.Count());
        q.QText = "Question \xE0 choix";
        for (int i = 0; i < count; ++i)
            q.Reps.push_back("R\xE9ponse " + std::to_string(i));
        q.NRep = static_cast<std::uint16_t>(count);
        q.GoodRep = count > 0 ? 0 : -1;
    }
    const std::string path = folder.Path() + name;
    SaveDocument(doc, path);
    return path;
}

const std::vector<std::string> kPages {"topMenu.htm", "blank.htm", "menu.htm", "main.htm", "quest.htm", "end.htm",
    "result.htm", "mess.htm", "kwzStyle.css", "Quiz.js"};

TEST(ProduceCommand, WritesTheSiteAndTellsWhatItCreated)
{
    TempFolder folder;
    const std::string doc = SaveQuiz(folder, "Quiz.kwz", {2, 3, 6});
    const std::string prefs = folder.Path() + "mesPrefs";
    const CliRun run = RunCli(folder, {"produce", doc, "--prefs", prefs});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::string out = folder.Path() + "Quiz/";
    EXPECT_EQ(run.out,
        "Le r\xC3\xA9pertoire " + out
            + " vient d'\xC3\xAAtre cr\xC3\xA9\xC3\xA9.\n"
              "Le r\xC3\xA9pertoire "
            + out
            + "hPages/ vient d'\xC3\xAAtre cr\xC3\xA9\xC3\xA9.\n"
              "Le Test Quiz vient d'\xC3\xAAtre cr\xC3\xA9\xC3\xA9.\n");
    EXPECT_TRUE(fs::is_regular_file(out + "index.html"));
    for (const auto& page : kPages)
        EXPECT_GT(fs::file_size(out + "hPages/" + page), 0u) << page;
    // The built-in images went into the preferences folder, then into the site.
    for (const auto& gif : EmbeddedGifList()) {
        const std::string file = std::string(gif.name) + ".gif";
        EXPECT_EQ(ReadBytes(prefs + "/" + file), gif.bytes) << file;
        EXPECT_EQ(ReadBytes(out + "hPages/" + file), gif.bytes) << file;
    }
    EXPECT_EQ(EmbeddedGifList().size(), 9u);

    // Once more: the folders exist, so only the final message.
    const CliRun again = RunCli(folder, {"produce", doc, "--prefs", prefs});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.out, "Le Test Quiz vient d'\xC3\xAAtre cr\xC3\xA9\xC3\xA9.\n");
}

// The command reads the document for the production alone (its questions as
// views of the file); the editor produces from its model. Same site.
TEST(ProduceCommand, WritesTheSiteTheEditorWrites)
{
    TempFolder folder;
    const std::string doc = SaveQuiz(folder, "Quiz.kwz", {2, 3, 6, 0, 4});
    TQuizDocument read;
    ResetToStartupState(read, "");
    LoadDocument(read, doc);
    read.Quests.Quest(4).Reps = {"Oui (s\xFBr)", "Non \"vraiment\""};
    read.Quests.Quest(4).GoodRep = 5; // a warning: no right answer
    read.Quests.Quest(2).QType = TRepType::rOList;
    read.Quests.Quest(2).QText = "Il <option>\xE9t\xE9.";
    read.Quests.Quest(3).UseGenMess = {false, false};
    read.Quests.Quest(3).Mess = {"Non\xA0!", "Oui\r\n(bravo)."};
    SaveDocument(read, doc);

    const CliRun run = RunCli(folder, {"produce", doc, "--prefs", folder.Path() + "prefs"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("La question 4 n'a pas de bonne r\xC3\xA9ponse."), std::string::npos);

    THKWZ editor(read, EmbeddedGifs());
    fs::create_directories(folder.Path() + "editeur");
    editor.DocumentPath = folder.Path() + "editeur/Quiz.kwz";
    editor.PrefsDir = folder.Path() + "prefs/";
    editor.ResumBody = read.Pages.GetBody(0);
    ASSERT_TRUE(editor.Produce(true).Produced);
    std::size_t compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder.Path() + "Quiz")) {
        if (!entry.is_regular_file())
            continue;
        const fs::path relative = fs::relative(entry.path(), folder.Path() + "Quiz");
        EXPECT_EQ(ReadBytes(entry.path()), ReadBytes(folder.Path() + "editeur/Quiz/" + relative.string())) << relative;
        ++compared;
    }
    EXPECT_EQ(compared, 20u);
}

TEST(ProduceCommand, AnImageOfThePreferencesFolderReplacesTheBuiltInOne)
{
    TempFolder folder;
    const std::string doc = SaveQuiz(folder, "Quiz.kwz", {2, 2});
    const std::string prefs = folder.Path() + "prefs/";
    fs::create_directories(prefs);
    const std::string own = ReadBytes(fs::path(TAVIMOR_TEST_DATA).parent_path() / "resources/gImg.gif");
    ASSERT_FALSE(own.empty());
    std::ofstream(prefs + "bImg.gif", std::ios::binary) << own;
    ASSERT_EQ(RunCli(folder, {"produce", doc, "--prefs", prefs}).exitCode, 0);
    EXPECT_EQ(ReadBytes(folder.Path() + "Quiz/hPages/bImg.gif"), own);
}

struct RefusedCase {
    const char* name;
    std::vector<int> choiceCounts;
    const char* stderrText; // UTF-8
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const RefusedCase& c, std::ostream* os)
{
    *os << c.name;
}

class ProduceRefusal : public ::testing::TestWithParam<RefusedCase> { };

TEST_P(ProduceRefusal, ExitsWithOneAndTheFrenchMessage)
{
    TempFolder folder;
    const std::string doc = SaveQuiz(folder, "Refus.kwz", GetParam().choiceCounts);
    const CliRun run = RunCli(folder, {"produce", doc, "--prefs", folder.Path() + "prefs"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, GetParam().stderrText);
    EXPECT_FALSE(fs::exists(folder.Path() + "Refus"));
}

INSTANTIATE_TEST_SUITE_P(Cases, ProduceRefusal,
    ::testing::Values(RefusedCase {"OneQuestion", {4}, "Impossible de produire le test!\n"},
        RefusedCase {"TwoWithoutChoices", {0, 3, 0},
            "Une ou des questions n'ont pas de r\xC3\xA9ponse. \n"
            "Une ou des questions n'ont pas de r\xC3\xA9ponse. \n"
            "Impossible de produire le test!\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProduceCommand, RefusesADocumentWithoutAName)
{
    TempFolder folder;
    SaveQuiz(folder, ".kwz", {2, 2});
    for (const char* command : {"produce", "exam"}) {
        const CliRun run = RunCli(folder, {command, ".kwz", "--prefs", "prefs"});
        EXPECT_EQ(run.exitCode, 1) << command;
        EXPECT_NE(run.err.find("Le document n'a pas de nom de fichier"), std::string::npos) << run.err;
    }
    EXPECT_FALSE(fs::exists(folder.Path() + "hPages"));
    EXPECT_FALSE(fs::exists(folder.Path() + "index.html"));
}

TEST(ProduceCommand, ReportsAFileThatCannotBeOpened)
{
    TempFolder folder;
    const CliRun run = RunCli(folder, {"produce", folder.Path() + "absent.kwz", "--prefs", folder.Path() + "p"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Cannot open file " + folder.Path() + "absent.kwz\n");
}

TEST(ProduceCommand, RefusesAVersionTooOld)
{
    TempFolder folder;
    TValueWriter writer;
    writer.WriteInteger(2);
    std::ofstream(folder.Path() + "Vieux.kwz", std::ios::binary) << writer.Bytes();
    const CliRun run = RunCli(folder, {"produce", "Vieux.kwz", "--prefs", "p"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.rfind("La version 2 n'est plus support\xC3\xA9", 0), 0u) << run.err;
    EXPECT_FALSE(fs::exists(folder.Path() + "Vieux"));
}

TEST(ProduceCommand, NeedsADocument)
{
    TempFolder folder;
    EXPECT_EQ(RunCli(folder, {"produce"}).exitCode, 1);
    EXPECT_EQ(RunCli(folder, {"produce", "a.kwz", "--prefs"}).exitCode, 1);
    EXPECT_EQ(RunCli(folder, {"exam", "a.kwz", "b.kwz"}).exitCode, 1);
}

TEST(ExamCommand, MakesTheSiteFoldersThenTheExamAndItsKey)
{
    TempFolder folder;
    const std::string doc = SaveQuiz(folder, "Quiz.kwz", {3, 2});
    const CliRun run = RunCli(folder, {"exam", "Quiz.kwz", "--prefs", "prefs"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
        "Le r\xC3\xA9pertoire Quiz/ vient d'\xC3\xAAtre cr\xC3\xA9\xC3\xA9.\n"
        "Le r\xC3\xA9pertoire Quiz/hPages/ vient d'\xC3\xAAtre cr\xC3\xA9\xC3\xA9.\n"
        "L'examen Quizexm.htm et son corrig\xC3\xA9 Quizsol.htm viennent d'\xC3\xAAtre "
        "cr\xC3\xA9\xC3\xA9s.\n");
    const std::string out = folder.Path() + "Quiz/";
    const std::string exam = ReadBytes(out + "Quizexm.htm");
    const std::string key = ReadBytes(out + "Quizsol.htm");
    EXPECT_NE(exam.find("<H2>Quiz d'essai</H2>\r\n"), std::string::npos);
    EXPECT_NE(exam.find("Groupe: _______"), std::string::npos);
    EXPECT_NE(key.find("<LI> <b>R&eacute;ponse 0</b><BR>\r\n"), std::string::npos);
    EXPECT_EQ(ReadBytes(out + "kwzStyle.css"), ReadBytes(out + "hPages/kwzStyle.css"));
    EXPECT_GT(fs::file_size(out + "kwzStyle.css"), 0u);
    EXPECT_FALSE(fs::exists(out + "index.html")); // only the folders of the site
}

TEST(ExamCommand, WritesTheExamOfADocumentTheSiteRefuses)
{
    TempFolder folder;
    SaveQuiz(folder, "Seul.kwz", {0});
    const CliRun run = RunCli(folder, {"exam", "Seul.kwz", "--prefs", "prefs"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(fs::is_regular_file(folder.Path() + "Seul/Seulexm.htm"));
    EXPECT_TRUE(fs::is_regular_file(folder.Path() + "Seul/Seulsol.htm"));
}

TEST(ExamCommand, RefusesADocumentWithoutQuestions)
{
    TempFolder folder;
    SaveQuiz(folder, "Vide.kwz", {});
    const CliRun run = RunCli(folder, {"exam", "Vide.kwz", "--prefs", "prefs"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Le document n'a aucune question: impossible de produire l'examen!\n");
    EXPECT_FALSE(fs::exists(folder.Path() + "Vide"));
}

// Versions of the exam: what --json says was made is on disk, each version
// prints every question once and its key marks the document's right choice,
// and the same seed writes the same files.
TEST(ExamCommand, VersionsWithTheirKeysComeBackTheSameFromTheSameSeed)
{
    TempFolder folder;
    SaveQuiz(folder, "Quiz.kwz", {4, 3, 5, 2, 6});
    const CliRun run
        = RunCli(folder, {"exam", "Quiz.kwz", "--prefs", "prefs", "--variants", "3", "--seed", "2026", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto made = nlohmann::json::parse(run.out.substr(run.out.find('{')));
    EXPECT_EQ(made["seed"], 2026);
    ASSERT_EQ(made["variants"].size(), 3u);
    ASSERT_EQ(made["key"].size(), 4u);
    const std::string versionsKey = ReadBytes(folder.Path() + made["key"][0].get<std::string>());
    EXPECT_NE(versionsKey.find("Graine : <B>2026</B>"), std::string::npos);
    std::vector<std::string> files;
    for (const auto& variant : made["variants"]) {
        const std::string letter = variant["letter"];
        const std::string exam = ReadBytes(folder.Path() + variant["files"][0].get<std::string>());
        EXPECT_NE(exam.find("<B>Version " + letter + "</B>"), std::string::npos);
        std::vector<int> originals;
        for (const auto& question : variant["questions"]) {
            originals.push_back(question["original"]);
            // Every document question's right choice is its first ("Réponse 0").
            const auto& choices = question["choices"];
            ASSERT_FALSE(question["right"].is_null());
            EXPECT_EQ(choices[question["right"].get<std::size_t>()], 0);
        }
        std::sort(originals.begin(), originals.end());
        EXPECT_EQ(originals, (std::vector<int> {1, 2, 3, 4, 5}));
        files.push_back(exam);
    }
    for (const auto& key : made["key"])
        files.push_back(ReadBytes(folder.Path() + key.get<std::string>()));

    ASSERT_EQ(
        RunCli(folder, {"exam", "Quiz.kwz", "--prefs", "prefs", "--variants", "3", "--seed", "2026"}).exitCode, 0);
    std::size_t k = 0;
    for (const auto& variant : made["variants"])
        EXPECT_EQ(ReadBytes(folder.Path() + variant["files"][0].get<std::string>()), files[k++]);
    for (const auto& key : made["key"])
        EXPECT_EQ(ReadBytes(folder.Path() + key.get<std::string>()), files[k++]);

    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>> {
             {"--variants", "1"}, {"--variants", "27"}, {"--variants", "3", "--seed", "x"}, {"--seed", "4"}}) {
        std::vector<std::string> args {"exam", "Quiz.kwz", "--prefs", "prefs"};
        args.insert(args.end(), bad.begin(), bad.end());
        EXPECT_EQ(RunCli(folder, args).exitCode, 1) << bad[0] << " " << bad[1];
    }
}

// Where the settings and the preferences live by default.
struct FolderCase {
    const char* program;
    bool writable;
    const char* xdg;
    const char* home;
    const char* settings;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const FolderCase& c, std::ostream* os)
{
    *os << c.program << (c.writable ? " (writable)" : " (read-only)");
}

class SettingsFolderRule : public ::testing::TestWithParam<FolderCase> { };

TEST_P(SettingsFolderRule, PrefersTheProgramFolder)
{
    const FolderCase& c = GetParam();
    EXPECT_EQ(ChooseSettingsFolder(c.program, c.writable, c.xdg, c.home), c.settings);
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsFolderRule,
    ::testing::Values(FolderCase {"/opt/tav/", true, "/x", "/home/u", "/opt/tav/"},
        FolderCase {"/opt/tav", true, "", "", "/opt/tav/"},
        FolderCase {"/usr/bin/", false, "/cfg", "/home/u", "/cfg/tavimor/"},
        FolderCase {"/usr/bin/", false, "/cfg/", "/home/u", "/cfg/tavimor/"},
        FolderCase {"/usr/bin/", false, "", "/home/u", "/home/u/.config/tavimor/"}));

// The superuser may write into /usr/bin: an installation's bin folder is
// recognised by the desktop entry its prefix holds, and never holds settings.
TEST(AppFolders, AnInstallationsBinFolderIsNoPortableFolder)
{
    test::TempFolder prefix;
    fs::create_directories(prefix.File("bin"));
    fs::create_directories(prefix.File("share/applications"));
    EXPECT_FALSE(IsInstalledProgramFolder(prefix.File("bin/")));
    // A folder of that name is no entry.
    fs::create_directories(prefix.File("share/applications/tavimor.desktop"));
    EXPECT_FALSE(IsInstalledProgramFolder(prefix.File("bin/")));
    fs::remove(prefix.File("share/applications/tavimor.desktop"));
    prefix.Write("share/applications/tavimor.desktop", "[Desktop Entry]\n");
    EXPECT_TRUE(IsInstalledProgramFolder(prefix.File("bin/")));
    EXPECT_TRUE(IsInstalledProgramFolder(prefix.File("bin")));
    // Only a folder directly inside the prefix has the entry at ../share.
    EXPECT_FALSE(IsInstalledProgramFolder(prefix.File("share/applications/")));
}

TEST(AppFolders, PrefsFolderIsInsideTheSettingsFolder)
{
    EXPECT_EQ(PrefsFolder(), SettingsFolder() + "Prefs/");
    EXPECT_EQ(ProgramFolder().back(), '/');
    EXPECT_TRUE(fs::is_directory(ProgramFolder()));
}

TEST(StandaloneCommand, WritesTheSinglePageBesideTheDocumentOrWhereAsked)
{
    TempFolder folder;
    const std::string doc = SaveQuiz(folder, "Quiz.copie.kwz", {2, 3});
    const CliRun run = RunCli(folder, {"standalone", doc, "--prefs", "prefs"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string page = folder.Path() + "Quiz.html";
    EXPECT_EQ(run.out, "Le quiz autonome " + page + " vient d'\xC3\xAAtre cr\xC3\xA9\xC3\xA9.\n");
    EXPECT_NE(ReadBytes(page).find("<title>Quiz</title>"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder.Path() + "Quiz")) << "no site folder is needed";

    const CliRun elsewhere = RunCli(folder, {"standalone", "--prefs", "prefs", doc, "autre.html"});
    ASSERT_EQ(elsewhere.exitCode, 0) << elsewhere.err;
    EXPECT_EQ(ReadBytes(folder.Path() + "autre.html"), ReadBytes(page));

    EXPECT_EQ(RunCli(folder, {"standalone", doc, "a.html", "b.html"}).exitCode, 1);
    EXPECT_EQ(RunCli(folder, {"standalone"}).exitCode, 1);
}

TEST(StandaloneCommand, RefusesAsProduceDoes)
{
    TempFolder folder;
    const std::string doc = SaveQuiz(folder, "Refus.kwz", {0, 3});
    const CliRun run = RunCli(folder, {"standalone", doc, "--prefs", "prefs"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Une ou des questions n'ont pas de r\xC3\xA9ponse. \nImpossible de produire le test!\n");
    EXPECT_FALSE(fs::exists(folder.Path() + "Refus.html"));
}

} // namespace
} // namespace tavimor
