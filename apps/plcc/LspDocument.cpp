// SPDX-License-Identifier: GPL-3.0-or-later
// The document state shared by the features, and the position helpers.
#include "apps/plcc/LspDocument.h"

#include <algorithm>
#include <utility>

#include "base/ByteOrderMark.h"
#include "image/PlcProgram.h"

namespace plcc::lsp {

namespace {

// The bytes of a UTF-8 sequence that starts with `lead` (1 for a stray byte).
size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8) return 4;
    if (lead >= 0xE0 && lead < 0xF0) return 3;
    if (lead >= 0xC0 && lead < 0xE0) return 2;
    return 1;
}

// UTF-16 code units of the sequence of `bytes` bytes.
int32_t Utf16Units(size_t bytes) { return bytes == 4 ? 2 : 1; }

}  // namespace

void Document::SetText(std::string newText) {
    tooLarge.clear();
    const size_t count = plc::CountLines(newText);
    if (newText.size() > kMaxDocumentBytes || count > kMaxDocumentLines) {
        tooLarge = newText.size() > kMaxDocumentBytes
                       ? "The document has " + std::to_string(newText.size()) +
                             " bytes; a programme text may have at most 4 MiB. It is not checked."
                       : "The document has " + std::to_string(count) + " lines; a programme text may have at most " +
                             std::to_string(kMaxDocumentLines) + ". It is not checked.";
        newText.clear();
    }
    text = std::move(newText);
    ascii = std::none_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) > 0x7F; });
    lines.clear();
    lineStarts.clear();
    std::string_view line;
    for (plc::LineReader reader(text); tooLarge.empty() && reader.Next(line);) {
        lines.emplace_back(line);
        lineStarts.push_back(reader.Start());
    }
    plc::SourceFacts facts;
    program = plc::CPlcProgram();
    // A byte-order mark before the text is not compiled, but stays in the
    // text: the client counts it in the first line's columns, so the facts
    // and errors of that line are moved past it.
    const std::string_view source = plc::SourceTextOfFile(text);
    outcome = tooLarge.empty() ? plc::CompileProgramSource(program, source, &facts) : plc::CompileOutcome{};
    if (const auto mark = static_cast<int32_t>(text.size() - source.size()); mark > 0) {
        for (plc::Token& t : facts.tokens) {
            if (t.line != 0) break;
            t.column += mark;
        }
        for (plc::Declaration& d : facts.declarations) {
            if (d.line != 0) break;
            d.column += mark;
        }
        for (plc::CompileOutcome::Error& e : outcome.errors) {
            if (e.line == 1 && e.column > 0) e.column += mark;
        }
    }
    index = plc::ProgramIndex(std::move(facts));
}

bool Document::ApplyChange(int32_t line, int32_t column, int32_t endLine, int32_t endColumn,
                           std::string_view newText) {
    if (!tooLarge.empty()) return false;
    const auto offset = [this](int32_t l, int32_t c) {
        if (lines.empty()) return size_t{0};
        if (static_cast<size_t>(l) >= lines.size()) return text.size();
        return lineStarts[static_cast<size_t>(l)] + static_cast<size_t>(ByteColumn(l, c));
    };
    size_t from = offset(line, column);
    size_t to = offset(endLine, endColumn);
    if (to < from) std::swap(from, to);
    std::string changed;
    changed.reserve(text.size() - (to - from) + newText.size());
    changed.append(text, 0, from);
    changed.append(newText);
    changed.append(text, to);
    SetText(std::move(changed));
    return true;
}

std::string_view Document::LineBreak() const {
    return text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
}

std::string_view Document::Line(int32_t line) const {
    if (line < 0 || static_cast<size_t>(line) >= lines.size()) return {};
    return lines[static_cast<size_t>(line)];
}

std::span<const plc::Token> Document::TokensOn(int32_t line) const {
    if (line < 0 || static_cast<size_t>(line) >= lines.size()) return {};
    return index.TokensOnLine(line);
}

int32_t Document::ByteColumn(int32_t line, int32_t clientColumn) const {
    const std::string_view s = Line(line);
    if (encoding == PositionEncoding::Utf8) return std::min(clientColumn, static_cast<int32_t>(s.size()));
    size_t at = 0;
    for (int32_t units = 0; at < s.size() && units < clientColumn;) {
        const size_t n = std::min(SequenceLength(static_cast<unsigned char>(s[at])), s.size() - at);
        units += Utf16Units(n);
        at += n;
    }
    return static_cast<int32_t>(at);
}

int32_t Document::ClientColumn(int32_t line, int32_t byteColumn) const {
    const std::string_view s = Line(line);
    if (encoding == PositionEncoding::Utf8 || ascii) return byteColumn;
    const size_t end = std::min(static_cast<size_t>(std::max(byteColumn, 0)), s.size());
    int32_t units = 0;
    for (size_t at = 0; at < end;) {
        const size_t n = std::min(SequenceLength(static_cast<unsigned char>(s[at])), s.size() - at);
        units += Utf16Units(n);
        at += n;
    }
    // Columns past the line's end (none the features give) keep their distance.
    return units + std::max(0, byteColumn - static_cast<int32_t>(s.size()));
}

void Document::ToClientColumns(json& message) const {
    if (encoding == PositionEncoding::Utf8 || ascii) return;
    if (message.is_object()) {
        const auto line = message.find("line");
        const auto character = message.find("character");
        if (line != message.end() && character != message.end() && line->is_number_integer() &&
            character->is_number_integer() && message.size() == 2) {
            *character = ClientColumn(line->get<int32_t>(), character->get<int32_t>());
            return;
        }
        for (json& value : message) ToClientColumns(value);
    } else if (message.is_array()) {
        for (json& value : message) ToClientColumns(value);
    }
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
