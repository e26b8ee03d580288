// SPDX-License-Identifier: GPL-3.0-or-later
// The text side of renumbering: each renumbered record's text goes back on
// its source line, and the run is reported like a listing.
#include "decoder/RenumberText.h"

#include <cinttypes>
#include <cstdio>

#include "decoder/DecodeRecord.h"
#include "decoder/Listing.h"
#include "resources/StringTable.h"

namespace plc {

std::string ReplacementText(std::string_view statement, std::string_view oldLine, bool lastLine) {
    const size_t semicolon = oldLine.find(';');
    const std::string_view comment =
        semicolon == std::string_view::npos ? std::string_view{} : oldLine.substr(semicolon);
    std::string out(statement);
    if (!comment.empty()) {
        out += "\t\t";
        out += comment;
    }
    if (lastLine) out += "\r\n";
    return out;
}

void CanonicalLines(const CPlcProgram& program, std::vector<std::string>& lines) {
    for (int label = kFirstLabel; label <= kLastLabel; ++label) {
        const PlcInstr& rec = program.Record(label);
        if (!rec.used() || rec.line() >= lines.size()) continue;
        std::string statement;
        if (!DecodeRecord(program, statement, label)) continue;  // keep a line the decoder cannot show
        std::string& line = lines[rec.line()];
        const bool last = rec.line() + 1u == lines.size();
        line = ReplacementText(statement, line, last);
        if (last) {
            line.resize(line.size() - 2);  // the line break that ends the text
            lines.emplace_back();
        }
    }
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i != 0) text += "\r\n";
        text += lines[i];
    }
    return text;
}

namespace {

// After the compilation in `out.compile`: renumbers the image and rewrites
// the statement lines of `out.lines`.
void RenumberCompiled(CPlcProgram& program, RenumberTextOutcome& out) {
    if (!out.compile.success) return;
    out.compiled = true;

    int32_t renumberError = 0;
    if (!program.Renumber(renumberError)) return;
    out.renumbered = true;

    out.entries.push_back(LoadString(kIdsTextCoding));
    out.entries.emplace_back();

    std::string text;
    int32_t line = 0;
    int32_t error = 0;
    while (DecodeNextRecord(program, text, line, error)) {
        const size_t count = out.lines.size();
        if (line < 0 || static_cast<size_t>(line) >= count) {
            out.entries.push_back(FormatErrorEntry(line + 1, kErrLineNotReplaced));
            out.errors.push_back({line + 1, kErrLineNotReplaced});
            ++out.errorCount;
        } else {
            const auto at = static_cast<size_t>(line);
            const bool last = at + 1 == count;
            LineEdit edit{line, ReplacementText(text, out.lines[at], last)};
            if (last) {
                // The line break that ends the replacement opens a new, empty last line.
                out.lines[at] = edit.replacement.substr(0, edit.replacement.size() - 2);
                out.lines.emplace_back();
            } else {
                out.lines[at] = edit.replacement;
            }
            out.edits.push_back(std::move(edit));
        }
        if (error != 0) {
            out.entries.push_back(FormatErrorEntry(line + 1, error));
            out.errors.push_back({line + 1, error});
            ++out.errorCount;
        }
    }

    AppendTextCodingSummary(out.entries, out.errorCount);
}

}  // namespace

RenumberTextOutcome RenumberProgramText(CPlcProgram& program, const std::vector<std::string>& lines) {
    RenumberTextOutcome out;
    out.lines = lines;
    if (lines.size() > kMaxRenumberLines) {
        out.tooManyLines = true;
        return out;
    }
    out.compile = CompileProgramText(program, lines);
    RenumberCompiled(program, out);
    return out;
}

RenumberTextOutcome RenumberProgramSource(CPlcProgram& program, std::string_view text) {
    RenumberTextOutcome out;
    out.tooManyLines = CountLines(text) > kMaxRenumberLines;
    out.lines = SplitLines(text);
    if (out.tooManyLines) return out;
    out.compile = CompileProgramSource(program, text);
    RenumberCompiled(program, out);
    return out;
}

}  // namespace plc
