// SPDX-License-Identifier: GPL-3.0-or-later
// Safe file replacement and path composition (standard library and POSIX).
#include "base/SafeWrite.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "base/PathParts.h"
#include "base/WholeFile.h"
#include "base/XdgFolders.h"

namespace plc {

namespace {

constexpr std::string_view kTemporaryMark = ".tmp-";

std::string Reason(std::string_view what, int err) {
    return std::string(what) + ": " + std::strerror(err);
}

// The folder and the name of a file as the file system reads its path,
// where only "/" separates (a target is written by the name it has, not
// read as a name that comes in: PathParts.h is for those).
std::string ParentFolder(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

std::string EntryName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// Makes a rename, a link or a removal in `folder` durable; a failure here
// cannot undo it, so it is not reported.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Writes all of `bytes` at `offset`; false with errno set on failure.
bool WriteAllAt(int fd, std::string_view bytes, off_t offset) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::pwrite(fd, p, left, offset);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        p += n;
        offset += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

// The name a temporary file of `target` takes: "<target>.tmp-<pid>-<n>".
std::string TemporaryName(const std::string& target) {
    static unsigned counter = 0;
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, "%.*s%ld-%u", static_cast<int>(kTemporaryMark.size()), kTemporaryMark.data(),
                  static_cast<long>(::getpid()), counter++);
    return target + suffix;
}

// The process id in a temporary file's name "<name>.tmp-<pid>-<n>" of the
// target `name`; 0 when `entry` is no such name.
pid_t TemporaryOwner(std::string_view entry, std::string_view name) {
    if (entry.size() <= name.size() + kTemporaryMark.size() || !entry.starts_with(name)) return 0;
    entry.remove_prefix(name.size());
    if (!entry.starts_with(kTemporaryMark)) return 0;
    entry.remove_prefix(kTemporaryMark.size());
    long pid = 0;
    size_t i = 0;
    for (; i < entry.size() && entry[i] >= '0' && entry[i] <= '9' && pid < 1L << 30; ++i) pid = pid * 10 + (entry[i] - '0');
    if (i == 0 || i + 1 >= entry.size() || entry[i] != '-') return 0;
    for (size_t k = i + 1; k < entry.size(); ++k)
        if (entry[k] < '0' || entry[k] > '9') return 0;
    return static_cast<pid_t>(pid);
}

// Removes the temporary files of `target` that writers left when they were
// killed: those whose process is gone.
void RemoveLeftTemporaries(const std::string& target) {
    const std::string folder = ParentFolder(target);
    const std::string name = EntryName(target);
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    bool removed = false;
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t owner = TemporaryOwner(entry->d_name, name);
        if (owner <= 0 || owner == ::getpid()) continue;
        if (::kill(owner, 0) == 0 || errno != ESRCH) continue;  // alive, or not ours to know
        removed = ::unlinkat(::dirfd(dir), entry->d_name, 0) == 0 || removed;
    }
    ::closedir(dir);
    if (removed) SyncFolder(folder);
}

// Opens an unnamed file in `folder` (O_TMPFILE): a kill while it is written
// leaves nothing behind. -1 with errno set when the file system cannot.
int OpenUnnamed(const std::string& folder) {
    // Without /proc the file could not be given a name afterwards.
    static const bool procFd = ::access("/proc/self/fd", X_OK) == 0;
    if (!procFd) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
}

// Opens a new named temporary file beside `target`. O_EXCL makes the name
// ours; mode 0666 lets the umask decide the permissions of a new file.
int OpenNamed(const std::string& target, std::string& tmpName) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        tmpName = TemporaryName(target);
        const int fd = ::open(tmpName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// A name for the unnamed file `fd`: the target itself when `direct` (it does
// not exist, and must not meanwhile), else a temporary name beside it.
bool LinkUnnamed(int fd, const std::string& target, bool direct, std::string& linked) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (direct) {
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            linked = target;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        linked = TemporaryName(target);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, linked.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
        if (errno != EEXIST) return false;
    }
    errno = EEXIST;
    return false;
}

uint64_t Fnv1a(std::string_view text) {
    uint64_t h = 14695981039346656037u;
    for (const char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211u;
    }
    return h;
}

// The full name of the file `path` stands for, links followed where they
// lead somewhere.
std::string ResolvedName(const std::string& path) {
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        std::string name = resolved;
        std::free(resolved);
        return name;
    }
    return FullPath(path);
}

