// SPDX-License-Identifier: GPL-3.0-or-later
// A strict reader of the INI files a dry run takes its assumptions from:
// "[section]" lines, "key = value" lines, comments after ';' or '#' at the
// start of a line, blank lines. A key inside a section is read as
// "section.key". Unlike the editor's settings file, which forgives and
// defaults, an assumption profile says exactly what it means: every line
// that is none of these is an error that names its line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plc::sim {

struct IniEntry {
    int line = 0;       // 1-based
    std::string key;    // lower case, with its section: "timer.tick_ms"
    std::string value;  // without surrounding blanks
};

struct IniError {
    int line = 0;
    std::string text;
};

// Reads `text` (lines end at CR LF, LF or CR); false with `error` set at the
// first line that is not a section, an entry, a comment or blank, or that
// has an empty key.
bool ReadIni(std::string_view text, std::vector<IniEntry>& entries, IniError& error);

}  // namespace plc::sim
