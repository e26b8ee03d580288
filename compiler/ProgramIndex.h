// SPDX-License-Identifier: GPL-3.0-or-later
// An index over the source facts of a programme text, for the tools that
// navigate it (the language server, the editor window's hover, go to
// definition and find uses): what stands at a position, where a label or
// name is defined and where it is used. The facts come from the compile of
// the text (SourceFacts), so what the index finds agrees with what compiles.
// It never reports errors; that is the compile driver's job.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/SourceFacts.h"
#include "image/LabelText.h"  // LabelText, by which the index's users write labels

namespace plc {

class ProgramIndex {
public:
    ProgramIndex() = default;
    explicit ProgramIndex(SourceFacts facts);
    // The facts of `lines`, compiled into a programme of its own.
    explicit ProgramIndex(const std::vector<std::string>& lines);
    // The facts of a whole source text, compiled in place into a programme
    // of its own.
    static ProgramIndex OfSource(std::string_view text);

    const SourceFacts& Facts() const { return m_facts; }
    const std::vector<IndexSection>& Sections() const { return m_facts.sections; }
    // The head line of the last section of `kind` that the text leaves
    // without its END; -1 when there is none. A missing END is reported at
    // the last line read, but belongs to this line.
    int32_t OpenSectionHead(SectionKind kind) const;
    // Every labelled statement line in text order (a label may repeat).
    const std::vector<LabelLine>& Labels() const { return m_facts.labels; }
    // Every DEF line that declares a name, in text order.
    const std::vector<Declaration>& Declarations() const { return m_facts.declarations; }
    // Every token in text order.
    const std::vector<Token>& Tokens() const { return m_facts.tokens; }

    // The first line that carries `label`; for 255 the programme's END line.
    // nullptr when there is none.
    const LabelLine* FindLabel(int label) const;
    // The DEF that names a variable: a later DEF replaces an earlier one, as in
    // the compiler. nullptr when the variable has no name.
    const Declaration* FindDeclaration(VarKind var, int index) const;

    // Jump and CALL targets naming `label`.
    std::vector<Token> LabelUses(int label) const;
    // Every occurrence of a variable: in statements and in DEF lines.
    std::vector<Token> VariableUses(VarKind var, int index) const;

    // The tokens of one line, in text order.
    std::span<const Token> TokensOnLine(int32_t line) const;
    // The first token of `kind` on a line; nullptr when it has none.
    const Token* FindOnLine(int32_t line, TokenKind kind) const;

    // The innermost token at a position, or a token of kind None.
    Token TokenAt(int32_t line, int32_t column) const;
    // The token at a position or, failing that, the one just before it: a
    // caret right behind a word still names the word.
    Token TokenNear(int32_t line, int32_t column) const;

    // The line that defines what a label or variable token names: the
    // label's statement (END's line for 255), the variable's DEF line; -1
    // when there is none or the token names neither.
    int32_t DefinitionLine(const Token& token) const;
    // Every use of the label or variable a token names; empty for any other token.
    std::vector<Token> UsesOf(const Token& token) const;

    static bool NamesLabel(const Token& token) {
        return token.kind == TokenKind::LabelRef || token.kind == TokenKind::LabelDef;
    }
    static bool NamesVariable(const Token& token) {
        return token.kind == TokenKind::Variable || token.kind == TokenKind::DefName;
    }

private:
    SourceFacts m_facts;
    // Index into m_facts.tokens of the first token of each line, one entry
    // more than the lines that have tokens.
    std::vector<uint32_t> m_lineFirst;
    LabelLine m_programEnd;
    bool m_hasProgramEnd = false;
};

}  // namespace plc
