// File reading and printing shared by the plcc sub-commands.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "apps/plcc/Plcc.h"
#include "compiler/CompileDriver.h"
#include "image/SafeWrite.h"
#include "resources/StringTable.h"

namespace plcc {

namespace {
// A record keeps its source line in 16 bits.
constexpr size_t kMaxSourceLines = 65536;
}  // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "plcc: cannot open '%s': %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        std::fprintf(stderr, "plcc: cannot read '%s'\n", path.c_str());
        return false;
    }
    return true;
}

bool ReadSourceLines(const std::string& path, std::vector<std::string>& lines) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes)) return false;
    lines = plc::SplitLines(bytes);
    if (lines.size() > kMaxSourceLines) {
        std::fprintf(stderr, "plcc: '%s' has %zu lines; a programme text may have at most %zu\n",
                     path.c_str(), lines.size(), kMaxSourceLines);
        return false;
    }
    return true;
}

void PrintEntries(const std::vector<std::string>& entries, bool toStderr) {
    FILE* out = toStderr ? stderr : stdout;
    for (const std::string& e : entries) {
        std::fwrite(e.data(), 1, e.size(), out);
        std::fputc('\n', out);
    }
}

bool ParseCommandLine(const Args& args, std::initializer_list<std::string_view> options, CommandLine& out) {
    out = CommandLine{};
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool isOption = false;
        for (std::string_view o : options) isOption = isOption || a == o;
        if (isOption) {
            if (i + 1 >= args.size() || args[i + 1].empty()) return false;
            out.options[a] = args[++i];
        } else if (a.empty() || a[0] == '-' || !out.file.empty()) {
            return false;
        } else {
            out.file = a;
        }
    }
    return !out.file.empty();
}

int UsageError(std::string_view usage) {
    std::fprintf(stderr, "usage: %.*s\n", static_cast<int>(usage.size()), usage.data());
    return kExitUsage;
}

int ReportEmptyText() {
    const std::string question = plc::LoadString(plc::kIdsNoProgramCreateBody);
    std::fprintf(stderr, "%s\n", question.substr(0, question.find('\n')).c_str());
    return kExitProgramErrors;
}

int WriteResult(const std::string& path, const std::string& bytes, std::string_view what) {
    if (!path.empty()) {
        std::string why;
        if (!plc::WriteFileSafely(plc::NormalizeSeparators(path), bytes, &why)) {
            std::fprintf(stderr, "plcc: cannot write '%s': %s\n", path.c_str(), why.c_str());
            return kExitUsage;
        }
    } else if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "plcc: cannot write the %.*s to standard output\n", static_cast<int>(what.size()),
                     what.data());
        return kExitUsage;
    }
    return kExitOk;
}

}  // namespace plcc
