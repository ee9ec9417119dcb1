// The whole document as JSON and back, for tools and tests that read or
// write quizzes without the document file's binary form.
//
// The JSON uses the names of the document's own fields. Text is UTF-8 in the
// JSON and Windows-1252 in the document. A JSON object may leave keys out
// (they keep the values of a new document or a new question), but a key the
// document does not know is refused, so that a misspelt key is not silently lost.
#include "model/DocumentJson.h"

#include "base/Cp1252.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <set>

namespace tavimor {
namespace {

// Objects keep their keys in the order of the document file.
using json = nlohmann::ordered_json;

constexpr std::array<const char*, 2> kSideNames {"Wrong", "Right"}; // feedback sides 0 and 1

// ---- document to JSON ----------------------------------------------------

json Text(const std::string& cp1252)
{
    return Cp1252ToUtf8(cp1252);
}

json TextList(const std::vector<std::string>& texts)
{
    json list = json::array();
    for (const std::string& text : texts)
        list.push_back(Text(text));
    return list;
}

// The no-answer message is kept with the header values, as in the file.
json HeaderToJson(const QuizHeader& h, const std::string& noAnswerMess)
{
    return {
        {"AuthorLabel", Text(h.AuthorLabel)},
        {"AuthorName", Text(h.AuthorName)},
        {"EmailLabel", Text(h.EmailLabel)},
        {"Email", Text(h.Email)},
        {"InstitLabel", Text(h.InstitLabel)},
        {"Institution", Text(h.Institution)},
        {"UrlLabel", Text(h.UrlLabel)},
        {"Url", Text(h.Url)},
        {"CountSentence", Text(h.CountSentence)},
        {"ShowCount", h.ShowCount},
        {"CertSentence", Text(h.CertSentence)},
        {"UseCertainty", h.UseCertainty},
        {"UnansweredMess", Text(noAnswerMess)},
        {"DefaultPoints", Text(h.DefaultPoints)},
    };
}

json LayoutToJson(const THTMPrefs& layout)
{
    json names = json::array();
    for (const std::string& name : layout.ImgNames)
        names.push_back(Text(name));
    return {
        {"MenuLeft", layout.MenuLeft},
        {"NoBorder", layout.NoBorder},
        {"DistinctPages", layout.DistinctPages},
        {"ImgNames", names},
    };
}

json QuestionToJson(const TQuest& q)
{
    json feedback = json::object();
    for (std::size_t side = 0; side < 2; ++side)
        feedback[kSideNames[side]] = {
            {"UseGenMess", q.UseGenMess[side]},
            {"Mess", Text(q.Mess[side])},
            {"MessIdx", q.MessIdx[side]},
        };
    return {
        {"QReserved", q.QReserved},
        {"QType", static_cast<int>(q.QType)},
        {"Priority", q.Priority},
        {"QText", Text(q.QText)},
        {"Points", q.Points},
        {"Reps", TextList(q.Reps)},
        {"GoodRep", q.GoodRep},
        {"Columns", q.Columns},
        {"Feedback", feedback},
        {"ShowResum", q.ShowResum},
        {"ExtFile", Text(q.ExtFile)},
        {"ExtLink", Text(q.ExtLink)},
        {"UseExtFile", q.UseExtFile},
    };
}

json StyleToJson(const TStylePrefs& style)
{
    json specs = json::array();
    for (const TStyleSpecs& s : style.StyleSpecs)
        specs.push_back({
            {"Selector", Text(s.Selector)},
            {"BGName", Text(s.BGName)},
            {"FontFamily", Text(s.FontFamily)},
            {"SizeText", Text(s.SizeText)},
            {"AlignIndex", s.AlignIndex},
            {"FontColorName", Text(s.FontColorName)},
            {"FontColor", s.FontColor},
            {"Transparent", s.Transparent},
            {"Margin", Text(s.Margin)},
            {"Padding", Text(s.Padding)},
            {"Options", Text(s.Options)},
        });
    json links = json::array();
    for (const TLinkStyle& link : style.LinkStyles)
        links.push_back({
            {"ColorName", Text(link.ColorName)},
            {"ColorValue", link.ColorValue},
            {"Underline", link.Underline},
        });
    return {
        {"BGColor", Text(style.BGColor)},
        {"BodyColor", Text(style.BodyColor)},
        {"LinkColor", Text(style.LinkColor)},
        {"ALinkColor", Text(style.ALinkColor)},
        {"VLinkColor", Text(style.VLinkColor)},
        {"BGSysCol", style.BGSysCol},
        {"BodySysCol", style.BodySysCol},
        {"LinkSysColor", style.LinkSysColor},
        {"ALinkSysColor", style.ALinkSysColor},
        {"VLinkSysColor", style.VLinkSysColor},
        {"DefFontFace", Text(style.DefFontFace)},
        {"PMargin", Text(style.PMargin)},
        {"sFileName", Text(style.sFileName)},
        {"StyleSpecs", specs},
        {"LinkStyles", links},
    };
}

json DocumentToJson(const TQuizDocument& doc, int version)
{
    json pages = json::array();
    for (int page = 0; page < THMPList::kPageCount; ++page)
        pages.push_back({{"Title", Text(doc.Pages.GetTitle(page))}, {"Body", Text(doc.Pages.GetBody(page))}});
    json banks = json::object();
    for (std::size_t side = 0; side < 2; ++side)
        banks[kSideNames[side]] = TextList(doc.Quests.GenMess[side]);
    json questions = json::array();
    for (int n = 1; n <= doc.Quests.Count(); ++n)
        questions.push_back(QuestionToJson(doc.Quests.Quest(n)));

    return {
        {"Version", version},
        {"Header", HeaderToJson(doc.Header, doc.Quests.NoAnswerMess)},
        {"Layout", LayoutToJson(doc.Layout)},
        {"GenMess", banks},
        {"Pages", pages},
        {"LReserved", doc.Quests.LReserved},
        {"Questions", questions},
        {"Style", StyleToJson(doc.Style)},
    };
}

// ---- JSON to document ----------------------------------------------------

// One JSON object being read into the document. Each accessor leaves its
// target untouched when the key is absent; Finish refuses keys never asked for.
class ObjectReader {
public:
    ObjectReader(const json& value, std::string where)
        : value_(value)
        , where_(std::move(where))
    {
        if (!value_.is_object())
            Fail(where_, "an object");
    }

