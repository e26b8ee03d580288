// SPDX-License-Identifier: GPL-3.0-or-later
// plcc check / plcc image: compile source files as the editor's Check
// syntax does.
#include <algorithm>
#include <cstdio>

#include "apps/plcc/Plcc.h"
#include "compiler/CompileDriver.h"

namespace plcc {

namespace {

// What plcc check says beyond the errors: warnings (with --warnings or
// --werror), hints (--hints), and whether warnings fail the check.
struct WarningOptions {
    bool warnings = false;
    bool hints = false;
    bool werror = false;
};

// Compiles one file into `program`: kExitUsage when it cannot be read
// (nothing in `report`), else the status of its compilation. A programme
// that compiles gets the warnings asked for, read from the same compile.
int CompileFile(const std::string& file, plc::CPlcProgram& program, Report& report, WarningOptions asked = {}) {
    std::string text;
    if (!ReadSourceText(file, text)) return kExitUsage;
    const bool analyse = asked.warnings || asked.hints || asked.werror;
    plc::SourceFacts facts;
    const plc::CompileOutcome outcome = plc::CompileProgramSource(program, text, analyse ? &facts : nullptr);
    report = CompileReport(DisplayName(file), outcome, program);
    if (!outcome.success) {
        SetEndColumns(report, text);
        return kExitProgramErrors;
    }
    if (analyse) report.warnings = ProgrammeWarnings(program, facts, asked.hints);
    SetEndColumns(report, text);
    const bool failsOnWarnings = asked.werror && std::any_of(report.warnings.begin(), report.warnings.end(),
                                                             [](const Warning& w) { return !w.hint; });
    return failsOnWarnings ? kExitProgramErrors : kExitOk;
}

}  // namespace

int CmdCheck(const Args& args) {
    CommandLine cl;
    std::string why;
    if (!ParseCommandLine(args, {kDiagnosticsOption}, args.size(), cl, why, {"--warnings", "--hints", "--werror"}))
        return UsageError("check", why);
    const WarningOptions asked{cl.Has("--warnings"), cl.Has("--hints"), cl.Has("--werror")};
    int worst = kExitOk;
    std::vector<Report> reports;
    for (const std::string& file : cl.files) {
        plc::CPlcProgram program;
        Report report;
        const int status = CompileFile(file, program, report, asked);
        worst = std::max(worst, status);
        if (status != kExitUsage) reports.push_back(std::move(report));
    }
    PrintReports(reports, cl.diagnostics, stdout, cl.files.size() > 1);
    return worst;
}

int CmdImage(const Args& args) {
    CommandLine cl;
    std::string why;
    if (!ParseCommandLine(args, {kDiagnosticsOption}, 1, cl, why)) return UsageError("image", why);
    plc::CPlcProgram program;
    program.Clear();
    Report report;
    const int status = CompileFile(cl.File(), program, report);
    if (status == kExitUsage) return status;
    PrintReports({report}, cl.diagnostics, stderr);
    for (int i = 0; i < plc::kRecordCount; ++i) {
        const plc::PlcInstr& rec = program.Record(i);
        for (int b = 0; b < 12; ++b) std::printf("%02x", rec.b[static_cast<size_t>(b)]);
        std::putchar('\n');
    }
    return status;
}

}  // namespace plcc
