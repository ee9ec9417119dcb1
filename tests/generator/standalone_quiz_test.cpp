// The self-contained quiz page: its policy and the hashes in it, the data
// block that no teacher text can leave, the pictures it carries, and the
// writer's refusals and paths.
#include "generator/StandaloneQuiz.h"

#include "base/Cp1252.h"
#include "base/Errors.h"
#include "common/child_process.h"
#include "generator/PageSet.h"
#include "site_test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <openssl/evp.h>
#include <sys/resource.h>

#include <csignal>
#include <regex>

namespace tavimor {
namespace {

using namespace site_test;
using test::RunInChild;

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

struct Block {
    std::string element; // "script" or "style"
    std::string tag; // the start tag
    std::string text;
};

// The script and style blocks of a page as a browser splits them: a block's
// text is raw and runs to the first end tag of its element, whatever it holds.
std::vector<Block> Blocks(const std::string& page)
{
    const std::string lower = Lower(page);
    std::vector<Block> blocks;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t script = lower.find("<script", pos);
        const std::size_t style = lower.find("<style", pos);
        const std::size_t start = std::min(script, style);
        if (start == std::string::npos)
            return blocks;
        const std::string element = start == script ? "script" : "style";
        const std::size_t textStart = page.find('>', start) + 1;
        const std::size_t end = lower.find("</" + element, textStart);
        if (end == std::string::npos) {
            ADD_FAILURE() << "an unclosed " << element;
            return blocks;
        }
        blocks.push_back({element, page.substr(start, textStart - start), page.substr(textStart, end - textStart)});
        pos = page.find('>', end) + 1;
    }
}

std::vector<Block> BlocksOf(const std::string& page, const std::string& element)
{
    std::vector<Block> found;
    for (const Block& block : Blocks(page)) {
        if (block.element == element)
            found.push_back(block);
    }
    return found;
}

// The hash source of a block as the browser computes it, through OpenSSL's
// own base64 rather than the page writer's.
std::string BrowserHash(const std::string& text)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(text.data(), text.size(), digest, &size, EVP_sha256(), nullptr);
    unsigned char encoded[2 * EVP_MAX_MD_SIZE];
    const int length = EVP_EncodeBlock(encoded, digest, static_cast<int>(size));
    return "'sha256-" + std::string(reinterpret_cast<char*>(encoded), static_cast<std::size_t>(length)) + "'";
}

std::string DecodeBase64(const std::string& text)
{
    std::string bytes(text.size(), '\0');
    const int length = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(bytes.data()),
        reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
    bytes.resize(static_cast<std::size_t>(length) - std::count(text.end() - 2, text.end(), '='));
    return bytes;
}

nlohmann::json QuizData(const std::string& page)
{
    for (const Block& block : BlocksOf(page, "script")) {
        if (block.tag.find("application/json") != std::string::npos)
            return nlohmann::json::parse(block.text);
    }
    ADD_FAILURE() << "no data block";
    return {};
}

std::string Utf8(const std::string& cp1252)
{
    return Cp1252ToUtf8(cp1252);
}

// A document with two questions and the given text in every place a teacher types.
TQuizDocument DocumentWith(const std::string& text)
{
    TQuizDocument doc;
    ResetToStartupState(doc, "");
    doc.Header.CertSentence = text;
    doc.Header.CountSentence = text;
    doc.Quests.NoAnswerMess = text;
    doc.Quests.GenMess[0] = {text};
    doc.Quests.GenMess[1] = {text};
    for (int page = 0; page < 3; ++page) {
        doc.Pages.SetTitle(page, text);
        doc.Pages.SetBody(page, text);
    }
    for (int n = 1; n <= 2; ++n) {
        doc.Quests.AddQuest();
        TQuest& q = doc.Quests.Quest(n);
        q.QText = text;
        q.Reps = {text, "B"};
        q.GoodRep = 1;
        q.UseGenMess = {false, true};
        q.Mess[0] = text;
        q.UseExtFile = n == 2;
        q.ExtLink = text + "|" + text;
        q.ExtFile = text;
    }
    doc.Style.StyleSpecs[1].Options = text;
    return doc;
}

StandaloneContent ContentFor(const std::string& name)
{
    StandaloneContent content;
    content.QuizName = name;
    for (std::size_t i = 0; i < content.Gifs.size(); ++i)
        content.Gifs[i] = "GIF89a" + DefaultImageNames()[i];
    return content;
}

