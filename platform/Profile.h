// Private profile files ("[Section]" and "Key=Value" lines) with the
// semantics the editor's settings rely on:
//   - section and key names compare without regard to ASCII case;
//   - names and values are read without surrounding blanks and tabs, and a
//     value enclosed in a matching pair of ' or " loses the pair;
//   - the first section of a name and its first key of a name count;
//   - a missing file, section or key, and an empty value, give the default;
//   - integers read as an optional sign and the decimal digits that follow;
//     a value without digits reads as 0;
//   - writing replaces the value of an existing key (keeping the key's own
//     spelling), adds a missing key at the end of its section and a missing
//     section at the end of the file, and keeps every other line as it was;
//   - the file is read at every access from the path as given, so a relative
//     path follows the process's current directory.
// Files are written safely (temporary file, checked writes, rename).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plc {

class Profile {
public:
    // The editor's settings file in the current directory.
    static constexpr const char* kEditorSettings = "./PlcEdit.ini";

    explicit Profile(std::string path = kEditorSettings);

    const std::string& Path() const { return m_path; }

    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const;
    int32_t GetInt(std::string_view section, std::string_view key, int32_t defaultValue) const;

    // False when the file cannot be written; it is then unchanged.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value) const;
    bool WriteInt(std::string_view section, std::string_view key, int32_t value) const;
    // Removes the key; a section left without any non-blank line goes too,
    // with the blank lines that separate it from its neighbours. True when
    // the key is gone (also when it was never there); false when the file
    // cannot be read or written, and it is then unchanged.
    bool DeleteKey(std::string_view section, std::string_view key) const;

private:
    std::string m_path;
};

}  // namespace plc
