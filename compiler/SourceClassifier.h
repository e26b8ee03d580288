// SPDX-License-Identifier: GPL-3.0-or-later
// The classes of the words of a programme text, as every colouring of it
// shows them: the editor window's lexer, the language server's semantic
// tokens and the grammars generated for other editors. The word lists come
// from the compiler's own tables (the keyword chain, the name tables of
// inputs, outputs, status flags and drive values, the variable families and
// the section words), so a new keyword is coloured everywhere without
// touching this file.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/SourceFacts.h"

namespace plc {

// The classes in the order of the edit control's style numbers.
enum class SourceClass : int {
    Default = 0,
    Comment,    // from ';' to the end of the line
    Section,    // %P00, %TEXT(...), END on a line of its own
    Label,      // N### as label and as jump target
    Keyword,
    Variable,   // H, M, F, C, Z with their number
    DefName,    // a name declared with DEF
    InOut,      // inputs and outputs (IS0, OE3, ...)
    Number,
    DriveName,  // status flags, drive values and settings
};
inline constexpr int kSourceClassCount = static_cast<int>(SourceClass::DriveName) + 1;

// A run of characters of one class other than Default within a line.
struct SourceSpan {
    size_t begin = 0;
    size_t length = 0;
    SourceClass cls = SourceClass::Default;
};

class SourceClassifier {
public:
    SourceClassifier();

    // The names declared with DEF in `text` (upper case), as its compile
    // finds them, also on a DEF line where no text section is open.
    static std::set<std::string> DeclaredNames(std::string_view text);
    // The same from the facts of a compile that collected them.
    static std::set<std::string> DeclaredNames(const SourceFacts& facts);
    // The names declared with DEF (upper case) that count as DEF names.
    void SetDefNames(std::set<std::string> names) { m_defNames = std::move(names); }
    const std::set<std::string>& DefNamesInUse() const { return m_defNames; }

    // One class per character of `line` (without its line break), appended
    // to `classes`.
    void ClassifyLine(std::string_view line, std::string& classes) const;
    // The same as runs, left to right, Default left out.
    std::vector<SourceSpan> Spans(std::string_view line) const;

    // The class of one word (any case) outside comments and section lines.
    SourceClass WordClass(std::string_view word) const;

    // The word lists, upper case, for the generated grammars: the keywords
    // (the word "END" of a jump target among them), the drive names, the
    // letters that begin an input or output number, and the variable
    // letters.
    const std::set<std::string>& Keywords() const { return m_keywords; }
    const std::set<std::string>& DriveNames() const { return m_driveNames; }
    const std::set<std::string>& IoLetters() const { return m_ioLetters; }
    const std::string& VarLetters() const { return m_varLetters; }

private:
    std::set<std::string> m_keywords;
    std::set<std::string> m_driveNames;
    std::set<std::string> m_ioLetters;
    std::string m_varLetters;
    std::set<std::string> m_defNames;
};

}  // namespace plc
