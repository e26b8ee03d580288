// SPDX-License-Identifier: GPL-3.0-or-later
// Navigation: go to definition, find references, document symbols and
// folding ranges, all from the programme index.
#include "apps/plcc/LspDocument.h"
#include "image/SectionWords.h"

namespace plcc::lsp {

namespace {

// The token of `kind` on `line` (the label of a statement line, the name of a DEF line).
const plc::Token* TokenOnLine(const Document& doc, int32_t line, plc::TokenKind kind) {
    for (const plc::Token& t : doc.TokensOn(line)) {
        if (t.kind == kind) return &t;
    }
    return nullptr;
}

json Location(const Document& doc, const json& range) { return {{"uri", doc.uri}, {"range", range}}; }

json LineLocation(const Document& doc, int32_t line, plc::TokenKind kind) {
    if (const plc::Token* t = TokenOnLine(doc, line, kind)) return Location(doc, TokenRange(*t));
    return Location(doc, Range(line, 0, line, static_cast<int32_t>(doc.Line(line).size())));
}

}  // namespace

json Definition(const Document& doc, int32_t line, int32_t column) {
    const plc::Token t = doc.index.TokenNear(line, column);
    const int32_t target = doc.index.DefinitionLine(t);
    if (target < 0) return nullptr;
    const plc::TokenKind kind = !plc::ProgramIndex::NamesLabel(t) ? plc::TokenKind::DefName
                                : t.label == plc::kEndRecord     ? plc::TokenKind::SectionEnd
                                                                 : plc::TokenKind::LabelDef;
    return LineLocation(doc, target, kind);
}

json References(const Document& doc, int32_t line, int32_t column, bool withDeclaration) {
    const plc::Token t = doc.index.TokenNear(line, column);
    json list = json::array();
    if (plc::ProgramIndex::NamesLabel(t)) {
        if (withDeclaration) {
            if (const plc::LabelLine* target = doc.index.FindLabel(t.label)) {
                list.push_back(LineLocation(doc, target->line, t.label == plc::kEndRecord ? plc::TokenKind::SectionEnd
                                                                                          : plc::TokenKind::LabelDef));
            }
        }
    } else if (!plc::ProgramIndex::NamesVariable(t)) {
        return nullptr;
    }
    for (const plc::Token& use : doc.index.UsesOf(t)) {
        // A variable's uses include its DEF lines: they are its declaration.
        const bool declaration = plc::ProgramIndex::NamesVariable(t) &&
                                 TokenOnLine(doc, use.line, plc::TokenKind::DefName) != nullptr;
        if (declaration && !withDeclaration) continue;
        list.push_back(Location(doc, TokenRange(use)));
    }
    return list;
}

json DocumentSymbols(const Document& doc) {
    json list = json::array();
    const auto lastLine = static_cast<int32_t>(doc.lines.empty() ? 0 : doc.lines.size() - 1);
    for (const plc::IndexSection& s : doc.index.Sections()) {
        const int32_t end = s.endLine >= 0 ? s.endLine : lastLine;
        const json headRange = Range(s.headLine, 0, s.headLine, static_cast<int32_t>(doc.Line(s.headLine).size()));
        const std::string name = s.kind == plc::SectionKind::Text
                                     ? std::string(plc::Word(plc::SectionWord::TextHead)) + "(" + s.name + ")"
                                     : std::string(plc::Word(plc::SectionWord::ProgramHead));
        json section = {{"name", name},
                        {"kind", s.kind == plc::SectionKind::Text ? 3 : 2},  // Namespace, Module
                        {"range", Range(s.headLine, 0, end, static_cast<int32_t>(doc.Line(end).size()))},
                        {"selectionRange", headRange},
                        {"children", json::array()}};
        if (s.kind == plc::SectionKind::Program) {
            for (const plc::LabelLine& l : doc.index.Labels()) {
                if (l.line <= s.headLine || l.line > end) continue;
                const plc::Token* label = TokenOnLine(doc, l.line, plc::TokenKind::LabelDef);
                if (label == nullptr) continue;
                std::string detail = l.statement.substr(std::min(l.statement.size(), static_cast<size_t>(label->length)));
                while (!detail.empty() && (detail.front() == ' ' || detail.front() == '\t')) detail.erase(0, 1);
                section["children"].push_back(
                    {{"name", label->text},
                     {"detail", detail},
                     {"kind", 12},  // Function
                     {"range", Range(l.line, 0, l.line, static_cast<int32_t>(doc.Line(l.line).size()))},
                     {"selectionRange", TokenRange(*label)}});
            }
        } else {
            for (const plc::Declaration& d : doc.index.Declarations()) {
                if (d.line <= s.headLine || d.line > end) continue;
                const plc::Token* name = TokenOnLine(doc, d.line, plc::TokenKind::DefName);
                if (name == nullptr) continue;
                section["children"].push_back(
                    {{"name", d.name},
                     {"detail", VariableName(d.var, d.index)},
                     {"kind", 13},  // Variable
                     {"range", Range(d.line, 0, d.line, static_cast<int32_t>(doc.Line(d.line).size()))},
                     {"selectionRange", TokenRange(*name)}});
            }
        }
        list.push_back(std::move(section));
    }
    return list;
}

json FoldingRanges(const Document& doc) {
    json list = json::array();
    const auto lastLine = static_cast<int32_t>(doc.lines.empty() ? 0 : doc.lines.size() - 1);
    for (const plc::IndexSection& s : doc.index.Sections()) {
        const int32_t end = s.endLine >= 0 ? s.endLine : lastLine;
        if (end > s.headLine) list.push_back({{"startLine", s.headLine}, {"endLine", end}, {"kind", "region"}});
    }
    return list;
}

}  // namespace plcc::lsp
