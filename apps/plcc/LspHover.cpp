// SPDX-License-Identifier: GPL-3.0-or-later
// Hover for the language server: the hover engine's explanation as
// Markdown, the word's canonical text as code, ending with a link to the
// help page that explains it.
#include <algorithm>

#include "apps/plcc/LspDocument.h"
#include "apps/plcc/LspHelp.h"
#include "compiler/Assist.h"

namespace plcc::lsp {

json Hover(const Document& doc, int32_t line, int32_t column) {
    const std::optional<plc::HoverInfo> hover = plc::HoverAt(doc.index, doc.Line(line), line, column);
    if (!hover) return nullptr;
    // Each line is a paragraph of its own; a list's items follow each other.
    std::string text = "```\n" + hover->code + "\n```";
    size_t start = 0;
    while (start < hover->text.size()) {
        const size_t end = std::min(hover->text.find('\n', start), hover->text.size());
        const std::string_view row = std::string_view(hover->text).substr(start, end - start);
        text += row.starts_with("- ") ? "\n" : "\n\n";
        text += row;
        start = end + 1;
    }
    if (const std::string link = HelpLink(hover->topic); !link.empty()) text += "\n\n" + link;
    return {{"contents", {{"kind", "markdown"}, {"value", text}}}, {"range", TokenRange(hover->token)}};
}

}  // namespace plcc::lsp
