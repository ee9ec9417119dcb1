// The SCORM 1.2 package: its manifest read back with an XML parser and
// checked against the content-packaging rules (manifest with identifier and
// version, ADL SCORM 1.2 metadata, one default organization with one item,
// one SCO resource listing every file), and the ZIP read back with libzip.
#include "common/temp_folder.h"
#include "exchange/ScormPackage.h"
#include "generator/InlineData.h"
#include "model/sample_document.h"
#include "resources/EmbeddedGifs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <zip.h>

#include <filesystem>

namespace tavimor {
namespace {

using testing::ElementsAre;

std::string Attribute(const pugi::xml_node& node, const char* name)
{
    return node.attribute(name).value();
}

std::vector<std::string> Names(const pugi::xml_node& parent)
{
    std::vector<std::string> names;
    for (const pugi::xml_node child : parent.children())
        names.push_back(child.name());
    return names;
}

TEST(ScormManifest, FollowsTheContentPackagingRules)
{
    const std::string text = ScormManifest(
        "G\xE9ographie <b>de la</b>\r\n Suisse", "tavimor-geo", 65, "index.html", {"index.html", "a b.png"});
    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_string(text.c_str()));
    EXPECT_TRUE(text.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));

    const pugi::xml_node manifest = xml.document_element();
    EXPECT_STREQ(manifest.name(), "manifest");
    EXPECT_EQ(Attribute(manifest, "identifier"), "tavimor-geo");
    EXPECT_EQ(Attribute(manifest, "version"), "1.0");
    EXPECT_EQ(Attribute(manifest, "xmlns"), "http://www.imsproject.org/xsd/imscp_rootv1p1p2");
    EXPECT_EQ(Attribute(manifest, "xmlns:adlcp"), "http://www.adlnet.org/xsd/adlcp_rootv1p2");
    EXPECT_EQ(Attribute(manifest, "xmlns:xsi"), "http://www.w3.org/2001/XMLSchema-instance");
    EXPECT_EQ(Attribute(manifest, "xsi:schemaLocation"),
        "http://www.imsproject.org/xsd/imscp_rootv1p1p2 imscp_rootv1p1p2.xsd "
        "http://www.imsglobal.org/xsd/imsmd_rootv1p2p1 imsmd_rootv1p2p1.xsd "
        "http://www.adlnet.org/xsd/adlcp_rootv1p2 adlcp_rootv1p2.xsd");
    EXPECT_THAT(Names(manifest), ElementsAre("metadata", "organizations", "resources"));
    EXPECT_STREQ(manifest.child("metadata").child_value("schema"), "ADL SCORM");
    EXPECT_STREQ(manifest.child("metadata").child_value("schemaversion"), "1.2");

    const pugi::xml_node organizations = manifest.child("organizations");
    EXPECT_THAT(Names(organizations), ElementsAre("organization"));
    const pugi::xml_node organization = organizations.child("organization");
    EXPECT_EQ(Attribute(organizations, "default"), Attribute(organization, "identifier"));
    EXPECT_THAT(Names(organization), ElementsAre("title", "item"));
    EXPECT_STREQ(organization.child_value("title"), "G\xC3\xA9ographie de la Suisse");
    const pugi::xml_node item = organization.child("item");
    EXPECT_THAT(Names(item), ElementsAre("title", "adlcp:masteryscore"));
    EXPECT_STREQ(item.child_value("title"), "G\xC3\xA9ographie de la Suisse");
    EXPECT_STREQ(item.child_value("adlcp:masteryscore"), "65");
    EXPECT_EQ(Attribute(item, "isvisible"), "true");

    const pugi::xml_node resources = manifest.child("resources");
    EXPECT_THAT(Names(resources), ElementsAre("resource"));
    const pugi::xml_node resource = resources.child("resource");
    EXPECT_EQ(Attribute(item, "identifierref"), Attribute(resource, "identifier"));
    EXPECT_EQ(Attribute(resource, "type"), "webcontent");
    EXPECT_EQ(Attribute(resource, "adlcp:scormtype"), "sco");
    EXPECT_EQ(Attribute(resource, "href"), "index.html");
    std::vector<std::string> files;
    for (const pugi::xml_node file : resource.children("file"))
        files.push_back(Attribute(file, "href"));
    EXPECT_THAT(files, ElementsAre("index.html", "a b.png"));

