// SPDX-License-Identifier: GPL-3.0-or-later
// The one reader of whole files (POSIX).
#include "base/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace plc {

namespace {

constexpr size_t kFirstStep = size_t{64} << 10;

// Closes a descriptor when it goes out of scope.
class OwnedFd {
public:
    explicit OwnedFd(int fd) : m_fd(fd) {}
    OwnedFd(const OwnedFd&) = delete;
    OwnedFd& operator=(const OwnedFd&) = delete;
    ~OwnedFd() {
        if (m_fd >= 0) ::close(m_fd);
    }
    int Get() const { return m_fd; }

private:
    int m_fd;
};

FileRead Refused(FileRead::Fault fault, int error = 0, uint32_t mode = 0) {
    FileRead r;
    r.fault = fault;
    r.error = error;
    r.mode = mode;
    return r;
}

// A file of a kind the rules take that holds more than their limit.
FileRead TooLarge(uint32_t mode, size_t limit) {
    FileRead r = Refused(FileRead::Fault::TooLarge, 0, mode);
    r.limit = limit;
    return r;
}

// A file the rules take whole.
FileRead Accepted(uint32_t mode) {
    FileRead r;
    r.mode = mode;
    return r;
}

// The kind of file `st` describes is one the rules take; else the fault.
FileRead::Fault KindFault(const struct stat& st, const WholeFileRules& rules) {
    if (S_ISREG(st.st_mode)) return FileRead::Fault::None;
    if (S_ISFIFO(st.st_mode) && rules.pipes) return FileRead::Fault::None;
    return S_ISDIR(st.st_mode) ? FileRead::Fault::Folder : FileRead::Fault::NotRegular;
}

const char* KindName(uint32_t mode) {
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISFIFO(mode)) return "a pipe";
    if (S_ISSOCK(mode)) return "a socket";
    return "no regular file";
}

}  // namespace

ReadEnd ReadDescriptor(int fd, std::string& bytes, std::optional<size_t> sizeHint, size_t limit) {
    // One byte over the limit is enough to tell that the input is too large.
    const size_t most = limit == kNoReadLimit ? kNoReadLimit : limit + 1;
    // A hint of the exact size is read into a buffer one byte larger, so
    // that the end is seen without growing it.
    size_t capacity = std::min(sizeHint ? std::max<size_t>(*sizeHint + 1, 4096) : kFirstStep, most);
    bytes.resize(capacity);
    size_t total = 0;
    for (;;) {
        if (total == capacity) {
            if (capacity >= most) break;
            capacity = capacity > most / 2 ? most : capacity * 2;
            bytes.resize(capacity);
        }
        const ssize_t n = ::read(fd, bytes.data() + total, capacity - total);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return ReadEnd::Failed;
        if (n == 0) break;
        total += static_cast<size_t>(n);
    }
    bytes.resize(total);
    return total > limit ? ReadEnd::TooLarge : ReadEnd::Complete;
}

std::string SizeInWords(size_t bytes) {
    if (bytes >= (size_t{1} << 20) && bytes % (size_t{1} << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
    if (bytes >= (size_t{1} << 10) && bytes % (size_t{1} << 10) == 0) return std::to_string(bytes >> 10) + " KiB";
    return std::to_string(bytes) + " bytes";
}

std::string FileRead::Reason() const {
    switch (fault) {
        case Fault::None: return {};
        case Fault::CannotOpen: return std::string("cannot open: ") + std::strerror(error);
        case Fault::Folder: return "is a folder, not a file";
        case Fault::NotRegular: return std::string("is ") + KindName(mode) + ", not a regular file";
        case Fault::TooLarge: return "is larger than " + SizeInWords(limit);
        case Fault::CannotRead: return std::string("cannot read: ") + std::strerror(error);
    }
    return {};
}

FileRead ReadWholeDescriptor(int fd, std::string& data, const WholeFileRules& rules) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return Refused(FileRead::Fault::CannotRead, errno);
    if (const FileRead::Fault fault = KindFault(st, rules); fault != FileRead::Fault::None)
        return Refused(fault, 0, st.st_mode);
    if (S_ISFIFO(st.st_mode)) {
        // Opened without blocking, read blocking: a pipe's writer may be slow.
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0 && (flags & O_NONBLOCK) != 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    const std::optional<size_t> hint =
        S_ISREG(st.st_mode) && st.st_size > 0 ? std::optional<size_t>(static_cast<size_t>(st.st_size)) : std::nullopt;
    std::string bytes;
    const ReadEnd end = ReadDescriptor(fd, bytes, hint, rules.limit);
    if (end == ReadEnd::Failed) return Refused(FileRead::Fault::CannotRead, errno, st.st_mode);
    data = std::move(bytes);
    return end == ReadEnd::TooLarge ? TooLarge(st.st_mode, rules.limit) : Accepted(st.st_mode);
}

FileRead ExamineFile(const std::string& path, const WholeFileRules& rules) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return Refused(FileRead::Fault::CannotOpen, errno);
    if (const FileRead::Fault fault = KindFault(st, rules); fault != FileRead::Fault::None)
        return Refused(fault, 0, st.st_mode);
    if (S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) > rules.limit) return TooLarge(st.st_mode, rules.limit);
    return Accepted(st.st_mode);
}

FileRead ReadWholeFile(const std::string& path, std::string& data, const WholeFileRules& rules) {
    // The kind first, by name: opening a FIFO or a device could already wait
    // or have effects. The descriptor is checked again once open, in case the
    // name was replaced meanwhile.
    // The size is left to the read, which keeps the limit's bytes and one
    // more of a file that is too large (the editor shows their beginning).
    if (FileRead examined = ExamineFile(path, {kNoReadLimit, rules.pipes}); !examined) return examined;
    const OwnedFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.Get() < 0) return Refused(FileRead::Fault::CannotOpen, errno);
    return ReadWholeDescriptor(fd.Get(), data, rules);
}

}  // namespace plc