TEST(StandalonePage, OnlyItsOwnBlocksRunAndThePolicyHashesExactlyThem)
{
    TQuizDocument doc = DocumentWith("x");
    doc.Style.StyleSpecs[1].Options = "color:red;\r\nborder:0"; // CR LF inside the style sheet
    StandaloneContent content = ContentFor("quiz");
    content.HostScript = "window.TavimorHost = {};\r\n";
    const std::string page = StandalonePage(doc, content);

    EXPECT_EQ(page.find('\r'), std::string::npos) << "the browser hashes blocks with LF line breaks";
    const std::smatch policy = [&] {
        std::smatch m;
        EXPECT_TRUE(std::regex_search(
            page, m, std::regex("<meta http-equiv=\"Content-Security-Policy\" content=\"([^\"]*)\">")));
        return m;
    }();
    const std::string rules = policy[1];
    EXPECT_LT(policy.position(0), page.find("<style")) << "the policy comes before any block";
    EXPECT_NE(rules.find("default-src 'none'"), std::string::npos);
    EXPECT_NE(rules.find("img-src data:;"), std::string::npos);
    EXPECT_EQ(rules.find("unsafe"), std::string::npos);

    const auto scripts = BlocksOf(page, "script");
    ASSERT_EQ(scripts.size(), 3u) << "data, host, runtime";
    EXPECT_EQ(scripts[0].tag, "<script type=\"application/json\" id=\"quiz-data\">");
    EXPECT_EQ(scripts[1].text, "window.TavimorHost = {};\n") << "the host runs first";
    EXPECT_NE(scripts[2].text.find("TavimorHost"), std::string::npos) << "then the runtime";
    const auto styles = BlocksOf(page, "style");
    ASSERT_EQ(styles.size(), 1u);
    EXPECT_NE(styles[0].text.find("color:red;\n\tborder:0}"), std::string::npos);

    const std::string expected = "script-src " + BrowserHash(scripts[1].text) + ' ' + BrowserHash(scripts[2].text)
        + "; style-src " + BrowserHash(styles[0].text) + ";";
    EXPECT_NE(rules.find(expected), std::string::npos) << rules;

    // Without a host there is no empty block and no hash for one.
    content.HostScript.clear();
    EXPECT_EQ(BlocksOf(StandalonePage(doc, content), "script").size(), 2u);
}

TEST(StandalonePage, NoTeacherTextLeavesItsPlace)
{
    // Every byte value, then ways out of a script, a comment, a style sheet,
    // an attribute and the JSON string itself.
    std::string hostile;
    for (int c = 1; c < 256; ++c)
        hostile += static_cast<char>(c);
    hostile += std::string("\0", 1) + "</script><script>alert(1)</script><!--<script></SCRIPT \\\"\xE9</style>";
    const TQuizDocument doc = DocumentWith(hostile);
    StandaloneContent content = ContentFor(hostile);
    content.Pictures[hostile] = "data:image/gif;base64,R0lG";
    content.ResumBody = hostile;
    content.HostScript = "var s = '</script><!--';";
    const std::string page = StandalonePage(doc, content);

    // The blocks are the page's own, each whole (a "<!--" in a script could
    // hide its end tag), and the title is text.
    const std::vector<Block> blocks = Blocks(page);
    ASSERT_EQ(blocks.size(), 4u);
    EXPECT_EQ(blocks[0].element, "style");
    EXPECT_NE(blocks[0].text.find("@media"), std::string::npos) << "the whole style sheet";
    EXPECT_EQ(blocks[2].text, "var s = '<\\/script><\\!--';");
    EXPECT_NE(blocks[3].text.find("})();"), std::string::npos) << "the whole runtime";
    for (const Block& block : blocks) {
        if (block.element == "script") {
            EXPECT_EQ(block.text.find("<!--"), std::string::npos) << block.tag;
        }
    }
    EXPECT_EQ(blocks[1].text.find('<'), std::string::npos) << "the data hold no markup at all";
    const std::size_t title = page.find("<title>") + 7;
    EXPECT_EQ(page.substr(title, page.find("</title>") - title).find('<'), std::string::npos);

    // The data hold every text exactly, as UTF-8.
    const nlohmann::json data = QuizData(page);
    const std::string text = Utf8(hostile);
    EXPECT_EQ(data["title"], text);
    EXPECT_EQ(data["resum"], text);
    EXPECT_EQ(data["noAnswer"], text);
    EXPECT_EQ(data["certSentence"], text);
    EXPECT_EQ(data["pages"][2][1], text);
    EXPECT_EQ(data["questions"][0][1], text);
    EXPECT_EQ(data["questions"][0][2][0], text);
    EXPECT_EQ(data["wrong"][0], text) << "an own message";
    EXPECT_EQ(data["pictures"][text], "data:image/gif;base64,R0lG");
}

