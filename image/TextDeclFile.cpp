// SPDX-License-Identifier: GPL-3.0-or-later
// The text declaration file reader: strict, because what it accepts becomes
// DEF lines of a programme text that must compile.
#include "image/TextDeclFile.h"

#include <map>
#include <optional>
#include <utility>

#include "base/Ascii.h"

namespace plc {

namespace {

constexpr std::pair<std::string_view, VarKind> kSections[] = {
    {"[PLC_C]", VarKind::C}, {"[PLC_F]", VarKind::F}, {"[PLC_H]", VarKind::H},
    {"[PLC_M]", VarKind::M}, {"[PLC_Z]", VarKind::Z},
};

std::optional<VarKind> SectionOf(std::string_view header) {
    for (const auto& [text, var] : kSections)
        if (EqualsIgnoreCase(header, text)) return var;
    return std::nullopt;
}

std::string_view HeaderOf(VarKind var) { return kSections[static_cast<size_t>(var)].first; }

// Empty when `name` is one the compiler accepts, else what is wrong with it.
std::string NameFault(std::string_view name) {
    if (name.empty()) return "no name";
    if (name.size() > static_cast<size_t>(kMaxNameLength))
        return "the name '" + std::string(name) + "' is longer than 32 characters";
    for (char c : name) {
        if (!AsciiAlnum(c) && c != '_')
            return "the name '" + std::string(name) + "' has a character other than a letter, a digit or '_'";
    }
    return {};
}

// The file's name without its folder and without ".txt".
std::string_view StemOf(std::string_view fileName) {
    const size_t slash = fileName.find_last_of("/\\");
    std::string_view base = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    if (base.size() > 4 && EqualsIgnoreCase(base.substr(base.size() - 4), ".txt")) base.remove_suffix(4);
    return base;
}

}  // namespace

bool ParseTextDeclFile(std::string_view bytes, std::string_view fileName, DeclaredNames& out, std::string& why) {
    out = DeclaredNames{};
    const std::string file(fileName);
    auto refuse = [&](size_t line, const std::string& what) {
        why = file + (line > 0 ? ", line " + std::to_string(line) : std::string()) + ": " + what;
        out = DeclaredNames{};
        return false;
    };

    const std::string_view stem = StemOf(fileName);
    if (const std::string fault = NameFault(stem); !fault.empty()) {
        return refuse(0, "the file's name gives the programme name '" + std::string(stem) +
                             "', which is no name a programme can have (" + fault + ")");
    }
    out.programName = stem;

    std::optional<VarKind> section;
    bool seen[5] = {};
    std::map<std::pair<VarKind, int>, size_t> namedOn;  // variable -> line
    size_t lineNo = 0;
    size_t at = 0;
    while (at < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", at);
        if (end == std::string_view::npos) end = bytes.size();
        const std::string_view line = TrimBlanks(bytes.substr(at, end - at));
        // CR LF, a bare LF and a lone CR each end a line.
        at = end;
        if (at < bytes.size() && bytes[at] == '\r') ++at;
        if (at < bytes.size() && bytes[at] == '\n') ++at;
        ++lineNo;
        if (line.empty()) continue;

        if (line.front() == '[') {
            section = SectionOf(line);
            if (!section) {
                return refuse(lineNo, "unknown section " + std::string(line) +
                                          " (the sections are [PLC_C], [PLC_F], [PLC_H], [PLC_M] and [PLC_Z])");
            }
            bool& before = seen[static_cast<size_t>(*section)];
            if (before) return refuse(lineNo, "the section " + std::string(HeaderOf(*section)) + " appears twice");
            before = true;
            continue;
        }
        if (!section) return refuse(lineNo, "an entry before the first section header");

        const size_t colon = line.find(':');
        const std::string_view number = TrimBlanks(line.substr(0, colon));
        if (colon == std::string_view::npos || number.empty()) {
            return refuse(lineNo, "'" + std::string(line) + "' is not an entry 'NUMBER: NAME'");
        }
        int index = 0;
        for (char c : number) {
            if (!AsciiDigit(c)) return refuse(lineNo, "'" + std::string(number) + "' is not a variable number");
            if (index <= kCountM) index = index * 10 + (c - '0');
        }
        const int count = VarCount(*section);
        if (index >= count) {
            return refuse(lineNo, "the number " + std::string(number) + " is outside 0 to " +
                                      std::to_string(count - 1) + " of " + std::string(HeaderOf(*section)));
        }
        const std::string_view name = TrimBlanks(line.substr(colon + 1));
        if (const std::string fault = NameFault(name); !fault.empty()) return refuse(lineNo, fault);
        const auto [entry, added] = namedOn.try_emplace({*section, index}, lineNo);
        if (!added) {
            return refuse(lineNo, "number " + std::to_string(index) + " of " + std::string(HeaderOf(*section)) +
                                      " is named twice (lines " + std::to_string(entry->second) + " and " +
                                      std::to_string(lineNo) + ")");
        }
        out.names.push_back({*section, index, std::string(name)});
    }
    return true;
}

}  // namespace plc