    void Text(const char* key, std::string& out)
    {
        if (const json* v = Find(key)) {
            if (!v->is_string())
                Fail(Where(key), "a string");
            out = Utf8ToCp1252Referencing(v->get_ref<const std::string&>());
        }
    }

    void Flag(const char* key, bool& out)
    {
        if (const json* v = Find(key)) {
            if (!v->is_boolean())
                Fail(Where(key), "true or false");
            out = v->get<bool>();
        }
    }

    template <typename Int> void Number(const char* key, Int& out)
    {
        if (const json* v = Find(key))
            out = ToNumber<Int>(*v, Where(key));
    }

    void TextList(const char* key, std::vector<std::string>& out)
    {
        if (const json* v = Find(key)) {
            const std::string where = Where(key);
            if (!v->is_array())
                Fail(where, "an array of strings");
            out.clear();
            for (const json& item : *v) {
                if (!item.is_string())
                    Fail(where, "an array of strings");
                out.push_back(Utf8ToCp1252Referencing(item.get_ref<const std::string&>()));
            }
        }
    }

    // The array under key (nullptr when absent), holding at most maxSize items.
    const json* Array(const char* key, std::size_t maxSize)
    {
        const json* v = Find(key);
        if (v && (!v->is_array() || v->size() > maxSize))
            Fail(Where(key), "an array of at most " + std::to_string(maxSize) + " items");
        return v;
    }

    const json* Object(const char* key)
    {
        const json* v = Find(key);
        if (v && !v->is_object())
            Fail(Where(key), "an object");
        return v;
    }

    // Keys that are read without being used.
    void Skip(const char* key) { Find(key); }

    void Finish() const
    {
        for (const auto& item : value_.items())
            if (!used_.contains(item.key()))
                throw JsonFormatError(where_ + ": unknown key \"" + item.key() + "\"");
    }

    std::string Where(const std::string& key) const { return where_ + "." + key; }

    template <typename Int> static Int ToNumber(const json& v, const std::string& where)
    {
        constexpr auto low = static_cast<std::int64_t>(std::numeric_limits<Int>::min());
        constexpr auto high = static_cast<std::int64_t>(std::numeric_limits<Int>::max());
        const std::string expected = "an integer from " + std::to_string(low) + " to " + std::to_string(high);
        if (!v.is_number_integer())
            Fail(where, expected);
        const std::int64_t number = v.is_number_unsigned()
            ? static_cast<std::int64_t>(std::min<std::uint64_t>(v.get<std::uint64_t>(), INT64_MAX))
            : v.get<std::int64_t>();
        if (number < low || number > high)
            Fail(where, expected);
        return static_cast<Int>(number);
    }

