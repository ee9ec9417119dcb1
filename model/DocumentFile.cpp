#include "model/DocumentFile.h"

#include "base/FileIo.h"
#include "base/ValueStream.h"
#include "model/QuestionRecord.h"
#include "model/QuestionViews.h"

#include <algorithm>
#include <limits>

namespace tavimor {
namespace {

constexpr int kSpareHeaderStrings = 3;
// Files older than this are refused.
constexpr int kOldestVersion = 3;
// From this version on the layout block replaces the old one and follows the header.
constexpr int kLayoutBlockVersion = 4;
// From this version on the style block ends the file.
constexpr int kStyleBlockVersion = 5;

// Unsigned 16-bit fields are widened with zero extension before writing
// (and keep the low 16 bits of what is read).
void WriteWord(TValueWriter& writer, std::uint16_t value)
{
    writer.WriteInteger(value);
}
using record::ReadWord;

void WriteHeader(TValueWriter& writer, const QuizHeader& header, const std::string& noAnswerMess)
{
    writer.WriteString(header.AuthorLabel);
    writer.WriteString(header.AuthorName);
    writer.WriteString(header.EmailLabel);
    writer.WriteString(header.Email);
    writer.WriteString(header.InstitLabel);
    writer.WriteString(header.Institution);
    writer.WriteString(header.UrlLabel);
    writer.WriteString(header.Url);
    writer.WriteString(header.CountSentence);
    writer.WriteBoolean(header.ShowCount);
    writer.WriteString(header.CertSentence);
    writer.WriteBoolean(header.UseCertainty);
    writer.WriteString(noAnswerMess);
    writer.WriteString(header.DefaultPoints);
    for (int i = 0; i < kSpareHeaderStrings; ++i)
        writer.WriteString("");
}

// Each value goes into the header as soon as it is read, so a damaged file
// leaves what came before the damage in place.
void ReadHeader(TValueReader& reader, QuizHeader& header, std::string& noAnswerMess)
{
    header.AuthorLabel = reader.ReadString();
    header.AuthorName = reader.ReadString();
    header.EmailLabel = reader.ReadString();
    header.Email = reader.ReadString();
    header.InstitLabel = reader.ReadString();
    header.Institution = reader.ReadString();
    header.UrlLabel = reader.ReadString();
    header.Url = reader.ReadString();
    header.CountSentence = reader.ReadString();
    header.ShowCount = reader.ReadBoolean();
    header.CertSentence = reader.ReadString();
    header.UseCertainty = reader.ReadBoolean();
    noAnswerMess = reader.ReadString();
    header.DefaultPoints = reader.ReadString();
    for (int i = 0; i < kSpareHeaderStrings; ++i)
        reader.ReadString();
}

void WritePageTexts(TValueWriter& writer, const THMPList& pages)
{
    for (int page = 0; page < THMPList::kPageCount; ++page) {
        writer.WriteString(pages.GetTitle(page));
        writer.WriteString(pages.GetBody(page));
    }
}

// Through SetTitle and SetBody, so that the texts of pages 1 and 2 are also
// remembered for new documents.
void ReadPageTexts(TValueReader& reader, THMPList& pages)
{
    for (int page = 0; page < THMPList::kPageCount; ++page) {
        pages.SetTitle(page, reader.ReadString());
        pages.SetBody(page, reader.ReadString());
    }
}

void WriteBanks(TValueWriter& writer, const TQuestList& quests)
{
    for (const std::vector<std::string>& bank : quests.GenMess) {
        writer.WriteInteger(static_cast<std::int32_t>(bank.size()));
        for (const std::string& message : bank)
            writer.WriteString(message);
    }
}

// The count is trusted only as far as messages are actually there: nothing
// is reserved ahead, so a huge count fails at the first missing string.
void ReadBanks(TValueReader& reader, TQuestList& quests)
{
    for (std::vector<std::string>& bank : quests.GenMess) {
        const std::int32_t count = reader.ReadInteger();
        bank.clear();
        for (std::int32_t i = 0; i < count; ++i)
            bank.push_back(reader.ReadString());
    }
}

void WriteQuestion(TValueWriter& writer, const TQuest& quest)
{
    // The choices written are the ones held, so the count and the list
    // always agree in the file.
    const std::size_t choiceCount = std::min<std::size_t>(quest.Reps.size(), std::numeric_limits<std::uint16_t>::max());

    writer.WriteInteger(quest.QReserved);
    writer.WriteInteger(static_cast<std::uint8_t>(quest.QType));
    writer.WriteInteger(quest.Priority);
    writer.WriteString(quest.QText);
    WriteWord(writer, quest.Points);
    WriteWord(writer, static_cast<std::uint16_t>(choiceCount));
    if (choiceCount > 0) {
        for (std::size_t i = 0; i < choiceCount; ++i)
            writer.WriteString(quest.Reps[i]);
        writer.WriteInteger(quest.GoodRep);
        WriteWord(writer, quest.Columns);
    }
    for (std::size_t side = 0; side < 2; ++side) {
        writer.WriteBoolean(quest.UseGenMess[side]);
        writer.WriteString(quest.Mess[side]);
        writer.WriteInteger(quest.MessIdx[side]);
    }
    writer.WriteBoolean(quest.ShowResum);
    writer.WriteString(quest.ExtFile);
    writer.WriteString(quest.ExtLink);
    writer.WriteBoolean(quest.UseExtFile);
    WriteWord(writer, quest.Points);
}

// The texts of a TQuest: strings of their own.
struct OwnTexts {
    std::string Text(TValueReader& reader) { return reader.ReadString(); }
    void Choices(TValueReader& reader, TQuest& quest)
    {
        quest.Reps.reserve(std::min<std::size_t>(quest.NRep, reader.BytesLeft() / record::kSmallestChoice));
        for (std::uint16_t i = 0; i < quest.NRep; ++i)
            quest.Reps.push_back(reader.ReadString());
    }
};

std::string Refusal(std::int32_t version)
{
    return "La version " + std::to_string(version)
        + " n'est plus support\xE9"
          "e...";
}

} // namespace

void ResetToStartupState(TQuizDocument& doc, const NewDocumentDefaults& defaults)
{
    doc.Header = QuizHeader {};
    if (defaults.Identity) {
        doc.Header.AuthorName = (*defaults.Identity)[0];
        doc.Header.Email = (*defaults.Identity)[1];
        doc.Header.Institution = (*defaults.Identity)[2];
        doc.Header.Url = (*defaults.Identity)[3];
    }
    doc.Header.UseCertainty = defaults.UseCertainty;
    doc.Quests.Clear();
    doc.Quests.InitMessages();
    doc.Quests.LReserved = 0;

    doc.Layout.ResetFlags();
    doc.Layout.ResetImgNames();

    doc.Pages.SetTitle(0, "");
    doc.Pages.SetBody(0, "");
    doc.Pages.SetTitle(1, "Termin\xE9?");
    doc.Pages.SetBody(1, "Vous pouvez maintenant revoir vos r\xE9ponses ou passer aux r\xE9sultats.");
    doc.Pages.SetTitle(2, "R\xE9sultats");
    doc.Pages.SetBody(2, "Voici vos r\xE9sultats.");
    if (defaults.KeptPages) {
        for (int page = 1; page <= 2; ++page) {
            doc.Pages.SetTitle(page, (*defaults.KeptPages)[static_cast<std::size_t>(page - 1)].Title);
            doc.Pages.SetBody(page, (*defaults.KeptPages)[static_cast<std::size_t>(page - 1)].Body);
        }
    }

    doc.Style = TStylePrefs {};
    doc.Style.SetStartupElements(defaults.PrefsDir);
}

TQuizDocument NewDocument(const NewDocumentDefaults& defaults)
{
    TQuizDocument doc;
    ResetToStartupState(doc, defaults);
    return doc;
}

std::string DocumentBytes(const TQuizDocument& doc)
{
    TValueWriter writer;
    writer.WriteInteger(kDocumentVersion);
    WriteHeader(writer, doc.Header, doc.Quests.NoAnswerMess);
    doc.Layout.WriteBlock(writer);
    WriteBanks(writer, doc.Quests);
    WritePageTexts(writer, doc.Pages);

    const int count = std::min<int>(doc.Quests.Count(), std::numeric_limits<std::uint16_t>::max());
    WriteWord(writer, static_cast<std::uint16_t>(count));
    writer.WriteInteger(doc.Quests.LReserved);
    for (int n = 1; n <= count; ++n)
        WriteQuestion(writer, doc.Quests.Quest(n));

    doc.Style.WriteTo(writer);
    return writer.Bytes();
}

void SaveDocument(const TQuizDocument& doc, const std::string& path)
{
    // The document is the author's work: nothing can make it again.
    WriteFileAtomically(path, DocumentBytes(doc), Durability::Durable);
}

namespace {

// readQuestions(reader, count) reads the question records.
template <class ReadQuestions>
LoadOutcome ReadValues(TQuizDocument& doc, TValueReader& reader, ReadQuestions readQuestions)
{
    LoadOutcome outcome;
    const std::int32_t version = reader.ReadInteger();
    outcome.version = version;
    if (version < kOldestVersion) {
        outcome.refusal = Refusal(version);
        return outcome;
    }

    ReadHeader(reader, doc.Header, doc.Quests.NoAnswerMess);

    if (version < kLayoutBlockVersion) {
        ReadPageTexts(reader, doc.Pages); // replaced by the page texts below
        doc.Layout.ReadOldBlock(reader);
    } else {
        doc.Layout.ReadBlock(reader);
    }
    ReadBanks(reader, doc.Quests);
    ReadPageTexts(reader, doc.Pages);

    const std::uint16_t count = ReadWord(reader);
    doc.Quests.LReserved = reader.ReadInteger();
    readQuestions(reader, count);

    if (version >= kStyleBlockVersion)
        doc.Style.ReadFrom(reader);
    return outcome;
}

// Each record is at least a few bytes long, so a count larger than the file
// can hold ends at the first missing value; room is reserved only for as
// many questions as the rest of the file could hold.
LoadOutcome ReadIntoModel(TQuizDocument& doc, TValueReader& reader)
{
    return ReadValues(doc, reader, [&doc](TValueReader& records, std::uint16_t count) {
        doc.Quests.Reserve(static_cast<std::size_t>(doc.Quests.Count())
            + std::min<std::size_t>(count, records.BytesLeft() / record::kSmallestQuestion));
        OwnTexts texts;
        for (std::uint16_t i = 0; i < count; ++i) {
            doc.Quests.AddQuest();
            record::ReadQuestion(records, doc.Quests.Current(), texts);
        }
    });
}

} // namespace

LoadOutcome ReadDocument(TQuizDocument& doc, std::string_view bytes)
{
    TValueReader reader(bytes);
    return ReadIntoModel(doc, reader);
}

// The file is read as its values are taken, so that it is never whole in
// memory beside the document made from it.
LoadOutcome LoadDocument(TQuizDocument& doc, const std::string& path)
{
    FileReader file(path);
    TValueReader reader(file);
    return ReadIntoModel(doc, reader);
}

LoadOutcome ReadDocumentForProduction(TQuizDocument& doc, TQuestViews& quests, ByteBlock bytes)
{
    TValueReader reader(quests.Hold(std::move(bytes)));
    return ReadValues(
        doc, reader, [&quests](TValueReader& records, std::uint16_t count) { quests.ReadQuestions(records, count); });
}

LoadOutcome LoadDocumentForProduction(TQuizDocument& doc, TQuestViews& quests, const std::string& path)
{
    return ReadDocumentForProduction(doc, quests, ReadWholeFileBlock(path));
}

std::string QuizFileNameOf(const std::string& documentPath)
{
    const std::string fileName = FileNamePart(documentPath);
    return fileName.substr(0, fileName.find('.'));
}

} // namespace tavimor