TEST(StandalonePage, QuestionsCarryTheSiteMarkingAndSharedMessages)
{
    TQuizDocument doc = DocumentWith("m");
    doc.Quests.Quest(1).QType = TRepType::rOList;
    doc.Quests.Quest(1).QText = "Le <option> est liquide.";
    doc.Quests.Quest(1).Reps = {"fer", "mercure"};
    doc.Quests.Quest(1).GoodRep = -1;
    doc.Quests.Quest(2).Columns = 3;
    doc.Quests.Quest(2).QText = "<P style=\"color:red\" onClick=\"x()\">Rouge</P><style>p{}</style>";
    doc.Quests.Quest(2).Mess[0] = "m"; // the same text as the generic one: one entry
    doc.Quests.Quest(2).UseExtFile = false;
    doc.Header.UseCertainty = true;
    const nlohmann::json data = QuizData(StandalonePage(doc, ContentFor("q")));

    EXPECT_EQ(data["certainty"], true);
    EXPECT_EQ(data["questions"][0],
        nlohmann::json::parse(R"([2, "Le <select><option><option>fer<option>mercure</select>  &nbsp;est liquide.",)"
                              R"( ["fer", "mercure"], -1, 1, 0, 0])"));
    EXPECT_EQ(data["questions"][1][1], "<P data-tavimor-style=\"color:red\" data-tavimor-onClick=\"x()\">Rouge</P>");
    EXPECT_EQ(data["questions"][1][4], 3);
    EXPECT_EQ(data["wrong"].size(), 1u);
    EXPECT_EQ(data["questions"][1][5], 0);
}

// A document saved nowhere yet, in a folder of its own, with a preferences folder.
struct Job {
    Job()
    {
        doc = DocumentWith("t");
        job.DocumentPath = folder.Path() + "chimie.copie.kwz";
        job.PrefsDir = folder.Path() + "Prefs/";
    }

    StandaloneOutcome Run() const { return ProduceStandalone(doc, gifs, job); }

    TempFolder folder;
    TQuizDocument doc;
    NamedGifs gifs;
    StandaloneJob job;
};

TEST(ProduceStandalone, WritesBesideTheSiteFolderWithThePicturesInside)
{
    Job j;
    const std::string logo = "\x89PNG\r\n\x1A\n-logo";
    fs::create_directories(j.folder.Path() + "chimie/img");
    WriteBytes(j.folder.Path() + "chimie/img/mon logo.png", logo);
    fs::create_directories(j.job.PrefsDir);
    WriteBytes(j.job.PrefsDir + "gImg.gif", "GIF89a-mine");
    j.doc.Quests.Quest(1).QText = "<IMG SRC=\"../img/mon%20logo.png\"> <img src=../manque.gif> <img src=bImg.gif>"
                                  "<img src='http://ailleurs/x.gif'><img src=\"data:image/gif;base64,R0lG\">";

    const StandaloneOutcome outcome = j.Run();
    ASSERT_TRUE(outcome.Produced) << outcome.Message;
    const std::string path = j.folder.Path() + "chimie.html";
    EXPECT_EQ(outcome.OutputPath, path);
    EXPECT_EQ(outcome.Message,
        "Le quiz autonome " + path
            + " vient d'\xEAtre cr\xE9\xE9.\n"
              "Image introuvable, laiss\xE9"
              "e de c\xF4t\xE9: ../manque.gif\n"
              "Image introuvable, laiss\xE9"
              "e de c\xF4t\xE9: http://ailleurs/x.gif");
    EXPECT_EQ(outcome.MissingPictures, (std::vector<std::string> {"../manque.gif", "http://ailleurs/x.gif"}));

    const nlohmann::json data = QuizData(ReadBytes(path));
    const std::string address = data["pictures"]["../img/mon%20logo.png"];
    ASSERT_EQ(address.rfind("data:image/png;base64,", 0), 0u) << address;
    EXPECT_EQ(DecodeBase64(address.substr(22)), logo);
    // One of the site's own images, found before the site was ever produced.
    const std::string bImg = data["pictures"]["bImg.gif"];
    EXPECT_EQ(DecodeBase64(bImg.substr(bImg.find(',') + 1)), NamedGifs::BytesOf("bImg"));
    EXPECT_EQ(data["pictures"].size(), 2u);

    // The nine images as the site takes them: the preferences folder's own,
    // the built-in ones written there first.
    const std::string gImg = data["gifs"]["gImg"];
    EXPECT_EQ(DecodeBase64(gImg.substr(gImg.find(',') + 1)), "GIF89a-mine");
    EXPECT_EQ(ReadBytes(j.job.PrefsDir + "KWZ.gif"), NamedGifs::BytesOf("KWZ"));
    EXPECT_EQ(data["gifs"].size(), 9u);
}

