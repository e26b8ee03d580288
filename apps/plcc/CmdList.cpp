// plcc list: read a binary programme file and write its listing.
#include <cstdio>

#include "apps/plcc/Plcc.h"
#include "compiler/CompileDriver.h"
#include "decoder/Listing.h"
#include "image/SafeWrite.h"

namespace plcc {

namespace {

constexpr const char* kUsage = "plcc list FILE.bin [-o OUT.plc] [--date TEXT]";

}  // namespace

int CmdList(const Args& args) {
    CommandLine cl;
    if (!ParseCommandLine(args, {"-o", "--date"}, cl)) return UsageError(kUsage);
    const std::string& input = cl.file;

    plc::CPlcProgram program;
    program.Clear();
    std::string why;
    if (!program.ReadBinaryFile(input, &why)) {
        std::fprintf(stderr, "plcc: %s\n", why.c_str());
        return kExitUsage;
    }
    const std::string date = cl.Has("--date") ? cl.Get("--date") : plc::ListingDate(plc::CurrentLocalTime());
    const plc::ListingOutcome listing = plc::ListProgramImage(program, input, date);
    PrintEntries(listing.entries, true);

    if (int status = WriteResult(cl.Has("-o") ? cl.Get("-o") : "", listing.text, "listing")) return status;
    return listing.undecodable != 0 ? kExitProgramErrors : kExitOk;
}

}  // namespace plcc
