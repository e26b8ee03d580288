// plcc build: compile a source file and write the binary programme file and,
// when asked, the text declaration file.
#include <cstdio>

#include "apps/plcc/Plcc.h"
#include "compiler/CompileDriver.h"
#include "resources/StringTable.h"

namespace plcc {

namespace {

constexpr const char* kUsage = "plcc build FILE.plc -o OUT.bin [--decl-dir DIR]";

void CouldNotCreate(const std::string& name) {
    std::fprintf(stderr, "plcc: %s%s\n", name.c_str(), plc::LoadString(plc::kIdsNotCreated).c_str());
}

}  // namespace

int CmdBuild(const Args& args) {
    CommandLine cl;
    if (!ParseCommandLine(args, {"-o", "--decl-dir"}, cl) || !cl.Has("-o")) return UsageError(kUsage);
    const std::string& source = cl.file;
    const std::string& output = cl.Get("-o");
    const bool haveDeclDir = cl.Has("--decl-dir");

    std::vector<std::string> lines;
    if (!ReadSourceLines(source, lines)) return kExitUsage;
    plc::CPlcProgram program;
    const plc::CompileOutcome outcome = plc::CompileProgramText(program, lines);
    if (outcome.emptyText) return ReportEmptyText();
    PrintEntries(outcome.entries, false);
    if (!outcome.success) return kExitProgramErrors;

    std::string binaryPath = output;
    if (!program.WriteBinaryFile(binaryPath, false)) {
        std::fflush(stdout);
        CouldNotCreate(output);
        return kExitUsage;
    }
    std::printf("%s%s\n", plc::LoadString(plc::kIdsBinaryFileMade).c_str(), binaryPath.c_str());

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
        std::printf("%s%s\n", plc::LoadString(plc::kIdsDeclFileMade).c_str(), declPath.c_str());
    }
    return kExitOk;
}

}  // namespace plcc
