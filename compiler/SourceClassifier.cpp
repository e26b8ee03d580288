// SPDX-License-Identifier: GPL-3.0-or-later
#include "compiler/SourceClassifier.h"

#include <algorithm>

#include "base/Ascii.h"
#include "compiler/CompileDriver.h"
#include "compiler/Statements.h"
#include "image/InstrSet.h"
#include "image/SectionWords.h"

namespace plc {

namespace {

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), AsciiDigit);
}

// The word runs of a keyword-chain prefix: "JMP(RXMSG," gives JMP and RXMSG.
std::vector<std::string> Runs(std::string_view prefix) {
    std::vector<std::string> runs;
    size_t i = 0;
    while (i < prefix.size()) {
        if (!AsciiWordChar(prefix[i])) {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < prefix.size() && AsciiWordChar(prefix[j])) ++j;
        runs.emplace_back(prefix.substr(i, j - i));
        i = j;
    }
    return runs;
}

template <typename Lookup>
void AddNames(std::set<std::string>& names, Lookup lookup) {
    for (int n = 0; n < 256; ++n)
        if (const char* name = lookup(static_cast<uint8_t>(n))) names.insert(name);
}

}  // namespace

SourceClassifier::SourceClassifier() {
    AddNames(m_driveNames, StatusName);
    AddNames(m_driveNames, RegisterName);
    AddNames(m_driveNames, CtrlFlagName);
    AddNames(m_driveNames, DriveValueFName);
    AddNames(m_driveNames, DriveValueHName);
    for (const IoGroup& group : InputGroups()) m_ioLetters.emplace(group.letters);
    for (const IoGroup& group : OutputGroups()) m_ioLetters.emplace(group.letters);

    // The chain's prefixes are written without blanks ("SETOUTPUT=H"), the
    // source with them ("SET OUTPUT = H1"). Single letters in the chain are
    // the variable letters; a run that ends in a name, a variable letter, an
    // input/output group or a label splits into its verb and that tail, and
    // the rest of every run after a verb is a keyword of its own.
    for (const VarFamily& family : kVarFamilies) m_varLetters += family.letter;
    std::vector<std::string> runs;
    for (const KeywordRow& row : KeywordChain())
        for (std::string& run : Runs(row.keyword)) runs.push_back(std::move(run));
    auto isTail = [&](std::string_view tail) {
        return m_driveNames.count(std::string(tail)) || m_ioLetters.count(std::string(tail)) ||
               tail == "N" || tail == Word(SectionWord::End) ||
               (tail.size() == 1 && m_varLetters.find(tail[0]) != std::string::npos);
    };
    std::set<std::string> verbs;
    for (const std::string& run : runs) {
        if (run.size() < 2 || run.back() == '_') continue;
        m_keywords.insert(run);
        for (size_t k = 2; k < run.size(); ++k)
            if (isTail(std::string_view(run).substr(k))) verbs.insert(run.substr(0, k));
    }
    m_keywords.insert(verbs.begin(), verbs.end());
    for (const std::string& run : runs)
        for (const std::string& verb : verbs)
            if (run.size() > verb.size() + 1 && run.compare(0, verb.size(), verb) == 0) {
                const std::string rest = run.substr(verb.size());
                if (!isTail(rest)) m_keywords.insert(rest);
            }
    // The declaration keyword of a text section, and END as a jump target.
    m_keywords.insert(std::string(Word(SectionWord::Def)));
    m_keywords.insert(std::string(Word(SectionWord::End)));
}

std::set<std::string> SourceClassifier::DeclaredNames(std::string_view text) {
    // The compile of the text says which lines declare which names; a
    // declaration where no text section is open counts as well, so that a
    // name is coloured while its section is still being written.
    CPlcProgram scratch;
    SourceFacts facts;
    facts.declarationsOnly = true;
    CompileProgramSource(scratch, text, &facts);
    return DeclaredNames(facts);
}

std::set<std::string> SourceClassifier::DeclaredNames(const SourceFacts& facts) {
    std::set<std::string> names;
    for (const auto* declarations : {&facts.declarations, &facts.strayDeclarations})
        for (const Declaration& declaration : *declarations) names.insert(AsciiUpper(declaration.name));
    return names;
}

SourceClass SourceClassifier::WordClass(std::string_view word) const {
    const std::string upper = AsciiUpper(word);
    if (upper.size() >= 2 && upper[0] == 'N' && AllDigits(std::string_view(upper).substr(1)))
        return SourceClass::Label;
    if (upper.size() >= 2 && m_varLetters.find(upper[0]) != std::string::npos &&
        AllDigits(std::string_view(upper).substr(1)))
        return SourceClass::Variable;
    for (const std::string& letters : m_ioLetters)
        if (upper.size() > letters.size() && upper.compare(0, letters.size(), letters) == 0 &&
            AllDigits(std::string_view(upper).substr(letters.size())))
            return SourceClass::InOut;
    if (m_driveNames.count(upper)) return SourceClass::DriveName;
    if (m_keywords.count(upper)) return SourceClass::Keyword;
    if (m_defNames.count(upper)) return SourceClass::DefName;
    return SourceClass::Default;
}

void SourceClassifier::ClassifyLine(std::string_view line, std::string& styles) const {
    const size_t base = styles.size();
    styles.append(line.size(), static_cast<char>(SourceClass::Default));
    auto paint = [&](size_t from, size_t to, SourceClass style) {
        std::fill(styles.begin() + static_cast<std::ptrdiff_t>(base + from),
                  styles.begin() + static_cast<std::ptrdiff_t>(base + to),
                  static_cast<char>(style));
    };
    size_t code = line.find(';');
    if (code == std::string_view::npos) code = line.size();
    paint(code, line.size(), SourceClass::Comment);

    // Section lines: %P00, %TEXT(NAME) and END alone.
    const std::string_view statement = TrimBlanks(line.substr(0, code));
    if (!statement.empty() && (statement.front() == kSectionHeadMark || AsciiUpper(statement) == Word(SectionWord::End))) {
        const size_t from = static_cast<size_t>(statement.data() - line.data());
        paint(from, from + statement.size(), SourceClass::Section);
        return;
    }
    size_t i = 0;
    while (i < code) {
        const char c = line[i];
        if (AsciiDigit(c) || ((c == '.' || c == '-') && i + 1 < code && AsciiDigit(line[i + 1]) &&
                           (i == 0 || !AsciiWordChar(line[i - 1])))) {
            size_t j = i + 1;
            while (j < code && (AsciiDigit(line[j]) || line[j] == '.')) ++j;
            paint(i, j, SourceClass::Number);
            i = j;
        } else if (AsciiAlpha(c) || c == '_') {
            size_t j = i;
            while (j < code && AsciiWordChar(line[j])) ++j;
            paint(i, j, WordClass(line.substr(i, j - i)));
            i = j;
        } else {
            ++i;
        }
    }
}

std::vector<SourceSpan> SourceClassifier::Spans(std::string_view line) const {
    std::string classes;
    ClassifyLine(line, classes);
    std::vector<SourceSpan> spans;
    for (size_t i = 0; i < classes.size();) {
        size_t j = i + 1;
        while (j < classes.size() && classes[j] == classes[i]) ++j;
        if (const auto cls = static_cast<SourceClass>(classes[i]); cls != SourceClass::Default)
            spans.push_back({i, j - i, cls});
        i = j;
    }
    return spans;
}

}  // namespace plc
