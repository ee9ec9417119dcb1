#include "base/Errors.h"
#include "base/FileIo.h"
#include "base/IniFile.h"
#include "common/temp_folder.h"

#include <gtest/gtest.h>

using namespace tavimor;

namespace {

using tavimor::test::TempFolder;

TEST(IniFileTest, ValuesAreVerbatim)
{
    const TIniFile ini = TIniFile::Parse("[S]\nStyle=H2;white;;\nQuoted= \"x\" \nEmpty=\n; Not=a key\n");
    EXPECT_EQ(ini.ReadString("S", "Style", "?"), "H2;white;;");
    EXPECT_EQ(ini.ReadString("S", "Quoted", "?"), " \"x\" ");
    EXPECT_EQ(ini.ReadString("S", "Empty", "?"), "");
    EXPECT_TRUE(ini.HasKey("S", "Empty"));
    EXPECT_FALSE(ini.HasKey("S", "; Not"));
    EXPECT_EQ(ini.ReadString("S", "Missing", "fallback"), "fallback");
}

TEST(IniFileTest, NamesMatchWithoutRegardToCase)
{
    const TIniFile ini = TIniFile::Parse("[StylePrefs]\r\nbgCOLOR=navy\r\n");
    EXPECT_EQ(ini.ReadString("STYLEPREFS", "BGColor", "?"), "navy");
    EXPECT_EQ(ini.ReadString("stylepref", "BGColor", "?"), "?");
}

TEST(IniFileTest, FirstKeyAndFirstSectionWin)
{
    TIniFile ini = TIniFile::Parse("[S]\nK=1\nK=2\n[s]\nK=3\nOnly=4\n");
    EXPECT_EQ(ini.ReadString("S", "K", "?"), "1");
    EXPECT_FALSE(ini.HasKey("S", "Only"));
    ini.WriteString("S", "k", "9");
    EXPECT_EQ(ini.Text(), "[S]\r\nK=9\r\nK=2\r\n[s]\r\nK=3\r\nOnly=4\r\n");
}

TEST(IniFileTest, WritingUpdatesInPlaceAndKeepsOtherLines)
{
    TIniFile ini = TIniFile::Parse("; top comment\n[GENERAL]\nProfesseur=A\n; about mail\nEMail=a@b\n\n[PREFS]\n"
                                   "registerFType=0\n");
    ini.WriteString("general", "PROFESSEUR", "B");
    ini.WriteString("GENERAL", "BaseURL", "http://x");
    ini.WriteBool("PREFS", "registerFType", true);
    ini.WriteInteger("QUESTPREF", "CertInd", 0);
    EXPECT_EQ(ini.Text(),
        "; top comment\r\n[GENERAL]\r\nProfesseur=B\r\n; about mail\r\nEMail=a@b\r\nBaseURL=http://x\r\n"
        "\r\n[PREFS]\r\nregisterFType=1\r\n\r\n[QUESTPREF]\r\nCertInd=0\r\n");
}

TEST(IniFileTest, NumbersAndBooleans)
{
    const TIniFile ini = TIniFile::Parse("[N]\nDec=-12\nHex=$FF\nCHex=0x10\nWord=abc\nBlank=\nTwo=2\nZero=0\n");
    struct Case {
        const char* key;
        int expected;
    };
    for (const Case& c : {Case {"Dec", -12}, Case {"Hex", 255}, Case {"CHex", 16}, Case {"Word", 77},
             Case {"Blank", 77}, Case {"Missing", 77}})
        EXPECT_EQ(ini.ReadInteger("N", c.key, 77), c.expected) << c.key;
    EXPECT_TRUE(ini.ReadBool("N", "Two", false));
    EXPECT_FALSE(ini.ReadBool("N", "Zero", true));
    EXPECT_TRUE(ini.ReadBool("N", "Word", true));
    EXPECT_FALSE(ini.ReadBool("N", "Missing", false));
}

TEST(IniFileTest, SaveAndLoad)
{
    const TempFolder folder;
    const std::string path = folder.File("editeur.ini");
    EXPECT_EQ(TIniFile::Load(path).Text(), "");

    TIniFile ini;
    ini.WriteString("GENERAL", "EPgTitle", "Termin\xE9?");
    ini.WriteString("DESCPREF", "TLabel", "Titre");
    ini.Save(path);
    EXPECT_EQ(ReadWholeFile(path), "[GENERAL]\r\nEPgTitle=Termin\xE9?\r\n\r\n[DESCPREF]\r\nTLabel=Titre\r\n");
    EXPECT_EQ(TIniFile::Load(path).ReadString("general", "epgtitle", "?"), "Termin\xE9?");

    const std::string bad = folder.File("no/such/folder.ini");
    try {
        ini.Save(bad);
        FAIL() << "no error";
    } catch (const IniWriteError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + bad);
    }
}

} // namespace
