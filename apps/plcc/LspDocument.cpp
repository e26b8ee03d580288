// The document state shared by the features, and the position helpers.
#include "apps/plcc/LspDocument.h"

#include <utility>

#include "image/PlcProgram.h"

namespace plcc::lsp {

void Document::SetText(std::string newText) {
    text = std::move(newText);
    lines = plc::SplitLines(text);
    plc::SourceFacts facts;
    outcome = plc::CompileProgramSource(program, text, &facts);
    index = plc::ProgramIndex(std::move(facts));
}

std::string_view Document::LineBreak() const {
    return text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
}

std::string_view Document::Line(int32_t line) const {
    if (line < 0 || static_cast<size_t>(line) >= lines.size()) return {};
    return lines[static_cast<size_t>(line)];
}

json Position(int32_t line, int32_t column) { return {{"line", line}, {"character", column}}; }

json Range(int32_t line, int32_t column, int32_t endLine, int32_t endColumn) {
    return {{"start", Position(line, column)}, {"end", Position(endLine, endColumn)}};
}

json TokenRange(const plc::Token& token) {
    return Range(token.line, token.column, token.line, token.column + token.length);
}

json WholeDocument(const Document& doc) {
    const auto last = static_cast<int32_t>(doc.lines.empty() ? 0 : doc.lines.size() - 1);
    return Range(0, 0, last, static_cast<int32_t>(doc.Line(last).size()));
}

}  // namespace plcc::lsp
