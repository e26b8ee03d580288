#include "platform/SourceLexer.h"

#include <Qsci/qsciscintilla.h>

#include <QColor>
#include <QMetaObject>
#include <algorithm>

#include "base/Ascii.h"
#include "compiler/CompileDriver.h"
#include "compiler/Statements.h"
#include "image/InstrSet.h"
#include "image/SectionWords.h"

namespace plc {

namespace {

bool IsWordChar(char c) { return AsciiAlnum(c) || c == '_'; }

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = AsciiUpper(c);
    return out;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), AsciiDigit);
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// The word runs of a keyword-chain prefix: "JMP(RXMSG," gives JMP and RXMSG.
std::vector<std::string> Runs(std::string_view prefix) {
    std::vector<std::string> runs;
    size_t i = 0;
    while (i < prefix.size()) {
        if (!IsWordChar(prefix[i])) {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < prefix.size() && IsWordChar(prefix[j])) ++j;
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

SourceLexer::SourceLexer() {
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
    // The declaration keyword of a text section.
    m_keywords.insert(std::string(Word(SectionWord::Def)));
}

std::set<std::string> SourceLexer::DefNames(std::string_view text) {
    // The compile of the text says which lines declare which names; a
    // declaration where no text section is open counts as well, so that a
    // name is coloured while its section is still being written.
    CPlcProgram scratch;
    SourceFacts facts;
    facts.declarationsOnly = true;
    CompileProgramSource(scratch, text, &facts);
    std::set<std::string> names;
    for (const auto* declarations : {&facts.declarations, &facts.strayDeclarations})
        for (const Declaration& declaration : *declarations) names.insert(Upper(declaration.name));
    return names;
}

SourceStyle SourceLexer::WordStyle(std::string_view word) const {
    const std::string upper = Upper(word);
    if (upper.size() >= 2 && upper[0] == 'N' && AllDigits(std::string_view(upper).substr(1)))
        return SourceStyle::Label;
    if (upper.size() >= 2 && m_varLetters.find(upper[0]) != std::string::npos &&
        AllDigits(std::string_view(upper).substr(1)))
        return SourceStyle::Variable;
    for (const std::string& letters : m_ioLetters)
        if (upper.size() > letters.size() && upper.compare(0, letters.size(), letters) == 0 &&
            AllDigits(std::string_view(upper).substr(letters.size())))
            return SourceStyle::InOut;
    if (m_driveNames.count(upper)) return SourceStyle::DriveName;
    if (m_keywords.count(upper) || upper == Word(SectionWord::End)) return SourceStyle::Keyword;
    if (m_defNames.count(upper)) return SourceStyle::DefName;
    return SourceStyle::Default;
}

void SourceLexer::StyleLine(std::string_view line, std::string& styles) const {
    const size_t base = styles.size();
    styles.append(line.size(), static_cast<char>(SourceStyle::Default));
    auto paint = [&](size_t from, size_t to, SourceStyle style) {
        std::fill(styles.begin() + static_cast<std::ptrdiff_t>(base + from),
                  styles.begin() + static_cast<std::ptrdiff_t>(base + to),
                  static_cast<char>(style));
    };
    size_t code = line.find(';');
    if (code == std::string_view::npos) code = line.size();
    paint(code, line.size(), SourceStyle::Comment);

    // Section lines: %P00, %TEXT(NAME) and END alone.
    const std::string_view statement = Trim(line.substr(0, code));
    if (!statement.empty() && (statement.front() == kSectionHeadMark || Upper(statement) == Word(SectionWord::End))) {
        const size_t from = static_cast<size_t>(statement.data() - line.data());
        paint(from, from + statement.size(), SourceStyle::Section);
        return;
    }
    size_t i = 0;
    while (i < code) {
        const char c = line[i];
        if (AsciiDigit(c) || ((c == '.' || c == '-') && i + 1 < code && AsciiDigit(line[i + 1]) &&
                           (i == 0 || !IsWordChar(line[i - 1])))) {
            size_t j = i + 1;
            while (j < code && (AsciiDigit(line[j]) || line[j] == '.')) ++j;
            paint(i, j, SourceStyle::Number);
            i = j;
        } else if (AsciiAlpha(c) || c == '_') {
            size_t j = i;
            while (j < code && IsWordChar(line[j])) ++j;
            paint(i, j, WordStyle(line.substr(i, j - i)));
            i = j;
        } else {
            ++i;
        }
    }
}

// ---------------------------------------------------------------- PlcLexer

PlcLexer::PlcLexer(QObject* parent) : QsciLexerCustom(parent) {}

QString PlcLexer::description(int style) const {
    switch (static_cast<SourceStyle>(style)) {
        case SourceStyle::Default: return "Default";
        case SourceStyle::Comment: return "Comment";
        case SourceStyle::Section: return "Section";
        case SourceStyle::Label: return "Label";
        case SourceStyle::Keyword: return "Keyword";
        case SourceStyle::Variable: return "Variable";
        case SourceStyle::DefName: return "DEF name";
        case SourceStyle::InOut: return "Input or output";
        case SourceStyle::Number: return "Number";
        case SourceStyle::DriveName: return "Drive name";
    }
    return {};
}

QColor PlcLexer::defaultColor(int style) const {
    switch (static_cast<SourceStyle>(style)) {
        case SourceStyle::Comment: return QColor(0x6a, 0x8a, 0x35);
        case SourceStyle::Section: return QColor(0x80, 0x00, 0x80);
        case SourceStyle::Label: return QColor(0xa0, 0x52, 0x00);
        case SourceStyle::Keyword: return QColor(0x00, 0x33, 0xb3);
        case SourceStyle::Variable: return QColor(0x87, 0x10, 0x94);
        case SourceStyle::DefName: return QColor(0x00, 0x80, 0x80);
        case SourceStyle::InOut: return QColor(0xb0, 0x30, 0x30);
        case SourceStyle::Number: return QColor(0x17, 0x50, 0xeb);
        case SourceStyle::DriveName: return QColor(0x00, 0x62, 0x7a);
        case SourceStyle::Default: break;
    }
    return QColor(Qt::black);
}

QFont PlcLexer::defaultFont(int style) const {
    QFont font = QsciLexerCustom::defaultFont(style);
    if (style == static_cast<int>(SourceStyle::Keyword) ||
        style == static_cast<int>(SourceStyle::Section))
        font.setBold(true);
    if (style == static_cast<int>(SourceStyle::Comment)) font.setItalic(true);
    return font;
}

void PlcLexer::styleText(int start, int end) {
    QsciScintilla* sci = editor();
    if (!sci) return;
    const long length = sci->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    const char* text = reinterpret_cast<const char*>(
        sci->SendScintilla(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
    if (!text) return;
    const std::string_view all(text, static_cast<size_t>(length));

    // A changed DEF name changes the colour of its uses anywhere: the whole
    // text is coloured again.
    std::set<std::string> names = SourceLexer::DefNames(all);
    if (names != m_lexer.DefNamesInUse()) {
        m_lexer.SetDefNames(std::move(names));
        start = 0;
        end = static_cast<int>(length);
    }
    const long firstLine = sci->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, start);
    start = static_cast<int>(sci->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, firstLine));
    end = std::clamp(end, start, static_cast<int>(length));

    m_styles.clear();
    size_t pos = static_cast<size_t>(start);
    while (pos < static_cast<size_t>(end)) {
        size_t lineEnd = all.find('\n', pos);
        const size_t next = lineEnd == std::string_view::npos ? all.size() : lineEnd + 1;
        if (lineEnd == std::string_view::npos) lineEnd = all.size();
        size_t contentEnd = lineEnd;
        if (contentEnd > pos && all[contentEnd - 1] == '\r') --contentEnd;
        m_lexer.StyleLine(all.substr(pos, contentEnd - pos), m_styles);
        m_styles.append(next - contentEnd, static_cast<char>(SourceStyle::Default));
        pos = next;
    }
    startStyling(start);
    sci->SendScintilla(QsciScintillaBase::SCI_SETSTYLINGEX, m_styles.size(), m_styles.data());
}

}  // namespace plc
