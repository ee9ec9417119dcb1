// The settings file: defaults of a first run, the file written at exit, the
// round trip, the file name rule and the write error.
#include "base/Errors.h"
#include "base/FileIo.h"
#include "base/IniFile.h"
#include "common/temp_folder.h"
#include "platform/AppSettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <tuple>

namespace tavimor {
namespace {

using test::TempFolder;

auto Fields(const AppSettings& s)
{
    return std::tie(s.Professeur, s.EMail, s.Institut, s.BaseURL, s.EPgTitle, s.EPgCmnt, s.RPgTitle, s.RPgCmnt,
        s.SaveID, s.AutoLoad, s.SaveTitle, s.FullPalette, s.LastFileName, s.RegisterFType, s.CertInd, s.TLabel,
        s.ResumLab);
}

TEST(AppSettingsTest, FirstRunGivesTheDefaultsAndWritesEveryKey)
{
    TempFolder folder;
    const std::string path = folder.File("tavimor.ini");
    const AppSettings settings = ReadSettings(path);
    EXPECT_EQ(settings.Professeur, "");
    EXPECT_EQ(settings.EPgTitle, "Termin\xE9?");
    EXPECT_EQ(settings.EPgCmnt, "Vous pouvez maintenant revoir vos r\xE9ponses ou passer aux r\xE9sultats.");
    EXPECT_EQ(settings.RPgTitle, "R\xE9sultats");
    EXPECT_EQ(settings.RPgCmnt, "Voici vos r\xE9sultats.");
    EXPECT_TRUE(settings.SaveID);
    EXPECT_FALSE(settings.AutoLoad);
    EXPECT_TRUE(settings.SaveTitle);
    EXPECT_FALSE(settings.FullPalette);
    EXPECT_FALSE(settings.RegisterFType);
    EXPECT_FALSE(settings.CertInd);
    EXPECT_EQ(settings.TLabel, "Titre");
    EXPECT_EQ(settings.ResumLab, "R\xE9sum\xE9");

    WriteSettings(settings, path);
    const std::string expected = "[GENERAL]\r\n"
                                 "Professeur=\r\n"
                                 "EMail=\r\n"
                                 "Institut=\r\n"
                                 "BaseURL=\r\n"
                                 "EPgTitle=Termin\xE9?\r\n"
                                 "EPgCmnt=Vous pouvez maintenant revoir vos r\xE9ponses ou passer aux r\xE9sultats.\r\n"
                                 "RPgTitle=R\xE9sultats\r\n"
                                 "RPgCmnt=Voici vos r\xE9sultats.\r\n"
                                 "SaveID=1\r\n"
                                 "AutoLoad=0\r\n"
                                 "SaveTitle=1\r\n"
                                 "FullPalette=0\r\n"
                                 "LastFileName=\r\n";
    const std::string text = ReadWholeFile(path);
    ASSERT_EQ(text.substr(0, expected.size()), expected);
    // The other sections follow in the table's order.
    const std::size_t prefs = text.find("[PREFS]\r\nregisterFType=0\r\n");
    const std::size_t quest = text.find("[QUESTPREF]\r\nCertInd=0\r\n");
    const std::size_t desc = text.find("[DESCPREF]\r\nTLabel=Titre\r\nResumLab=R\xE9sum\xE9\r\n");
    ASSERT_NE(prefs, std::string::npos);
    ASSERT_NE(quest, std::string::npos);
    ASSERT_NE(desc, std::string::npos);
    EXPECT_LT(prefs, quest);
    EXPECT_LT(quest, desc);
    EXPECT_EQ(Fields(ReadSettings(path)), Fields(settings));
}

TEST(AppSettingsTest, EveryKeySurvivesARoundTrip)
{
    TempFolder folder;
    const std::string path = folder.File("editeur.ini");
    AppSettings settings;
    settings.Professeur = "Ren\xE9 Dupr\xE9";
    settings.EMail = "rene@example.org";
    settings.Institut = "\xC9"
                        "cole; section = B";
    settings.BaseURL = "http://example.org/?a=1&b=2";
    settings.EPgTitle = "Fini?";
    settings.EPgCmnt = "  espaces gard\xE9s  ";
    settings.RPgTitle = "Bilan";
    settings.RPgCmnt = "\"entre guillemets\"";
    settings.SaveID = false;
    settings.AutoLoad = true;
    settings.SaveTitle = false;
    settings.FullPalette = true;
    settings.LastFileName = "/home/rene/Quiz/d\xE9"
                            "couverte.kwz";
    settings.RegisterFType = true;
    settings.CertInd = true;
    settings.TLabel = "Intitul\xE9";
    settings.ResumLab = "Message";
    WriteSettings(settings, path);
    EXPECT_EQ(Fields(ReadSettings(path)), Fields(settings));

    // A second exit replaces the keys in place and keeps what else the file holds.
    std::ofstream(path, std::ios::app) << "[OTHER]\r\nkept=yes\r\n";
    settings.Professeur = "Autre";
    WriteSettings(settings, path);
    const std::string text = ReadWholeFile(path);
    EXPECT_EQ(Fields(ReadSettings(path)), Fields(settings));
    EXPECT_NE(text.find("[OTHER]\r\nkept=yes"), std::string::npos);
    EXPECT_EQ(text.find("Ren\xE9"), std::string::npos);
}

TEST(AppSettingsTest, ReadsWhatAHandEditedFileHolds)
{
    TempFolder folder;
    const std::string path = folder.File("t.ini");
    std::ofstream(path, std::ios::binary) << "[general]\nsaveid=0\nAutoLoad=7\nSaveTitle=oui\nProfesseur=A\n"
                                             "Professeur=B\n[DescPref]\nTLabel=\n";
    const AppSettings settings = ReadSettings(path);
    EXPECT_FALSE(settings.SaveID); // sections and keys match without regard to case
    EXPECT_TRUE(settings.AutoLoad); // any non-zero integer
    EXPECT_TRUE(settings.SaveTitle); // not a number: the default
    EXPECT_EQ(settings.Professeur, "A");
    EXPECT_EQ(settings.TLabel, ""); // present but empty is not absent
    EXPECT_EQ(settings.ResumLab, "R\xE9sum\xE9");
}

TEST(AppSettingsTest, UnwritableFileGivesTheWriteError)
{
    TempFolder folder;
    const std::string inMissingFolder = folder.File("absent/tavimor.ini");
    try {
        WriteSettings(AppSettings {}, inMissingFolder);
        ADD_FAILURE() << "no error";
    } catch (const IniWriteError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + inMissingFolder);
    }

