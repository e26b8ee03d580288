// What a run has to say about one file, and the three ways of printing it:
// the message-list entries as the editor shows them, one GCC-style line per
// error for editors and CI, and a JSON document.
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "apps/plcc/Plcc.h"
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

// A file name on one line: a line break in it would split the
// "FILE:LINE:COL" line that editors and CI read, so it is written as "\n" or
// "\r".
std::string OneLineName(const std::string& name) {
    std::string out;
    for (const char c : name) {
        if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

void PrintGcc(const Report& r, std::FILE* out) {
    const std::string file = OneLineName(r.file);
    for (const Diagnostic& d : r.errors) {
        std::fprintf(out, "%s:%d:%d: error: %s", file.c_str(), static_cast<int>(d.line), static_cast<int>(d.column),
                     d.text.c_str());
        if (d.code) std::fprintf(out, " [ERR(%02d)]", static_cast<int>(*d.code));
        std::fputc('\n', out);
    }
    for (const Warning& w : r.warnings) {
        std::fprintf(out, "%s:%d:%d: %s: %s [%s]\n", file.c_str(), static_cast<int>(w.line),
                     static_cast<int>(w.column), w.hint ? "note" : "warning", w.text.c_str(), w.code.c_str());
    }
}

nlohmann::ordered_json JsonOf(const Report& r) {
    nlohmann::ordered_json errors = nlohmann::ordered_json::array();
    for (const Diagnostic& d : r.errors) {
        errors.push_back({{"line", d.line},
                          {"column", d.column},
                          {"code", d.code ? nlohmann::ordered_json(*d.code) : nlohmann::ordered_json()},
                          {"text", d.text}});
    }
    nlohmann::ordered_json doc;
    doc["file"] = r.file;
    doc["success"] = r.errors.empty();
    doc["errors"] = std::move(errors);
    nlohmann::ordered_json warnings = nlohmann::ordered_json::array();
    for (const Warning& w : r.warnings) {
        warnings.push_back({{"line", w.line},
                            {"column", w.column},
                            {"code", w.code},
                            {"severity", w.hint ? "hint" : "warning"},
                            {"text", w.text}});
    }
    doc["warnings"] = std::move(warnings);
    doc["interrupted"] = r.interrupted;
    if (r.addSum && r.xorSum) {
        doc["checksum"] = {{"add", *r.addSum}, {"xor", *r.xorSum}};
    } else {
        doc["checksum"] = nullptr;
    }
    doc["records"] = r.records;
    return doc;
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
        case DiagnosticsFormat::Gcc:
            for (const Report& r : reports) PrintGcc(r, out);
            break;
        case DiagnosticsFormat::Json: {
            if (reports.empty() && !several) return;
            nlohmann::ordered_json doc = nlohmann::ordered_json::array();
            for (const Report& r : reports) doc.push_back(JsonOf(r));
            if (!several) doc = doc.front();
            // Texts are 8-bit: a byte that is not UTF-8 (in a file name, say)
            // is shown as U+FFFD rather than failing the whole document.
            const std::string text = doc.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
            std::fwrite(text.data(), 1, text.size(), out);
            std::fputc('\n', out);
            break;
        }
    }
}

}  // namespace plcc
