#include "generator/StandaloneQuiz.h"

#include "base/Cp1252.h"
#include "base/FileIo.h"
#include "base/TextHelpers.h"
#include "generator/DistinctTexts.h"
#include "generator/InlineData.h"
#include "generator/PageSet.h"
#include "generator/QuestionTexts.h"
#include "generator/QuizKey.h"
#include "generator/SpecHTML.h"
#include "generator/StandaloneRuntime.h"
#include "generator/TeacherHtml.h"
#include "generator/TextBuffer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <set>
#include <string_view>

namespace tavimor {

namespace {

constexpr std::string_view kRefused = "Impossible de produire le test!";
// Before the src of each picture the page could not take in.
constexpr std::string_view kPictureLeftOut = "Image introuvable, laiss\xE9"
                                             "e de c\xF4t\xE9: ";
// A question without a marked choice: no answer can equal it.
constexpr std::uint16_t kNoGoodChoice = 65535;

bool StartsWithIgnoringCase(std::string_view text, std::string_view lowerHead)
{
    if (text.size() < lowerHead.size())
        return false;
    for (std::size_t i = 0; i < lowerHead.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != lowerHead[i])
            return false;
    }
    return true;
}

// The text of an inline block as the page holds it: CR LF and CR become LF
// and NUL bytes go, as the browser's parser would do before hashing the
// block, so that the hash in the policy is the hash of what the browser sees;
// "</" + element (any case) becomes "<\/" + element so that the text cannot
// end its block (in a script or a style sheet "\/" still means "/"), and in a
// script "<!--" becomes "<\!--" so that it cannot hide the block's end tag.
std::string InlineBlockText(std::string_view text, std::string_view element)
{
    const bool script = element == "script";
    std::string out;
    out.reserve(text.size() + 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\0')
            continue;
        if (c == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            continue;
        }
        if (c == '<' && i + 1 < text.size()) {
            const std::string_view rest = text.substr(i + 1);
            if (rest[0] == '/' && StartsWithIgnoringCase(rest.substr(1), element)) {
                out += "<\\";
                continue;
            }
            if (script && rest.starts_with("!--")) {
                out += "<\\";
                continue;
            }
        }
        out += c;
    }
    return out;
}

// Windows-1252 text as HTML text of the UTF-8 page.
void AppendHtmlText(TextBuffer& out, std::string_view cp1252)
{
    std::string text;
    AppendMarkupEscaped(text, Cp1252ToUtf8(cp1252));
    out += text;
}

// The teacher's HTML as a JSON string, quietened (TeacherHtml.h) so that the
// page's policy has nothing to refuse when the runtime parses it. A text
// without a tag is passed over at AppendQuietHtml's first glance.
void AppendHtmlJson(TextBuffer& out, std::string_view html)
{
    thread_local std::string quiet;
    quiet.clear();
    if (AppendQuietHtml(quiet, html))
        AppendJsonString(out, quiet);
    else
        AppendJsonString(out, html);
}

// Where the page is built: whole in memory, as a string (a SCORM package,
// which carries it in its archive)...
class WholePage {
public:
    explicit WholePage(std::size_t room) { text_.Reserve(room); }
    TextBuffer& Text() { return text_; }
    void Spill() { }
    std::size_t Offset() const { return text_.Size(); }
    std::size_t HashFrom(std::size_t offset) const
    {
        return std::hash<std::string_view> {}(text_.View().substr(offset));
    }
    std::string Take() { return text_.Take(); }

private:
    TextBuffer text_;
};

// ...or stored into its file chunk by chunk, the page never whole in memory:
// making memory for a few megabytes costs more than writing them (a
// production by the editor or the command line). The progress key is then
// the hash of the data as the file holds it.
class StoredPage {
public:
    explicit StoredPage(const std::string& path)
        : writer_(path, PageWriter::LineBreaks::CrLf, PageWriter::Length::Long)
    {
    }
    TextBuffer& Text() { return writer_.Text(); }
    void Spill() { writer_.SpillHere(); }
    std::size_t Offset() const { return writer_.Offset(); }
    // The same hash as WholePage's, of the bytes the file holds.
    std::size_t HashFrom(std::size_t offset)
    {
        std::size_t hash = 0;
        writer_.ReadBack(offset, [&](std::string_view bytes) { hash = std::hash<std::string_view> {}(bytes); });
        return hash;
    }
    void Commit() { writer_.Commit(); }

private:
    PageWriter writer_;
};

// The line that announces the number of questions on the entry page, as the
// site writes it; empty when the option is off.
std::string CountText(const TQuizDocument& doc, int questionCount)
{
    const QuizHeader& header = doc.Header;
    if (!header.ShowCount || header.CountSentence.empty())
        return {};
    return ReplaceOrAppend("<Q>", std::to_string(questionCount), header.CountSentence);
}

// The question text as the site shows it: a cloze marker becomes the list.
// A cloze text that lost its marker keeps its text; the runtime then adds the
// list after it.
template <class Quests> std::string_view QuestionText(const Quests& quests, int n, std::string& buffer)
{
    const auto& quest = quests.Quest(n);
    if (quest.QType != TRepType::rOList || std::string_view(quest.QText).find(kOptionMarker) == std::string::npos)
        return quest.QText;
    buffer = GetHtmlText(quests, n);
    return buffer;
}

// The feedback of question n on one side: the document's own text, or made
// in buffer when the question has an attached file.
template <class Quests> std::string_view FeedbackText(const Quests& quests, int n, int side, std::string& buffer)
{
    if (!quests.Quest(n).UseExtFile)
        return quests.FeedbackMessage(n, side);
    buffer = GetFeedbackHtml(quests, n, side);
    return buffer;
}

// Asks the processor for the feedback of question n on one side, which is
// written soon. The message lists come after the questions, a pass over the
// whole document that has pushed the messages out of the cache, and each
// message lies in its question's record, too far from the next for the
// processor to foresee: read in turn, each would wait for memory.
template <class Quests> void PrefetchFeedback(const Quests& quests, int n, int side)
{
    constexpr std::size_t kCacheLine = 64;
    const std::string_view text = quests.FeedbackMessage(n, side);
    for (std::size_t at = 0; at < text.size(); at += kCacheLine)
        __builtin_prefetch(text.data() + at);
}

// The distinct feedback texts of one side as the page's JSON list.
template <class Page, class Quests>
void AppendMessagesJson(Page& page, const Quests& quests, const DistinctTexts& bank, int side)
{
    TextBuffer& out = page.Text();
    std::string buffer;
    out += '[';
    for (std::size_t i = 0; i < bank.Size(); ++i) {
        if (i > 0)
            out += ',';
        // Far enough ahead to cover the wait, near enough to stay in the cache.
        constexpr std::size_t kAhead = 8;
        if (i + kAhead < bank.Size())
            PrefetchFeedback(quests, static_cast<int>(bank.FirstOccurrence(i + kAhead)), side);
        AppendHtmlJson(out, FeedbackText(quests, static_cast<int>(bank.FirstOccurrence(i)), side, buffer));
        page.Spill();
    }
    out += ']';
}

template <class Page, class Quests> void AppendQuestions(Page& page, const Quests& quests)
{
    TextBuffer& out = page.Text();
    const int count = quests.Count();
    std::array<DistinctTexts, 2> banks; // the distinct messages of each side
    for (DistinctTexts& bank : banks)
        bank.Reserve(static_cast<std::size_t>(count));
    std::string cloze;
    std::string feedback; // made for a question with an attached file
    std::string earlierFeedback;
    out += "\"questions\":[";
    for (int n = 1; n <= count; ++n) {
        const auto& quest = quests.Quest(n);
        if (n > 1)
            out += ',';
        out += '[';
        out.AppendNumber(static_cast<int>(quest.QType));
        out += ',';
        AppendHtmlJson(out, QuestionText(quests, n, cloze));
        out += ",[";
        for (std::size_t i = 0; i < quest.Reps.size(); ++i) {
            if (i > 0)
                out += ',';
            AppendHtmlJson(out, quest.Reps[i]);
        }
        out += "],";
        // The site keeps the low 16 bits of the marked choice.
        const std::uint16_t good = quests.GetGoodRep(n);
        out.AppendNumber(good == kNoGoodChoice ? -1 : good);
        out += ',';
        out.AppendNumber(quests.GetColumns(n));
        for (int side = 0; side < 2; ++side) {
            out += ',';
            const auto earlier = [&](std::uint32_t question) {
                return FeedbackText(quests, static_cast<int>(question), side, earlierFeedback);
            };
            const std::uint32_t position
                = banks[side].Position(FeedbackText(quests, n, side, feedback), static_cast<std::uint32_t>(n), earlier);
            out.AppendNumber(static_cast<long long>(position));
        }
        out += ']';
        page.Spill();
    }
    out += "],\"wrong\":";
    AppendMessagesJson(page, quests, banks[kWrongSide], kWrongSide);
    out += ",\"right\":";
    AppendMessagesJson(page, quests, banks[kRightSide], kRightSide);
}

// The quiz as JSON for the runtime (field names read by quiz.js).
template <class Page, class Quests>
void AppendQuizData(Page& page, const TQuizDocument& doc, const Quests& quests, const StandaloneContent& content)
{
    TextBuffer& out = page.Text();
    const std::size_t start = page.Offset();
    out += "{\"title\":";
    AppendJsonString(out, content.QuizName);
    // What the student's results record needs: the key of these questions
    // and the teacher's address for "Envoyer mes résultats à l'enseignant".
    out += ",\"quizKey\":\"";
    out += QuizKey(quests, doc.Header.UseCertainty);
    out += "\",\"email\":";
    AppendJsonString(out, TrimBlanks(doc.Header.Email));
    out += ",\"certainty\":";
    out += doc.Header.UseCertainty ? "true" : "false";
    out += ",\"certSentence\":";
    AppendHtmlJson(out, doc.Header.CertSentence);
    out += ",\"noAnswer\":";
    AppendHtmlJson(out, quests.NoAnswerMess);
    out += ",\"count\":";
    AppendHtmlJson(out, CountText(doc, quests.Count()));
    out += ",\"resum\":";
    AppendHtmlJson(out, content.ResumBody);
    out += ",\"pages\":[";
    for (int page = 0; page < THMPList::kPageCount; ++page) {
        out += page > 0 ? ",[" : "[";
        AppendHtmlJson(out, doc.Pages.GetTitle(page));
        out += ',';
        AppendHtmlJson(out, doc.Pages.GetBody(page));
        out += ']';
    }
    out += "],";
    AppendQuestions(page, quests);
    out += ",\"gifs\":{";
    const ImageNames& names = DefaultImageNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            out += ',';
        AppendJsonString(out, names[i]);
        out += ':';
        AppendJsonStringUtf8(out, DataAddress(ImageMediaType(content.Gifs[i], ".gif"), content.Gifs[i]));
        page.Spill();
    }
    out += "},\"pictures\":{";
    bool first = true;
    for (const auto& [src, address] : content.Pictures) {
        if (!first)
            out += ',';
        first = false;
        AppendJsonString(out, src);
        out += ':';
        AppendJsonStringUtf8(out, address);
        page.Spill();
    }
    // The progress a reload keeps belongs to this very quiz: a quiz produced
    // again with other questions starts afresh.
    char key[20];
    const std::size_t hash = page.HashFrom(start);
    std::snprintf(key, sizeof key, "%016zx", hash);
    out += "},\"key\":\"";
    out += key;
    out += "\"}";
}

