// SPDX-License-Identifier: GPL-3.0-or-later
// plcc renum: renumber a source file as the editor's Renum command does.
#include <cstdio>

#include "apps/plcc/Plcc.h"
#include "decoder/RenumberText.h"

namespace plcc {

int CmdRenum(const Args& args) {
    CommandLine cl;
    std::string why;
    if (!ParseCommandLine(args, {"-o", kDiagnosticsOption}, 1, cl, why)) return UsageError("renum", why);
    const std::string& input = cl.File();

    std::string text;
    if (!ReadSourceText(input, text)) return kExitUsage;
    plc::CPlcProgram program;
    const plc::RenumberTextOutcome outcome = plc::RenumberProgramSource(program, text);
    if (outcome.tooManyLines) {
        std::fprintf(stderr, "plcc: '%s' has too many lines to renumber\n", DisplayName(input).c_str());
        return kExitUsage;
    }
    Report report = RenumberReport(DisplayName(input), outcome, program);
    SetEndColumns(report, text);
    PrintReports({report}, cl.diagnostics, stderr);
    if (!outcome.compiled || !outcome.renumbered) return kExitProgramErrors;

    // Renumbering in place is allowed: the text is read whole before the
    // result replaces it.
    const std::string renumbered = plc::JoinLines(outcome.lines);
    if (int status = WriteResult(cl.Has("-o") ? cl.Get("-o") : "", renumbered)) return status;
    return outcome.errorCount != 0 ? kExitProgramErrors : kExitOk;
}

}  // namespace plcc
