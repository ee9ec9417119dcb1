#include "exchange/QuestionBanks.h"

#include "base/FileIo.h"
#include "exchange/AikenReader.h"
#include "exchange/GiftReader.h"
#include "exchange/MoodleXmlReader.h"
#include "exchange/SpreadsheetCsv.h"

#include <filesystem>
#include <system_error>

namespace tavimor {

const char* BankFormatName(TBankFormat format)
{
    switch (format) {
    case TBankFormat::Gift:
        return "GIFT";
    case TBankFormat::MoodleXml:
        return "Moodle XML";
    case TBankFormat::Aiken:
        return "Aiken";
    case TBankFormat::Spreadsheet:
        return "tableur";
    }
    return "";
}

TImportedBank ReadQuestionBank(TBankFormat format, std::string_view bytes)
{
    switch (format) {
    case TBankFormat::Gift:
        return ReadGift(bytes);
    case TBankFormat::MoodleXml:
        return ReadMoodleXml(bytes);
    case TBankFormat::Aiken:
        return ReadAiken(bytes);
    case TBankFormat::Spreadsheet:
        return ReadSpreadsheetCsv(bytes);
    }
    return {};
}

TImportedBank ReadQuestionBankFile(TBankFormat format, const std::string& path)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (!error && size > kMaxBankFileBytes)
        throw ImportError("Le fichier fait plus de " + std::to_string(kMaxBankFileBytes >> 20)
            + " Mo, la plus grande taille qu'une importation lit. Rien n'a \xE9t\xE9 import\xE9.");
    return ReadQuestionBank(format, ReadWholeFile(path));
}

namespace {

bool HoldsBytes(const std::string& path, const std::string& bytes)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || std::filesystem::file_size(path, error) != bytes.size())
        return false;
    return ReadWholeFile(path) == bytes;
}

void Rename(TQuest& quest, const std::string& from, const std::string& to)
{
    const auto renameIn = [&](std::string& text) {
        for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
    };
    renameIn(quest.QText);
    for (std::string& choice : quest.Reps)
        renameIn(choice);
    for (std::string& message : quest.Mess)
        renameIn(message);
}

} // namespace

void PlacePictures(TImportedBank& bank, const std::string& folder)
{
    for (TImportedPicture& picture : bank.Pictures) {
        const std::string original = picture.Name;
        const std::size_t point = original.rfind('.');
        const std::string stem = point == std::string::npos || point == 0 ? original : original.substr(0, point);
        const std::string extension = stem.size() == original.size() ? "" : original.substr(point);
        std::error_code error;
        for (int k = 2; std::filesystem::exists(folder + picture.Name, error); ++k) {
            if (HoldsBytes(folder + picture.Name, picture.Bytes))
                break;
            picture.Name = stem + "-" + std::to_string(k) + extension;
        }
        if (!std::filesystem::exists(folder + picture.Name, error))
            WriteFileAtomically(folder + picture.Name, picture.Bytes, Durability::Durable);
        if (picture.Name == original)
            continue;
        const std::string from = "SRC=\"" + PictureSource(original) + "\"";
        const std::string to = "SRC=\"" + PictureSource(picture.Name) + "\"";
        for (TQuest& quest : bank.Quests)
            Rename(quest, from, to);
    }
}

} // namespace tavimor
