// SPDX-License-Identifier: GPL-3.0-or-later
// The entries of a private profile file ("[Section]" and "Key=Value"
// lines) in memory, with the semantics the editor's settings rely on:
//   - section and key names compare without regard to ASCII case;
//   - names and values are read without surrounding blanks and tabs, and a
//     value enclosed in a matching pair of ' or " loses the pair;
//   - the first section of a name and its first key of a name count;
//   - a missing section or key, and an empty value, give the default;
//   - integers read as an optional sign and the decimal digits that follow;
//     a value without digits reads as 0;
//   - writing replaces the value of an existing key (keeping the key's own
//     spelling), adds a missing key at the end of its section and a missing
//     section at the end of the file, and keeps every other line as it was;
//   - a line ends at CR LF, at a bare LF or at a lone CR; lines a write adds
//     end as the file's first line does (CR LF in a new file).
// The file itself, its lock and its safe writing are Profile's (Profile.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace plc {

// The entries of a profile file in memory: read, changed and handed back
// to Profile::Edit to be written once.
class ProfileEntries {
public:
    ProfileEntries() = default;
    explicit ProfileEntries(std::string data) : m_data(std::move(data)) {}

    std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    int32_t GetInt(std::string_view section, std::string_view key, int32_t defaultValue) const;
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    // Removes every copy of the key, in every section of that name; a
    // section left without any non-blank line goes too, with the blank lines
    // that separate it from its neighbours.
    void DeleteKey(std::string_view section, std::string_view key);

    const std::string& Data() const { return m_data; }
    bool Changed() const { return m_changed; }

private:
    std::string m_data;
    bool m_changed = false;
};

}  // namespace plc
