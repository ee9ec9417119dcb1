#include "base/IniFile.h"

#include "base/Errors.h"
#include "base/FileIo.h"
#include "base/TextHelpers.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <utility>

namespace tavimor {

namespace {

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

bool IsBlankLine(std::string_view line)
{
    return TrimBlanks(line).empty();
}

// The lines of text, split at LF with one CR before it dropped; a final line
// break adds no empty line.
std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string::npos ? text.size() : end + 1;
        if (end == std::string::npos)
            end = text.size();
        if (end > start && text[end - 1] == '\r')
            --end;
        lines.push_back(text.substr(start, end - start));
        start = next;
    }
    return lines;
}

} // namespace

TIniFile TIniFile::Load(const std::string& path)
{
    std::string text;
    try {
        text = ReadWholeFile(path);
    } catch (const FileOpenError&) {
        return {};
    }
    return Parse(text);
}

TIniFile TIniFile::Parse(const std::string& text)
{
    TIniFile ini;
    for (std::string& raw : SplitLines(text)) {
        const std::string trimmed = TrimBlanks(raw);
        if (!trimmed.empty() && trimmed.front() == '[') {
            const std::size_t close = trimmed.find(']');
            Section section;
            section.name = TrimBlanks(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            section.header = std::move(raw);
            ini.sections_.push_back(std::move(section));
            continue;
        }
        Line line;
        const std::size_t equals = raw.find('=');
        if (equals != std::string::npos && trimmed.front() != ';') {
            line.isEntry = true;
            line.key = TrimBlanks(std::string_view(raw).substr(0, equals));
            line.value = raw.substr(equals + 1);
        }
        line.text = std::move(raw);
        if (ini.sections_.empty())
            ini.preamble_.push_back(std::move(line.text));
        else
            ini.sections_.back().lines.push_back(std::move(line));
    }
    return ini;
}

const TIniFile::Section* TIniFile::FindSection(const std::string& section) const
{
    const std::string wanted = TrimBlanks(section);
    for (const Section& candidate : sections_)
        if (SameName(candidate.name, wanted))
            return &candidate;
    return nullptr;
}

TIniFile::Section* TIniFile::FindSection(const std::string& section)
{
    return const_cast<Section*>(std::as_const(*this).FindSection(section));
}

const TIniFile::Line* TIniFile::FindEntry(const std::string& section, const std::string& key) const
{
    const Section* found = FindSection(section);
    if (found == nullptr)
        return nullptr;
    const std::string wanted = TrimBlanks(key);
    for (const Line& line : found->lines)
        if (line.isEntry && SameName(line.key, wanted))
            return &line;
    return nullptr;
}

TIniFile::Line* TIniFile::FindEntry(const std::string& section, const std::string& key)
{
    return const_cast<Line*>(std::as_const(*this).FindEntry(section, key));
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& fallback) const
{
    const Line* entry = FindEntry(section, key);
    return entry != nullptr ? entry->value : fallback;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int fallback) const
{
    const Line* entry = FindEntry(section, key);
    if (entry == nullptr)
        return fallback;
    return TryParseInteger(entry->value).value_or(fallback);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

bool TIniFile::HasKey(const std::string& section, const std::string& key) const
{
    return FindEntry(section, key) != nullptr;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    const std::string keyName = TrimBlanks(key);
    if (Line* existing = FindEntry(section, keyName)) {
        existing->value = value;
        existing->text = existing->key + "=" + value;
        return;
    }

    Section* target = FindSection(section);
    if (target == nullptr) {
        // A blank line sets the new section apart from what comes before it.
        const std::string* lastLine = nullptr;
        if (!sections_.empty())
            lastLine = sections_.back().lines.empty() ? &sections_.back().header : &sections_.back().lines.back().text;
        else if (!preamble_.empty())
            lastLine = &preamble_.back();
        if (lastLine != nullptr && !IsBlankLine(*lastLine)) {
            if (sections_.empty())
                preamble_.emplace_back();
            else
                sections_.back().lines.push_back(Line {});
        }
        Section added;
        added.name = TrimBlanks(section);
        added.header = "[" + added.name + "]";
        sections_.push_back(std::move(added));
        target = &sections_.back();
    }

    // After the section's last non-blank line, so that blank lines that set
    // it apart from the next section stay at its end.
    auto insertAt = target->lines.end();
    while (insertAt != target->lines.begin() && IsBlankLine(std::prev(insertAt)->text))
        --insertAt;
    Line line;
    line.isEntry = true;
    line.key = keyName;
    line.value = value;
    line.text = keyName + "=" + value;
    target->lines.insert(insertAt, std::move(line));
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

std::string TIniFile::Text() const
{
    std::string text;
    const auto append = [&text](const std::string& line) {
        text += line;
        text += "\r\n";
    };
    for (const std::string& line : preamble_)
        append(line);
    for (const Section& section : sections_) {
        append(section.header);
        for (const Line& line : section.lines)
            append(line.text);
    }
    return text;
}

void TIniFile::Save(const std::string& path) const
{
    try {
        // An INI file holds the settings or a style-preference file: the
        // user's own choices, which nothing can make again.
        WriteFileAtomically(path, Text(), Durability::Durable);
    } catch (const Error&) {
        throw IniWriteError(path);
    }
}

} // namespace tavimor
