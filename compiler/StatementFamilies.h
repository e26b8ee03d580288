// SPDX-License-Identifier: GPL-3.0-or-later
// The statement families, one help page each, with the page's file, title
// and note: one table, which the keyword chain's rows point into (each row
// names its family), the help generator writes the pages from, and F1 and
// the language server's links take the pages from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

namespace plc {

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

}  // namespace plc
