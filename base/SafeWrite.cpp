// Safe file replacement and path composition (standard library and POSIX).
#include "base/SafeWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace plc {

namespace {

std::string Reason(std::string_view what, int err) {
    return std::string(what) + ": " + std::strerror(err);
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Opens a new temporary file beside `target`. O_EXCL makes the name ours;
// mode 0666 lets the umask decide the permissions of a new file.
int OpenTemporary(const std::string& target, std::string& tmpName) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, ".tmp-%ld-%u", static_cast<long>(::getpid()), counter++);
        tmpName = target + suffix;
        const int fd = ::open(tmpName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// Makes the rename itself durable; a failure here cannot undo the rename, so
// it is not reported.
void SyncFolderOf(const std::string& target) {
    const std::filesystem::path folder = std::filesystem::path(target).parent_path();
    const std::string name = folder.empty() ? std::string(".") : folder.string();
    const int fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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

bool ReadAll(int fd, std::string& out) {
    char buffer[65536];
    off_t offset = 0;
    for (;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, offset);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return true;
        out.append(buffer, static_cast<size_t>(n));
        offset += n;
    }
}

// Overwrites the existing file `target` in place: used where no temporary file
// can take its place (a folder the user may not write, or an owner the new
// file could not be given). The old bytes are read first and written back
// when any step fails, so a failure still leaves the old contents.
bool WriteInPlace(const std::string& target, std::string_view bytes, std::string& why) {
    const int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        why = Reason("cannot open for writing", errno);
        return false;
    }
    std::string old;
    if (!ReadAll(fd, old)) {
        why = Reason("cannot read the old contents", errno);
        ::close(fd);
        return false;
    }
    bool ok = WriteAllAt(fd, bytes, 0);
    if (!ok) why = Reason("write failed", errno);
    if (ok && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) {
        why = Reason("cannot set the file size", errno);
        ok = false;
    }
    if (ok && ::fsync(fd) != 0) {
        why = Reason("flush to disk failed", errno);
        ok = false;
    }
    if (!ok) {
        // Put the old bytes back; they fit in the blocks they occupied.
        if (WriteAllAt(fd, old, 0)) {
            if (::ftruncate(fd, static_cast<off_t>(old.size())) == 0) ::fsync(fd);
        }
        ::close(fd);
        return false;
    }
    if (::close(fd) != 0) {
        why = Reason("close failed", errno);
        return false;
    }
    return true;
}

}  // namespace

bool WriteFileSafely(const std::string& path, std::string_view bytes, std::string* error) {
    auto fail = [error](std::string why) {
        if (error != nullptr) *error = std::move(why);
        return false;
    };
    if (path.empty()) return fail("empty file name");

    // Replace the file a symbolic link names, not the link; a link that leads
    // nowhere (dangling, or a loop) is refused rather than replaced by a file.
    std::string target = path;
    struct stat st {};
    bool exists = false;
    if (::lstat(path.c_str(), &st) == 0) {
        if (S_ISLNK(st.st_mode)) {
            char* resolved = ::realpath(path.c_str(), nullptr);
            if (resolved == nullptr) return fail(Reason("cannot follow the symbolic link", errno));
            target = resolved;
            std::free(resolved);
        }
        if (::stat(target.c_str(), &st) != 0) return fail(Reason("cannot examine the file", errno));
        exists = true;
        if (!S_ISREG(st.st_mode)) return fail("not a regular file");
        // An existing file the user may not write is refused, as an editor does.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return fail(Reason("cannot write", errno));
    }

    std::string tmpName;
    int fd = OpenTemporary(target, tmpName);
    if (fd < 0) {
        const int err = errno;
        // A folder the user cannot write, but a file the user can: in place.
        if (exists && (err == EACCES || err == EPERM)) {
            std::string why;
            if (!WriteInPlace(target, bytes, why)) return fail(why);
            return true;
        }
        return fail(Reason("cannot create a temporary file", err));
    }
    auto abandon = [&](std::string why) {
        if (fd >= 0) ::close(fd);
        ::unlink(tmpName.c_str());
        return fail(std::move(why));
    };

    if (exists) {
        // The replacement keeps the owner, the group and the mode. When it
        // cannot be given the old owner or group, the old file is written in
        // place instead of changing hands.
        struct stat made {};
        if (::fstat(fd, &made) != 0) return abandon(Reason("cannot examine the temporary file", errno));
        if ((made.st_uid != st.st_uid || made.st_gid != st.st_gid) && ::fchown(fd, st.st_uid, st.st_gid) != 0) {
            ::close(fd);
            fd = -1;
            ::unlink(tmpName.c_str());
            std::string why;
            if (!WriteInPlace(target, bytes, why)) return fail(why);
            return true;
        }
        if (::fchmod(fd, st.st_mode & 07777) != 0) return abandon(Reason("cannot set permissions", errno));
    }

    if (!WriteAllAt(fd, bytes, 0)) return abandon(Reason("write failed", errno));
    if (::fsync(fd) != 0) return abandon(Reason("flush to disk failed", errno));
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) return abandon(Reason("close failed", errno));
    if (::rename(tmpName.c_str(), target.c_str()) != 0) return abandon(Reason("rename failed", errno));
    SyncFolderOf(target);
    return true;
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
    if (!out.empty() && !IsSeparator(out.back())) out += '/';
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
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    std::fclose(f);
    return true;
}

}  // namespace plc
