// SPDX-License-Identifier: GPL-3.0-or-later
// Completion for the language server: the items of the completion engine as
// LSP CompletionItems, each replacing the typed word with its canonical text
// (a snippet with a tab stop per operand where the client takes snippets),
// its documentation a link to the help page that explains it.
#include "apps/plcc/LspDocument.h"
#include "apps/plcc/LspHelp.h"
#include "compiler/Assist.h"

namespace plcc::lsp {

namespace {

// CompletionItemKind values.
int KindOf(plc::CompletionKind kind) {
    switch (kind) {
        case plc::CompletionKind::Section:
        case plc::CompletionKind::Keyword: return 14;  // Keyword
        case plc::CompletionKind::Label: return 18;    // Reference
        case plc::CompletionKind::Variable: return 6;  // Variable
        default: return 20;                            // EnumMember: inputs, outputs, flags, names
    }
}

}  // namespace

bool ClientTakesSnippets(const json& initializeParams) {
    const json::json_pointer pointer("/capabilities/textDocument/completion/completionItem/snippetSupport");
    return initializeParams.contains(pointer) && initializeParams.at(pointer).is_boolean() &&
           initializeParams.at(pointer).get<bool>();
}

json Completion(const Document& doc, int32_t line, int32_t column, bool snippets) {
    const plc::Completions completions = plc::CompleteAt(doc.index, doc.Line(line), line, column);
    json list = json::array();
    for (const plc::CompletionItem& c : completions.items) {
        const bool snippet = snippets && !c.snippet.empty();
        json item = {{"label", c.label},
                     {"kind", KindOf(c.kind)},
                     {"filterText", c.filter},
                     {"textEdit",
                      {{"range", Range(line, completions.from, line, completions.to)},
                       {"newText", snippet ? c.snippet : c.insert}}}};
        if (snippet) item["insertTextFormat"] = 2;
        if (!c.detail.empty()) item["detail"] = c.detail;
        if (const std::string link = HelpLink(c.topic); !link.empty())
            item["documentation"] = {{"kind", "markdown"}, {"value", link}};
        list.push_back(std::move(item));
    }
    return list;
}

}  // namespace plcc::lsp
