// An index of a programme text for the tools that navigate it (the language
// server, the editor window's hover, go to definition and find uses): the
// sections, the labels, the DEF names, and every use of a label or variable
// with its line and column. It reads the lines as the line compiler does —
// comment cut at ";", blanks removed, keywords in any case, the same section
// state machine and keyword chain — so that what it finds agrees with what
// compiles. It never reports errors; that is the compile driver's job.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "image/PlcProgram.h"

namespace plc {

// Lines are 0-based; columns are 0-based byte offsets into the line as written
// (blanks included); a token spans `length` bytes from `column`.
enum class TokenKind : uint8_t {
    None,
    SectionHead,  // "%TEXT(...)" or "%P00"
    SectionEnd,   // the END line of a section
    LabelDef,     // the label "N###" at the head of a statement line
    LabelRef,     // a jump or CALL target "N###", or "END" (label 255)
    Keyword,      // the statement keyword the keyword chain matched ("JMP(F", "SETH", ...)
    Variable,     // a variable "H005", in a statement or a DEF line
    DefName,      // the name a DEF line gives
    ProgramName,  // the name in "%TEXT(NAME)"
    Io,           // an input or output "IS3", "OE1"
    Status,       // a status flag "STA_INPOS"
};

struct Token {
    TokenKind kind = TokenKind::None;
    int32_t line = -1;
    int32_t column = 0;
    int32_t length = 0;
    std::string text;  // the token as written, blanks removed
    int label = 0;     // LabelDef, LabelRef: the label number (255 for END)
    VarKind var = VarKind::H;  // Variable, DefName: the family
    int index = 0;             // Variable, DefName: the index (may be out of range)
    int keywordRow = -1;       // Keyword: the row of KeywordChain()
};

enum class SectionKind : uint8_t { Text, Program };

struct IndexSection {
    SectionKind kind = SectionKind::Program;
    int32_t headLine = 0;
    int32_t endLine = -1;  // -1 when the text ends inside the section
    std::string name;      // the %TEXT name as written, empty for the programme
};

struct LabelLine {
    int label = 0;
    int32_t line = 0;
    std::string statement;  // the line as written without its comment, trimmed
};

struct Declaration {
    VarKind var = VarKind::H;
    int index = 0;
    std::string name;  // as written
    int32_t line = 0;
};

class ProgramIndex {
public:
    ProgramIndex() = default;
    explicit ProgramIndex(const std::vector<std::string>& lines);

    const std::vector<IndexSection>& Sections() const { return m_sections; }
    // Every labelled statement line in text order (a label may repeat).
    const std::vector<LabelLine>& Labels() const { return m_labels; }
    // Every DEF line that declares a name, in text order.
    const std::vector<Declaration>& Declarations() const { return m_declarations; }
    // Every token in text order.
    const std::vector<Token>& Tokens() const { return m_tokens; }

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

    // The variable family of a letter 'C', 'F', 'H', 'M', 'Z' (any case); false otherwise.
    static bool VarKindOf(char letter, VarKind& kind);
    static char VarLetter(VarKind kind);

private:
    void IndexStatement(int32_t line, std::string_view upper, std::string_view original,
                        const std::vector<int32_t>& columns, size_t from);
    void AddToken(TokenKind kind, int32_t line, const std::vector<int32_t>& columns, size_t from,
                  size_t to, std::string_view original);

    std::vector<IndexSection> m_sections;
    std::vector<LabelLine> m_labels;
    std::vector<Declaration> m_declarations;
    std::vector<Token> m_tokens;
    LabelLine m_programEnd;
    bool m_hasProgramEnd = false;
};

}  // namespace plc