    // Identifiers are XML identifiers, each used once.
    std::vector<std::string> ids {Attribute(manifest, "identifier"), Attribute(organization, "identifier"),
        Attribute(item, "identifier"), Attribute(resource, "identifier")};
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
}

using Entries = std::vector<std::pair<std::string, std::string>>;

// Every entry of a ZIP, name and content, in order, read with libzip.
Entries ZipEntries(const std::string& bytes)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error) : nullptr;
    if (archive == nullptr) {
        ADD_FAILURE() << "not a ZIP: " << zip_error_strerror(&error);
        return {};
    }
    Entries entries;
    for (zip_uint64_t i = 0; i < static_cast<zip_uint64_t>(zip_get_num_entries(archive, 0)); ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, i, 0, &stat);
        std::string content(static_cast<std::size_t>(stat.size), '\0');
        zip_file_t* file = zip_fopen_index(archive, i, 0);
        EXPECT_EQ(zip_fread(file, content.data(), stat.size), static_cast<zip_int64_t>(stat.size));
        zip_fclose(file);
        entries.emplace_back(stat.name, content);
    }
    zip_close(archive);
    return entries;
}

// The package of a document: the manifest lists every file of the ZIP but
// itself, and the quiz page runs the adapter, with its pass mark, before the
// runtime, allowed by its hash.
TEST(ScormPackage, PacksTheQuizWithItsAdapterBesideTheDocument)
{
    const test::TempFolder folder("tavimor-scorm");
    TQuizDocument doc = test::StartupDocument();
    doc.Pages.SetTitle(0, "G\xE9ographie");
    for (const char* text : {"Capitale?", "Fleuve?"}) {
        doc.Quests.Quest(doc.Quests.AddQuest()).QText = text;
        doc.Quests.Current().Reps = {"a", "b"};
        doc.Quests.Current().GoodRep = 0;
    }
    TScormJob job;
    job.DocumentPath = folder.File("Quiz.v1.kwz");
    job.PrefsDir = folder.File("prefs/");
    job.PassMark = 65;
    const TScormOutcome outcome = ProduceScormPackage(doc, EmbeddedGifs(), job);
    ASSERT_TRUE(outcome.Produced) << outcome.Message;
    EXPECT_EQ(outcome.OutputPath, folder.File("Quiz-scorm.zip"));
    EXPECT_EQ(outcome.Message, "Le paquet SCORM " + folder.File("Quiz-scorm.zip") + " vient d'\xEAtre cr\xE9\xE9.");

    const Entries entries = ZipEntries(test::ReadBytes(outcome.OutputPath));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].first, "imsmanifest.xml");
    pugi::xml_document manifest;
    ASSERT_TRUE(manifest.load_string(entries[0].second.c_str()));
    const pugi::xml_node item = manifest.select_node("/manifest/organizations/organization/item").node();
    EXPECT_STREQ(item.child_value("title"), "G\xC3\xA9ographie");
    EXPECT_STREQ(item.child_value("adlcp:masteryscore"), "65");
    const pugi::xml_node resource = manifest.select_node("/manifest/resources/resource").node();
    EXPECT_EQ(Attribute(resource, "href"), entries[1].first);
    EXPECT_THAT(Names(resource), ElementsAre("file"));
    EXPECT_EQ(Attribute(resource.child("file"), "href"), entries[1].first);

    const std::string& page = entries[1].second;
    const std::string adapter = ScormAdapterScript(65);
    const std::size_t adapterAt = page.find("<script>" + adapter + "</script>");
    ASSERT_NE(adapterAt, std::string::npos);
    EXPECT_LT(adapterAt, page.rfind("<script>"));
    EXPECT_NE(page.find(CspHashSource(adapter)), std::string::npos);

    // A document the quiz cannot be made of writes nothing.
    doc.Quests.DeleteQuest(2);
    std::filesystem::remove(outcome.OutputPath);
    const TScormOutcome refused = ProduceScormPackage(doc, EmbeddedGifs(), job);
    EXPECT_FALSE(refused.Produced);
    EXPECT_THAT(refused.Message, testing::HasSubstr("Impossible de produire le test!"));
    EXPECT_FALSE(std::filesystem::exists(folder.File("Quiz-scorm.zip")));
}

} // namespace
} // namespace tavimor
