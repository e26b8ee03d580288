// File reading and printing shared by the plcc sub-commands.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "apps/plcc/Plcc.h"
#include "compiler/CompileDriver.h"

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

}  // namespace plcc
