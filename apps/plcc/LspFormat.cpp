// SPDX-License-Identifier: GPL-3.0-or-later
// Formatting and the renumber action. Formatting writes each statement line
// that compiles in its canonical text and leaves the others as they are; the
// renumber action needs a programme that compiles. Both give the whole text
// back as one edit; range formatting gives one edit per changed line.
#include <algorithm>

#include "apps/plcc/LspDocument.h"
#include "decoder/DecodeRecord.h"
#include "decoder/RenumberText.h"
#include "image/PlcProgram.h"

namespace plcc::lsp {

namespace {

json WholeEdit(const Document& doc, const std::string& text) {
    if (text == doc.text) return json::array();
    return json::array({{{"range", WholeDocument(doc)}, {"newText", text}}});
}

}  // namespace

std::vector<std::string> FormattedLines(const Document& doc) {
    std::vector<std::string> lines = doc.lines;
    if (doc.lines.size() > plc::kMaxRenumberLines || !doc.tooLarge.empty()) return lines;
    // A line with an error keeps its text: its record, if any, is not what
    // the line says.
    std::vector<bool> faulty(lines.size(), false);
    for (const plc::CompileOutcome::Error& e : doc.outcome.errors) {
        if (e.line >= 1 && static_cast<size_t>(e.line) <= faulty.size()) faulty[static_cast<size_t>(e.line - 1)] = true;
    }
    const plc::CPlcProgram& program = doc.program;
    // Each statement line becomes the decoder's text of its record, with the
    // line's comment kept as renumbering keeps it.
    for (int label = plc::kFirstLabel; label <= plc::kLastLabel; ++label) {
        const plc::PlcInstr& rec = program.Record(label);
        if (!rec.used() || rec.line() >= lines.size() || faulty[rec.line()]) continue;
        std::string statement;
        if (!plc::DecodeRecord(program, statement, label)) continue;  // keep a line the decoder cannot show
        std::string& line = lines[rec.line()];
        const bool last = rec.line() + 1u == lines.size();
        line = plc::ReplacementText(statement, line, last);
        if (last) {
            line.resize(line.size() - 2);  // the line break that ends the text
            lines.emplace_back();
        }
    }
    return lines;
}

json Formatting(const Document& doc) {
    if (!doc.tooLarge.empty()) return nullptr;
    return WholeEdit(doc, plc::JoinLines(FormattedLines(doc), doc.LineBreak()));
}

json RangeFormatting(const Document& doc, int32_t fromLine, int32_t toLine) {
    if (!doc.tooLarge.empty()) return nullptr;
    const std::vector<std::string> lines = FormattedLines(doc);
    json edits = json::array();
    const auto last = std::min<int64_t>(toLine, static_cast<int64_t>(doc.lines.size()) - 1);
    for (int32_t line = std::max(fromLine, 0); line <= last; ++line) {
        const auto i = static_cast<size_t>(line);
        if (lines[i] == doc.lines[i]) continue;
        edits.push_back({{"range", Range(line, 0, line, static_cast<int32_t>(doc.lines[i].size()))},
                         {"newText", lines[i]}});
    }
    return edits;
}

json CodeActions(const Document& doc) {
    json actions = json::array();
    plc::CPlcProgram program;
    const plc::RenumberTextOutcome outcome = plc::RenumberProgramSource(program, doc.text);
    if (!outcome.renumbered) return actions;
    json edits = WholeEdit(doc, plc::JoinLines(outcome.lines, doc.LineBreak()));
    if (edits.empty()) return actions;
    actions.push_back({{"title", kRenumberTitle},
                       {"kind", "source"},
                       {"edit", {{"changes", {{doc.uri, std::move(edits)}}}}}});
    return actions;
}

}  // namespace plcc::lsp
