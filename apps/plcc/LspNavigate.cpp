// SPDX-License-Identifier: GPL-3.0-or-later
// Navigation: go to definition, find references, document symbols and
// folding ranges, all from the programme index.
#include <algorithm>
#include <string_view>

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

namespace {

// JSON text written straight out, in the order and form the value tree would
// dump it (keys sorted, no blanks): the symbols of a long text are written
// this way, as building them as a tree first costs far more than finding them.
class SymbolWriter {
public:
    explicit SymbolWriter(const Document& doc) : m_doc(doc) {}

    std::string& Text() { return m_out; }
    void Raw(std::string_view s) { m_out += s; }
    void Number(int32_t n) { m_out += std::to_string(n); }

    // A string: plain ASCII escaped here; anything else the way the server
    // dumps every message (invalid UTF-8 replaced).
    void String(std::string_view s) {
        const bool plain = std::all_of(s.begin(), s.end(), [](char c) {
            const auto u = static_cast<unsigned char>(c);
            return u >= 0x20 && u < 0x80 && c != '"' && c != '\\';
        });
        if (!plain) {
            m_out += json(std::string(s)).dump(-1, ' ', false, json::error_handler_t::replace);
            return;
        }
        m_out += '"';
        m_out += s;
        m_out += '"';
    }

    // {"end":{...},"start":{...}} with byte columns turned into the client's unit.
    void Range(int32_t line, int32_t column, int32_t endLine, int32_t endColumn) {
        m_out += "{\"end\":";
        Position(endLine, endColumn);
        m_out += ",\"start\":";
        Position(line, column);
        m_out += '}';
    }
    void LineRange(int32_t line) { Range(line, 0, line, static_cast<int32_t>(m_doc.Line(line).size())); }
    void TokenRange(const plc::Token& t) { Range(t.line, t.column, t.line, t.column + t.length); }

private:
    void Position(int32_t line, int32_t column) {
        m_out += "{\"character\":";
        Number(m_doc.ClientColumn(line, column));
        m_out += ",\"line\":";
        Number(line);
        m_out += '}';
    }

    const Document& m_doc;
    std::string m_out;
};

}  // namespace

JsonText DocumentSymbols(const Document& doc) {
    SymbolWriter w(doc);
    const auto lastLine = static_cast<int32_t>(doc.lines.empty() ? 0 : doc.lines.size() - 1);
    // Labels and declarations are in text order, as the sections are: one
    // cursor each walks them once over all sections.
    const std::vector<plc::LabelLine>& labels = doc.index.Labels();
    const std::vector<plc::Declaration>& declarations = doc.index.Declarations();
    size_t nextLabel = 0;
    size_t nextDeclaration = 0;
    w.Raw("[");
    bool firstSection = true;
    for (const plc::IndexSection& s : doc.index.Sections()) {
        const int32_t end = s.endLine >= 0 ? s.endLine : lastLine;
        w.Raw(firstSection ? "{\"children\":[" : ",{\"children\":[");
        firstSection = false;
        bool firstChild = true;
        const auto child = [&](std::string_view name, std::string_view detail, int kind, int32_t line,
                               const plc::Token& selection) {
            w.Raw(firstChild ? "{\"detail\":" : ",{\"detail\":");
            firstChild = false;
            w.String(detail);
            w.Raw(kind == 12 ? ",\"kind\":12,\"name\":" : ",\"kind\":13,\"name\":");  // Function, Variable
            w.String(name);
            w.Raw(",\"range\":");
            w.LineRange(line);
            w.Raw(",\"selectionRange\":");
            w.TokenRange(selection);
            w.Raw("}");
        };
        if (s.kind == plc::SectionKind::Program) {
            while (nextLabel < labels.size() && labels[nextLabel].line <= s.headLine) ++nextLabel;
            for (; nextLabel < labels.size() && labels[nextLabel].line <= end; ++nextLabel) {
                const plc::LabelLine& l = labels[nextLabel];
                const plc::Token* label = TokenOnLine(doc, l.line, plc::TokenKind::LabelDef);
                if (label == nullptr) continue;
                std::string_view detail(l.statement);
                detail.remove_prefix(std::min(detail.size(), static_cast<size_t>(label->length)));
                while (!detail.empty() && (detail.front() == ' ' || detail.front() == '\t')) detail.remove_prefix(1);
                child(label->text, detail, 12, l.line, *label);
            }
        } else {
            while (nextDeclaration < declarations.size() && declarations[nextDeclaration].line <= s.headLine) {
                ++nextDeclaration;
            }
            for (; nextDeclaration < declarations.size() && declarations[nextDeclaration].line <= end; ++nextDeclaration) {
                const plc::Declaration& d = declarations[nextDeclaration];
                const plc::Token* name = TokenOnLine(doc, d.line, plc::TokenKind::DefName);
                if (name == nullptr) continue;
                child(d.name, VariableName(d.var, d.index), 13, d.line, *name);
            }
        }
        const std::string name = s.kind == plc::SectionKind::Text
                                     ? plc::TextHeadLine(s.name)
                                     : std::string(plc::Word(plc::SectionWord::ProgramHead));
        w.Raw(s.kind == plc::SectionKind::Text ? "],\"kind\":3,\"name\":" : "],\"kind\":2,\"name\":");  // Namespace, Module
        w.String(name);
        w.Raw(",\"range\":");
        w.Range(s.headLine, 0, end, static_cast<int32_t>(doc.Line(end).size()));
        w.Raw(",\"selectionRange\":");
        w.LineRange(s.headLine);
        w.Raw("}");
    }
    w.Raw("]");
    return JsonText{std::move(w.Text())};
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
