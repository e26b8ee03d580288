// SPDX-License-Identifier: GPL-3.0-or-later
// The facts of one line: where its section words, label, name and uses
// stand, in the columns of the line as written.
#include "compiler/LineFacts.h"

#include <algorithm>
#include <span>

#include "base/Ascii.h"
#include "compiler/Statements.h"
#include "image/InstrSet.h"
#include "image/SectionWords.h"

namespace plc {

namespace {

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

// The drive values that a statement of `keyword` reads after "=", with the
// family they are read into: "SET Fxxx = ACTPOS" and "SET Hxxx = ACTPOS"
// name them from tables of their own; no other keyword reads them.
std::span<const std::string_view> DriveValuesOf(std::string_view keyword, VarKind& family) {
    if (keyword == "SETF") {
        family = VarKind::F;
        return DriveValueFNames();
    }
    if (keyword == "SETH") {
        family = VarKind::H;
        return DriveValueHNames();
    }
    return {};
}

}  // namespace

Token& LineFacts::Add(TokenKind kind, size_t from, size_t to) {
    Token t;
    t.kind = kind;
    t.line = m_line;
    t.column = m_columns[from];
    t.length = m_columns[to - 1] + 1 - m_columns[from];
    t.text = std::string(m_original.substr(from, to - from));
    m_facts.tokens.push_back(std::move(t));
    return m_facts.tokens.back();
}

void LineFacts::OpenSection(SectionKind kind, size_t headLength) {
    m_facts.sections.push_back({kind, m_line, -1, {}});
    Add(TokenKind::SectionHead, 0, headLength);
}

void LineFacts::NameSection(size_t from, size_t to) {
    m_facts.sections.back().name = std::string(m_original.substr(from, to - from));
    Add(TokenKind::ProgramName, from, to);
}

void LineFacts::CloseSection() {
    m_facts.sections.back().endLine = m_line;
    Add(TokenKind::SectionEnd, 0, Word(SectionWord::End).size());
}

void LineFacts::Declaration(const DefLine& def, bool taken) {
    if (def.family == nullptr) return;
    int index = 0;
    const size_t digitsEnd = ReadNumber(m_upper, def.letterAt + 1, index);
    if (digitsEnd == def.letterAt + 1) return;
    Token& variable = Add(TokenKind::Variable, def.letterAt, digitsEnd);
    variable.var = def.family->kind;
    variable.index = index;
    if (!taken) return;
    const size_t nameEnd = def.nameAt + def.name.size();
    Token& name = Add(TokenKind::DefName, def.nameAt, nameEnd);
    name.var = def.family->kind;
    name.index = def.index;
    m_facts.declarations.push_back({def.family->kind, def.index, def.name, m_line, name.column, name.length});
}

void LineFacts::StrayDeclaration(const DefLine& def) {
    const int32_t column = m_columns[def.nameAt];
    const int32_t length = m_columns[def.nameAt + def.name.size() - 1] + 1 - column;
    m_facts.strayDeclarations.push_back({def.family->kind, def.index, def.name, m_line, column, length});
}

void LineFacts::Statement(int label, size_t labelEnd) {
    if (m_facts.declarationsOnly) return;
    Add(TokenKind::LabelDef, 0, labelEnd).label = label;
    std::string_view statement = m_text;
    while (!statement.empty() && IsBlank(statement.front())) statement.remove_prefix(1);
    while (!statement.empty() && IsBlank(statement.back())) statement.remove_suffix(1);
    m_facts.labels.push_back({label, m_line, std::string(statement)});
    StatementTokens(labelEnd);
}

// The statement after a label: its keyword by the keyword chain, then the
// operands that name labels, variables, inputs, outputs, status flags and
// drive values.
// The whole statement is read, also after a fault the compiler stopped at,
// so that a line being written still shows what it uses.
void LineFacts::StatementTokens(size_t from) {
    const std::string_view up = m_upper;
    size_t labelAfterKeyword = std::string_view::npos;  // the "N" of JMPN and CALLN
    std::span<const std::string_view> driveValues;
    VarKind driveFamily = VarKind::H;
    if (const int row = MatchKeyword(up.substr(from)); row >= 0) {
        const KeywordRow& matched = KeywordChain()[static_cast<size_t>(row)];
        const std::string_view keyword = matched.keyword;
        Add(TokenKind::Keyword, from, from + keyword.size()).keywordRow = row;
        if (matched.labelFollows) labelAfterKeyword = from + keyword.size() - 1;
        driveValues = DriveValuesOf(keyword, driveFamily);
    }

    const std::string_view end = Word(SectionWord::End);
    size_t p = from;
    while (p < up.size()) {
        const char c = up[p];
        const bool digitFollows = p + 1 < up.size() && AsciiDigit(up[p + 1]);
        const bool afterBracket = p > from && up[p - 1] == ')';
        if (c == 'N' && digitFollows && (p == labelAfterKeyword || afterBracket)) {
            int label = 0;
            const size_t labelEnd = ReadNumber(up, p + 1, label);
            Add(TokenKind::LabelRef, p, labelEnd).label = label;
            p = labelEnd;
            continue;
        }
        if (afterBracket && c == end[0] && up.substr(p).starts_with(end)) {
            Add(TokenKind::LabelRef, p, p + end.size()).label = kEndRecord;
            p += end.size();
            continue;
        }
        // A drive value by name right after "=", the first of the table
        // that the text begins with, as the compiler takes it.
        if (p > from && up[p - 1] == '=' && !driveValues.empty()) {
            const auto named = std::find_if(driveValues.begin(), driveValues.end(),
                                            [rest = up.substr(p)](std::string_view name) { return rest.starts_with(name); });
            if (named != driveValues.end()) {
                Token& value = Add(TokenKind::DriveValue, p, p + named->size());
                value.var = driveFamily;
                value.index = static_cast<int>(named - driveValues.begin());
                p += named->size();
                continue;
            }
        }
        if (c == 'S' && up.substr(p).starts_with("STA_")) {
            size_t nameEnd = p + 4;
            for (uint8_t number : StatusMatchOrder()) {
                const std::string_view name = StatusName(number);
                if (up.substr(p).starts_with(name)) {
                    nameEnd = p + name.size();
                    break;
                }
            }
            Add(TokenKind::Status, p, nameEnd);
            p = nameEnd;
            continue;
        }
        if (const VarFamily* family = FamilyOfLetter(c); family != nullptr && digitFollows) {
            int index = 0;
            const size_t indexEnd = ReadNumber(up, p + 1, index);
            Token& variable = Add(TokenKind::Variable, p, indexEnd);
            variable.var = family->kind;
            variable.index = index;
            p = indexEnd;
            continue;
        }
        // The groups' letters are two characters, their number follows.
        if (p + 2 < up.size() && AsciiDigit(up[p + 2])) {
            bool io = false;
            for (const auto groups : {InputGroups(), OutputGroups()}) {
                for (const IoGroup& g : groups) io = io || (g.letters[0] == c && g.letters[1] == up[p + 1]);
            }
            if (io) {
                int number = 0;
                const size_t numberEnd = ReadNumber(up, p + 2, number);
                Add(TokenKind::Io, p, numberEnd).index = number;
                p = numberEnd;
                continue;
            }
        }
        ++p;
    }
}

}  // namespace plc
