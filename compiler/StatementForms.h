// SPDX-License-Identifier: GPL-3.0-or-later
// The statement forms of each keyword of the chain, taken from the
// instruction tables: the canonical texts the decoder renders, with their
// operands as placeholders ("SET Hxxx = Hxxx"). Completion, hover and the
// language server show and insert these texts, so that what they offer is
// what the decoder writes back.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "image/InstrSet.h"

namespace plc {

// A statement form of the instruction tables, as a one-line text with
// placeholders ("SET Hxxx = Hxxx"), and the record it compiles to.
struct StatementForm {
    std::string text;
    const OpcodeRow* row = nullptr;
    const Variant* variant = nullptr;
    const char* format = nullptr;      // the variant's label form, or its END form
    const Operands* args = nullptr;    // the operands of `format`
    // Per conversion of `format`, the name that the keyword row writes
    // there (a register, a control flag, an input or output of its group);
    // empty where the row writes no name of its own.
    std::vector<std::string> names;
};

// The forms that the keyword chain's row `keywordRow` compiles (a form belongs
// to the first row whose keyword begins it, as the chain decides).
const std::vector<StatementForm>& KeywordForms(size_t keywordRow);

// A variant's format string as a form text: the label dropped, each operand
// a placeholder.
std::string FormText(const char* format, const Operands& args);

// The form's canonical text up to its first operand ("SET H" of
// "SET Hxxx = Hxxx"): what a writer types before the first value.
std::string FormHead(const StatementForm& form);

// The form as a snippet: the canonical text with each operand a numbered
// tab stop holding its placeholder ("SET H${1:xxx} = H${2:xxx}").
std::string FormSnippet(const StatementForm& form);

// The first word of a form text ("SET", "JMP"), which names its statement.
std::string FormWord(const std::string& formText);

// The placeholder a form shows for an operand of `dom` ("xxx", "c.c").
std::string Placeholder(Dom dom);

}  // namespace plc