// The length of the page, a little over it for the usual texts: one byte in
// four more for accented letters (two bytes in UTF-8) and escapes, and the
// punctuation around each text. The room is zeroed once: a long guess
// costs memory filled for nothing, a short one a copy of the whole page
// into new memory, which costs far more (French feedback with a bracket or
// a quote in every message needs more than one byte in eight).
template <class Quests> std::size_t EstimatedSize(const Quests& quests, const StandaloneContent& content)
{
    std::size_t size = 65536 + StandaloneScript().size() + StandaloneStyle().size() + content.HostScript.size();
    for (const std::string& gif : content.Gifs)
        size += gif.size() * 4 / 3 + 64;
    for (const auto& [src, address] : content.Pictures)
        size += src.size() + address.size() + 8;
    const int count = quests.Count();
    for (int n = 1; n <= count; ++n) {
        const auto& quest = quests.Quest(n);
        std::size_t texts = quest.QText.size() + quest.Mess[0].size() + quest.Mess[1].size() + quest.ExtLink.size()
            + quest.ExtFile.size();
        std::size_t choices = 0;
        for (const auto& rep : quest.Reps)
            choices += rep.size();
        // A cloze list repeats the choices in the question's text.
        texts += quest.QType == TRepType::rOList ? 2 * choices : choices;
        size += texts + texts / 4 + 4 * quest.Reps.size() + 32;
    }
    return size;
}

