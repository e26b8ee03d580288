// Input, the command line and output shared by the plcc sub-commands.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "apps/plcc/Plcc.h"
#include "base/SafeWrite.h"
#include "base/WholeFile.h"

namespace plcc {

namespace {

// Closes a descriptor it owns when it goes out of scope.
class InputFd {
public:
    InputFd() = default;
    InputFd(const InputFd&) = delete;
    InputFd& operator=(const InputFd&) = delete;
    ~InputFd() {
        if (m_own && m_fd >= 0) ::close(m_fd);
    }
    void Own(int fd) { m_fd = fd, m_own = true; }
    void Borrow(int fd) { m_fd = fd, m_own = false; }
    int Get() const { return m_fd; }

private:
    int m_fd = -1;
    bool m_own = false;
};

bool Refuse(const std::string& path, const char* why) {
    std::fprintf(stderr, "plcc: '%s': %s\n", DisplayName(path).c_str(), why);
    return false;
}

bool RefuseErrno(const std::string& path, const char* what) {
    const int error = errno;
    std::fprintf(stderr, "plcc: cannot %s '%s': %s\n", what, DisplayName(path).c_str(), std::strerror(error));
    return false;
}

// Refuses a file by its kind and size: only regular files are read, and
// only up to the byte limit. Standard input may also be a pipe or a terminal
// (it is then read only up to the limit), but not a folder.
bool Acceptable(const std::string& path, const struct stat& st, bool isStdin) {
    if (S_ISDIR(st.st_mode)) return Refuse(path, "is a folder, not a programme file");
    if (!isStdin && !S_ISREG(st.st_mode)) return Refuse(path, "is not a regular file");
    if (S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) > kMaxInputBytes) {
        return Refuse(path, "is larger than 4 MiB; a programme file is far smaller");
    }
    return true;
}

bool StatInput(const std::string& path, struct stat& st) {
    if (path == kStdinName) return ::fstat(STDIN_FILENO, &st) == 0 || RefuseErrno(path, "read");
    // stat, not open: opening a pipe or a device could already block.
    return ::stat(plc::NormalizeSeparators(path).c_str(), &st) == 0 || RefuseErrno(path, "open");
}

}  // namespace

std::string DisplayName(const std::string& path) { return path == kStdinName ? "<stdin>" : path; }

bool CheckInputFile(const std::string& path) {
    struct stat st {};
    return StatInput(path, st) && Acceptable(path, st, path == kStdinName);
}

