// plcc build: compile a source file and write the binary programme file and,
// when asked, the text declaration file.
#include <cstdio>

#include "apps/plcc/Plcc.h"
#include "compiler/CompileDriver.h"
#include "image/SafeWrite.h"
#include "resources/StringTable.h"

namespace plcc {

namespace {

void CouldNotCreate(const std::string& name) {
    std::fprintf(stderr, "plcc: %s%s\n", name.c_str(), plc::LoadString(plc::kIdsNotCreated).c_str());
}

}  // namespace

int CmdBuild(const Args& args) {
    CommandLine cl;
    std::string why;
    if (!ParseCommandLine(args, {"-o", "--decl-dir", kDiagnosticsOption}, 1, cl, why)) return UsageError("build", why);
    if (!cl.Has("-o")) return UsageError("build", "no output file (-o OUT.bin)");
    const std::string& source = cl.File();
    const std::string& output = cl.Get("-o");
    const bool haveDeclDir = cl.Has("--decl-dir");
    if (!OutputIsNotInput(source, output)) return kExitUsage;

    std::vector<std::string> lines;
    if (!ReadSourceLines(source, lines)) return kExitUsage;
    plc::CPlcProgram program;
    const plc::CompileOutcome outcome = plc::CompileProgramText(program, lines);
    PrintReports({CompileReport(DisplayName(source), outcome, program)}, cl.diagnostics, stdout);
    if (!outcome.success) return kExitProgramErrors;
    if (haveDeclDir && !program.GetProgramName().empty() &&
        !OutputIsNotInput(source, plc::JoinPath(cl.Get("--decl-dir"), program.GetProgramName() + ".txt"))) {
        return kExitUsage;
    }
    // The JSON document is all that goes to stdout in that format.
    const bool sayMade = cl.diagnostics != DiagnosticsFormat::Json;

    std::string binaryPath = output;
    if (!program.WriteBinaryFile(binaryPath, false)) {
        std::fflush(stdout);
        CouldNotCreate(output);
        return kExitUsage;
    }
    if (sayMade) std::printf("%s%s\n", plc::LoadString(plc::kIdsBinaryFileMade).c_str(), binaryPath.c_str());

    if (haveDeclDir) {
        if (program.GetProgramName().empty()) {
            std::fflush(stdout);
            std::fprintf(stderr, "plcc: the programme has no name (%%TEXT(NAME)); no text declaration file\n");
            return kExitOk;
        }
        const std::string& declDir = cl.Get("--decl-dir");
        std::string declPath = declDir;
        if (!program.WriteTextDeclFile(declPath, false)) {
            std::fflush(stdout);
            CouldNotCreate(declDir + "/" + program.GetProgramName() + ".txt");
            return kExitUsage;
        }
        if (sayMade) std::printf("%s%s\n", plc::LoadString(plc::kIdsDeclFileMade).c_str(), declPath.c_str());
    }
    return kExitOk;
}

}  // namespace plcc
