// SPDX-License-Identifier: GPL-3.0-or-later
// Rename: a variable's DEF name, or a statement's label with every jump and
// call to it. A new name is checked by compiling the renamed text; a new
// label must be free and keep the labels ascending.
#include "apps/plcc/LspDocument.h"
#include "base/Ascii.h"
#include "compiler/CompileDriver.h"
#include "image/PlcProgram.h"
#include "image/LabelText.h"

namespace plcc::lsp {

namespace {

json Edit(const plc::Token& t, const std::string& text) { return {{"range", TokenRange(t)}, {"newText", text}}; }

// `edits` applied to the document's text (each a token on one line, in text order).
std::string Applied(const Document& doc, const std::vector<std::pair<const plc::Token*, std::string>>& edits) {
    std::string text;
    size_t at = 0;
    for (const auto& [t, newText] : edits) {
        const size_t from = doc.lineStarts[static_cast<size_t>(t->line)] + static_cast<size_t>(t->column);
        text.append(doc.text, at, from - at);
        text += newText;
        at = from + static_cast<size_t>(t->length);
    }
    text.append(doc.text, at);
    return text;
}

// The label a new name gives ("N12", "n012"), or -1.
int ParseLabel(std::string_view name) {
    if (name.size() < 2 || plc::AsciiUpper(name[0]) != 'N') return -1;
    int label = 0;
    for (const char c : name.substr(1)) {
        if (!plc::AsciiDigit(c) || label > plc::kLastLabel) return -1;
        label = label * 10 + (c - '0');
    }
    return label >= plc::kFirstLabel && label <= plc::kLastLabel ? label : -1;
}

json RenameLabel(const Document& doc, const plc::Token& t, const std::string& newName, std::string& refusal) {
    const int label = ParseLabel(newName);
    if (label < 0) {
        refusal = "'" + newName + "' is no label: a label is N001 to N254";
        return nullptr;
    }
    if (label == t.label) return json::object({{"changes", {{doc.uri, json::array()}}}});
    if (doc.index.FindLabel(label) != nullptr) {
        refusal = "The label " + plc::LabelText(label) + " exists already";
        return nullptr;
    }
    // The neighbours in text order of the line that carries the label.
    const std::vector<plc::LabelLine>& labels = doc.index.Labels();
    for (size_t i = 0; i < labels.size(); ++i) {
        if (labels[i].label != t.label) continue;
        const bool afterPrevious = i == 0 || labels[i - 1].label < label;
        const bool beforeNext = i + 1 == labels.size() || label < labels[i + 1].label;
        if (!afterPrevious || !beforeNext) {
            refusal = "The label " + plc::LabelText(label) + " would break the ascending order of the labels (" +
                      (i == 0 ? std::string("start") : plc::LabelText(labels[i - 1].label)) + " before, " +
                      plc::LabelText(i + 1 == labels.size() ? plc::kEndRecord : labels[i + 1].label) + " after)";
            return nullptr;
        }
    }
    json edits = json::array();
    const std::string text = plc::LabelText(label);
    for (const plc::Token& token : doc.index.Tokens()) {
        if (plc::ProgramIndex::NamesLabel(token) && token.label == t.label) edits.push_back(Edit(token, text));
    }
    return {{"changes", {{doc.uri, std::move(edits)}}}};
}

json RenameVariable(const Document& doc, const plc::Token& t, const std::string& newName, std::string& refusal) {
    std::vector<std::pair<const plc::Token*, std::string>> names;
    for (const plc::Token& token : doc.index.Tokens()) {
        if (token.kind == plc::TokenKind::DefName && token.var == t.var && token.index == t.index) {
            names.emplace_back(&token, newName);
        }
    }
    if (names.empty()) {
        refusal = VariableName(t.var, t.index) + " has no DEF name to rename";
        return nullptr;
    }
    // The compiler decides what a name may be: the renamed text must declare
    // the new name and compile with no more errors than before.
    plc::CPlcProgram program;
    plc::SourceFacts facts;
    const plc::CompileOutcome outcome = plc::CompileProgramSource(program, Applied(doc, names), &facts);
    const plc::ProgramIndex renamed(std::move(facts));
    const plc::Declaration* d = renamed.FindDeclaration(t.var, t.index);
    if (d == nullptr || d->name != newName || outcome.errors.size() > doc.outcome.errors.size()) {
        refusal = "'" + newName + "' cannot be a DEF name";
        return nullptr;
    }
    json edits = json::array();
    for (const auto& [token, text] : names) edits.push_back(Edit(*token, text));
    return {{"changes", {{doc.uri, std::move(edits)}}}};
}

}  // namespace

json Rename(const Document& doc, int32_t line, int32_t column, const std::string& newName, std::string& refusal) {
    const plc::Token t = doc.index.TokenNear(line, column);
    if (plc::ProgramIndex::NamesLabel(t) && t.label != plc::kEndRecord) return RenameLabel(doc, t, newName, refusal);
    if (plc::ProgramIndex::NamesVariable(t)) return RenameVariable(doc, t, newName, refusal);
    refusal = "Only a label or a variable's DEF name can be renamed";
    return nullptr;
}

}  // namespace plcc::lsp
