// SPDX-License-Identifier: GPL-3.0-or-later
// plcedit-makegrammar TEXTMATE-FILE VIM-FILE
// Writes the colouring of the programme language for other editors from the
// word lists of the compiler's classifier of source words, so that they
// colour exactly the words the editor window colours: a TextMate grammar
// (scope source.plc) and a Vim syntax file. Only the DEF names, which each
// programme declares for itself, are left to the language server's semantic
// tokens.
#include <iostream>
#include <set>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "base/SafeWrite.h"
#include "compiler/SourceClassifier.h"
#include "image/SectionWords.h"

namespace {

using plc::SourceClass;
using plc::SourceClassifier;

// The words of a list that the classifier puts in `cls` (a keyword that
// reads as a variable or a drive name is coloured as that).
std::set<std::string> WordsOfClass(const SourceClassifier& classifier, const std::set<std::string>& words,
                                   SourceClass cls) {
    std::set<std::string> out;
    for (const std::string& word : words)
        if (classifier.WordClass(word) == cls) out.insert(word);
    return out;
}

std::string Join(const std::set<std::string>& words, std::string_view separator) {
    std::string out;
    for (const std::string& word : words) {
        if (!out.empty()) out += separator;
        out += word;
    }
    return out;
}

// Every character of the lists is a letter, a digit or '_': nothing to escape
// in either regular expression syntax.
struct Lists {
    std::set<std::string> keywords, driveNames;
    std::string ioAlternatives, varLetters;
    std::string end{plc::Word(plc::SectionWord::End)};
    char headMark = plc::kSectionHeadMark;
};

std::string TextMate(const Lists& l) {
    using Json = nlohmann::ordered_json;
    const std::string head(1, l.headMark);
    auto word = [](const std::string& name, const std::string& body) {
        return Json{{"name", name}, {"match", "(?i)\\b(?:" + body + ")\\b"}};
    };
    // Listed in the classifier's order of precedence: the first pattern wins
    // where two match the same word.
    const Json grammar = {
        {"$schema", "https://raw.githubusercontent.com/martinring/tmlanguage/master/tmlanguage.json"},
        {"name", "PLC"},
        {"scopeName", "source.plc"},
        {"fileTypes", {"plc"}},
        {"patterns",
         {{{"comment", "A section line: a head or END alone before any comment"},
           {"match", "^\\s*(" + head + "[^;]*?|(?i:" + l.end + "))\\s*(?=;|$)"},
           {"captures", {{"1", {{"name", "entity.name.section.plc"}}}}}},
          {{"name", "comment.line.semicolon.plc"}, {"match", ";.*$"}},
          word("entity.name.label.plc", "N\\d+"),
          word("variable.other.plc", "[" + l.varLetters + "]\\d+"),
          word("support.variable.io.plc", "(?:" + l.ioAlternatives + ")\\d+"),
          word("support.constant.drive.plc", Join(l.driveNames, "|")),
          word("keyword.control.plc", Join(l.keywords, "|")),
          {{"name", "constant.numeric.plc"}, {"match", "(?<!\\w)(?:[-.](?=\\d))?\\d[\\d.]*"}}}},
    };
    return grammar.dump(2) + "\n";
}

std::string Vim(const Lists& l) {
    std::string out =
        "\" Vim syntax file for PLC programmes (*.plc), made from the compiler's\n"
        "\" word lists by plcedit-makegrammar; do not edit.\n"
        "if exists('b:current_syntax')\n  finish\nendif\n\n"
        "syn case ignore\nsyn iskeyword @,48-57,_\n\n";
    // Keywords take precedence over every match, so those that also stand
    // alone as a section line are matches, defined before the section line.
    std::set<std::string> keywords = l.keywords;
    keywords.erase(l.end);
    for (const auto& [group, words] : {std::pair{"plcKeyword", keywords}, {"plcDrive", l.driveNames}}) {
        std::string line;
        for (const std::string& w : words) {
            if (line.size() + w.size() > 90) {
                out += "syn keyword " + std::string(group) + line + "\n";
                line.clear();
            }
            line += " " + w;
        }
        if (!line.empty()) out += "syn keyword " + std::string(group) + line + "\n";
    }
    // Among matches at one place the last defined wins: the weaker first.
    out += "syn match plcKeyword \"\\<" + l.end + "\\>\"\n";
    out += "syn match plcNumber \"\\w\\@<!\\%([-.]\\d\\@=\\)\\=\\d[0-9.]*\"\n";
    std::string io = l.ioAlternatives;
    for (size_t at = io.find('|'); at != std::string::npos; at = io.find('|', at + 2)) io.insert(at, "\\");
    out += "syn match plcInOut \"\\<\\%(" + io + "\\)\\d\\+\\>\"\n";
    out += "syn match plcVariable \"\\<[" + l.varLetters + "]\\d\\+\\>\"\n";
    out += "syn match plcLabel \"\\<N\\d\\+\\>\"\n";
    out += "syn match plcSection \"^\\s*\\zs\\%(" + std::string(1, l.headMark) + "[^;]\\{-}\\|" + l.end +
           "\\)\\ze\\s*\\%(;\\|$\\)\"\n";
    out += "syn match plcComment \";.*$\"\n\n";
    for (const auto& [group, link] : {std::pair{"plcComment", "Comment"}, {"plcSection", "PreProc"},
                                      {"plcLabel", "Label"}, {"plcKeyword", "Statement"},
                                      {"plcVariable", "Identifier"}, {"plcInOut", "Special"},
                                      {"plcNumber", "Number"}, {"plcDrive", "Constant"}})
        out += std::string("hi def link ") + group + " " + link + "\n";
    out += "\nlet b:current_syntax = 'plc'\n";
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: plcedit-makegrammar TEXTMATE-FILE VIM-FILE\n";
        return 2;
    }
    const SourceClassifier classifier;
    Lists lists;
    lists.keywords = WordsOfClass(classifier, classifier.Keywords(), SourceClass::Keyword);
    lists.driveNames = WordsOfClass(classifier, classifier.DriveNames(), SourceClass::DriveName);
    lists.varLetters = classifier.VarLetters();
    // Longer letter groups first, so that a group never stops at a shorter one it begins with.
    std::multiset<std::string, bool (*)(const std::string&, const std::string&)> io(
        [](const std::string& a, const std::string& b) { return a.size() != b.size() ? a.size() > b.size() : a < b; });
    io.insert(classifier.IoLetters().begin(), classifier.IoLetters().end());
    for (const std::string& letters : io) lists.ioAlternatives += (lists.ioAlternatives.empty() ? "" : "|") + letters;

    for (const auto& [path, text] : {std::pair{std::string(argv[1]), TextMate(lists)}, {argv[2], Vim(lists)}}) {
        std::string error;
        if (!plc::WriteFileSafely(path, text, &error)) {
            std::cerr << "plcedit-makegrammar: " << error << "\n";
            return 1;
        }
    }
    return 0;
}