std::string BackupFolder() {
    const std::string state = XdgFolder(XdgKind::State);
    return state.empty() ? std::string() : state + "/plcedit/backup";
}

std::string BackupPathOfResolved(const std::string& resolved) {
    const std::string folder = BackupFolder();
    if (folder.empty()) return {};
    char hash[24];
    std::snprintf(hash, sizeof hash, ".%016" PRIx64 ".bak", Fnv1a(resolved));
    // The name stays well inside the file system's limit of 255 bytes.
    return folder + "/" + EntryName(resolved).substr(0, 200) + hash;
}

// The file a write goes to: links followed, what it is now.
struct Target {
    std::string path;
    bool exists = false;
    struct stat st {};
};

bool ResolveTarget(const std::string& path, Target& target, std::string& why) {
    if (path.empty()) {
        why = "empty file name";
        return false;
    }
    // Replace the file a symbolic link names, not the link; a link that leads
    // nowhere (dangling, or a loop) is refused rather than replaced by a file.
    target.path = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return true;  // a new file (or a folder that fails later)
    if (S_ISLNK(st.st_mode)) {
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (resolved == nullptr) {
            why = Reason("cannot follow the symbolic link", errno);
            return false;
        }
        target.path = resolved;
        std::free(resolved);
    }
    if (::stat(target.path.c_str(), &target.st) != 0) {
        why = Reason("cannot examine the file", errno);
        return false;
    }
    target.exists = true;
    if (S_ISDIR(target.st.st_mode)) {
        why = "is a folder, not a file";
        return false;
    }
    if (!S_ISREG(target.st.st_mode)) {
        FileRead kind;
        kind.fault = FileRead::Fault::NotRegular;
        kind.mode = target.st.st_mode;
        why = kind.Reason();
        return false;
    }
    // An existing file the user may not write is refused, as an editor does.
    if (::faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0) {
        why = Reason("cannot write", errno);
        return false;
    }
    return true;
}

// One file written in two steps: Prepare puts the complete new bytes on
// disk under a temporary name (or, for an in-place write, a complete copy of
// the old bytes in the backup folder); Commit lets them take the target's
// place. A prepared file that is never committed leaves nothing behind.
class PreparedFile {
public:
    PreparedFile() = default;
    PreparedFile(const PreparedFile&) = delete;
    PreparedFile& operator=(const PreparedFile&) = delete;
    PreparedFile(PreparedFile&& other) noexcept { *this = std::move(other); }
    PreparedFile& operator=(PreparedFile&& other) noexcept {
        std::swap(m_target, other.m_target);
        std::swap(m_kind, other.m_kind);
        std::swap(m_fd, other.m_fd);
        std::swap(m_written, other.m_written);
        std::swap(m_tmpName, other.m_tmpName);
        std::swap(m_bytes, other.m_bytes);
        std::swap(m_old, other.m_old);
        std::swap(m_backup, other.m_backup);
        return *this;
    }
    ~PreparedFile() { Abandon(); }

    // `asBackup`: the file is itself a backup copy, which is never written
    // in place.
    bool Prepare(const std::string& path, std::string_view bytes, bool asBackup, std::string& why) {
        return Begin(path, asBackup, why) && Append(bytes, why) && Finish(why);
    }
    bool Commit(std::string& why);

    // Prepare in steps, for bytes that come in pieces: Begin makes the
    // temporary file (or, for an in-place write, the copy of the old
    // bytes), Append adds bytes to the new ones, Finish puts them on disk.
    bool Begin(const std::string& path, bool asBackup, std::string& why);
    bool Append(std::string_view bytes, std::string& why);
    bool Finish(std::string& why);
    const std::string& TargetPath() const { return m_target.path; }

private:
    enum class Kind { None, Unnamed, Named, InPlace };

