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
    static TIniFile Parse(const std::string& text);

    std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) const;
    // A value that is not a whole number gives fallback.
    int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
    // True for any non-zero integer.
    bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;
    bool HasKey(const std::string& section, const std::string& key) const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // The INI text, CR LF line ends.
    std::string Text() const;
    // Writes Text() to path; "Unable to write to %s" on failure.
    void Save(const std::string& path) const;

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        std::vector<std::string> otherLines; // comments and blank lines kept as read
    };
    std::vector<Section> sections_;
};

} // namespace tavimor
