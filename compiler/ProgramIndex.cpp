// SPDX-License-Identifier: GPL-3.0-or-later
// The programme index: look-ups over the source facts of a compile.
#include "compiler/ProgramIndex.h"

#include <algorithm>
#include <utility>

#include "compiler/CompileDriver.h"

namespace plc {

ProgramIndex::ProgramIndex(SourceFacts facts) : m_facts(std::move(facts)) {
    // The tokens are in text order: the first of each line, up to the last
    // line that has one, makes a line's tokens a look-up.
    const std::vector<Token>& tokens = m_facts.tokens;
    const int32_t lines = tokens.empty() ? 0 : tokens.back().line + 1;
    m_lineFirst.assign(static_cast<size_t>(lines) + 1, 0);
    size_t t = 0;
    for (int32_t line = 0; line <= lines; ++line) {
        while (t < tokens.size() && tokens[t].line < line) ++t;
        m_lineFirst[static_cast<size_t>(line)] = static_cast<uint32_t>(t);
    }
    // Label 255 is the programme's END line: the END token of the
    // programme section's last line, as written.
    for (const IndexSection& section : m_facts.sections) {
        if (section.kind != SectionKind::Program || section.endLine < 0) continue;
        if (const Token* end = FindOnLine(section.endLine, TokenKind::SectionEnd)) {
            m_programEnd = {kEndRecord, end->line, end->text};
            m_hasProgramEnd = true;
            return;
        }
    }
}

namespace {

SourceFacts FactsOf(const std::vector<std::string>& lines) {
    CPlcProgram program;
    SourceFacts facts;
    CompileProgramText(program, lines, &facts);
    return facts;
}

}  // namespace

ProgramIndex::ProgramIndex(const std::vector<std::string>& lines) : ProgramIndex(FactsOf(lines)) {}

ProgramIndex ProgramIndex::OfSource(std::string_view text) {
    CPlcProgram program;
    SourceFacts facts;
    CompileProgramSource(program, text, &facts);
    return ProgramIndex(std::move(facts));
}

int32_t ProgramIndex::OpenSectionHead(SectionKind kind) const {
    for (auto it = m_facts.sections.rbegin(); it != m_facts.sections.rend(); ++it) {
        if (it->kind == kind && it->endLine < 0) return it->headLine;
    }
    return -1;
}

const LabelLine* ProgramIndex::FindLabel(int label) const {
    if (label == kEndRecord) return m_hasProgramEnd ? &m_programEnd : nullptr;
    for (const LabelLine& l : m_facts.labels) {
        if (l.label == label) return &l;
    }
    return nullptr;
}

const Declaration* ProgramIndex::FindDeclaration(VarKind var, int index) const {
    for (auto it = m_facts.declarations.rbegin(); it != m_facts.declarations.rend(); ++it) {
        if (it->var == var && it->index == index) return &*it;
    }
    return nullptr;
}

std::vector<Token> ProgramIndex::LabelUses(int label) const {
    std::vector<Token> uses;
    for (const Token& t : m_facts.tokens) {
        if (t.kind == TokenKind::LabelRef && t.label == label) uses.push_back(t);
    }
    return uses;
}

std::vector<Token> ProgramIndex::VariableUses(VarKind var, int index) const {
    std::vector<Token> uses;
    for (const Token& t : m_facts.tokens) {
        if (t.kind == TokenKind::Variable && t.var == var && t.index == index) uses.push_back(t);
    }
    return uses;
}

std::span<const Token> ProgramIndex::TokensOnLine(int32_t line) const {
    if (line < 0 || static_cast<size_t>(line) + 1 >= m_lineFirst.size()) return {};
    const uint32_t first = m_lineFirst[static_cast<size_t>(line)];
    return {m_facts.tokens.data() + first, m_lineFirst[static_cast<size_t>(line) + 1] - first};
}

const Token* ProgramIndex::FindOnLine(int32_t line, TokenKind kind) const {
    for (const Token& t : TokensOnLine(line)) {
        if (t.kind == kind) return &t;
    }
    return nullptr;
}

Token ProgramIndex::TokenAt(int32_t line, int32_t column) const {
    const Token* best = nullptr;
    for (const Token& t : TokensOnLine(line)) {
        if (column < t.column || column >= t.column + t.length) continue;
        // On a tie the operand wins over the keyword that contains it.
        if (best == nullptr || t.length <= best->length) best = &t;
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