    bool PrepareInPlace(std::string& why);
    bool CommitInPlace(std::string& why);
    void Abandon();
    void Close() {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = -1;
    }

    Target m_target;
    Kind m_kind = Kind::None;
    int m_fd = -1;
    off_t m_written = 0;    // bytes in the temporary file
    std::string m_tmpName;  // a named temporary file
    std::string m_bytes;    // the new bytes of an in-place write
    std::string m_old;      // the old bytes of an in-place write
    std::string m_backup;   // the copy of the old bytes
};

void PreparedFile::Abandon() {
    Close();
    if (m_kind == Kind::Named) ::unlink(m_tmpName.c_str());
    m_kind = Kind::None;
}

bool PreparedFile::Begin(const std::string& path, bool asBackup, std::string& why) {
    if (!ResolveTarget(path, m_target, why)) return false;
    RemoveLeftTemporaries(m_target.path);
    const std::string folder = ParentFolder(m_target.path);

    m_fd = OpenUnnamed(folder);
    m_kind = Kind::Unnamed;
    if (m_fd < 0 && errno != EACCES && errno != EPERM) {
        m_fd = OpenNamed(m_target.path, m_tmpName);
        m_kind = Kind::Named;
    }
    if (m_fd < 0) {
        const int err = errno;
        m_kind = Kind::None;
        // A folder the user cannot write, but a file the user can: in place.
        if (m_target.exists && !asBackup && (err == EACCES || err == EPERM)) return PrepareInPlace(why);
        why = Reason("cannot create a temporary file", err);
        return false;
    }

    if (m_target.exists) {
        // The replacement keeps the owner, the group and the mode. When it
        // cannot be given the old owner or group, the old file is written in
        // place instead of changing hands.
        struct stat made {};
        if (::fstat(m_fd, &made) != 0) {
            why = Reason("cannot examine the temporary file", errno);
            return false;
        }
        if ((made.st_uid != m_target.st.st_uid || made.st_gid != m_target.st.st_gid) &&
            ::fchown(m_fd, m_target.st.st_uid, m_target.st.st_gid) != 0) {
            Abandon();
            if (asBackup) {
                why = "cannot give the copy its owner";
                return false;
            }
            return PrepareInPlace(why);
        }
        if (::fchmod(m_fd, m_target.st.st_mode & 07777) != 0) {
            why = Reason("cannot set permissions", errno);
            return false;
        }
    }
    m_written = 0;
    return true;
}

bool PreparedFile::Append(std::string_view bytes, std::string& why) {
    if (m_kind == Kind::InPlace) {
        m_bytes.append(bytes);  // written at Commit
        return true;
    }
    if (!WriteAllAt(m_fd, bytes, m_written)) {
        why = Reason("write failed", errno);
        return false;
    }
    m_written += static_cast<off_t>(bytes.size());
    return true;
}

bool PreparedFile::Finish(std::string& why) {
    if (m_kind == Kind::InPlace) return true;  // written at Commit
    if (::fsync(m_fd) != 0) {
        why = Reason("flush to disk failed", errno);
        return false;
    }
    if (m_kind == Kind::Named) {
        const int closed = ::close(m_fd);
        m_fd = -1;
        if (closed != 0) {
            why = Reason("close failed", errno);
            return false;
        }
    }
    return true;
}

