// Safe file replacement and path composition (standard library and POSIX).
#include "image/SafeWrite.h"

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

}  // namespace

bool WriteFileSafely(const std::string& path, std::string_view bytes, std::string* error) {
    auto fail = [error](std::string why) {
        if (error != nullptr) *error = std::move(why);
        return false;
    };
    if (path.empty()) return fail("empty file name");

    // Replace the file a symbolic link names, not the link.
    std::string target = path;
    struct stat st {};
    bool exists = false;
    if (::lstat(path.c_str(), &st) == 0) {
        if (S_ISLNK(st.st_mode)) {
            if (char* resolved = ::realpath(path.c_str(), nullptr)) {
                target = resolved;
                std::free(resolved);
            }
        }
        exists = ::stat(target.c_str(), &st) == 0;
        if (exists && !S_ISREG(st.st_mode)) return fail("not a regular file");
    }

    std::string tmpName;
    int fd = OpenTemporary(target, tmpName);
    if (fd < 0) return fail(Reason("cannot create a temporary file", errno));
    auto abandon = [&](std::string why) {
        if (fd >= 0) ::close(fd);
        ::unlink(tmpName.c_str());
        return fail(std::move(why));
    };

    if (exists && ::fchmod(fd, st.st_mode & 07777) != 0) return abandon(Reason("cannot set permissions", errno));

    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return abandon(Reason("write failed", errno));
        }
        if (n == 0) return abandon("write failed: nothing written");
        p += n;
        left -= static_cast<size_t>(n);
    }
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
