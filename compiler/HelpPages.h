// SPDX-License-Identifier: GPL-3.0-or-later
// Where the help explains what: the page of each statement family, the
// anchors of each keyword's and each opcode's forms, of each error code and
// of each name list. The help generator writes its pages under these names,
// and the editor's F1 and the language server's links take them from here,
// so that a link always finds its page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

namespace plc {

struct Topic;

// The statement families, one help page each; the keyword chain's rows say
// which family each keyword's forms belong to.
enum class StatementFamily : uint8_t { Jumps, Calls, Assignments, Outputs, Waits, Motion, Ramps, Fieldbus };

// A family's help page: its file, its title and, where what the statements
// do is the drive's own, the note the page gives on that (nullptr: none).
struct FamilyHelp {
    StatementFamily family;
    const char* page;
    const char* title;
    const char* driveNote;
};

// In the order of StatementFamily.
inline constexpr FamilyHelp kFamilyHelp[] = {
    {StatementFamily::Jumps, "flow.html", "Jumps and conditions", nullptr},
    {StatementFamily::Calls, "calls.html", "Calls, returns, NOP and breakpoints", nullptr},
    {StatementFamily::Assignments, "assign.html", "F, H, M, C and Z assignments", nullptr},
    {StatementFamily::Outputs, "outputs.html", "Outputs, drive registers, control flags and parameters",
     "What a register, control flag, output or parameter does on the drive is the drive's own; this page shows "
     "how a statement writes it. See the drive's manual for its meaning."},
    {StatementFamily::Waits, "waits.html", "Waits",
     "The unit of a waiting time, and when the drive reports a state, are the drive's own; the programme holds "
     "only the number or the state. See the drive's manual."},
    {StatementFamily::Motion, "motion.html", "Motion",
     "What a motion command does on the drive (its profile, speed and units) is the drive's own and not fixed by "
     "the programme, which holds only the command and its operands. See the drive's manual."},
    {StatementFamily::Ramps, "ramps.html", "Ramps",
     "The programme holds the ramp as a variable or a percentage; what the drive's ramp is at 100 % is the "
     "drive's own. See the drive's manual."},
    {StatementFamily::Fieldbus, "fieldbus.html", "Fieldbus",
     "What a message holds and how the fieldbus carries it are set up on the drive and its bus; see the drive's "
     "manual."},
};

constexpr bool FamiliesInOrder() {
    for (size_t i = 0; i < std::size(kFamilyHelp); ++i)
        if (static_cast<size_t>(kFamilyHelp[i].family) != i) return false;
    return std::size(kFamilyHelp) == static_cast<size_t>(StatementFamily::Fieldbus) + 1;
}
static_assert(FamiliesInOrder(), "a help page for every family, in the order of StatementFamily");

constexpr const FamilyHelp& HelpOf(StatementFamily family) { return kFamilyHelp[static_cast<size_t>(family)]; }

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
