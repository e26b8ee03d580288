// SPDX-License-Identifier: GPL-3.0-or-later
// The source facts of a programme text: its sections and their lines, each
// label with its line, each DEF with its family, index, name and columns,
// and every use of a label or variable with its column. The compile of a
// text collects them as it reads each line, when the caller asks for them
// (CompileProgramSource and its kin take a SourceFacts); the index, hover,
// go to definition, find uses, the lexer's DEF names and the language server
// read them, so that what the tools find is what compiles.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/VarFamilies.h"

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
    DriveValue,   // a drive value a SET reads "ACTPOS": var is the family read into, index its number
};

struct Token {
    TokenKind kind = TokenKind::None;
    int32_t line = -1;
    int32_t column = 0;
    int32_t length = 0;
    std::string text;  // the token as written, blanks removed
    int label = 0;     // LabelDef, LabelRef: the label number (255 for END)
    VarKind var = VarKind::H;  // Variable, DefName: the family; DriveValue: the family it is read into
    int index = 0;             // Variable, DefName: the index (may be out of range); DriveValue: its number
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
    std::string name;     // as written
    int32_t line = 0;
    int32_t column = 0;   // where the name begins
    int32_t length = 0;   // the columns it spans, blanks inside included
};

struct SourceFacts {
    // Set before the compile: true collects the sections and declarations
    // only, leaving out the statement lines (labels, keywords and uses), for
    // a reader that wants no more, at little more than the compile's cost.
    bool declarationsOnly = false;

    std::vector<IndexSection> sections;
    // Every labelled statement line in text order (a label may repeat).
    std::vector<LabelLine> labels;
    // Every DEF line of a text section that declares a name, in text order.
    std::vector<Declaration> declarations;
    // Well-formed DEF lines where no text section is open: the compiler
    // refuses them, but they say which names the writer means to declare.
    std::vector<Declaration> strayDeclarations;
    // Every token in text order.
    std::vector<Token> tokens;
};

}  // namespace plc
