// SPDX-License-Identifier: GPL-3.0-or-later
// One open programme in the language server: its text, its lines, and what
// one compile of the text gives (the image, the outcome and the index of
// its source facts), rebuilt together on every change. The features each
// answer one kind of request from it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "compiler/CompileDriver.h"
#include "compiler/ProgramIndex.h"
#include "image/InstrSet.h"

namespace plcc::lsp {

using nlohmann::json;

// The unit in which the client counts columns, agreed at initialize.
enum class PositionEncoding : uint8_t { Utf16, Utf8 };

// The largest text the server compiles: the same bounds as plcc's inputs
// (a record keeps its source line in 16 bits).
inline constexpr size_t kMaxDocumentBytes = size_t{4} << 20;
inline constexpr size_t kMaxDocumentLines = 65536;

struct Document {
    std::string uri;
    std::string text;
    std::vector<std::string> lines;
    // Byte offset of each line's start in `text`.
    std::vector<size_t> lineStarts;
    plc::CPlcProgram program;
    plc::CompileOutcome outcome;
    plc::ProgramIndex index;
    PositionEncoding encoding = PositionEncoding::Utf16;
    // No byte above 127: byte columns are the client's columns in either unit.
    bool ascii = true;
    // Set when the text is beyond kMaxDocumentBytes or kMaxDocumentLines: the
    // text is not kept or compiled, and the one diagnostic says so.
    std::string tooLarge;

    // Replaces the text and rebuilds the lines, then compiles the text once
    // for the image, the outcome and the index.
    void SetText(std::string newText);
    // Replaces the part of the text between two client positions; false when
    // the text was not kept (too large) and so cannot take a partial change.
    bool ApplyChange(int32_t line, int32_t column, int32_t endLine, int32_t endColumn, std::string_view newText);
    // The line break the text uses ("\r\n" when it has one, else "\n").
    std::string_view LineBreak() const;
    // The line's text, empty outside the document.
    std::string_view Line(int32_t line) const;
    // The tokens of a line, in text order.
    std::span<const plc::Token> TokensOn(int32_t line) const;

    // A column in the client's unit as a byte column of the line, and back;
    // a column past the line's end is its end.
    int32_t ByteColumn(int32_t line, int32_t clientColumn) const;
    int32_t ClientColumn(int32_t line, int32_t byteColumn) const;
    // Every position object ({"line", "character"}) in `message` turned from
    // byte columns into the client's unit.
    void ToClientColumns(json& message) const;
};

// A request's result already written as JSON text: the answers that grow
// with the text are written straight out, since building them as a value
// first would cost more than finding them. Columns are the client's.
struct JsonText {
    std::string text;
};

// LSP positions and ranges (0-based lines, columns in bytes of the text; the
// server turns them into the client's unit as they go out).
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
// The symbols of a text, as JSON text (a long text has tens of thousands).
JsonText DocumentSymbols(const Document& doc);
json FoldingRanges(const Document& doc);
// The document's lines with each statement line that compiles in its
// canonical text (the comment kept); lines with errors unchanged. plcc
// format writes the same.
std::vector<std::string> FormattedLines(const Document& doc);
json Formatting(const Document& doc);  // TextEdit[]; null for a document too large to check
// Edits for the lines from `fromLine` to `toLine` only.
json RangeFormatting(const Document& doc, int32_t fromLine, int32_t toLine);
json CodeActions(const Document& doc);
// With `snippets` a statement form inserts its operands as tab stops.
json Completion(const Document& doc, int32_t line, int32_t column, bool snippets);
// Whether the client of `initialize` parameters takes snippets in completion items.
bool ClientTakesSnippets(const json& initializeParams);
json SemanticTokens(const Document& doc);  // SemanticTokens of the whole text
json SemanticTokensLegend();
// The WorkspaceEdit that renames the label or the DEF name at a position to
// `newName`; null with `refusal` set when it may not.
json Rename(const Document& doc, int32_t line, int32_t column, const std::string& newName, std::string& refusal);

// The title of the code action that renumbers the programme.
inline constexpr const char* kRenumberTitle = "Renumber programme";

}  // namespace plcc::lsp
