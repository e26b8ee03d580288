// SPDX-License-Identifier: GPL-3.0-or-later
// plcc build: compile a source file and write the binary programme file and,
// when asked, the text declaration file.
#include <cstdio>
#include <vector>

#include "apps/plcc/Plcc.h"
#include "base/SafeWrite.h"
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

}  // namespace

int CmdBuild(const Args& args) {
    CommandLine cl;
    std::string why;
    if (!ParseCommandLine(args, {"-o", "--decl-dir", kDiagnosticsOption}, 1, cl, why)) return UsageError("build", why);
    if (!cl.Has("-o") && !cl.outputToStdout) return UsageError("build", "no output file (-o OUT.bin)");
    const std::string& source = cl.File();
    // With "-o -" the binary programme file is standard output, and the
    // messages go to stderr.
    const bool toStdout = cl.outputToStdout;
    const std::string output = toStdout ? std::string() : cl.Get("-o");
    std::FILE* const messages = toStdout ? stderr : stdout;
    const bool haveDeclDir = cl.Has("--decl-dir");
    if (!toStdout && !OutputIsNotInput(source, output)) return kExitUsage;

    std::string text;
    if (!ReadSourceText(source, text)) return kExitUsage;
    plc::CPlcProgram program;
    const plc::CompileOutcome outcome = plc::CompileProgramSource(program, text);
    Report report = CompileReport(DisplayName(source), outcome, program);
    SetEndColumns(report, text);
    PrintReports({report}, cl.diagnostics, messages);
    if (!outcome.success) return kExitProgramErrors;
    if (haveDeclDir && !program.GetProgramName().empty() &&
        !OutputIsNotInput(source, plc::JoinPath(cl.Get("--decl-dir"), program.GetProgramName() + ".txt"))) {
        return kExitUsage;
    }
    // The JSON document is all that goes to stdout in that format.
    const bool sayMade = cl.diagnostics != DiagnosticsFormat::Json;

    const bool writeDecl = haveDeclDir && !program.GetProgramName().empty();

    // Both files or neither: each is complete and on disk under a temporary
    // name before either takes its place, and the binary programme file, the
    // one a drive is loaded from, takes its place last.
    const std::string binaryPath = plc::NormalizeSeparators(output);
    const std::string binaryBytes = program.BinaryFileBytes();
    const std::string declPath = writeDecl ? program.TextDeclFileName(cl.Get("--decl-dir")) : std::string();
    const std::string declBytes = writeDecl ? program.TextDeclFileBytes() : std::string();
    std::vector<plc::FileToWrite> files;
    if (writeDecl) files.push_back({declPath, declBytes});
    if (!toStdout) files.push_back({binaryPath, binaryBytes});
    size_t failed = 0;
    if (!files.empty() && !plc::WriteFilesSafely(files, &why, &failed)) {
        std::fflush(stdout);
        CouldNotCreate(failed + 1 == files.size() && !toStdout ? output : declPath, why);
        return kExitUsage;
    }
    if (toStdout) {
        if (const int status = WriteResult("", binaryBytes)) return status;
    } else if (sayMade) {
        std::printf("%s%s\n", plc::LoadString(plc::kIdsBinaryFileMade).c_str(), plc::FullPath(binaryPath).c_str());
    }
    if (writeDecl && sayMade)
        std::fprintf(messages, "%s%s\n", plc::LoadString(plc::kIdsDeclFileMade).c_str(), plc::FullPath(declPath).c_str());
    if (haveDeclDir && !writeDecl) {
        std::fflush(stdout);
        std::fprintf(stderr, "plcc: the programme has no name (%%TEXT(NAME)); no text declaration file\n");
    }
    return kExitOk;
}

}  // namespace plcc
