// One open programme in the language server: its text, its lines, and what
// one compile of the text gives (the image, the outcome and the index of
// its source facts), rebuilt together on every change. The features each
// answer one kind of request from it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "compiler/CompileDriver.h"
#include "compiler/ProgramIndex.h"
#include "image/InstrSet.h"

namespace plcc::lsp {

using nlohmann::json;

struct Document {
    std::string uri;
    std::string text;
    std::vector<std::string> lines;
    plc::CPlcProgram program;
    plc::CompileOutcome outcome;
    plc::ProgramIndex index;

    // Replaces the text and rebuilds the lines, then compiles the text once
    // for the image, the outcome and the index.
    void SetText(std::string newText);
    // The line break the text uses ("\r\n" when it has one, else "\n").
    std::string_view LineBreak() const;
    // The line's text, empty outside the document.
    std::string_view Line(int32_t line) const;
};

// LSP positions and ranges (0-based lines, columns in bytes of the 8-bit text).
json Position(int32_t line, int32_t column);
json Range(int32_t line, int32_t column, int32_t endLine, int32_t endColumn);
json TokenRange(const plc::Token& token);
// The range from the start to the end of the whole text.
json WholeDocument(const Document& doc);

// ---- features ----
json Diagnostics(const Document& doc);                          // the diagnostics array
json Hover(const Document& doc, int32_t line, int32_t column);  // Hover or null
json Definition(const Document& doc, int32_t line, int32_t column);  // Location or null
json References(const Document& doc, int32_t line, int32_t column, bool withDeclaration);
json DocumentSymbols(const Document& doc);
json FoldingRanges(const Document& doc);
json Formatting(const Document& doc);  // TextEdit[] or null when the programme does not compile
json CodeActions(const Document& doc);
// With `snippets` a statement form inserts its operands as tab stops.
json Completion(const Document& doc, int32_t line, int32_t column, bool snippets);
// Whether the client of `initialize` parameters takes snippets in completion items.
bool ClientTakesSnippets(const json& initializeParams);
json SemanticTokens(const Document& doc);  // SemanticTokens of the whole text
json SemanticTokensLegend();

// The title of the code action that renumbers the programme.
inline constexpr const char* kRenumberTitle = "Renumber programme";

}  // namespace plcc::lsp
