// plcc build: compile a source file and write the binary programme file and,
// when asked, the text declaration file.
#include <unistd.h>

#include <cstdio>

#include "apps/plcc/Plcc.h"
#include "base/SafeWrite.h"
#include "base/WholeFile.h"
#include "compiler/CompileDriver.h"
#include "resources/StringTable.h"

namespace plcc {

namespace {

constexpr const char* kUsage = "plcc build FILE.plc -o OUT.bin [--decl-dir DIR]";

// The system's message, then the reason the write failed.
void CouldNotCreate(const std::string& name, const std::string& why) {
    std::fprintf(stderr, "plcc: %s%s\n", name.c_str(), plc::LoadString(plc::kIdsNotCreated).c_str());
    if (!why.empty()) std::fprintf(stderr, "plcc: %s\n", why.c_str());
}

// What stood at `path` before the build: put back when the build cannot
// write all of its files.
struct PreviousFile {
    std::string path;
    bool existed = false;
    std::string bytes;

    explicit PreviousFile(std::string p) : path(plc::NormalizeSeparators(p)) {
        existed = static_cast<bool>(plc::ReadWholeFile(path, bytes));
    }
    void Restore() const {
        if (existed)
            plc::WriteFileSafely(path, bytes);
        else
            ::unlink(path.c_str());
    }
};

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

    const bool writeDecl = haveDeclDir && !program.GetProgramName().empty();

    // With a declaration file the build writes both files or neither: the
    // binary programme file's old contents come back when the second fails.
    const PreviousFile previous(output);
    std::string binaryPath = output;
    if (!program.WriteBinaryFile(binaryPath, false, {}, &why)) {
        std::fflush(stdout);
        CouldNotCreate(output, why);
        return kExitUsage;
    }
    std::string declPath;
    if (writeDecl) {
        const std::string& declDir = cl.Get("--decl-dir");
        declPath = declDir;
        if (!program.WriteTextDeclFile(declPath, false, {}, &why)) {
            previous.Restore();
            std::fflush(stdout);
            CouldNotCreate(declDir + "/" + program.GetProgramName() + ".txt", why);
            return kExitUsage;
        }
    }
    if (sayMade) std::printf("%s%s\n", plc::LoadString(plc::kIdsBinaryFileMade).c_str(), binaryPath.c_str());
    if (writeDecl && sayMade)
        std::printf("%s%s\n", plc::LoadString(plc::kIdsDeclFileMade).c_str(), declPath.c_str());
    if (haveDeclDir && !writeDecl) {
        std::fflush(stdout);
        std::fprintf(stderr, "plcc: the programme has no name (%%TEXT(NAME)); no text declaration file\n");
    }
    return kExitOk;
}

}  // namespace plcc
