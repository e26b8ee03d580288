// plcc renum: renumber a source file as the editor's Renum command does.
#include <cstdio>

#include "apps/plcc/Plcc.h"
#include "decoder/RenumberText.h"
#include "image/SafeWrite.h"
#include "resources/StringTable.h"

namespace plcc {

namespace {

constexpr const char* kUsage = "plcc renum FILE.plc [-o OUT.plc]";

}  // namespace

int CmdRenum(const Args& args) {
    CommandLine cl;
    if (!ParseCommandLine(args, {"-o"}, cl)) return UsageError(kUsage);
    const std::string& input = cl.file;

    std::vector<std::string> lines;
    if (!ReadSourceLines(input, lines)) return kExitUsage;
    plc::CPlcProgram program;
    const plc::RenumberTextOutcome outcome = plc::RenumberProgramText(program, lines);
    if (outcome.tooManyLines) {
        std::fprintf(stderr, "plcc: '%s' has too many lines to renumber\n", input.c_str());
        return kExitUsage;
    }
    if (outcome.compile.emptyText) return ReportEmptyText();
    if (!outcome.compiled) {
        PrintEntries(outcome.compile.entries, true);
        return kExitProgramErrors;
    }
    if (!outcome.renumbered) {
        std::fprintf(stderr, "%s\n", plc::LoadString(plc::kIdsRenumberFailed).c_str());
        return kExitProgramErrors;
    }
    PrintEntries(outcome.entries, true);

    const std::string text = plc::JoinLines(outcome.lines);
    if (int status = WriteResult(cl.Has("-o") ? cl.Get("-o") : "", text, "text")) return status;
    return outcome.errorCount != 0 ? kExitProgramErrors : kExitOk;
}

}  // namespace plcc
