// SPDX-License-Identifier: GPL-3.0-or-later
// The text declaration file reader: strict, because what it accepts becomes
// DEF lines of a programme text that must compile.
#include "image/TextDeclFile.h"

#include <map>
#include <optional>
#include <utility>

#include "base/Ascii.h"
#include "base/Lines.h"
#include "base/PathParts.h"

namespace plc {

namespace {

std::optional<VarKind> SectionOf(std::string_view header) {
    for (const VarFamily& family : kVarFamilies)
        if (EqualsIgnoreCase(header, DeclSectionHeader(family.kind))) return family.kind;
    return std::nullopt;
}

// "[PLC_C], [PLC_F], ... and [PLC_Z]".
std::string SectionList() {
    std::string list;
    for (size_t i = 0; i < std::size(kVarFamilies); ++i) {
        if (i != 0) list += i + 1 == std::size(kVarFamilies) ? " and " : ", ";
        list += DeclSectionHeader(kVarFamilies[i].kind);
    }
    return list;
}

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
std::string_view ProgrammeNameOf(std::string_view fileName) {
    std::string_view base = FileNameOf(fileName);
    if (base.size() > 4 && EqualsIgnoreCase(base.substr(base.size() - 4), ".txt")) base.remove_suffix(4);
    return base;
}

}  // namespace

std::string DeclSectionHeader(VarKind kind) { return "[PLC_" + std::string(LetterOf(kind)) + "]"; }

bool ParseTextDeclFile(std::string_view bytes, std::string_view fileName, DeclaredNames& out, std::string& why) {
    out = DeclaredNames{};
    const std::string file(fileName);
    auto refuse = [&](size_t line, const std::string& what) {
        why = file + (line > 0 ? ", line " + std::to_string(line) : std::string()) + ": " + what;
        out = DeclaredNames{};
        return false;
    };

    const std::string_view stem = ProgrammeNameOf(fileName);
    if (const std::string fault = NameFault(stem); !fault.empty()) {
        return refuse(0, "the file's name gives the programme name '" + std::string(stem) +
                             "', which is no name a programme can have (" + fault + ")");
    }
    out.programName = stem;

    std::optional<VarKind> section;
    bool seen[std::size(kVarFamilies)] = {};
    std::map<std::pair<VarKind, int>, size_t> namedOn;  // variable -> line
    size_t lineNo = 0;
    std::string_view text;
    for (LineReader lines(bytes); lines.Next(text);) {
        const std::string_view line = TrimBlanks(text);
        ++lineNo;
        if (line.empty()) continue;

        if (line.front() == '[') {
            section = SectionOf(line);
            if (!section) {
                return refuse(lineNo, "unknown section " + std::string(line) + " (the sections are " + SectionList() + ")");
            }
            bool& before = seen[static_cast<size_t>(*section)];
            if (before) return refuse(lineNo, "the section " + DeclSectionHeader(*section) + " appears twice");
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
                                      std::to_string(count - 1) + " of " + DeclSectionHeader(*section));
        }
        const std::string_view name = TrimBlanks(line.substr(colon + 1));
        if (const std::string fault = NameFault(name); !fault.empty()) return refuse(lineNo, fault);
        const auto [entry, added] = namedOn.try_emplace({*section, index}, lineNo);
        if (!added) {
            return refuse(lineNo, "number " + std::to_string(index) + " of " + DeclSectionHeader(*section) +
                                      " is named twice (lines " + std::to_string(entry->second) + " and " +
                                      std::to_string(lineNo) + ")");
        }
        out.names.push_back({*section, index, std::string(name)});
    }
    return true;
}

}  // namespace plc
