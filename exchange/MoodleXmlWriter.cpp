#include "exchange/MoodleXmlWriter.h"

#include "base/Cp1252.h"
#include "base/TextHelpers.h"
#include "exchange/EmbeddedImages.h"
#include "generator/InlineData.h"
#include "generator/QuestionTexts.h"
#include "generator/SpecHTML.h"

#include <pugixml.hpp>

#include <sstream>

namespace tavimor {
namespace {

constexpr const char* kPluginFile = "@@PLUGINFILE@@/";
constexpr std::size_t kNameLength = 60;

// Windows-1252 text as UTF-8 for XML 1.0, which has no place for the C0
// control characters other than tab and line feed; line breaks become line
// feeds, as an XML reader would make them anyway. A character kept as a
// reference because the code page lacks it is written as itself.
std::string XmlText(std::string_view cp1252)
{
    const std::string utf8 = Cp1252ToUtf8ResolvingReferences(cp1252);
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\r') {
            if (i + 1 == utf8.size() || utf8[i + 1] != '\n')
                out += '\n';
        } else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n') {
            out += c;
        }
    }
    return out;
}

// A question's name in the bank: its number and the start of its text
// without markup.
std::string QuestionName(int n, const std::string& text)
{
    std::string plain;
    bool inTag = false;
    for (const char c : text) {
        if (c == '<')
            inTag = true;
        else if (c == '>' && inTag)
            inTag = false;
        else if (!inTag)
            plain += static_cast<unsigned char>(c) <= ' ' ? ' ' : c;
    }
    std::string name;
    for (const char c : TrimBlanks(plain)) {
        if (c == ' ' && !name.empty() && name.back() == ' ')
            continue;
        name += c;
    }
    if (name.size() > kNameLength)
        name = name.substr(0, kNameLength) + "...";
    return std::to_string(n) + ". " + name;
}

class QuestionWriter {
public:
    QuestionWriter(const TQuizDocument& doc, int n, ImageEmbedder& images, std::vector<std::string>& notes)
        : quests_(doc.Quests)
        , n_(n)
        , quest_(doc.Quests.Quest(n))
        , images_(images)
        , notes_(notes)
    {
    }

    void Write(pugi::xml_node quiz)
    {
        const TPlatformKind kind = PlatformKind(quest_);
        pugi::xml_node question = quiz.append_child("question");
        question.append_attribute("type") = TypeName(kind);
        // A cloze question's name shows the blank of the printed exam.
        const std::string& nameText = kind == TPlatformKind::MissingWord ? GetExamText(quests_, n_) : quest_.QText;
        SimpleText(question.append_child("name"), QuestionName(n_, nameText));

        if (kind == TPlatformKind::MissingWord)
            HtmlText(question, "questiontext", ClozeText());
        else
            HtmlText(question, "questiontext", quest_.QText);
        HtmlText(question, "generalfeedback", "");
        Value(question, "defaultgrade", kind == TPlatformKind::Description ? "0" : "1");
        Value(question, "penalty", "0");
        Value(question, "hidden", "0");

        switch (kind) {
        case TPlatformKind::MultipleChoice:
            Value(question, "single", "true");
            Value(question, "shuffleanswers", "false");
            Value(question, "answernumbering", "none");
            for (std::size_t i = 0; i < quest_.Reps.size(); ++i)
                WriteAnswer(question, quest_.Reps[i], RightChoice(quest_) == i, true);
            break;
        case TPlatformKind::TrueFalse: {
            const bool isTrue = RightAnswerIsTrue(quest_);
            WriteAnswer(question, "true", isTrue, false);
            WriteAnswer(question, "false", !isTrue, false);
            break;
        }
        case TPlatformKind::MissingWord:
        case TPlatformKind::Description:
            break;
        }
    }

private:
    static const char* TypeName(TPlatformKind kind)
    {
        switch (kind) {
        case TPlatformKind::MultipleChoice:
            return "multichoice";
        case TPlatformKind::TrueFalse:
            return "truefalse";
        case TPlatformKind::MissingWord:
            return "cloze";
        case TPlatformKind::Description:
            break;
        }
        return "description";
    }

    static void SimpleText(pugi::xml_node parent, const std::string& cp1252)
    {
        parent.append_child("text").text().set(XmlText(cp1252).c_str());
    }

    static void Value(pugi::xml_node parent, const char* name, const char* value)
    {
        parent.append_child(name).text().set(value);
    }

