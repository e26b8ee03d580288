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

namespace plc {

struct Topic;

// The statement families, one help page each.
enum class StatementFamily : uint8_t {
    Jumps,        // jumps and conditions
    Calls,        // calls, returns, NOP and breakpoints
    Assignments,  // F, H, M, C and Z variables
    Outputs,      // outputs, drive registers, control flags and parameters
    Waits,
    Motion,
    Ramps,
    Fieldbus,
};

inline constexpr StatementFamily kStatementFamilies[] = {
    StatementFamily::Jumps, StatementFamily::Calls, StatementFamily::Assignments, StatementFamily::Outputs,
    StatementFamily::Waits, StatementFamily::Motion, StatementFamily::Ramps,       StatementFamily::Fieldbus};

// The page of a family ("flow.html") and its title.
const char* FamilyPage(StatementFamily family);
const char* FamilyTitle(StatementFamily family);

// The family of the forms that row `keywordRow` of the keyword chain
// compiles: what the keyword begins with decides, a fieldbus jump being
// fieldbus and a SET of a drive register, control flag, output or
// parameter an output rather than an assignment.
StatementFamily FamilyOfKeyword(size_t keywordRow);

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
