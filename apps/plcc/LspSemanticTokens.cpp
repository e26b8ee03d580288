// SPDX-License-Identifier: GPL-3.0-or-later
// Semantic tokens: the whole document coloured with the classes the editor
// window uses, from the compiler's classifier of source words, with the DEF
// names the document itself declares.
#include <iterator>

#include "apps/plcc/LspDocument.h"
#include "base/ByteOrderMark.h"
#include "compiler/SourceClassifier.h"

namespace plcc::lsp {

namespace {

// The token type of each class after Default, in the classes' order; the
// legend lists them in this order, so a class's index is its type number.
constexpr const char* kTokenTypes[] = {
    "comment",     // Comment
    "namespace",   // Section: %P00, %TEXT(...), END
    "label",       // Label
    "keyword",     // Keyword
    "variable",    // Variable
    "macro",       // DefName: a name that stands for a variable
    "property",    // InOut
    "number",      // Number
    "enumMember",  // DriveName
};
static_assert(std::size(kTokenTypes) == plc::kSourceClassCount - 1);

}  // namespace

json SemanticTokensLegend() {
    return {{"tokenTypes", kTokenTypes}, {"tokenModifiers", json::array()}};
}

json SemanticTokens(const Document& doc) {
    plc::SourceClassifier classifier;
    classifier.SetDefNames(plc::SourceClassifier::DeclaredNames(doc.index.Facts()));

    // Each token as five numbers: line and start relative to the previous
    // token, length, type, modifiers.
    json data = json::array();
    int32_t prevLine = 0, prevStart = 0;
    for (size_t line = 0; line < doc.lines.size(); ++line) {
        const std::string_view text = doc.lines[line];
        // The first line is read after a byte-order mark, as the compile reads it.
        const auto mark = static_cast<int32_t>(line == 0 ? text.size() - plc::SourceTextOfFile(text).size() : 0);
        for (const plc::SourceSpan& span : classifier.Spans(text.substr(static_cast<size_t>(mark)))) {
            const auto lineNo = static_cast<int32_t>(line);
            // Start and length in the client's unit.
            const int32_t begin = mark + static_cast<int32_t>(span.begin);
            const int32_t start = doc.ClientColumn(lineNo, begin);
            const int32_t end = doc.ClientColumn(lineNo, begin + static_cast<int32_t>(span.length));
            data.push_back(lineNo - prevLine);
            data.push_back(lineNo == prevLine ? start - prevStart : start);
            data.push_back(end - start);
            data.push_back(static_cast<int>(span.cls) - 1);
            data.push_back(0);
            prevLine = lineNo;
            prevStart = start;
        }
    }
    return {{"data", std::move(data)}};
}

}  // namespace plcc::lsp
