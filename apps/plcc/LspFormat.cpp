// Formatting and the renumber action: both give the whole text back as one
// edit, and both only for a programme that compiles.
#include "apps/plcc/LspDocument.h"
#include "decoder/DecodeRecord.h"
#include "decoder/RenumberText.h"
#include "image/PlcProgram.h"

namespace plcc::lsp {

namespace {

// `lines` joined with the document's own line break.
std::string Join(const Document& doc, const std::vector<std::string>& lines) {
    const std::string_view lineBreak = doc.LineBreak();
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i != 0) text += lineBreak;
        text += lines[i];
    }
    return text;
}

json WholeEdit(const Document& doc, const std::string& text) {
    if (text == doc.text) return json::array();
    return json::array({{{"range", WholeDocument(doc)}, {"newText", text}}});
}

}  // namespace

json Formatting(const Document& doc) {
    if (doc.lines.size() > plc::kMaxRenumberLines || !doc.outcome.success) return nullptr;
    std::vector<std::string> lines = doc.lines;
    plc::CanonicalLines(doc.program, lines);
    return WholeEdit(doc, Join(doc, lines));
}

json CodeActions(const Document& doc) {
    json actions = json::array();
    plc::CPlcProgram program;
    const plc::RenumberTextOutcome outcome = plc::RenumberProgramSource(program, doc.text);
    if (!outcome.renumbered) return actions;
    json edits = WholeEdit(doc, Join(doc, outcome.lines));
    if (edits.empty()) return actions;
    actions.push_back({{"title", kRenumberTitle},
                       {"kind", "source"},
                       {"edit", {{"changes", {{doc.uri, std::move(edits)}}}}}});
    return actions;
}

}  // namespace plcc::lsp
