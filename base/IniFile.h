// An INI text file with the semantics of the Windows profile-string routines:
// values are kept verbatim (no quoting, no escaping, ";" kept), section and
// key names match without regard to case, the first matching key wins, and
// writing a key replaces it in place or appends it at the end of its section.
#pragma once

#include <string>
#include <vector>

namespace tavimor {

class TIniFile {
public:
    TIniFile() = default;
    // Reads the file at path; a missing or unreadable file gives an empty INI.
    static TIniFile Load(const std::string& path);
    // Lines may end with LF or CR LF; lines before the first section are kept
    // but hold no keys. Of two sections with the same name the first is used.
    static TIniFile Parse(const std::string& text);

    std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) const;
    // A value that is not a whole number gives fallback.
    int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
    // True for any non-zero integer.
    bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;
    bool HasKey(const std::string& section, const std::string& key) const;

    // Replaces the value of the first matching key in place; a new key goes
    // after the last non-blank line of its section, a new section at the end.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // The INI text, CR LF line ends.
    std::string Text() const;
    // Replaces the file at path with Text() (never half-written);
    // "Unable to write to %s" (IniWriteError) on failure.
    void Save(const std::string& path) const;

private:
    // One line of the file. Key lines are rewritten when their value changes;
    // every other line (comments, blanks, text without "=") is kept as read.
    struct Line {
        std::string text;
        bool isEntry = false;
        std::string key; // trimmed, spelled as in the file
        std::string value;
    };
    struct Section {
        std::string header; // the "[...]" line as read or written
        std::string name; // the name inside the brackets, trimmed
        std::vector<Line> lines;
    };

    const Line* FindEntry(const std::string& section, const std::string& key) const;
    Line* FindEntry(const std::string& section, const std::string& key);
    Section* FindSection(const std::string& section);
    const Section* FindSection(const std::string& section) const;

    std::vector<std::string> preamble_; // lines before the first section, kept as read
    std::vector<Section> sections_;
};

} // namespace tavimor
