// SPDX-License-Identifier: GPL-3.0-or-later
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
//   - a line ends at CR LF, at a bare LF or at a lone CR; lines a write adds
//     end as the file's first line does (CR LF in a new file);
//   - the file is read at every access from the path as given, so a relative
//     path follows the process's current directory.
// Files are written safely (temporary file, checked writes, rename). A file
// that exists but cannot be read is never written (its entries would be
// lost), and only a regular file of at most kMaxProfileBytes is read at all.
// Each read-modify-write holds an advisory lock (flock) on a lock file of
// its own beside the file, ".<name>.lock", which is never replaced, so that
// concurrent writers wait for each other and lose nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace plc {

// A settings or registry file larger than this is no such file.
inline constexpr size_t kMaxProfileBytes = size_t{1} << 20;

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

class Profile {
public:
    // The editor's settings file name.
    static constexpr const char* kEditorSettings = "PlcEdit.ini";

    // Without a path: the editor's settings, $XDG_CONFIG_HOME/plcedit/PlcEdit.ini
    // (else ~/.config/plcedit/, the user's configuration folder, as Qt's
    // generic config location names it), found anew at every access; its
    // folder is made when a value is written.
    explicit Profile(std::string path = {});

    // The file the next access uses.
    std::string Path() const;

    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const;
    int32_t GetInt(std::string_view section, std::string_view key, int32_t defaultValue) const;

    // False when the file cannot be written; it is then unchanged.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value) const;
    bool WriteInt(std::string_view section, std::string_view key, int32_t value) const;
    // Several keys of one section in one write of the file (one lock, one
    // rename), in order; false when the file cannot be written, and it is
    // then unchanged.
    struct Entry {
        std::string key;
        std::string value;
    };
    bool WriteStrings(std::string_view section, std::span<const Entry> entries) const;
    // Removes every copy of the key (see ProfileEntries::DeleteKey). True
    // when the key is gone (also when it was never there); false when the
    // file cannot be read or written, and it is then unchanged.
    bool DeleteKey(std::string_view section, std::string_view key) const;

    // The file's entries as they are now (no entries when it cannot be read).
    ProfileEntries Read() const;
    // One read-modify-write under the file's lock: `change` gets the entries
    // as they are and changes them; the file is written once afterwards when
    // anything changed. False when the file cannot be locked, read or
    // written; it is then unchanged.
    bool Edit(const std::function<void(ProfileEntries&)>& change) const;

private:
    bool PrepareFolder() const;

    std::string m_path;
};

// Where the editor's settings live now (see Profile()).
std::string EditorSettingsPath();

}  // namespace plc