bool ReadInput(const std::string& path, std::string& bytes) {
    const bool isStdin = path == kStdinName;
    struct stat st {};
    if (!StatInput(path, st) || !Acceptable(path, st, isStdin)) return false;

    InputFd fd;
    if (isStdin) {
        fd.Borrow(STDIN_FILENO);
    } else {
        fd.Own(::open(plc::NormalizeSeparators(path).c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
        if (fd.Get() < 0) return RefuseErrno(path, "open");
        // The name may have been replaced between stat and open.
        if (::fstat(fd.Get(), &st) != 0) return RefuseErrno(path, "read");
        if (!Acceptable(path, st, false)) return false;
    }

    // A regular file is read with one read of its size; anything else (standard
    // input from a pipe) in growing steps up to one byte over the limit.
    const std::optional<size_t> size =
        S_ISREG(st.st_mode) ? std::optional<size_t>(static_cast<size_t>(st.st_size)) : std::nullopt;
    switch (plc::ReadDescriptor(fd.Get(), bytes, size, kMaxInputBytes)) {
        case plc::ReadEnd::Complete: return true;
        case plc::ReadEnd::TooLarge: return Refuse(path, "is larger than 4 MiB; a programme file is far smaller");
        case plc::ReadEnd::Failed: break;
    }
    return RefuseErrno(path, "read");
}

bool ReadSourceText(const std::string& path, std::string& text) {
    if (!ReadInput(path, text)) return false;
    // Counted without building the lines, so that a text of millions of
    // empty lines is refused at once.
    const size_t count = plc::CountLines(text);
    if (count > kMaxSourceLines) {
        std::fprintf(stderr, "plcc: '%s' has %zu lines; a programme text may have at most %zu\n",
                     DisplayName(path).c_str(), count, kMaxSourceLines);
        text.clear();
        return false;
    }
    return true;
}

bool OutputIsNotInput(const std::string& input, const std::string& output) {
    struct stat in {}, out {};
    const bool haveIn = input == kStdinName ? ::fstat(STDIN_FILENO, &in) == 0
                                            : ::stat(plc::NormalizeSeparators(input).c_str(), &in) == 0;
    if (!haveIn || ::stat(plc::NormalizeSeparators(output).c_str(), &out) != 0) return true;
    if (in.st_dev != out.st_dev || in.st_ino != out.st_ino) return true;
    std::fprintf(stderr, "plcc: '%s' is the input file '%s'; choose another output file\n", output.c_str(),
                 DisplayName(input).c_str());
    return false;
}

bool ParseCommandLine(const Args& args, std::initializer_list<std::string_view> options, size_t maxFiles,
                      CommandLine& out, std::string& why, std::initializer_list<std::string_view> flags) {
    out = CommandLine{};
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!optionsEnded && a == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || a == kStdinName || !a.starts_with('-')) {
            if (a.empty()) {
                why = "empty file name";
                return false;
            }
            out.files.push_back(a);
            continue;
        }
        // "--name=VALUE" or "--name VALUE" (or "-o VALUE").
        const size_t eq = a.starts_with("--") ? a.find('=') : std::string::npos;
        const std::string name = a.substr(0, eq);
        if (std::find(flags.begin(), flags.end(), name) != flags.end()) {
            if (eq != std::string::npos) {
                why = "option '" + name + "' takes no value";
                return false;
            }
            out.flags.insert(name);
            continue;
        }
        if (std::find(options.begin(), options.end(), name) == options.end()) {
            why = "unknown option '" + name + "'";
            return false;
        }
        std::string value;
        if (eq != std::string::npos) {
            value = a.substr(eq + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        }
        if (value.empty()) {
            why = "option '" + name + "' needs a value";
            return false;
        }
        out.options[name] = value;
    }
    if (out.Has(kDiagnosticsOption)) {
        const std::string& format = out.Get(kDiagnosticsOption);
        if (format == "system") {
            out.diagnostics = DiagnosticsFormat::System;
        } else if (format == "gcc") {
            out.diagnostics = DiagnosticsFormat::Gcc;
        } else if (format == "json") {
            out.diagnostics = DiagnosticsFormat::Json;
        } else {
            why = "unknown diagnostics format '" + format + "' (system, gcc or json)";
            return false;
        }
    }
    if (out.files.empty()) {
        why = "no input file";
        return false;
    }
    if (out.files.size() > maxFiles) {
        why = "one input file only";
        return false;
    }
    return true;
}

int UsageError(std::string_view command, std::string_view why) {
    const std::string_view usage = CommandUsage(command);
    std::fprintf(stderr, "plcc: %.*s\nusage: %.*s\nTry 'plcc %.*s --help' for more information.\n",
                 static_cast<int>(why.size()), why.data(), static_cast<int>(usage.size()), usage.data(),
                 static_cast<int>(command.size()), command.data());
    return kExitUsage;
}

int WriteResult(const std::string& path, const std::string& bytes) {
    if (!path.empty()) {
        std::string why;
        if (!plc::WriteFileSafely(plc::NormalizeSeparators(path), bytes, &why)) {
            std::fflush(stdout);
            std::fprintf(stderr, "plcc: cannot write '%s': %s\n", path.c_str(), why.c_str());
            return kExitUsage;
        }
        return kExitOk;
    }
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? kExitOk : kExitUsage;
}

}  // namespace plcc
