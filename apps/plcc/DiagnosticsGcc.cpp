// SPDX-License-Identifier: GPL-3.0-or-later
// Diagnostics as GCC prints them, which editors and CI read line by line.
#include "apps/plcc/Formatters.h"

namespace plcc {

namespace {

// A file name on one line: a line break in it would split the
// "FILE:LINE:COL" line, so it is written as "\n" or "\r".
std::string OneLineName(const std::string& name) {
    std::string out;
    for (const char c : name) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

}  // namespace

void PrintGcc(const std::vector<Report>& reports, std::FILE* out) {
    for (const Report& r : reports) {
        const std::string file = OneLineName(r.file);
        for (const Diagnostic& d : r.errors) {
            std::fprintf(out, "%s:%d:%d: error: %s", file.c_str(), static_cast<int>(d.line),
                         static_cast<int>(d.column), d.text.c_str());
            if (d.code) std::fprintf(out, " [ERR(%02d)]", static_cast<int>(*d.code));
            std::fputc('\n', out);
        }
        for (const Warning& w : r.warnings) {
            std::fprintf(out, "%s:%d:%d: %s: %s [%s]\n", file.c_str(), static_cast<int>(w.line),
                         static_cast<int>(w.column), w.hint ? "note" : "warning", w.text.c_str(), w.code.c_str());
        }
    }
}

}  // namespace plcc
