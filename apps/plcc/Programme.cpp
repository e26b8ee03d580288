// SPDX-License-Identifier: GPL-3.0-or-later
// Programmes for plcc graph and plcc diff: a source text or a binary
// programme file, each to an image and the lines its records stand on.
#include <cstdio>

#include "analysis/FlowGraph.h"
#include "apps/plcc/Plcc.h"
#include "decoder/Listing.h"

namespace plcc {

namespace {

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// A binary programme file's first line is eight hexadecimal digits; no line
// of a source text is.
bool LooksBinary(std::string_view bytes) {
    const size_t start = bytes.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos || bytes.size() - start < 8) return false;
    for (size_t i = start; i < start + 8; ++i)
        if (!IsHexDigit(bytes[i])) return false;
    return start + 8 == bytes.size() || bytes.find_first_of(" \t\r\n", start + 8) == start + 8;
}

}  // namespace

int LoadProgramme(const std::string& path, DiagnosticsFormat format, Programme& out) {
    out.file = DisplayName(path);
    out.recordLines.fill(-1);
    std::string bytes;
    if (!ReadInput(path, bytes)) return kExitUsage;
    out.binary = LooksBinary(bytes);
    if (out.binary) {
        // The binary file reader takes a name, so standard input has none to give.
        if (path == kStdinName) {
            std::fprintf(stderr, "plcc: a binary programme file must be a named file\n");
            return kExitUsage;
        }
        out.program.Clear();
        std::string why;
        if (!out.program.ReadBinaryFile(path, &why)) {
            std::fprintf(stderr, "plcc: %s\n", why.c_str());
            return kExitUsage;
        }
        // The listing's errors (undecodable records) show in its lines.
        const plc::ListingOutcome listing = plc::ListProgramImage(out.program, out.file, "");
        out.sites = plc::ReadSourceSites(plc::SplitLines(listing.text));
        out.recordLines = plc::RecordLinesOfListing(listing.lines);
        return kExitOk;
    }
    if (!CheckSourceText(path, bytes)) return kExitUsage;
    plc::SourceFacts facts;
    const plc::CompileOutcome outcome = plc::CompileProgramSource(out.program, bytes, &facts);
    if (!outcome.success) {
        Report report = CompileReport(out.file, outcome, out.program);
        SetEndColumns(report, bytes);
        PrintReports({report}, format, stderr);
        return kExitProgramErrors;
    }
    out.sites = plc::ReadSourceSites(facts);
    out.recordLines = plc::RecordLinesOfImage(out.program);
    return kExitOk;
}

}  // namespace plcc
