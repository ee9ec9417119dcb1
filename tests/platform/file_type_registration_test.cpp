// Registration of the document type with the desktop, always into a
// temporary data folder.
#include "base/FileIo.h"
#include "common/temp_folder.h"
#include "platform/FileTypeRegistration.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace tavimor {
namespace {

using test::TempFolder;

namespace fs = std::filesystem;

std::string DesktopFile(const TempFolder& home)
{
    return home.File("applications/tavimor.desktop");
}
std::string MimeFile(const TempFolder& home)
{
    return home.File("mime/packages/tavimor.xml");
}

// The data folder the tests pass, without the trailing slash.
std::string DataHome(const TempFolder& home)
{
    std::string path = home.File("");
    if (!path.empty() && path.back() == '/')
        path.pop_back();
    return path;
}

TEST(FileTypeRegistrationTest, WritesTheTypeAndTheDesktopEntry)
{
    TempFolder home;
    EXPECT_TRUE(RegisterFileType("/opt/tavimor/bin/tavimor", ".kwz", "Tavimor file", "tavimor", DataHome(home)));

    EXPECT_EQ(ReadWholeFile(DesktopFile(home)),
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=Tavimor\n"
        "Name[fr]=Tavimor\n"
        "GenericName=Quiz editor\n"
        "GenericName[fr]=\xC3\x89"
        "diteur de questionnaires\n"
        "Comment=Write multiple-choice quizzes and publish them as web pages\n"
        "Comment[fr]=\xC3\x89"
        "crire des questionnaires \xC3\xA0 choix multiples et les publier en pages web\n"
        "Keywords=quiz;test;multiple choice;exam;teaching;\n"
        "Keywords[fr]=quiz;questionnaire;QCM;examen;\xC3\xA9valuation;enseignement;\n"
        "Exec=/opt/tavimor/bin/tavimor %f\n"
        "Icon=tavimor\n"
        "MimeType=application/x-tavimor;\n"
        "Terminal=false\n"
        "Categories=Education;\n");
    EXPECT_EQ(ReadWholeFile(MimeFile(home)),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"application/x-tavimor\">\n"
        "    <comment>Tavimor file</comment>\n"
        "    <comment xml:lang=\"fr\">Questionnaire Tavimor</comment>\n"
        "    <icon name=\"tavimor\"/>\n"
        "    <glob pattern=\"*.kwz\"/>\n"
        "  </mime-type>\n"
        "</mime-info>\n");
}

TEST(FileTypeRegistrationTest, MimeDatabaseIsUpdatedWhenTheToolIsThere)
{
    // scripts/setup-deps.sh installs the tool (shared-mime-info).
    ASSERT_EQ(::access("/usr/bin/update-mime-database", X_OK), 0) << "update-mime-database is not installed";
    TempFolder home;
    ASSERT_TRUE(RegisterFileType("/usr/bin/tavimor", ".kwz", "Tavimor file", "tavimor", DataHome(home)));
    // The tool compiles the package into the per-type file and the globs list.
    const std::string globs = ReadWholeFile(home.File("mime/globs2"));
    EXPECT_NE(globs.find("application/x-tavimor:*.kwz"), std::string::npos) << globs;
    EXPECT_TRUE(fs::exists(home.File("mime/application/x-tavimor.xml")));
}

TEST(FileTypeRegistrationTest, ExtensionIsTrimmedAndGetsItsDot)
{
    struct Case {
        const char* extension;
        bool registered;
        const char* glob;
    };
    const Case cases[] = {
        {"kwz", true, "*.kwz"},
        {"  .kwz  ", true, "*.kwz"},
        {"", false, nullptr},
        {"   ", false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("'") + c.extension + "'");
        TempFolder home;
        EXPECT_EQ(
            RegisterFileType("/usr/bin/tavimor", c.extension, "Tavimor file", "tavimor", DataHome(home)), c.registered);
        EXPECT_EQ(fs::exists(DesktopFile(home)), c.registered);
        if (c.glob != nullptr) {
            EXPECT_NE(ReadWholeFile(MimeFile(home)).find(std::string("pattern=\"") + c.glob + "\""), std::string::npos);
        }
    }
}

TEST(FileTypeRegistrationTest, ProgramPathIsQuotedOnlyWhenItMustBe)
{
    struct Case {
        const char* program;
        const char* exec;
    };
    const Case cases[] = {
        {"/usr/bin/tavimor", "Exec=/usr/bin/tavimor %f\n"},
        {"/home/prof/Mes Programmes/tavimor", "Exec=\"/home/prof/Mes Programmes/tavimor\" %f\n"},
        {"/opt/100%/tavimor", "Exec=/opt/100%%/tavimor %f\n"},
        // Inside quotes $ is escaped with a backslash, and the backslash is
        // doubled by the string encoding of the value.
        {"/opt/a$b/tavimor", "Exec=\"/opt/a\\\\$b/tavimor\" %f\n"},
    };
    for (const Case& c : cases)
        EXPECT_NE(DesktopEntryText(c.program, "tavimor").find(c.exec), std::string::npos) << c.program;
    EXPECT_EQ(DesktopEntryText("/opt/a\nb/tavimor", "tavimor"), "");
    EXPECT_EQ(DesktopEntryText("/usr/bin/tavimor", "").find("Icon="), std::string::npos);
}

TEST(FileTypeRegistrationTest, DescriptionIsUtf8AndEscaped)
{
    const std::string text = MimePackageText(".kwz", "Fichier \xE9l\xE8ve <Tavimor> & co");
    EXPECT_NE(text.find("<comment>Fichier \xC3\xA9l\xC3\xA8ve &lt;Tavimor&gt; &amp; co</comment>"), std::string::npos);
}

TEST(FileTypeRegistrationTest, UnwritableApplicationsFolderGivesFalse)
{
    TempFolder home;
    // A file where the applications folder should be.
    WriteFileAtomically(home.File("applications"), "", Durability::Durable);
    EXPECT_FALSE(RegisterFileType("/usr/bin/tavimor", ".kwz", "Tavimor file", "tavimor", DataHome(home)));
    // The type itself was still written.
    EXPECT_TRUE(fs::exists(MimeFile(home)));
}

TEST(FileTypeRegistrationTest, RegistersOnceThenNeverAgain)
{
    TempFolder home;
    const std::vector<std::string> noInstallation {home.File("system")};
    AppSettings settings;
    RegisterDocumentTypeOnce(settings, "/usr/bin/tavimor", DataHome(home), noInstallation);
    EXPECT_TRUE(settings.RegisterFType);
    ASSERT_TRUE(fs::exists(DesktopFile(home)));

    // Once the setting is true a later start writes nothing.
    fs::remove(DesktopFile(home));
    fs::remove(MimeFile(home));
    RegisterDocumentTypeOnce(settings, "/usr/bin/tavimor", DataHome(home), noInstallation);
    EXPECT_FALSE(fs::exists(DesktopFile(home)));
    EXPECT_FALSE(fs::exists(MimeFile(home)));
}

// A package (or `cmake --install` into a prefix the desktop reads) put the
// type in a shared data folder: the per-user copy would only shadow it, so
// nothing is written, and the setting stays unset for the day the package
// is removed.
TEST(FileTypeRegistrationTest, AnInstalledTypeIsNotRegisteredAgain)
{
    TempFolder home;
    fs::create_directories(home.File("usr-share/mime/packages"));
    fs::create_directories(home.File("other/mime/packages"));
    WriteFileAtomically(home.File("usr-share/mime/packages/tavimor.xml"), "<mime-info/>", Durability::Durable);
    AppSettings settings;
    RegisterDocumentTypeOnce(
        settings, "/home/prof/build/app/tavimor", DataHome(home), {home.File("elsewhere"), home.File("usr-share/")});
    EXPECT_FALSE(settings.RegisterFType);
    EXPECT_FALSE(fs::exists(DesktopFile(home)));
    EXPECT_FALSE(fs::exists(MimeFile(home)));

    // Another type's package, or a folder named like the file, is no installation of this one.
    WriteFileAtomically(home.File("other/mime/packages/freemind.xml"), "<mime-info/>", Durability::Durable);
    fs::create_directories(home.File("folder/mime/packages/tavimor.xml"));
    EXPECT_FALSE(DocumentTypeInstalled({home.File("other"), home.File("folder")}));
    RegisterDocumentTypeOnce(settings, "/home/prof/build/app/tavimor", DataHome(home), {home.File("other")});
    EXPECT_TRUE(settings.RegisterFType);
    EXPECT_TRUE(fs::exists(DesktopFile(home)));
}

TEST(FileTypeRegistrationTest, DataDirsRule)
{
    using Dirs = std::vector<std::string>;
    EXPECT_EQ(ChooseDataDirs(""), (Dirs {"/usr/local/share", "/usr/share"}));
    EXPECT_EQ(ChooseDataDirs("/usr/share/gnome:/usr/local/share/:/usr/share/"),
        (Dirs {"/usr/share/gnome", "/usr/local/share", "/usr/share"}));
    // Relative and empty entries count for nothing; with none left, the defaults.
    EXPECT_EQ(ChooseDataDirs("share::/opt/t/share"), (Dirs {"/opt/t/share"}));
    EXPECT_EQ(ChooseDataDirs("relative:"), (Dirs {"/usr/local/share", "/usr/share"}));
    EXPECT_EQ(ChooseDataDirs("/"), (Dirs {"/"}));
}

// The files a system-wide installation puts in place are the ones the
// editor writes for a program found on the PATH.
TEST(FileTypeRegistrationTest, InstalledFilesMatchTheRegisteredOnes)
{
    const std::string resources = std::string(TAVIMOR_TEST_DATA) + "/../resources/";
    EXPECT_EQ(ReadWholeFile(resources + "tavimor-mime.xml"), MimePackageText(kDocumentExtension, kDocumentDescription));
    EXPECT_EQ(ReadWholeFile(resources + "tavimor.desktop"), DesktopEntryText("tavimor", kProgramIconName));
}

TEST(FileTypeRegistrationTest, DataHomeRule)
{
    EXPECT_EQ(ChooseDataHome("/xdg/data", "/home/prof"), "/xdg/data");
    EXPECT_EQ(ChooseDataHome("", "/home/prof"), "/home/prof/.local/share");
    EXPECT_EQ(ChooseDataHome("relative/data", "/home/prof"), "/home/prof/.local/share");
}

} // namespace
} // namespace tavimor
