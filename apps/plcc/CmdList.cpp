// SPDX-License-Identifier: GPL-3.0-or-later
// plcc list: read a binary programme file and write its listing.
#include <cstdio>

#include "apps/plcc/Plcc.h"
#include "compiler/CompileDriver.h"
#include "decoder/Listing.h"
#include "image/TextDeclFile.h"

namespace plcc {

int CmdList(const Args& args) {
    CommandLine cl;
    std::string why;
    if (!ParseCommandLine(args, {"-o", "--date", "--name", "--names", kDiagnosticsOption}, 1, cl, why, {"--textconv"}))
        return UsageError("list", why);
    const std::string& input = cl.File();
    // The binary file reader takes a name, so standard input has none to give.
    if (input == kStdinName) return UsageError("list", "the binary programme file must be a named file");
    const std::string output = cl.Has("-o") ? cl.Get("-o") : "";
    if (!CheckInputFile(input)) return kExitUsage;
    if (!output.empty() && !OutputIsNotInput(input, output)) return kExitUsage;

    plc::CPlcProgram program;
    program.Clear();
    std::string readWhy;
    if (!program.ReadBinaryFile(input, &readWhy)) {
        std::fprintf(stderr, "plcc: %s\n", readWhy.c_str());
        return kExitUsage;
    }
    // Names back from a text declaration file; a malformed one stops the
    // listing before anything is written.
    plc::DeclaredNames names;
    if (cl.Has("--names")) {
        std::string bytes;
        if (!ReadInput(cl.Get("--names"), bytes)) return kExitUsage;
        if (!plc::ParseTextDeclFile(bytes, cl.Get("--names"), names, readWhy)) {
            std::fprintf(stderr, "plcc: %s\n", readWhy.c_str());
            return kExitUsage;
        }
    }
    const std::string date = cl.Has("--date") ? cl.Get("--date") : plc::ListingDate(plc::CurrentLocalTime());
    const std::string& name = cl.Has("--name") ? cl.Get("--name") : input;
    const plc::ListingOutcome listing =
        plc::ListProgramImage(program, name, date, cl.Has("--names") ? &names : nullptr);
    // For git, the text is all: an undecodable record shows as its error line.
    const bool textconv = cl.Has("--textconv");
    if (!textconv) {
        Report report = ListingReport(input, listing, program);
        SetEndColumns(report, listing.text);
        PrintReports({report}, cl.diagnostics, stderr);
    }

    if (int status = WriteResult(output, listing.text)) return status;
    // A missing programme head is an error of the listing as much as an
    // undecodable record is.
    return listing.errorCount != 0 && !textconv ? kExitProgramErrors : kExitOk;
}

}  // namespace plcc
