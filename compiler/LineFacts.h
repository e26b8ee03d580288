// SPDX-License-Identifier: GPL-3.0-or-later
// The facts of one line, noted by the line compiler as it reads the line.
// Inside the compiler only: the compile of a text hands them on as
// SourceFacts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "compiler/SourceFacts.h"

namespace plc {

// A DEF line after its keyword, as far as it was read.
struct DefLine {
    const VarFamily* family = nullptr;  // nullptr: no family letter
    size_t letterAt = 0;                // where the letter stands in the stripped line
    uint8_t index = 0;
    size_t nameAt = 0;
    std::string name;
};

class LineFacts {
public:
    // `text` is the line as written (comment cut off); `upper` and `original`
    // its stripped copies, and `columns` the column in `text` of each of
    // their characters.
    LineFacts(SourceFacts& facts, int32_t line, std::string_view text, std::string_view upper,
              std::string_view original, const int32_t* columns)
        : m_facts(facts), m_line(line), m_text(text), m_upper(upper), m_original(original), m_columns(columns) {}

    std::string_view Upper() const { return m_upper; }
    std::string_view Original() const { return m_original; }

    // A section head of `headLength` characters opens a section.
    void OpenSection(SectionKind kind, size_t headLength);
    // The name of the text section stands from `from` to `to`.
    void NameSection(size_t from, size_t to);
    // The line's END closes the open section.
    void CloseSection();
    // A DEF line read so far (`taken`: declared in the text section; `stray`:
    // well formed where no text section is open).
    void Declaration(const DefLine& def, bool taken);
    void StrayDeclaration(const DefLine& def);
    // A statement line's label ends at `labelEnd`; its statement follows.
    void Statement(int label, size_t labelEnd);

private:
    Token& Add(TokenKind kind, size_t from, size_t to);
    void StatementTokens(size_t from);

    SourceFacts& m_facts;
    int32_t m_line;
    std::string_view m_text;
    std::string_view m_upper;
    std::string_view m_original;
    const int32_t* m_columns;
};

}  // namespace plc
