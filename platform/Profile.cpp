// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Profile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "base/SafeWrite.h"
#include "base/WholeFile.h"
#include "base/XdgFolders.h"

namespace plc {

namespace {

// The lock of a profile file for one read-modify-write, so that two
// processes changing it at once do not lose each other's change. It is held
// on a lock file of its own beside the file, which no write replaces, so
// every writer locks the same file. Where that lock file cannot be made (a
// folder the user may not write, whose file is then written in place and
// keeps its identity), the file itself is locked.
class ProfileLock {
public:
    ProfileLock() = default;
    ProfileLock(const ProfileLock&) = delete;
    ProfileLock& operator=(const ProfileLock&) = delete;
    ~ProfileLock() {
        if (m_fd >= 0) ::close(m_fd);  // releases the lock
    }
    // False with errno set when neither can be locked. A file that is not
    // there yet in a folder that is not there either needs no lock.
    bool Take(const std::string& path) {
        const std::filesystem::path file(path);
        const std::filesystem::path folder = file.parent_path();
        const std::string lockName = (folder / ("." + file.filename().string() + ".lock")).string();
        m_fd = ::open(lockName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0666);
        if (m_fd < 0 && (errno == ENOENT || errno == ENOTDIR)) return true;
        if (m_fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS))
            m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
        if (m_fd < 0) return false;
        struct stat st {};
        if (::fstat(m_fd, &st) != 0) return false;
        if (!S_ISREG(st.st_mode)) {
            errno = EINVAL;
            return false;
        }
        while (::flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) return false;
        }
        return true;
    }

private:
    int m_fd = -1;
};

// Reads a profile file: true with its bytes, or with none when there is no
// file; false when it is there but cannot be read, or is no profile file.
bool ReadProfileFile(const std::string& path, std::string& data) {
    data.clear();
    const FileRead read = ReadWholeFile(path, data, {kMaxProfileBytes, false});
    if (read) return true;
    if (read.fault == FileRead::Fault::CannotOpen && (read.error == ENOENT || read.error == ENOTDIR)) {
        data.clear();
        return true;
    }
    return false;
}

}  // namespace

Profile::Profile(std::string path) : m_path(std::move(path)) {}

std::string EditorSettingsPath() {
    const std::string config = XdgFolder(XdgKind::Config);
    if (config.empty()) return std::string("./") + Profile::kEditorSettings;
    return config + "/plcedit/" + Profile::kEditorSettings;
}

std::string Profile::Path() const { return m_path.empty() ? EditorSettingsPath() : m_path; }

bool Profile::PrepareFolder() const {
    if (!m_path.empty()) return true;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(Path()).parent_path(), error);
    return !error;
}

std::string Profile::GetString(std::string_view section, std::string_view key,
                               std::string_view defaultValue) const {
    return Read().GetString(section, key, defaultValue);
}

int32_t Profile::GetInt(std::string_view section, std::string_view key, int32_t defaultValue) const {
    return Read().GetInt(section, key, defaultValue);
}

ProfileEntries Profile::Read() const {
    std::string data;
    if (!ReadProfileFile(Path(), data)) data.clear();
    return ProfileEntries(std::move(data));
}

bool Profile::Edit(const std::function<void(ProfileEntries&)>& change) const {
    // A file that exists but cannot be read is never replaced: its entries
    // would be lost.
    const std::string path = Path();
    // Nothing is created beside what is no profile file (a device, say).
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return false;
    std::string data;
    ProfileLock lock;
    if (!PrepareFolder() || !lock.Take(path) || !ReadProfileFile(path, data)) return false;
    ProfileEntries entries(std::move(data));
    change(entries);
    return !entries.Changed() || WriteFileSafely(path, entries.Data());
}

bool Profile::WriteString(std::string_view section, std::string_view key,
                          std::string_view value) const {
    const Entry entry{std::string(key), std::string(value)};
    return WriteStrings(section, std::span(&entry, 1));
}

bool Profile::WriteStrings(std::string_view section, std::span<const Entry> entries) const {
    return Edit([&](ProfileEntries& file) {
        for (const Entry& entry : entries) file.WriteString(section, entry.key, entry.value);
    });
}

bool Profile::WriteInt(std::string_view section, std::string_view key, int32_t value) const {
    return WriteString(section, key, std::to_string(value));
}

bool Profile::DeleteKey(std::string_view section, std::string_view key) const {
    return Edit([&](ProfileEntries& file) { file.DeleteKey(section, key); });
}

}  // namespace plc
