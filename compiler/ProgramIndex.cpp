// The programme index: one pass over the lines with the line compiler's
// reading rules, recording where sections, labels, names and uses stand.
#include "compiler/ProgramIndex.h"

#include <algorithm>

#include "base/Ascii.h"
#include "compiler/Statements.h"
#include "image/InstrSet.h"
#include "image/SectionWords.h"

namespace plc {

namespace {

constexpr size_t kMaxLineLength = 80;  // the line compiler refuses longer lines

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Digits at `at` as a value (capped, so that long runs cannot overflow);
// returns the position after them, `at` when there is no digit.
size_t ReadNumber(std::string_view s, size_t at, int& value) {
    value = 0;
    size_t p = at;
    while (p < s.size() && AsciiDigit(s[p])) {
        if (value < 1000000) value = value * 10 + (s[p] - '0');
        ++p;
    }
    return p;
}

bool IsNameChar(char c) { return AsciiAlnum(c) || c == '_'; }

// A name as ScanName reads it and the caller then checks: 1 to 32 name
// characters from `at`, ending at `stop` (a ")" or the end of the line).
bool ValidName(std::string_view s, size_t at, size_t stop) {
    if (stop <= at || stop - at > static_cast<size_t>(kMaxNameLength)) return false;
    for (size_t p = at; p < stop; ++p) {
        if (!IsNameChar(s[p])) return false;
    }
    return true;
}

}  // namespace

bool ProgramIndex::VarKindOf(char letter, VarKind& kind) {
    const VarFamily* family = FamilyOfLetter(letter);
    if (family != nullptr) kind = family->kind;
    return family != nullptr;
}

char ProgramIndex::VarLetter(VarKind kind) { return FamilyOf(kind).letter; }

void ProgramIndex::AddToken(TokenKind kind, int32_t line, const std::vector<int32_t>& columns,
                            size_t from, size_t to, std::string_view original) {
    Token t;
    t.kind = kind;
    t.line = line;
    t.column = columns[from];
    t.length = columns[to - 1] + 1 - columns[from];
    t.text = std::string(original.substr(from, to - from));
    m_tokens.push_back(std::move(t));
}

ProgramIndex::ProgramIndex(const std::vector<std::string>& lines) {
    uint8_t state = kOutsideSection;
    bool textDeclared = false;
    bool programEnded = false;
    std::string original;
    std::string upper;
    std::vector<int32_t> columns;

    for (size_t i = 0; i < lines.size(); ++i) {
        const auto lineNo = static_cast<int32_t>(i);
        std::string_view raw = lines[i];
        if (const size_t semicolon = raw.find(';'); semicolon != std::string_view::npos) {
            raw = raw.substr(0, semicolon);
        }
        if (raw.empty() || raw.size() >= kMaxLineLength) continue;
        original.clear();
        upper.clear();
        columns.clear();
        for (size_t c = 0; c < raw.size(); ++c) {
            if (IsBlank(raw[c])) continue;
            original.push_back(raw[c]);
            upper.push_back(AsciiUpper(raw[c]));
            columns.push_back(static_cast<int32_t>(c));
        }
        if (upper.empty()) continue;
        const std::string_view up = upper;

        if (state == kOutsideSection) {
            if (up.starts_with(Word(SectionWord::TextHead))) {
                if (textDeclared) continue;
                state = kInTextSection;
                IndexSection section{SectionKind::Text, lineNo, -1, {}};
                AddToken(TokenKind::SectionHead, lineNo, columns, 0, 5, original);
                if (up.size() > 5 && up[5] == '(') {
                    const size_t stop = up.find(')', 6);
                    if (stop != std::string_view::npos && ValidName(original, 6, stop)) {
                        section.name = original.substr(6, stop - 6);
                        AddToken(TokenKind::ProgramName, lineNo, columns, 6, stop, original);
                    }
                }
                m_sections.push_back(std::move(section));
            } else if (up == Word(SectionWord::ProgramHead) && !programEnded) {
                state = kInProgramSection;
                m_sections.push_back({SectionKind::Program, lineNo, -1, {}});
                AddToken(TokenKind::SectionHead, lineNo, columns, 0, 4, original);
            }
            continue;
        }

        if (state == kInTextSection) {
            if (up == Word(SectionWord::End)) {
                state = kOutsideSection;
                textDeclared = true;
                m_sections.back().endLine = lineNo;
                AddToken(TokenKind::SectionEnd, lineNo, columns, 0, 3, original);
                continue;
            }
            VarKind var;
            if (!up.starts_with(Word(SectionWord::Def)) || up.size() < 5 || !VarKindOf(up[3], var)) continue;
            int index = 0;
            const size_t digitsEnd = ReadNumber(up, 4, index);
            if (digitsEnd == 4) continue;
            AddToken(TokenKind::Variable, lineNo, columns, 3, digitsEnd, original);
            m_tokens.back().var = var;
            m_tokens.back().index = index;
            if (index >= VarCount(var) || digitsEnd >= up.size() || up[digitsEnd] != '=') continue;
            const size_t nameAt = digitsEnd + 1;
            if (!ValidName(original, nameAt, up.size())) continue;
            AddToken(TokenKind::DefName, lineNo, columns, nameAt, up.size(), original);
            m_tokens.back().var = var;
            m_tokens.back().index = index;
            m_declarations.push_back({var, index, original.substr(nameAt), lineNo});
            continue;
        }

        // Inside the programme: a labelled statement or the closing END.
        if (up.starts_with(Word(SectionWord::End))) {
            state = kOutsideSection;
            programEnded = true;
            m_sections.back().endLine = lineNo;
            AddToken(TokenKind::SectionEnd, lineNo, columns, 0, 3, original);
            if (!m_hasProgramEnd) {
                m_programEnd = {kEndRecord, lineNo, std::string(original.substr(0, 3))};
                m_hasProgramEnd = true;
            }
            continue;
        }
        if (!up.starts_with("N")) continue;
        int label = 0;
        const size_t labelEnd = ReadNumber(up, 1, label);
        if (labelEnd == 1 || label < kFirstLabel || label > kLastLabel) continue;
        AddToken(TokenKind::LabelDef, lineNo, columns, 0, labelEnd, original);
        m_tokens.back().label = label;
        std::string_view statement = raw;
        while (!statement.empty() && IsBlank(statement.front())) statement.remove_prefix(1);
        while (!statement.empty() && IsBlank(statement.back())) statement.remove_suffix(1);
        m_labels.push_back({label, lineNo, std::string(statement)});
        IndexStatement(lineNo, up, original, columns, labelEnd);
    }
}

// The statement after a label: its keyword by the keyword chain, then the
// operands that name labels, variables, inputs, outputs and status flags.
void ProgramIndex::IndexStatement(int32_t line, std::string_view up, std::string_view original,
                                  const std::vector<int32_t>& columns, size_t from) {
    const std::span<const KeywordRow> chain = KeywordChain();
    size_t labelAfterKeyword = std::string_view::npos;  // the "N" of JMPN and CALLN
    for (size_t row = 0; row < chain.size(); ++row) {
        const std::string_view keyword = chain[row].keyword;
        if (!up.substr(from).starts_with(keyword)) continue;
        AddToken(TokenKind::Keyword, line, columns, from, from + keyword.size(), original);
        m_tokens.back().keywordRow = static_cast<int>(row);
        if (keyword == "JMPN" || keyword == "CALLN") labelAfterKeyword = from + keyword.size() - 1;
        break;
    }

    size_t p = from;
    while (p < up.size()) {
        const char c = up[p];
        const bool digitFollows = p + 1 < up.size() && AsciiDigit(up[p + 1]);
        const bool afterBracket = p > from && up[p - 1] == ')';
        if (c == 'N' && digitFollows && (p == labelAfterKeyword || afterBracket)) {
            int label = 0;
            const size_t end = ReadNumber(up, p + 1, label);
            AddToken(TokenKind::LabelRef, line, columns, p, end, original);
            m_tokens.back().label = label;
            p = end;
            continue;
        }
        if (afterBracket && up.substr(p).starts_with(Word(SectionWord::End))) {
            AddToken(TokenKind::LabelRef, line, columns, p, p + 3, original);
            m_tokens.back().label = kEndRecord;
            p += 3;
            continue;
        }
        if (up.substr(p).starts_with("STA_")) {
            size_t end = p + 4;
            for (uint8_t number : StatusMatchOrder()) {
                const std::string_view name = StatusName(number);
                if (up.substr(p).starts_with(name)) {
                    end = p + name.size();
                    break;
                }
            }
            AddToken(TokenKind::Status, line, columns, p, end, original);
            p = end;
            continue;
        }
        VarKind var;
        if (VarKindOf(c, var) && digitFollows) {
            int index = 0;
            const size_t end = ReadNumber(up, p + 1, index);
            AddToken(TokenKind::Variable, line, columns, p, end, original);
            m_tokens.back().var = var;
            m_tokens.back().index = index;
            p = end;
            continue;
        }
        if (p + 2 < up.size() && AsciiDigit(up[p + 2])) {
            bool io = false;
            for (const auto groups : {InputGroups(), OutputGroups()}) {
                for (const IoGroup& g : groups) io = io || up.substr(p).starts_with(g.letters);
            }
            if (io) {
                int number = 0;
                const size_t end = ReadNumber(up, p + 2, number);
                AddToken(TokenKind::Io, line, columns, p, end, original);
                m_tokens.back().index = number;
                p = end;
                continue;
            }
        }
        ++p;
    }
}

const LabelLine* ProgramIndex::FindLabel(int label) const {
    if (label == kEndRecord) return m_hasProgramEnd ? &m_programEnd : nullptr;
    for (const LabelLine& l : m_labels) {
        if (l.label == label) return &l;
    }
    return nullptr;
}

const Declaration* ProgramIndex::FindDeclaration(VarKind var, int index) const {
    for (auto it = m_declarations.rbegin(); it != m_declarations.rend(); ++it) {
        if (it->var == var && it->index == index) return &*it;
    }
    return nullptr;
}

std::vector<Token> ProgramIndex::LabelUses(int label) const {
    std::vector<Token> uses;
    for (const Token& t : m_tokens) {
        if (t.kind == TokenKind::LabelRef && t.label == label) uses.push_back(t);
    }
    return uses;
}

std::vector<Token> ProgramIndex::VariableUses(VarKind var, int index) const {
    std::vector<Token> uses;
    for (const Token& t : m_tokens) {
        if (t.kind == TokenKind::Variable && t.var == var && t.index == index) uses.push_back(t);
    }
    return uses;
}

Token ProgramIndex::TokenAt(int32_t line, int32_t column) const {
    auto it = std::lower_bound(m_tokens.begin(), m_tokens.end(), line,
                               [](const Token& t, int32_t l) { return t.line < l; });
    const Token* best = nullptr;
    for (; it != m_tokens.end() && it->line == line; ++it) {
        if (column < it->column || column >= it->column + it->length) continue;
        // On a tie the operand wins over the keyword that contains it.
        if (best == nullptr || it->length <= best->length) best = &*it;
    }
    return best != nullptr ? *best : Token{};
}

Token ProgramIndex::TokenNear(int32_t line, int32_t column) const {
    Token token = TokenAt(line, column);
    if (token.kind == TokenKind::None && column > 0) token = TokenAt(line, column - 1);
    return token;
}

int32_t ProgramIndex::DefinitionLine(const Token& token) const {
    if (NamesLabel(token)) {
        if (const LabelLine* label = FindLabel(token.label)) return label->line;
    } else if (NamesVariable(token)) {
        if (const Declaration* declaration = FindDeclaration(token.var, token.index)) return declaration->line;
    }
    return -1;
}

std::vector<Token> ProgramIndex::UsesOf(const Token& token) const {
    if (NamesLabel(token)) return LabelUses(token.label);
    if (NamesVariable(token)) return VariableUses(token.var, token.index);
    return {};
}

}  // namespace plc
