// SPDX-License-Identifier: GPL-3.0-or-later
// Private profile files ("[Section]" and "Key=Value" lines) as files: the
// editor's settings file, or any file given by its path. What an access
// reads and writes of the entries is ProfileEntries' (ProfileEntries.h);
// here is how the file is reached:
//   - the file is read at every access from the path as given, so a relative
//     path follows the process's current directory;
//   - a missing file gives every default, as an empty one does.
// Files are written safely (temporary file, checked writes, rename). A file
// that exists but cannot be read is never written (its entries would be
// lost), and only a regular file of at most kMaxProfileBytes is read at all.
// Each read-modify-write holds an advisory lock (flock) on a lock file of
// its own beside the file, ".<name>.lock", which is never replaced, so that
// concurrent writers wait for each other and lose nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "platform/ProfileEntries.h"

namespace plc {

// A settings or registry file larger than this is no such file.
inline constexpr size_t kMaxProfileBytes = size_t{1} << 20;

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
