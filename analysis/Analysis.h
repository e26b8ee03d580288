// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis of a programme image: its control-flow graph and what the
// compiler cannot say about it. Warnings point at programmes that cannot do
// what they seem to (a statement no path reaches, a RET without a CALL, a
// CALL that never returns); each is sound: a programme written that way on
// purpose (an endless main loop, a subroutine left by a jump) gets none.
// Hints point at variables the programme only reads or only writes, which
// the host or the drive may well write or read.
//
// Findings are values with a code, a place and a text; they are not errors
// and never enter the message list, its error count or an exit status.
#pragma once

#include <string>
#include <vector>

#include "analysis/FlowGraph.h"
#include "analysis/SourceSites.h"

namespace plc {

enum class Severity : uint8_t { Warning, Hint };

struct Finding {
    std::string code;  // "W01" to "W06" for warnings, "I01" and "I02" for hints
    Severity severity = Severity::Warning;
    TextSpan at;       // where it points
    std::string text;
};

struct ProgramAnalysis {
    FlowGraph graph;
    std::vector<Finding> findings;  // warnings and hints by line, column and code
};

// Analyses the image of `program`; `sites` and `lines` place the records and
// names in the text the image comes from (the source, or a listing).
ProgramAnalysis AnalyseProgram(const CPlcProgram& program, const SourceSites& sites, const RecordLines& lines);

// The findings of a severity.
std::vector<Finding> FindingsOf(const ProgramAnalysis& analysis, Severity severity);

// Every kind of finding as a rule for reports (plcc's SARIF log): its code,
// its severity, what it finds in a line, and why that matters.
struct FindingRule {
    const char* code;
    Severity severity;
    const char* summary;
    const char* explanation;
};
std::vector<FindingRule> FindingRules();

}  // namespace plc
