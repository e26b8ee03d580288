// SPDX-License-Identifier: GPL-3.0-or-later
// What a run has to say about one file, and its printing as the
// message-list entries the editor shows; the formats for editors and CI are
// in a file each (Diagnostics*.cpp).
#include <cstdlib>

#include "apps/plcc/Formatters.h"

#include "apps/plcc/Plcc.h"
#include "compiler/CompileDriver.h"
#include "decoder/Listing.h"
#include "decoder/RenumberText.h"
#include "resources/StringTable.h"

namespace plcc {

namespace {

// The first line of the offer made for an empty text: "No programme available."
std::string EmptyTextMessage() {
    const std::string question = plc::LoadString(plc::kIdsNoProgramCreateBody);
    return question.substr(0, question.find('\n'));
}

// The diagnostics of a listing's or a renumbering's errors; code 0 is the
// missing programme head.
std::vector<Diagnostic> DiagnosticsOf(const std::vector<plc::CompileOutcome::Error>& errors) {
    std::vector<Diagnostic> out;
    for (const plc::CompileOutcome::Error& e : errors) {
        if (e.code == 0)
            out.push_back({e.line, 1, std::nullopt, plc::LoadString(plc::kIdsNoProgramHead)});
        else
            out.push_back({e.line, 1, e.code, plc::ErrorText(e.code)});
    }
    return out;
}

// A message about the whole file: it points at the file's first line.
Diagnostic FileError(std::string text) { return Diagnostic{1, 1, std::nullopt, std::move(text)}; }

void CountRecordsAndSum(const plc::CPlcProgram& program, bool complete, Report& r) {
    for (int i = 0; i < plc::kRecordCount; ++i) r.records += program.Record(i).used() != 0 ? 1 : 0;
    if (complete) {
        uint32_t addSum = 0, xorSum = 0;
        program.ComputeChecksum(xorSum, addSum);
        r.addSum = addSum;
        r.xorSum = xorSum;
    }
}

Report EmptyTextReport(const std::string& file) {
    Report r;
    r.file = file;
    r.emptyText = true;
    r.errors.push_back(FileError(EmptyTextMessage()));
    return r;
}

void PrintSystem(const Report& r, std::FILE* out, bool several) {
    if (several) std::fprintf(out, "==> %s <==\n", r.file.c_str());
    if (r.emptyText) {
        std::fflush(out);
        std::fprintf(stderr, "%s\n", EmptyTextMessage().c_str());
    }
    for (const std::string& e : r.entries) {
        std::fwrite(e.data(), 1, e.size(), out);
        std::fputc('\n', out);
    }
    for (const Warning& w : r.warnings) {
        std::fprintf(out, "  LINE(%03d): %s - %s\n", static_cast<int>(w.line), w.code.c_str(), w.text.c_str());
    }
}

}  // namespace

Report CompileReport(const std::string& file, const plc::CompileOutcome& outcome, const plc::CPlcProgram& program) {
    if (outcome.emptyText) return EmptyTextReport(file);
    Report r;
    r.file = file;
    r.entries = outcome.entries;
    r.interrupted = outcome.interrupted;
    for (const plc::CompileOutcome::Error& e : outcome.errors) {
        r.errors.push_back({e.line, e.column > 0 ? e.column : 1, e.code, plc::ErrorText(e.code)});
    }
    CountRecordsAndSum(program, outcome.success, r);
    return r;
}

Report ListingReport(const std::string& file, const plc::ListingOutcome& listing, const plc::CPlcProgram& program) {
    Report r;
    r.file = file;
    r.entries = listing.entries;
    r.errors = DiagnosticsOf(listing.errors);
    CountRecordsAndSum(program, true, r);  // a programme file holds every record
    return r;
}

Report RenumberReport(const std::string& file, const plc::RenumberTextOutcome& outcome,
                      const plc::CPlcProgram& program) {
    if (!outcome.compiled) return CompileReport(file, outcome.compile, program);
    Report r;
    r.file = file;
    if (!outcome.renumbered) {
        r.entries.push_back(plc::LoadString(plc::kIdsRenumberFailed));
        r.errors.push_back(FileError(r.entries.back()));
        CountRecordsAndSum(program, false, r);
        return r;
    }
    r.entries = outcome.entries;
    r.errors = DiagnosticsOf(outcome.errors);
    CountRecordsAndSum(program, true, r);
    return r;
}

void PrintReports(const std::vector<Report>& reports, DiagnosticsFormat format, std::FILE* out, bool several) {
    switch (format) {
        case DiagnosticsFormat::System:
            for (const Report& r : reports) PrintSystem(r, out, several);
            break;
        case DiagnosticsFormat::Gcc: PrintGcc(reports, out); break;
        case DiagnosticsFormat::Json: PrintJson(reports, out, several); break;
        case DiagnosticsFormat::Sarif: PrintSarif(reports, out); break;
        case DiagnosticsFormat::Github: PrintGithub(reports, out); break;
    }
}

namespace {

// The column after the token that starts at `column` (1-based) of `line`:
// the token ends at a blank or a comment. A diagnostic of the whole line
// (column 1 on a line that starts with a blank, or a line without tokens)
// ends with the line.
int32_t EndColumn(std::string_view line, int32_t column) {
    const size_t start = column > 0 ? static_cast<size_t>(column - 1) : 0;
    if (start >= line.size()) return column;
    size_t end = start;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != ';') ++end;
    if (end == start) end = line.size();
    return static_cast<int32_t>(end + 1);
}

}  // namespace

void SetEndColumns(Report& report, std::string_view text) {
    // The lines the diagnostics point at, split as the compiler splits them.
    const std::vector<std::string> lines = plc::SplitLines(text);
    auto lineOf = [&](int32_t line) -> std::string_view {
        return line >= 1 && static_cast<size_t>(line) <= lines.size() ? lines[static_cast<size_t>(line - 1)]
                                                                       : std::string_view();
    };
    for (Diagnostic& d : report.errors) d.endColumn = EndColumn(lineOf(d.line), d.column);
    for (Warning& w : report.warnings) w.endColumn = EndColumn(lineOf(w.line), w.column);
}

}  // namespace plcc
