// SPDX-License-Identifier: GPL-3.0-or-later
// The strict INI reader of assumption profiles.
#include "sim/Ini.h"

#include "base/Ascii.h"
#include "compiler/CompileDriver.h"
#include "sim/Values.h"

namespace plc::sim {

bool ReadIni(std::string_view text, std::vector<IniEntry>& entries, IniError& error) {
    entries.clear();
    std::string section;
    const std::vector<std::string> lines = SplitLines(text);
    for (size_t n = 0; n < lines.size(); ++n) {
        const int lineNo = static_cast<int>(n + 1);
        const std::string_view line = TrimBlanks(lines[n]);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            if (line.back() != ']' || TrimBlanks(line.substr(1, line.size() - 2)).empty()) {
                error = {lineNo, "a section line reads [NAME]"};
                return false;
            }
            section = AsciiLower(TrimBlanks(line.substr(1, line.size() - 2))) + ".";
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            error = {lineNo, "expected KEY = VALUE, a [SECTION] or a comment"};
            return false;
        }
        const std::string_view key = TrimBlanks(line.substr(0, eq));
        if (key.empty()) {
            error = {lineNo, "no key before '='"};
            return false;
        }
        entries.push_back({lineNo, section + AsciiLower(key), std::string(TrimBlanks(line.substr(eq + 1)))});
    }
    return true;
}

}  // namespace plc::sim