    // A folder stands where the file should be.
    const std::string folderInTheWay = folder.File("dossier.ini");
    std::filesystem::create_directory(folderInTheWay);
    EXPECT_THROW(WriteSettings(AppSettings {}, folderInTheWay), IniWriteError);
}

TEST(AppSettingsTest, FileNameRule)
{
    const std::map<std::string, std::string> cases {
        {"/opt/Tavimor/Editeur.Quiz.exe", "editeur.ini"},
        {"/opt/tavimor/editeur.exe", "editeur.ini"},
        {"/usr/bin/tavimor", "tavimor.ini"},
        {"/usr/bin/TAVIMOR.", "tavimor.ini"},
        {"/opt/v1.2/Tavimor", "tavimor.ini"},
        {"tavimor", "tavimor.ini"},
    };
    for (const auto& [program, expected] : cases)
        EXPECT_EQ(SettingsFileName(program), expected) << program;
}

TEST(AppSettingsTest, RememberedPageTextsFollowPagesOneAndTwo)
{
    AppSettings settings;
    THMPList pages;
    pages.SetRememberHook(RememberPageTexts(settings));
    pages.SetTitle(0, "Accueil");
    pages.SetTitle(1, "Fini?");
    pages.SetBody(1, "Revoir");
    pages.SetTitle(2, "Bilan");
    pages.SetBody(2, "Voici");
    EXPECT_EQ(settings.EPgTitle, "Fini?");
    EXPECT_EQ(settings.EPgCmnt, "Revoir");
    EXPECT_EQ(settings.RPgTitle, "Bilan");
    EXPECT_EQ(settings.RPgCmnt, "Voici");
    EXPECT_EQ(settings.TLabel, "Titre");
}

} // namespace
} // namespace tavimor
