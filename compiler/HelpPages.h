// SPDX-License-Identifier: GPL-3.0-or-later
// Where the help explains what: the page of each statement family, the
// anchors of each keyword's and each opcode's forms, of each error code and
// of each name list. The help generator writes its pages under these names,
// and the editor's F1 and the language server's links take them from here,
// so that a link always finds its page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "compiler/StatementFamilies.h"

namespace plc {

struct Topic;

// The family of a defined opcode: that of the first keyword whose forms
// compile to it; none for an opcode no statement compiles to.
std::optional<StatementFamily> FamilyOfOpcode(uint8_t opcode);

// The anchor of an opcode's first form on each family page that shows it
// ("op0C"), and of a keyword's forms on its family page ("kw12").
std::string OpcodeAnchor(uint8_t opcode);
std::string KeywordAnchor(size_t keywordRow);

// The page and anchor ("flow.html#op0C") of the statement on a programme
// line ("N010 JMP N020 ; comment"): the page of the family of the keyword it
// starts with, at its opcode; empty when the line holds no statement that
// compiles.
std::string StatementHelpPage(std::string_view line);

// The page and anchor of an error code ("errors.html#error24").
std::string ErrorHelpPage(int32_t code);

// What to look at when the compiler gives `code`: the error table's advice
// in the help and plcc's SARIF rules. Empty for a code outside the table.
const char* ErrorAdvice(int32_t code);

// The page and anchor that explains what a hover or completion item is
// about: a statement's keyword on its family page, a name in its list on
// the names page, a section, label or programme name where the editor page
// shows the programme text's layout.
std::string TopicHelpPage(const Topic& topic);

}  // namespace plc