// Calls visit with every text of the document that the page shows as HTML.
template <class Quests, class Visit>
void ForEachTeacherText(const TQuizDocument& doc, const Quests& quests, const std::string& resumBody, Visit visit)
{
    for (int page = 0; page < THMPList::kPageCount; ++page) {
        visit(doc.Pages.GetTitle(page));
        visit(doc.Pages.GetBody(page));
    }
    visit(resumBody);
    visit(doc.Header.CountSentence);
    visit(doc.Header.CertSentence);
    visit(quests.NoAnswerMess);
    for (const auto& bank : quests.GenMess) {
        for (const std::string& message : bank)
            visit(message);
    }
    for (int n = 1; n <= quests.Count(); ++n) {
        const auto& quest = quests.Quest(n);
        visit(quest.QText);
        for (const auto& rep : quest.Reps)
            visit(rep);
        visit(quest.Mess[0]);
        visit(quest.Mess[1]);
        visit(quest.ExtLink);
    }
}

std::optional<std::string> ReadPictureFile(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return bytes;
}

// The data: address of the picture src names, seen from the site's page
// folder; nothing when it cannot be had. A picture of the site's own nine
// images is found even before the site has been produced.
std::optional<std::string> PictureAddress(const std::string& src, const std::string& pagesDir,
    const ImageNames& imageNames, const std::array<std::string, kImageCount>& gifs)
{
    const std::optional<std::string> file = PictureFile(src, pagesDir);
    if (!file)
        return std::nullopt;
    std::optional<std::string> bytes = ReadPictureFile(*file);
    if (!bytes) {
        const std::string normalPagesDir = std::filesystem::path(pagesDir).lexically_normal().string();
        for (std::size_t i = 0; i < imageNames.size() && !bytes; ++i) {
            if (*file == normalPagesDir + imageNames[i] + ".gif")
                bytes = gifs[i];
        }
    }
    if (!bytes)
        return std::nullopt;
    const std::string type = ImageMediaType(*bytes, *file);
    if (type.empty())
        return std::nullopt;
    return DataAddress(type, *bytes);
}

