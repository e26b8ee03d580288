// The one loop that reads files whole (POSIX).
#include "base/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

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

}  // namespace

ReadEnd ReadDescriptor(int fd, std::string& bytes, std::optional<size_t> knownSize, size_t limit) {
    // One byte over the limit is enough to tell that the input is too large.
    const size_t most = limit == kNoReadLimit ? kNoReadLimit : limit + 1;
    size_t capacity = knownSize ? *knownSize : std::min(kFirstStep, most);
    bytes.resize(capacity);
    size_t total = 0;
    for (;;) {
        if (total == capacity) {
            if (knownSize || capacity >= most) break;
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

bool ReadWholeFile(const std::string& path, std::string& data) {
    const OwnedFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) return false;
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0) return false;
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return false;
    }
    std::string bytes;
    if (ReadDescriptor(fd.Get(), bytes) != ReadEnd::Complete) return false;
    data = std::move(bytes);
    return true;
}

}  // namespace plc
