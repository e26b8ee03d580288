// plcc check / plcc image: compile a source file as the editor's Check
// syntax does.
#include <cstdio>

#include "apps/plcc/Plcc.h"
#include "compiler/CompileDriver.h"
#include "resources/StringTable.h"

namespace plcc {

namespace {

// Compiles FILE; prints the entries to stdout (check) or stderr (image).
int Compile(const Args& args, const char* usage, bool entriesToStderr, plc::CPlcProgram& program,
            bool& compiled) {
    compiled = false;
    CommandLine cl;
    if (!ParseCommandLine(args, {}, cl)) return UsageError(usage);
    std::vector<std::string> lines;
    if (!ReadSourceLines(cl.file, lines)) return kExitUsage;
    const plc::CompileOutcome outcome = plc::CompileProgramText(program, lines);
    compiled = true;
    if (outcome.emptyText) return ReportEmptyText();
    PrintEntries(outcome.entries, entriesToStderr);
    return outcome.success ? kExitOk : kExitProgramErrors;
}

}  // namespace

int CmdCheck(const Args& args) {
    plc::CPlcProgram program;
    bool compiled = false;
    return Compile(args, "plcc check FILE.plc", false, program, compiled);
}

int CmdImage(const Args& args) {
    plc::CPlcProgram program;
    program.Clear();
    bool compiled = false;
    const int status = Compile(args, "plcc image FILE.plc", true, program, compiled);
    if (!compiled) return status;
    for (int i = 0; i < plc::kRecordCount; ++i) {
        const plc::PlcInstr& rec = program.Record(i);
        for (int b = 0; b < 12; ++b) std::printf("%02x", rec.b[static_cast<size_t>(b)]);
        std::putchar('\n');
    }
    return status;
}

}  // namespace plcc
