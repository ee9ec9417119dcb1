// Shared pieces of the page-set and exam tests: a temporary folder, a stand-in
// image source, file reading and a document builder.
#pragma once

#include "common/temp_folder.h"
#include "generator/GifSource.h"
#include "model/DocumentFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace site_test {

namespace fs = std::filesystem;

using tavimor::test::ReadBytes;
using tavimor::test::TempFolder;
using tavimor::test::WriteBytes;

// Every regular file under root, as paths relative to root, sorted.
inline std::vector<std::string> FilesUnder(const fs::path& root)
{
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files.push_back(fs::relative(entry.path(), root).string());
    std::sort(files.begin(), files.end());
    return files;
}

// Images whose bytes name them ("image:KWZ"), so a test can tell where a
// copied file came from. Found without regard to case, as the real source.
class NamedGifs final : public tavimor::GifSource {
public:
    static std::string BytesOf(const std::string& name) { return "image:" + name; }

    std::optional<std::string_view> Find(std::string_view name) const override
    {
        std::string key(name);
        std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
        static const std::map<std::string, std::string> images = [] {
            std::map<std::string, std::string> all;
            for (const char* n : {"KWZ", "bGreen", "navBtn", "Eval", "bRes", "nImg", "gImg", "bImg", "bYellow"}) {
                std::string lower(n);
                std::transform(
                    lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
                all[lower] = BytesOf(n);
            }
            return all;
        }();
        const auto found = images.find(key);
        if (found == images.end())
            return std::nullopt;
        return std::string_view(found->second);
    }
};

struct QuestSpec {
    tavimor::TRepType type = tavimor::TRepType::rKWZ;
    std::string text;
    std::vector<std::string> reps;
    int goodRep = -1;
    int columns = 1;
};

inline void AddQuestion(tavimor::TQuizDocument& doc, const QuestSpec& spec)
{
    doc.Quests.AddQuest();
    tavimor::TQuest& q = doc.Quests.Quest(doc.Quests.Count());
    q.QType = spec.type;
    q.QText = spec.text;
    q.Reps = spec.reps;
    q.NRep = static_cast<std::uint16_t>(spec.reps.size());
    q.GoodRep = spec.goodRep;
    q.Columns = static_cast<std::uint16_t>(spec.columns);
}

// n standard questions "Question k" with the choices "a" and "b".
inline void AddSimpleQuestions(tavimor::TQuizDocument& doc, int n)
{
    for (int k = 1; k <= n; ++k)
        AddQuestion(doc, {tavimor::TRepType::rKWZ, "Question " + std::to_string(k), {"a", "b"}, 0, 1});
}

} // namespace site_test
