// SPDX-License-Identifier: GPL-3.0-or-later
// Diagnostics: every error of the compile driver, at its line and, where the
// compiler or the index knows it, at the offending token; for a programme
// that compiles, the analysis's warnings and hints with their codes.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/Analysis.h"
#include "apps/plcc/LspDocument.h"
#include "apps/plcc/LspHelp.h"
#include "base/Ascii.h"
#include "compiler/HelpPages.h"
#include "compiler/Statements.h"
#include "resources/StringTable.h"

namespace plcc::lsp {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// The written part of a line: from its first non-blank to the end of the
// text before the comment (the whole comment when there is nothing else).
void ContentSpan(std::string_view line, int32_t& from, int32_t& to) {
    size_t end = line.find(';');
    if (end == std::string_view::npos) end = line.size();
    size_t start = 0;
    while (start < end && IsBlank(line[start])) ++start;
    while (end > start && IsBlank(line[end - 1])) --end;
    if (start == end) {
        start = 0;
        end = line.size();
    }
    from = static_cast<int32_t>(start);
    to = static_cast<int32_t>(end);
}

// The first token of `kind` on `line` that `accept` takes.
template <typename Accept>
const plc::Token* FindToken(const Document& doc, int32_t line, plc::TokenKind kind, Accept accept) {
    for (const plc::Token& t : doc.TokensOn(line)) {
        if (t.kind == kind && accept(t)) return &t;
    }
    return nullptr;
}

}  // namespace

json Diagnostics(const Document& doc) {
    json list = json::array();
    if (!doc.tooLarge.empty()) {
        list.push_back({{"range", Range(0, 0, 0, 0)}, {"severity", 1}, {"source", "plcc"}, {"message", doc.tooLarge}});
        return list;
    }
    for (const plc::CompileOutcome::Error& e : doc.outcome.errors) {
        int32_t line = e.line - 1;
        const plc::Token* token = nullptr;
        switch (e.code) {
            case plc::kErrTargetMissing:  // the target that has no statement
                token = FindToken(doc, line, plc::TokenKind::LabelRef,
                                  [&doc](const plc::Token& t) { return doc.index.FindLabel(t.label) == nullptr; });
                break;
            case plc::kErrOrder:  // the label that does not rise
                token = FindToken(doc, line, plc::TokenKind::LabelDef, [](const plc::Token&) { return true; });
                break;
            case plc::kErrMissingProgramEnd:
                if (int32_t head = doc.index.OpenSectionHead(plc::SectionKind::Program); head >= 0) line = head;
                break;
            case plc::kErrMissingTextEnd:
                if (int32_t head = doc.index.OpenSectionHead(plc::SectionKind::Text); head >= 0) line = head;
                break;
            default: break;
        }
        if (line < 0) line = 0;
        if (!doc.lines.empty() && static_cast<size_t>(line) >= doc.lines.size()) {
            line = static_cast<int32_t>(doc.lines.size() - 1);
        }
        const std::string_view text = doc.Line(line);
        int32_t from = 0, to = 0;
        ContentSpan(text, from, to);
        if (token != nullptr) {
            from = token->column;
            to = token->column + token->length;
        } else if (e.column > 0 && static_cast<size_t>(e.column) <= text.size()) {
            // The offending token: from the compiler's column over its letters and digits.
            from = e.column - 1;
            to = from + 1;
            while (static_cast<size_t>(to) < text.size() &&
                   (plc::AsciiAlnum(text[static_cast<size_t>(to)]) || text[static_cast<size_t>(to)] == '_')) {
                ++to;
            }
        }
        char code[16];
        std::snprintf(code, sizeof code, "ERR(%02d)", static_cast<int>(e.code));
        json diagnostic = {{"range", Range(line, from, line, to)},
                           {"severity", 1},
                           {"code", code},
                           {"source", "plcc"},
                           {"message", plc::ErrorText(e.code)}};
        // The error's entry in the help, for clients that link codes.
        if (const std::string help = HelpAddress(plc::ErrorHelpPage(e.code)); !help.empty())
            diagnostic["codeDescription"] = {{"href", help}};
        list.push_back(std::move(diagnostic));
    }
    if (!doc.outcome.success) return list;
    const plc::ProgramAnalysis analysis = plc::AnalyseProgram(
        doc.program, plc::ReadSourceSites(doc.index.Facts()), plc::RecordLinesOfImage(doc.program));
    for (const plc::Finding& f : analysis.findings) {
        if (!f.at.Known()) continue;
        list.push_back({{"range", Range(f.at.line, f.at.column, f.at.line, f.at.column + f.at.length)},
                        {"severity", f.severity == plc::Severity::Hint ? 4 : 2},
                        {"code", f.code},
                        {"source", "plcc"},
                        {"message", f.text}});
    }
    return list;
}

}  // namespace plcc::lsp
