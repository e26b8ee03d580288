// SPDX-License-Identifier: GPL-3.0-or-later
// plcc list: read a binary programme file and write its listing.
#include <nettle/sha2.h>

#include <cstdio>
#include <fstream>

#include "apps/plcc/Plcc.h"
#include "base/SafeWrite.h"
#include "compiler/CompileDriver.h"
#include "decoder/Listing.h"
#include "image/TextDeclFile.h"

namespace plcc {

namespace {

// What git shows for a file its attribute sends here that is no binary
// programme file (firmware, a picture): one line with its size and SHA-256,
// so that a change still shows and the diff goes on. False when the file
// cannot be read at all.
bool PrintForeignFileNote(const std::string& path, const std::string& output) {
    std::ifstream in(plc::NormalizeSeparators(path), std::ios::binary);
    if (!in) return false;
    sha256_ctx context;
    sha256_init(&context);
    uint64_t size = 0;
    char block[65536];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        const auto got = static_cast<size_t>(in.gcount());
        sha256_update(&context, got, reinterpret_cast<const uint8_t*>(block));
        size += got;
    }
    if (in.bad()) return false;
    uint8_t digest[SHA256_DIGEST_SIZE];
    sha256_digest(&context, sizeof digest, digest);
    char line[160];
    int at = std::snprintf(line, sizeof line, "not a programme file: %llu byte%s, sha256 ",
                           static_cast<unsigned long long>(size), size == 1 ? "" : "s");
    for (const uint8_t b : digest) at += std::snprintf(line + at, sizeof line - static_cast<size_t>(at), "%02x", b);
    return WriteResult(output, std::string(line) + "\n") == kExitOk;
}

}  // namespace

int CmdList(const Args& args) {
    CommandLine cl;
    std::string why;
    if (!ParseCommandLine(args, {"-o", "--date", "--name", "--names", kDiagnosticsOption}, 1, cl, why, {"--textconv"}))
        return UsageError("list", why);
    const std::string& input = cl.File();
    // The binary file reader takes a name, so standard input has none to give.
    if (input == kStdinName) return UsageError("list", "the binary programme file must be a named file");
    const std::string output = cl.Has("-o") ? cl.Get("-o") : "";
    // git's text conversion takes any file its attribute names, however
    // large: what is no programme file is told by reading it.
    if (!cl.Has("--textconv") && !CheckInputFile(input)) return kExitUsage;
    if (!output.empty() && !OutputIsNotInput(input, output)) return kExitUsage;

    plc::CPlcProgram program;
    program.Clear();
    std::string readWhy;
    const bool textconv = cl.Has("--textconv");
    if (!program.ReadBinaryFile(input, &readWhy)) {
        // git stops the whole diff or log when a text conversion fails: a
        // file that is no programme gets a note instead.
        if (textconv && PrintForeignFileNote(input, output)) return kExitOk;
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