template <class Page, class Quests>
void BuildPage(Page& page, const TQuizDocument& doc, const Quests& quests, const StandaloneContent& content)
{
    const std::string style
        = InlineBlockText(Cp1252ToUtf8(doc.Style.MakeStyleSheet()) + "\n" + std::string(StandaloneStyle()), "style");
    const std::string host = InlineBlockText(content.HostScript, "script");
    const std::string runtime = InlineBlockText(StandaloneScript(), "script");

    TextBuffer& out = page.Text();
    out += "<!DOCTYPE html>\n<html lang=\"fr\">\n<head>\n<meta charset=\"utf-8\">\n";
    // Nothing may be fetched, framed or sent: the page runs its own two or
    // three blocks and shows data: pictures only.
    out += "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; script-src ";
    if (!host.empty())
        out += CspHashSource(host) + ' ';
    out += CspHashSource(runtime);
    out += "; style-src ";
    out += CspHashSource(style);
    out += "; img-src data:; base-uri 'none'; form-action 'none'\">\n";
    out += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    out += "<meta name=\"generator\" content=\"Tavimor\">\n<title>";
    AppendHtmlText(out, content.QuizName);
    out += "</title>\n<style>";
    out += style;
    out += "</style>\n</head>\n<body>\n"
           "<header id=\"quiz-banner\" class=\"banner\"></header>\n"
           "<main id=\"quiz-view\"></main>\n"
           "<nav id=\"quiz-nav\" class=\"quiz-nav\" aria-label=\"Navigation des questions\" hidden></nav>\n"
           "<noscript><p>Ce test a besoin de JavaScript.</p></noscript>\n"
           "<script type=\"application/json\" id=\"quiz-data\">";
    AppendQuizData(page, doc, quests, content);
    out += "</script>\n";
    if (!host.empty()) {
        out += "<script>";
        out += host;
        out += "</script>\n";
    }
    out += "<script>";
    out += runtime;
    out += "</script>\n</body>\n</html>\n";
}

template <class Quests>
std::string PageOf(const TQuizDocument& doc, const Quests& quests, const StandaloneContent& content)
{
    WholePage page(EstimatedSize(quests, content));
    BuildPage(page, doc, quests, content);
    return page.Take();
}

// What the page is made of besides the document, or why it is refused.
struct Preparation {
    std::string Refusal; // Windows-1252; empty when the page can be made
    StandaloneContent Content;
    std::vector<std::string> MissingPictures; // src values (Windows-1252) left out of the page
};

