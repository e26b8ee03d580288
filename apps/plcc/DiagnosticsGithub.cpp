// SPDX-License-Identifier: GPL-3.0-or-later
// Diagnostics as workflow commands, which a CI run shows as annotations on
// the lines of the change.
#include "apps/plcc/Formatters.h"

namespace plcc {

namespace {

// A command's message: "%", CR and LF escaped. A property value (the file,
// the title) escapes ":" and "," too.
std::string Escaped(const std::string& text, bool property) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '%': out += "%25"; break;
            case '\r': out += "%0D"; break;
            case '\n': out += "%0A"; break;
            case ':': out += property ? "%3A" : ":"; break;
            case ',': out += property ? "%2C" : ","; break;
            default: out += c;
        }
    }
    return out;
}

void Command(std::FILE* out, const char* kind, const std::string& file, int32_t line, int32_t column,
             int32_t endColumn, const std::string& title, const std::string& text) {
    std::fprintf(out, "::%s file=%s,line=%d,col=%d", kind, Escaped(file, true).c_str(), static_cast<int>(line),
                 static_cast<int>(column));
    if (endColumn > column) std::fprintf(out, ",endColumn=%d", static_cast<int>(endColumn));
    if (!title.empty()) std::fprintf(out, ",title=%s", Escaped(title, true).c_str());
    std::fprintf(out, "::%s\n", Escaped(text, false).c_str());
}

}  // namespace

void PrintGithub(const std::vector<Report>& reports, std::FILE* out) {
    for (const Report& r : reports) {
        for (const Diagnostic& d : r.errors) {
            char title[16] = "";
            if (d.code) std::snprintf(title, sizeof title, "ERR(%02d)", static_cast<int>(*d.code));
            Command(out, "error", r.file, d.line, d.column, d.endColumn, title, d.text);
        }
        for (const Warning& w : r.warnings)
            Command(out, w.hint ? "notice" : "warning", r.file, w.line, w.column, w.endColumn, w.code, w.text);
    }
}

}  // namespace plcc
