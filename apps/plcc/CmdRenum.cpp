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

    std::vector<std::string> lines;
    if (!ReadSourceLines(input, lines)) return kExitUsage;
    plc::CPlcProgram program;
    const plc::RenumberTextOutcome outcome = plc::RenumberProgramText(program, lines);
    if (outcome.tooManyLines) {
        std::fprintf(stderr, "plcc: '%s' has too many lines to renumber\n", DisplayName(input).c_str());
        return kExitUsage;
    }
    Report report = RenumberReport(DisplayName(input), outcome, program);
    SetEndColumns(report, lines);
    PrintReports({report}, cl.diagnostics, stderr);
    if (!outcome.compiled || !outcome.renumbered) return kExitProgramErrors;

    // Renumbering in place is allowed: the text is read whole before the
    // result replaces it.
    const std::string text = plc::JoinLines(outcome.lines);
    if (int status = WriteResult(cl.Has("-o") ? cl.Get("-o") : "", text)) return status;
    return outcome.errorCount != 0 ? kExitProgramErrors : kExitOk;
}

}  // namespace plcc