    [[noreturn]] static void Fail(const std::string& where, const std::string& expected)
    {
        throw JsonFormatError(where + ": expected " + expected);
    }

private:
    const json* Find(const char* key)
    {
        used_.insert(key);
        const auto found = value_.find(key);
        return found == value_.end() ? nullptr : &*found;
    }

    const json& value_;
    std::string where_;
    std::set<std::string> used_;
};

void HeaderFromJson(const json& value, QuizHeader& h, std::string& noAnswerMess)
{
    ObjectReader in(value, "Header");
    in.Text("AuthorLabel", h.AuthorLabel);
    in.Text("AuthorName", h.AuthorName);
    in.Text("EmailLabel", h.EmailLabel);
    in.Text("Email", h.Email);
    in.Text("InstitLabel", h.InstitLabel);
    in.Text("Institution", h.Institution);
    in.Text("UrlLabel", h.UrlLabel);
    in.Text("Url", h.Url);
    in.Text("CountSentence", h.CountSentence);
    in.Flag("ShowCount", h.ShowCount);
    in.Text("CertSentence", h.CertSentence);
    in.Flag("UseCertainty", h.UseCertainty);
    in.Text("UnansweredMess", noAnswerMess);
    in.Text("DefaultPoints", h.DefaultPoints);
    in.Finish();
}

void LayoutFromJson(const json& value, THTMPrefs& layout)
{
    ObjectReader in(value, "Layout");
    in.Flag("MenuLeft", layout.MenuLeft);
    in.Flag("NoBorder", layout.NoBorder);
    in.Flag("DistinctPages", layout.DistinctPages);
    std::vector<std::string> names(layout.ImgNames.begin(), layout.ImgNames.end());
    in.TextList("ImgNames", names);
    if (names.size() != layout.ImgNames.size())
        throw JsonFormatError("Layout.ImgNames: expected " + std::to_string(kImageCount) + " names");
    // The page set holds each name in at most 255 characters, as reading a file does.
    for (std::size_t i = 0; i < names.size(); ++i)
        layout.ImgNames[i] = names[i].substr(0, 255);
    in.Finish();
}

void BanksFromJson(const json& value, TQuestList& quests)
{
    ObjectReader in(value, "GenMess");
    for (std::size_t side = 0; side < 2; ++side)
        in.TextList(kSideNames[side], quests.GenMess[side]);
    in.Finish();
}

void PagesFromJson(const json& value, THMPList& pages)
{
    for (std::size_t page = 0; page < value.size(); ++page) {
        ObjectReader in(value[page], "Pages[" + std::to_string(page) + "]");
        std::string title = pages.GetTitle(static_cast<int>(page));
        std::string body = pages.GetBody(static_cast<int>(page));
        in.Text("Title", title);
        in.Text("Body", body);
        in.Finish();
        pages.SetTitle(static_cast<int>(page), title);
        pages.SetBody(static_cast<int>(page), body);
    }
}

void QuestionFromJson(const json& value, const std::string& where, TQuest& q)
{
    ObjectReader in(value, where);
    in.Number("QReserved", q.QReserved);
    std::uint8_t type = static_cast<std::uint8_t>(q.QType);
    in.Number("QType", type);
    q.QType = static_cast<TRepType>(type);
    in.Number("Priority", q.Priority);
    in.Text("QText", q.QText);
    in.Number("Points", q.Points);
    if (in.Array("Reps", std::numeric_limits<std::uint16_t>::max())) {
        in.TextList("Reps", q.Reps);
        q.NRep = static_cast<std::uint16_t>(q.Reps.size());
    }
    in.Number("GoodRep", q.GoodRep);
    in.Number("Columns", q.Columns);
    if (const json* feedback = in.Object("Feedback")) {
        ObjectReader sides(*feedback, in.Where("Feedback"));
        for (std::size_t side = 0; side < 2; ++side) {
            if (const json* one = sides.Object(kSideNames[side])) {
                ObjectReader fields(*one, sides.Where(kSideNames[side]));
                fields.Flag("UseGenMess", q.UseGenMess[side]);
                fields.Text("Mess", q.Mess[side]);
                fields.Number("MessIdx", q.MessIdx[side]);
                fields.Finish();
            }
        }
        sides.Finish();
    }
    in.Flag("ShowResum", q.ShowResum);
    in.Text("ExtFile", q.ExtFile);
    in.Text("ExtLink", q.ExtLink);
    in.Flag("UseExtFile", q.UseExtFile);
    in.Finish();
}

// Sets the fields that the document's style block holds. Each element style
// takes its fields as they stand, so writing the block gives back the very
// element texts that were read.
void StyleFromJson(const json& value, TStylePrefs& style)
{
    ObjectReader in(value, "Style");
    in.Text("BGColor", style.BGColor);
    in.Text("BodyColor", style.BodyColor);
    in.Text("LinkColor", style.LinkColor);
    in.Text("ALinkColor", style.ALinkColor);
    in.Text("VLinkColor", style.VLinkColor);
    in.Number("BGSysCol", style.BGSysCol);
    in.Number("BodySysCol", style.BodySysCol);
    in.Number("LinkSysColor", style.LinkSysColor);
    in.Number("ALinkSysColor", style.ALinkSysColor);
    in.Number("VLinkSysColor", style.VLinkSysColor);
    in.Text("DefFontFace", style.DefFontFace);
    in.Text("PMargin", style.PMargin);
    style.PMargin.resize(std::min(style.PMargin.size(), kMaxPMarginLength));
    in.Text("sFileName", style.sFileName);
    if (const json* specs = in.Array("StyleSpecs", kStyleSlots)) {
        for (std::size_t slot = 0; slot < specs->size(); ++slot) {
            ObjectReader s((*specs)[slot], "Style.StyleSpecs[" + std::to_string(slot) + "]");
            TStyleSpecs& spec = style.StyleSpecs[slot];
            s.Text("Selector", spec.Selector);
            s.Text("BGName", spec.BGName);
            s.Text("FontFamily", spec.FontFamily);
            s.Text("SizeText", spec.SizeText);
            s.Number("AlignIndex", spec.AlignIndex);
            s.Text("FontColorName", spec.FontColorName);
            s.Number("FontColor", spec.FontColor);
            s.Flag("Transparent", spec.Transparent);
            s.Text("Margin", spec.Margin);
            s.Text("Padding", spec.Padding);
            s.Text("Options", spec.Options);
            s.Finish();
        }
    }
    if (const json* links = in.Array("LinkStyles", style.LinkStyles.size())) {
        for (std::size_t state = 0; state < links->size(); ++state) {
            ObjectReader l((*links)[state], "Style.LinkStyles[" + std::to_string(state) + "]");
            TLinkStyle& link = style.LinkStyles[state];
            l.Text("ColorName", link.ColorName);
            l.Number("ColorValue", link.ColorValue);
            l.Flag("Underline", link.Underline);
            l.Finish();
        }
    }
    in.Finish();
}

void DocumentFromJson(const json& value, TQuizDocument& doc)
{
    ObjectReader in(value, "document");
    in.Skip("Version"); // the version the JSON was made from; version 5 is written
    if (const json* header = in.Object("Header"))
        HeaderFromJson(*header, doc.Header, doc.Quests.NoAnswerMess);
    if (const json* layout = in.Object("Layout"))
        LayoutFromJson(*layout, doc.Layout);
    if (const json* banks = in.Object("GenMess"))
        BanksFromJson(*banks, doc.Quests);
    if (const json* pages = in.Array("Pages", THMPList::kPageCount))
        PagesFromJson(*pages, doc.Pages);
    in.Number("LReserved", doc.Quests.LReserved);
    if (const json* questions = in.Array("Questions", std::numeric_limits<std::uint16_t>::max())) {
        for (std::size_t i = 0; i < questions->size(); ++i) {
            doc.Quests.AddQuest();
            QuestionFromJson((*questions)[i], "Questions[" + std::to_string(i) + "]", doc.Quests.Current());
        }
    }
    if (const json* style = in.Object("Style"))
        StyleFromJson(*style, doc.Style);
    in.Finish();
}

} // namespace

std::string DocumentToJsonText(const TQuizDocument& doc, int version)
{
    return DocumentToJson(doc, version).dump(2) + "\n";
}

void DocumentFromJsonText(std::string_view text, const std::string& sourceName, TQuizDocument& doc)
{
    json value;
    try {
        value = json::parse(text);
    } catch (const json::parse_error& e) {
        throw JsonFormatError(sourceName + ": not valid JSON (" + e.what() + ")");
    }
    DocumentFromJson(value, doc);
}

} // namespace tavimor