bool PreparedFile::Commit(std::string& why) {
    if (m_kind == Kind::InPlace) return CommitInPlace(why);
    if (m_kind == Kind::Unnamed) {
        std::string linked;
        const bool ok = LinkUnnamed(m_fd, m_target.path, !m_target.exists, linked);
        const int err = errno;
        const int closed = ::close(m_fd);
        m_fd = -1;
        if (!ok) {
            m_kind = Kind::None;
            why = Reason("cannot name the new file", err);
            return false;
        }
        if (linked == m_target.path) {
            m_kind = Kind::None;
            SyncFolder(ParentFolder(m_target.path));
            if (closed != 0) {
                why = Reason("close failed", errno);
                ::unlink(m_target.path.c_str());
                return false;
            }
            return true;
        }
        m_tmpName = linked;
        m_kind = Kind::Named;
        if (closed != 0) {
            why = Reason("close failed", errno);
            return false;
        }
    }
    if (::rename(m_tmpName.c_str(), m_target.path.c_str()) != 0) {
        why = Reason("rename failed", errno);
        return false;
    }
    m_kind = Kind::None;
    SyncFolder(ParentFolder(m_target.path));
    return true;
}

bool PreparedFile::PrepareInPlace(std::string& why) {
    m_fd = ::open(m_target.path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (m_fd < 0) {
        why = Reason("cannot open for writing", errno);
        return false;
    }
    m_kind = Kind::InPlace;
    const FileRead read = ReadWholeDescriptor(m_fd, m_old);
    if (!read) {
        why = "cannot read the old contents: " + read.Reason();
        return false;
    }
    // Only a complete copy of the old bytes, on disk, makes the write safe;
    // without one nothing is changed.
    m_backup = BackupPathOfResolved(ResolvedName(m_target.path));
    if (m_backup.empty()) {
        why = "cannot keep a copy of the old file for writing it in place (no folder for it); "
              "the file was not changed";
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(ParentFolder(m_backup), ec);
    std::filesystem::permissions(ParentFolder(m_backup), std::filesystem::perms::owner_all, ec);
    std::string backupWhy;
    PreparedFile backup;
    if (!backup.Prepare(m_backup, m_old, true, backupWhy) || !backup.Commit(backupWhy)) {
        why = "cannot keep a copy of the old file in " + m_backup + " (" + backupWhy +
              ") for writing it in place; the file was not changed";
        return false;
    }
    m_bytes.clear();
    return true;
}

bool PreparedFile::CommitInPlace(std::string& why) {
    m_kind = Kind::None;
    bool ok = WriteAllAt(m_fd, m_bytes, 0);
    if (!ok) why = Reason("write failed", errno);
    if (ok && ::ftruncate(m_fd, static_cast<off_t>(m_bytes.size())) != 0) {
        why = Reason("cannot set the file size", errno);
        ok = false;
    }
    if (ok && ::fsync(m_fd) != 0) {
        why = Reason("flush to disk failed", errno);
        ok = false;
    }
    if (!ok) {
        // Put the old bytes back; they fit in the blocks they occupied.
        const bool restored = WriteAllAt(m_fd, m_old, 0) &&
                              ::ftruncate(m_fd, static_cast<off_t>(m_old.size())) == 0 && ::fsync(m_fd) == 0;
        Close();
        if (restored) {
            // The file is as it was: the copy has nothing left to save.
            why += "; the old contents were put back";
            ::unlink(m_backup.c_str());
            SyncFolder(ParentFolder(m_backup));
        } else {
            why += "; the file may be damaged: its complete old contents are in " + m_backup;
        }
        return false;
    }
    const int closed = ::close(m_fd);
    m_fd = -1;
    if (closed != 0) {
        why = Reason("close failed", errno) + "; the complete old contents are in " + m_backup;
        return false;
    }
    // The new bytes are on disk: the copy has served.
    ::unlink(m_backup.c_str());
    SyncFolder(ParentFolder(m_backup));
    return true;
}

// A copy left by an earlier in-place write of `target` is out of date once
// the target has been written whole.
void RemoveLeftBackup(const std::string& target) {
    const std::string backup = BackupPathOfResolved(ResolvedName(target));
    if (!backup.empty() && ::unlink(backup.c_str()) == 0) SyncFolder(ParentFolder(backup));
}

}  // namespace

bool WriteFilesSafely(std::span<const FileToWrite> files, std::string* error, size_t* failed) {
    auto fail = [&](size_t index, std::string why) {
        if (error != nullptr) *error = std::move(why);
        if (failed != nullptr) *failed = index;
        return false;
    };
    std::vector<PreparedFile> prepared(files.size());
    std::string why;
    for (size_t i = 0; i < files.size(); ++i)
        if (!prepared[i].Prepare(files[i].path, files[i].bytes, false, why)) return fail(i, why);
    for (size_t i = 0; i < files.size(); ++i) {
        if (!prepared[i].Commit(why)) return fail(i, why);
        RemoveLeftBackup(files[i].path);
    }
    return true;
}

bool WriteFileSafely(const std::string& path, std::string_view bytes, std::string* error) {
    const FileToWrite file{path, bytes};
    return WriteFilesSafely(std::span(&file, 1), error);
}

// The prepared file behind an open stream; the stream hands its buffered
// bytes to it, and the first failure stays for Commit to report.
struct SafeFileStream::Pending {
    PreparedFile file;
    std::FILE* stream = nullptr;
    std::string failure;

    static ssize_t Write(void* cookie, const char* bytes, size_t size) {
        auto* open = static_cast<Pending*>(cookie);
        if (!open->failure.empty()) return -1;
        if (!open->file.Append(std::string_view(bytes, size), open->failure)) return -1;
        return static_cast<ssize_t>(size);
    }
};

SafeFileStream::SafeFileStream() = default;

SafeFileStream::~SafeFileStream() {
    if (m_open && m_open->stream != nullptr) std::fclose(m_open->stream);
}

bool SafeFileStream::Open(const std::string& path, std::string* error) {
    auto open = std::make_unique<Pending>();
    std::string why;
    if (!open->file.Begin(path, false, why)) {
        if (error != nullptr) *error = why;
        return false;
    }
    cookie_io_functions_t io{};
    io.write = &Pending::Write;
    open->stream = ::fopencookie(open.get(), "w", io);
    if (open->stream == nullptr) {
        if (error != nullptr) *error = Reason("cannot open a stream", errno);
        return false;
    }
    if (m_open && m_open->stream != nullptr) std::fclose(m_open->stream);
    m_open = std::move(open);
    return true;
}

std::FILE* SafeFileStream::Stream() const { return m_open ? m_open->stream : nullptr; }

bool SafeFileStream::Commit(std::string* error) {
    std::string why = "the file was not opened";
    if (m_open && m_open->stream != nullptr) {
        const bool flushed = std::fflush(m_open->stream) == 0 && !std::ferror(m_open->stream);
        std::fclose(m_open->stream);
        m_open->stream = nullptr;
        why = !m_open->failure.empty() ? m_open->failure : flushed ? std::string() : "write failed";
        if (why.empty() && m_open->file.Finish(why) && m_open->file.Commit(why)) {
            RemoveLeftBackup(m_open->file.TargetPath());
            m_open.reset();
            return true;
        }
    }
    m_open.reset();
    if (error != nullptr) *error = why;
    return false;
}

std::string InPlaceBackupPath(const std::string& path) { return BackupPathOfResolved(ResolvedName(path)); }

std::string LeftBackupOf(const std::string& path) {
    const std::string backup = InPlaceBackupPath(path);
    struct stat st {};
    return !backup.empty() && ::stat(backup.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? backup : std::string();
}

std::string NormalizeSeparators(std::string_view path) {
    std::string out(path);
    for (char& c : out) {
        if (c == '\\') c = '/';
    }
    return out;
}

std::string JoinPath(std::string_view directory, std::string_view name) {
    std::string out(directory);
    if (!out.empty() && !IsPathSeparator(out.back())) out += '/';
    out += name;
    return NormalizeSeparators(out);
}

std::string FullPath(std::string_view path) {
    const std::string normal = NormalizeSeparators(path);
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(normal, ec);
    if (ec) return normal;
    return absolute.lexically_normal().string();
}

bool FileExists(const std::string& path) {
    // By name, not by opening it: opening a FIFO would wait for a writer.
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && ::access(path.c_str(), R_OK) == 0;
}

}  // namespace plc