// Questions 3 to last, with accents, quotes and tags, and a picture longer
// than a chunk of the written page in question 1.
void MakeLong(Job& j, int last)
{
    std::string picture = "\x89PNG\r\n\x1A\n";
    for (int i = 0; picture.size() < 400000; ++i)
        picture += static_cast<char>(i * 31 % 256);
    fs::create_directories(j.folder.Path() + "chimie/img");
    WriteBytes(j.folder.Path() + "chimie/img/grand.png", picture);
    j.doc.Quests.Quest(1).QText = "<img src=\"../img/grand.png\">";
    for (int n = 3; n <= last; ++n) {
        j.doc.Quests.AddQuest();
        TQuest& q = j.doc.Quests.Quest(n);
        const std::string number = std::to_string(n);
        q.QText = "Question " + number + ": o\xF9 se trouve la capitale \"" + number + "\" ?";
        q.Reps = {"R\xE9ponse " + number, "Autre r\xE9ponse", "<b>Aucune</b>"};
        q.GoodRep = n % 3;
        q.UseGenMess = {false, n % 2 == 0};
        q.Mess[0] = "Non: la r\xE9ponse " + std::to_string(n % 50) + " \xE9tait attendue.";
    }
}

// The file is written chunk by chunk as the page is made, and its progress
// key hashed from what the file holds: it must be the page made whole.
TEST(ProduceStandalone, APageOfManyChunksIsThePageMadeWhole)
{
    Job j;
    MakeLong(j, 3000);
    const StandaloneOutcome outcome = j.Run();
    ASSERT_TRUE(outcome.Produced) << outcome.Message;
    const std::string written = ReadBytes(outcome.OutputPath);
    EXPECT_GT(written.size(), 3u * 256 * 1024);
    EXPECT_TRUE(written == BuildStandalone(j.doc, j.gifs, j.job).Page);
    EXPECT_EQ(QuizData(written)["questions"].size(), 3000u);
}

TEST(ProduceStandalone, AWriteThatFailsHalfWayKeepsThePreviousPage)
{
    Job j;
    ASSERT_TRUE(j.Run().Produced);
    const std::string path = j.folder.Path() + "chimie.html";
    const std::string previous = ReadBytes(path);
    MakeLong(j, 3000);
    // The page is past the size limit of the process: 0 when the production
    // fails with "Stream write error", 2 when it says it succeeded.
    const int status = RunInChild([&] {
        const rlimit limit {256 * 1024, 256 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
        try {
            j.Run();
        } catch (const Error& e) {
            return std::string(e.what()) == "Stream write error" ? 0 : 1;
        }
        return 2;
    });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(ReadBytes(path) == previous);
    EXPECT_EQ(j.folder.Names(), (std::vector<std::string> {"Prefs", "chimie", "chimie.html"}));
}

TEST(ProduceStandalone, RefusesAsTheSiteDoesAndWritesNothing)
{
    Job one;
    one.doc.Quests.DeleteQuest(2);
    EXPECT_EQ(one.Run().Message, "Impossible de produire le test!");

    Job empty;
    empty.doc.Quests.Quest(1).Reps.clear();
    empty.doc.Quests.Quest(2).Reps.clear();
    const StandaloneOutcome refused = empty.Run();
    EXPECT_FALSE(refused.Produced);
    EXPECT_EQ(refused.Message, *THKWZ::Refusal(empty.doc.Quests));
    EXPECT_EQ(std::count(refused.Message.begin(), refused.Message.end(), '\n'), 2);

    Job untitled;
    untitled.job.DocumentPath = untitled.folder.Path() + ".kwz";
    EXPECT_EQ(untitled.Run().Message, std::string(THKWZ::kNoFileName) + "\nImpossible de produire le test!");

    for (const Job* job : {&one, &empty, &untitled})
        EXPECT_EQ(FilesUnder(job->folder.Path()), std::vector<std::string> {}) << job->job.DocumentPath;
}

TEST(ProduceStandalone, NamesTheFileAsTheSiteNamesItsFolder)
{
    EXPECT_EQ(StandalonePath("/x/chimie.copie.kwz"), "/x/chimie.html");
    EXPECT_EQ(StandalonePath("chimie.kwz"), "chimie.html");
    EXPECT_EQ(StandalonePath("/x/.kwz"), "");
    EXPECT_EQ(StandalonePath("/x/"), "");
}

} // namespace
} // namespace tavimor