template <class Quests>
Preparation Prepare(const TQuizDocument& doc, const Quests& quests, const GifSource& gifs, const StandaloneJob& job)
{
    Preparation prepared;
    if (const auto refusal = THKWZ::Refusal(quests)) {
        prepared.Refusal = *refusal;
        return prepared;
    }
    const std::string quizFileName = QuizFileNameOf(job.DocumentPath);
    if (quizFileName.empty()) {
        prepared.Refusal = std::string(THKWZ::kNoFileName) + LF + std::string(kRefused);
        return prepared;
    }

    StandaloneContent& content = prepared.Content;
    content.QuizName = Utf8ToCp1252(quizFileName);
    content.ResumBody = job.ResumBody;
    content.HostScript = job.HostScript;
    EnsureFolder(job.PrefsDir);
    for (std::size_t i = 0; i < doc.Layout.ImgNames.size(); ++i)
        content.Gifs[i] = ReadWholeFile(PrefsImageFile(gifs, job.PrefsDir, doc.Layout.ImgNames[i]));

    // The teacher's picture paths start from the site's page folder, as the
    // image dialog writes them.
    const std::string pagesDir = FolderPart(job.DocumentPath) + quizFileName + "/hPages/";
    std::set<std::string> missing;
    const std::function<void(const std::string&)> takePicture = [&](const std::string& src) {
        if (content.Pictures.contains(src) || missing.contains(src)
            || StartsWithIgnoringCase(TrimmedView(src), "data:"))
            return;
        if (auto address = PictureAddress(src, pagesDir, doc.Layout.ImgNames, content.Gifs))
            content.Pictures.emplace(src, std::move(*address));
        else
            missing.insert(src);
    };
    ForEachTeacherText(
        doc, quests, job.ResumBody, [&](std::string_view text) { ForEachImageSource(text, takePicture); });
    prepared.MissingPictures.assign(missing.begin(), missing.end());
    return prepared;
}

template <class Quests>
StandaloneBuild BuildOf(const TQuizDocument& doc, const Quests& quests, const GifSource& gifs, const StandaloneJob& job)
{
    Preparation prepared = Prepare(doc, quests, gifs, job);
    StandaloneBuild build;
    build.Message = std::move(prepared.Refusal);
    if (!build.Message.empty())
        return build;
    build.Page = PageOf(doc, quests, prepared.Content);
    build.MissingPictures = std::move(prepared.MissingPictures);
    return build;
}

template <class Quests>
StandaloneOutcome ProduceOf(
    const TQuizDocument& doc, const Quests& quests, const GifSource& gifs, const StandaloneJob& job)
{
    Preparation prepared = Prepare(doc, quests, gifs, job);
    StandaloneOutcome outcome;
    if (!prepared.Refusal.empty()) {
        outcome.Message = std::move(prepared.Refusal);
        return outcome;
    }
    outcome.OutputPath = job.OutputPath.empty() ? StandalonePath(job.DocumentPath) : job.OutputPath;
    // The page can be written again at any time: no wait for the disk.
    StoredPage page(outcome.OutputPath);
    BuildPage(page, doc, quests, prepared.Content);
    page.Commit();
    outcome.Produced = true;
    outcome.MissingPictures = std::move(prepared.MissingPictures);
    outcome.Message = "Le quiz autonome " + Utf8ToCp1252(outcome.OutputPath) + " vient d'\xEAtre cr\xE9\xE9.";
    outcome.Message += PicturesLeftOut(outcome.MissingPictures);
    return outcome;
}

} // namespace

std::string StandalonePage(const TQuizDocument& doc, const StandaloneContent& content)
{
    return PageOf(doc, doc.Quests, content);
}

std::string StandalonePage(const TQuizDocument& doc, const TQuestViews& quests, const StandaloneContent& content)
{
    return PageOf(doc, quests, content);
}

std::string StandalonePath(const std::string& documentPath)
{
    const std::string name = QuizFileNameOf(documentPath);
    return name.empty() ? std::string() : FolderPart(documentPath) + name + ".html";
}

StandaloneBuild BuildStandalone(const TQuizDocument& doc, const GifSource& gifs, const StandaloneJob& job)
{
    return BuildOf(doc, doc.Quests, gifs, job);
}

StandaloneOutcome ProduceStandalone(const TQuizDocument& doc, const GifSource& gifs, const StandaloneJob& job)
{
    return ProduceOf(doc, doc.Quests, gifs, job);
}

StandaloneOutcome ProduceStandalone(
    const TQuizDocument& doc, const TQuestViews& quests, const GifSource& gifs, const StandaloneJob& job)
{
    return ProduceOf(doc, quests, gifs, job);
}

std::string PicturesLeftOut(const std::vector<std::string>& missing)
{
    std::string lines;
    for (const std::string& src : missing)
        lines += std::string(1, LF) + std::string(kPictureLeftOut) + src;
    return lines;
}

} // namespace tavimor