    // <name format="html"><text><![CDATA[html]]></text><file .../>...</name>
    // under parent, the pictures of the text embedded.
    void HtmlText(pugi::xml_node parent, const char* name, const std::string& html)
    {
        pugi::xml_node element = parent.append_child(name);
        element.append_attribute("format") = "html";
        FillHtml(element, html);
    }

    void FillHtml(pugi::xml_node element, const std::string& html)
    {
        std::vector<TEmbeddedFile> files;
        std::vector<std::string> missing;
        const std::string text = images_.Embed(html, files, missing);
        // A CDATA section keeps the HTML readable; one that would have to be
        // split around "]]>" is written as escaped text instead.
        const std::string xmlText = XmlText(text);
        const bool splits = xmlText.find("]]>") != std::string::npos;
        element.append_child("text")
            .append_child(splits ? pugi::node_pcdata : pugi::node_cdata)
            .set_value(xmlText.c_str());
        for (const TEmbeddedFile& file : files) {
            pugi::xml_node node = element.append_child("file");
            node.append_attribute("name") = file.Name.c_str();
            node.append_attribute("path") = "/";
            node.append_attribute("encoding") = "base64";
            node.text().set(Base64(file.Bytes).c_str());
        }
        for (const std::string& source : missing)
            notes_.push_back(
                "Question " + std::to_string(n_) + ": l'image " + source + " est introuvable, elle n'est pas incluse.");
    }

    // One answer with the feedback of its side; true/false answers are the
    // words "true" and "false", which the platform reads, not HTML.
    void WriteAnswer(pugi::xml_node question, const std::string& text, bool right, bool html)
    {
        pugi::xml_node answer = question.append_child("answer");
        answer.append_attribute("fraction") = right ? "100" : "0";
        if (html) {
            answer.append_attribute("format") = "html";
            FillHtml(answer, text);
        } else {
            answer.append_attribute("format") = "moodle_auto_format";
            SimpleText(answer, text);
        }
        HtmlText(answer, "feedback", GetFeedbackHtml(quests_, n_, right ? kRightSide : kWrongSide));
    }

    // The text with {1:MULTICHOICE:=right#feedback~wrong#feedback} in place
    // of the marker; the blank after the marker goes with it, as in the pages.
    std::string ClozeText() const
    {
        const TClozeParts parts = *SplitClozeText(quest_.QText);
        const std::string rightFeedback = ClozeEscape(GetFeedbackHtml(quests_, n_, kRightSide));
        const std::string wrongFeedback = ClozeEscape(GetFeedbackHtml(quests_, n_, kWrongSide));
        std::string list = "{1:MULTICHOICE:";
        for (std::size_t i = 0; i < quest_.Reps.size(); ++i) {
            const bool right = RightChoice(quest_) == i;
            if (i > 0)
                list += "~";
            list += (right ? "=" : "") + ClozeEscape(quest_.Reps[i]) + "#" + (right ? rightFeedback : wrongFeedback);
        }
        list += "}";
        return parts.Before + list + std::string(ClozeRestSeparator(parts.Rest)) + parts.Rest;
    }

    const TQuestList& quests_;
    int n_;
    const TQuest& quest_;
    ImageEmbedder& images_;
    std::vector<std::string>& notes_;
};

} // namespace

std::string ClozeEscape(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '}' || c == '#' || c == '~' || c == '/' || c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out;
}

TPlatformExport MoodleXml(const TQuizDocument& doc, const std::string& documentPath)
{
    TPlatformExport result;
    pugi::xml_document xml;
    pugi::xml_node declaration = xml.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node quiz = xml.append_child("quiz");

    pugi::xml_node category = quiz.append_child("question");
    category.append_attribute("type") = "category";
    category.append_child("category")
        .append_child("text")
        .text()
        .set(("$course$/top/" + XmlText(Utf8ToCp1252(QuizNameOf(documentPath)))).c_str());

    ImageEmbedder images(documentPath, kPluginFile);
    for (int n = 1; n <= doc.Quests.Count(); ++n) {
        if (PlatformKind(doc.Quests.Quest(n)) == TPlatformKind::Description)
            result.Notes.push_back("Question " + std::to_string(n)
                + ": aucun choix de r\xE9ponse, elle est export\xE9"
                  "e comme description.");
        QuestionWriter(doc, n, images, result.Notes).Write(quiz);
    }

    std::ostringstream out;
    xml.save(out, "  ", pugi::format_indent, pugi::encoding_utf8);
    result.Text = out.str();
    return result;
}

TPlatformExport ExportMoodleXmlFile(const TQuizDocument& doc, const std::string& documentPath, const std::string& path)
{
    return SaveExport(MoodleXml(doc, documentPath), path);
}

} // namespace tavimor
