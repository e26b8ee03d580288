// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis's warnings and hints of a compiled programme, for plcc check.
#include "analysis/Analysis.h"
#include "apps/plcc/Plcc.h"

namespace plcc {

std::vector<Warning> ProgrammeWarnings(const plc::CPlcProgram& program, const plc::SourceFacts& facts,
                                       bool hints) {
    const plc::ProgramAnalysis analysis =
        plc::AnalyseProgram(program, plc::ReadSourceSites(facts), plc::RecordLinesOfImage(program));
    std::vector<Warning> out;
    for (const plc::Finding& f : analysis.findings) {
        const bool hint = f.severity == plc::Severity::Hint;
        if (hint && !hints) continue;
        out.push_back({f.at.line + 1, f.at.column + 1, f.code, hint, f.text});
    }
    return out;
}

}  // namespace plcc
