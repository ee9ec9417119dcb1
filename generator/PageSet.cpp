#include "generator/PageSet.h"

#include "base/Cp1252.h"
#include "base/FileIo.h"
#include "generator/QuizScript.h"
#include "generator/SpecHTML.h"
#include "model/QuestionViews.h"

#include <filesystem>
#include <future>
#include <initializer_list>
#include <string_view>

namespace tavimor {

namespace {

constexpr const char* kStyleSheetName = "kwzStyle.css";
constexpr std::size_t kMaxLabel = 255;

// The lines joined, each followed by LF.
std::string Lines(std::initializer_list<std::string_view> lines)
{
    std::string text;
    for (const auto line : lines) {
        text += line;
        text += LF;
    }
    return text;
}

bool FileExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

std::string PrefsImageFile(const GifSource& gifs, const std::string& prefsDir, const std::string& name)
{
    std::string prefsFile = prefsDir + name + ".gif";
    if (!FileExists(prefsFile))
        ExportGifResource(gifs, name, prefsDir);
    return prefsFile;
}

THKWZ::THKWZ(const TQuizDocument& doc, const GifSource& gifs)
    : doc_(doc)
    , gifs_(gifs)
{
}

THKWZ::THKWZ(const TQuizDocument& doc, const TQuestViews& quests, const GifSource& gifs)
    : doc_(doc)
    , gifs_(gifs)
    , viewed_(&quests)
{
}

namespace {

template <class Quests> std::optional<std::string> RefusalOf(const Quests& quests)
{
    std::string message = "Impossible de produire le test!";
    bool refused = quests.Count() < 2;
    for (int n = 1; n <= quests.Count(); ++n) {
        if (quests.Quest(n).Reps.empty()) {
            message.insert(0, std::string("Une ou des questions n'ont pas de r\xE9ponse. ") + LF);
            refused = true;
        }
    }
    if (refused)
        return message;
    return std::nullopt;
}

template <class Quests> std::string RightAnswerWarningsOf(const Quests& quests)
{
    std::string warnings;
    for (int n = 1; n <= quests.Count(); ++n) {
        const auto& quest = quests.Quest(n);
        if (quest.GoodRep < 0 || static_cast<std::size_t>(quest.GoodRep) >= quest.Reps.size())
            warnings += LF + ("La question " + std::to_string(n) + " n'a pas de bonne r\xE9ponse.");
    }
    return warnings;
}

} // namespace

std::string THKWZ::FolderAnnouncement(const std::string& folder)
{
    return "Le r\xE9pertoire " + Utf8ToCp1252(folder) + " vient d'\xEAtre cr\xE9\xE9.";
}

void THKWZ::MakeAnnouncedFolder(const std::string& folder) const
{
    if (MakeFolder(folder) && Notify)
        Notify(FolderAnnouncement(folder));
}

bool THKWZ::SetFolders()
{
    const std::string folder = FolderPart(DocumentPath);
    quizFileName_ = QuizFileNameOf(DocumentPath);
    QuizName = Utf8ToCp1252(quizFileName_);
    ScriptName = QuizName + ".js";
    if (quizFileName_.empty()) {
        // An untitled document would otherwise put its site into the root
        // folder (or into the document's own folder for a name like ".kwz").
        OutDir.clear();
        PagesDir.clear();
        return false;
    }
    OutDir = folder + quizFileName_ + "/";
    MakeAnnouncedFolder(OutDir);
    PagesDir = OutDir + "hPages/";
    MakeAnnouncedFolder(PagesDir);
    return true;
}

std::optional<std::string> THKWZ::Refusal(const TQuestList& quests)
{
    return RefusalOf(quests);
}

std::optional<std::string> THKWZ::Refusal(const TQuestViews& quests)
{
    return RefusalOf(quests);
}

std::string THKWZ::RightAnswerWarnings(const TQuestList& quests)
{
    return RightAnswerWarningsOf(quests);
}

std::string THKWZ::RightAnswerWarnings(const TQuestViews& quests)
{
    return RightAnswerWarningsOf(quests);
}

int THKWZ::QuestionCount() const
{
    return WithQuestions([](const auto& quests) { return quests.Count(); });
}

ProduceOutcome THKWZ::Produce(bool quiet)
{
    return viewed_ ? ProduceWith(*viewed_, quiet) : ProduceWith(doc_.Quests, quiet);
}

template <class Quests> ProduceOutcome THKWZ::ProduceWith(const Quests& quests, bool quiet)
{
    ProduceOutcome outcome;
    if (const auto refusal = Refusal(quests)) {
        // A document never saved has to be saved first in any case: say so.
        const bool untitled = DocumentPath.empty() || DocumentPath.back() == '/';
        outcome.Message = untitled ? std::string(kNoFileName) + LF + *refusal : *refusal;
    } else if (!SetFolders()) {
        outcome.Message = std::string(kNoFileName) + LF + "Impossible de produire le test!";
    } else {
        // The script is nearly all of the site: the other pages and the
        // images are written meanwhile, by a thread of their own (which
        // reads the document and no question but their count), and their
        // first error is thrown once the script is written. Where no thread
        // can be started, they are written when the script is.
        std::future<void> others
            = std::async(std::launch::async | std::launch::deferred, [this] { WriteOtherFiles(); });
        const TJSM script;
        script.WriteScript(PagesDir + quizFileName_ + ".js", quests, doc_.Header.UseCertainty, ResumBody);
        others.get();
        outcome.Produced = true;
        // The site is written all the same, but no student can get these right.
        outcome.Message = "Le Test " + QuizName + " vient d'\xEAtre cr\xE9\xE9." + RightAnswerWarnings(quests);
    }
    if (!quiet && Notify)
        Notify(outcome.Message);
    return outcome;
}

void THKWZ::WriteOtherFiles() const
{
    SavePage(OutDir + IndexName, IndexPage());
    SavePage(PagesDir + "topMenu.htm", TopMenuPage());
    SavePage(PagesDir + "blank.htm", BlankPageText());
    WriteStyleSheet(PagesDir + kStyleSheetName);
    WriteImages();
    SavePage(PagesDir + "menu.htm", MenuPage());
    SavePage(PagesDir + "main.htm", MainPage());
    SavePage(PagesDir + "quest.htm", QuestPage());
    SavePage(PagesDir + "end.htm", EndPage());
    SavePage(PagesDir + "result.htm", ResultPage());
    SavePage(PagesDir + "mess.htm", MessPage());
}

void THKWZ::WriteStyleSheet(const std::string& path) const
{
    SavePage(path, doc_.Style.MakeStyleSheet());
}

// Each image comes from the preferences folder, where the built-in one is
// written first when the folder has none of that name: an image the author
// puts there replaces the built-in one in every site.
void THKWZ::WriteImages() const
{
    EnsureFolder(PrefsDir);
    for (const auto& name : doc_.Layout.ImgNames)
        CopyFileTo(PrefsImageFile(gifs_, PrefsDir, name), PagesDir, Durability::Regenerable); // a page of the site
}

std::string THKWZ::ScriptTag() const
{
    return "<SCRIPT LANGUAGE=\"javaScript\" SRC=\"" + ScriptName + "\"></SCRIPT>";
}

std::string THKWZ::WriteCall(const std::string& call)
{
    return "<SCRIPT>JavaScript:this.document.write(" + call + ")</SCRIPT>";
}

std::string THKWZ::CountLine() const
{
    const QuizHeader& header = doc_.Header;
    if (!header.ShowCount || header.CountSentence.empty())
        return {};
    return ReplaceOrAppend("<Q>", std::to_string(QuestionCount()), header.CountSentence) + LF + "<P>";
}

std::string THKWZ::IdentForm()
{
    return std::string("<H3>") + "Identification" + "</H3>" + LF + "<FORM NAME=\"IDForm\">" + "Quel est votre nom?" + LF
        + "<INPUT TYPE=TEXT NAME=\"nom\" SIZE=20>" + LF + "<P class=center>" + LF
        + ButtonTag("okBtn", "commencer", "comeIn()") + LF + "</FORM>" + LF;
}

std::string THKWZ::NavBlock()
{
    return Lines({
        "<HR WIDTH=30><P>",
        "<MAP NAME=\"navig\"> ",
        "<AREA SHAPE=RECT COORDS=\"1,1,30,30\" ALT=\"Pr&eacute;c&eacute;dente\" HREF=\"JavaScript:getPrevious()\"> ",
        "<AREA SHAPE=RECT COORDS=\"32,1,66,30\" ALT=\"Suivante\" HREF=\"JavaScript:goNext()\"> ",
        "</MAP>",
        "<IMG SRC=\"navBtn.gif\" BORDER=0 USEMAP=\"#navig\">",
        "<P><HR WIDTH=30><P>",
    });
}

std::string THKWZ::IndexPage() const
{
    const std::string b = doc_.Layout.NoBorder ? "1" : "0";
    return Lines({
        "<HTML>",
        "  <HEAD> ",
        "    <TITLE>" + QuizName + "</TITLE>",
        "  </HEAD>",
        "  <FRAMESET COLS=\"15%,*\"  SCROLLING=NO FRAMEBORDER=" + b + " FRAMESPACING=0 BORDER=" + b + ">",
        "   <FRAMESET Rows=\"100,*\"  SCROLLING=NO FRAMEBORDER=0  FRAMESPACING=0 BORDER=0>",
        "     <FRAME SRC=\"hPages/topMenu.htm\" NAME=\"topMenu\">",
        "      <FRAME SRC=\"hPages/blank.htm\" NAME=\"menu\">",
        "    </FRAMESET>",
        "    <FRAME SRC=\"hPages/main.htm\" NAME=\"main\">",
        "  </FRAMESET>",
        "</HTML>",
    });
}

// The top frame keeps the student's progress in its hidden form; it is never
// reloaded while the quiz runs. Its logo reloads the whole site, which starts
// the quiz again with fresh fields.
std::string THKWZ::TopMenuPage()
{
    return Lines({
        "<HTML>",
        " <HEAD>",
        "   <FORM NAME=\"dataForm\"> ",
        "     <INPUT TYPE=\"HIDDEN\" NAME=\"sNameD\" VALUE=\"\">",
        "     <INPUT TYPE=\"HIDDEN\" NAME=\"curQD\" VALUE=1>",
        "     <INPUT TYPE=\"HIDDEN\" NAME=\"QModeD\" VALUE=0>",
        "     <INPUT TYPE=\"HIDDEN\" NAME=\"rStrD\" VALUE=\"\">",
        "     <INPUT TYPE=\"HIDDEN\" NAME=\"cStrD\" VALUE=\"\"> ",
        "   </FORM>",
        "   <LINK REL=stylesheet HREF=\"kwzStyle.css\" TYPE=\"text/css\"> ",
        "   <SCRIPT  LANGUAGE=\"JavaScript\">",
        "   <!--",
        "   function topMenuMsg() {",
        "      parent.top.location = \"../index.html\";",
        "   }",
        "   function setGifMsg() {",
        "      document.write(\"debut\");",
        "   }",
        "   //--></SCRIPT> ",
        "   <TITLE>topMenu</TITLE> ",
        " </HEAD>",
        "<BODY>",
        "   <CENTER>",
        "   <!-- <img src=\"KWZ.gif\" BORDER=0 VSPACE=15 ALT=\"produit par Tavimor\"> -->",
        "   <A HREF=\"javaScript:topMenuMsg()\">",
        "       <img src=\"KWZ.gif\" BORDER=0 HSPACE=10 VSPACE=10 ALT=\"produit par Tavimor\"></A>",
        "   </CENTER>",
        "</BODY>",
        "</HTML>",
    });
}

std::string THKWZ::BlankPageText()
{
    return BlankPage("<LINK REL=STYLESHEET TYPE=\"text/css\" HREF=\"kwzStyle.css\">");
}

std::string THKWZ::MenuPage() const
{
    constexpr const char* kRestartLink = "<A HREF=\"../index.html\" TARGET=\"_top\">";
    constexpr const char* kRestartImage = "<IMG SRC=\"Eval.gif\" BORDER=0 ALT=\"recommencer\"></A><P>";
    constexpr const char* kResultsLink = "<A HREF=\"result.htm\" TARGET=\"main\">";
    constexpr const char* kResultsImage = "<IMG SRC=\"bRes.gif\" BORDER=0 ALT=\"page des r&eacute;sultats\"></A>";
    // menuStr() gives the links the menu shows in each state of the quiz:
    // answering (1) the restart image, handing over (2) the results link,
    // reviewing (3) both.
    std::string block = Lines({
        "\t<SCRIPT LANGUAGE=\"javaScript\"> ",
        "\t<!--",
        "\tfunction menuStr() {",
        "\t\tvar mode = parent.topMenu.dataForm.QModeD.value;",
        std::string("\t\tvar s1 = '") + kRestartLink + "' + '" + kRestartImage + "';",
        std::string("\t\tvar s2 = '") + kResultsLink + "' + '" + kResultsImage + "';",
        "\t\tif (mode == 1) return s1;",
        "\t\tif (mode == 2) return s2;",
        "\t\tif (mode == 3) return s2 + '<br><br>' + s1;",
        "\t\treturn '';",
        "\t}",
    });
    block += "\t//--></SCRIPT>";
    return PageHead(ScriptTag() + LF + block, "", kStyleSheetName, "Menu") + "<BODY>" + LF + "<CENTER>" + LF
        + "<FORM NAME=\"menuForm\"> " + LF + NavBlock() + WriteCall("menuStr()") + LF + "</FORM><P>" + LF + "</CENTER>"
        + LF + BodyEnd();
}

std::string THKWZ::MainPage() const
{
    std::string block = Lines({
        "\t<SCRIPT LANGUAGE=\"javaScript\"> ",
        "\t<!--",
        "\tfunction SetName() {",
        "\t\tthis.document.IDForm.nom.value = parent.topMenu.dataForm.sNameD.value;",
        "\t}",
        "\tfunction comeIn() {",
        "\t\tvar data = parent.topMenu.dataForm;",
        "\t\tdata.sNameD.value = this.document.IDForm.nom.value;",
        "\t\tdata.curQD.value = 1;",
        "\t\tdata.QModeD.value = 1;",
        "\t\tparent.menu.location.href = \"menu.htm\";",
        "\t\tthis.location.href = \"quest.htm\";",
        "\t}",
    });
    block += "\t//--></SCRIPT> ";
    return PageHead(block, "", kStyleSheetName, "Bienvenue") + LF + LF + THTMPrefs::BodyTag("SetName()") + LF + "<H1>"
        + doc_.Pages.GetTitle(0) + "</H1>" + LF + CountLine() + LF + IdentForm() + LF + "</BODY></HTML>";
}

std::string THKWZ::QuestPage() const
{
    std::string page = PageHead("", ScriptName, kStyleSheetName, "Questions");
    page += std::string("<BODY>") + LF + "<H4>" + WriteCall("setQTitle()") + "</H4>" + LF + LF;
    page += std::string("<FORM NAME=\"CForm\">") + LF + WriteCall("setQuestion()") + LF;
    page += TableTag(400, 5, 5, false) + LF + "<TR>" + LF + WriteCall("setRChoix()") + LF + "</TD></TR></TABLE>" + LF
        + LF;
    if (doc_.Header.UseCertainty)
        page += CheckBoxTag("CertCheck", doc_.Header.CertSentence.substr(0, kMaxLabel), false);
    page += LF;
    page += Lines({"<script>checkVisited()</script>", "</FORM>", "<P><HR WIDTH=300>"});
    return page + "</BODY></HTML>";
}

std::string THKWZ::EndPage() const
{
    std::string page = PageHead("", ScriptName, kStyleSheetName, "Fin de la s\xE9rie");
    page += std::string("<BODY>") + LF + "<H4>" + doc_.Pages.GetTitle(1) + "</H4>" + LF + doc_.Pages.GetBody(1) + LF
        + "<BR> <BR>" + LF;
    page += std::string("<FORM NAME=\"NForm\">") + LF + AnchorTag("result.htm", "voir les r&eacute;sultats") + "<P>"
        + LF + AnchorTag("javaScript:comeBack()", "revoir les questions") + "<P>" + LF + "</FORM>" + LF;
    return page + "<BR><BR><HR WIDTH=300><BR>" + LF + "</BODY></HTML>";
}

std::string THKWZ::ResultPage() const
{
    std::string page = PageHead("", ScriptName, kStyleSheetName, "R\xE9sultats");
    page += std::string("<BODY>") + LF + "<H4>" + doc_.Pages.GetTitle(2) + "</H4>" + LF + doc_.Pages.GetBody(2) + LF;
    page += "<B>" + WriteCall("getSName()") + "</B>," + LF + " voici vos r\xE9sultats:" + LF + "<P>" + LF;
    page += "Nombre de bonnes r\xE9ponses:<B>" + WriteCall("getAllGood()") + "</B>" + " sur <B>"
        + std::to_string(QuestionCount()) + ".</B><BR>" + LF;
    if (doc_.Header.UseCertainty)
        page += "Taux de r\xE9ussite pond\xE9r\xE9: <B> " + WriteCall("doTotalIC()") + "</B>" + LF;
    page += LF;
    page += std::string("<P>") + LF + WriteCall("doRTable()") + LF + RuleTag(300) + LF;
    return page + "</BODY></HTML>";
}

std::string THKWZ::MessPage() const
{
    std::string page = PageHead("", ScriptName, kStyleSheetName, "Evaluation");
    page += std::string("<BODY>") + LF + HeadingTag(WriteCall("setQTitle()"), "", 2) + LF + WriteCall("setQuestion()")
        + LF;
    page += std::string("<BR><BR><DIR>") + LF + "<b>" + EntityEncode("Votre r\xE9ponse:") + "</b>" + LF
        + WriteCall("getAnswer()") + LF + LF + WriteCall("setMessage()") + LF + LF;
    return page + "</DIR><BR><HR WIDTH=300><BR>" + LF + "</BODY></HTML>";
}

} // namespace tavimor
