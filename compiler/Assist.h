// SPDX-License-Identifier: GPL-3.0-or-later
// Completion and hover over a programme text: what may be written at the
// caret, and what a word under the mouse is. One engine for every tool that
// edits programmes (the editor window and the language server), working on
// the source facts of the text's compile (ProgramIndex) and on the
// instruction tables, so that what it offers compiles and what it explains
// is what the compiler read. Texts are canonical, as the decoder writes them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/ProgramIndex.h"

namespace plc {

// What an item or hover is about, for the help page that explains it.
enum class TopicKind : uint8_t {
    Section,    // a section head or END; name: "%TEXT", "%P00", "END"
    Statement,  // a statement form; family: its first word ("SET"), name: the keyword's canonical text
    Label,      // a label; name: "N010"
    Variable,   // a variable; family: the family letter ("H"), name: "H005"
    Input,      // name: "IE3"
    Output,     // name: "OS0"
    Status,     // name: "STA_INPOS"
    Register,   // name: "INPOSWINDOW"
    CtrlFlag,   // name: "ENCTRL"
    DriveValue, // name: "ACTPOS"
    Programme,  // the programme's name in %TEXT(NAME)
};

struct Topic {
    TopicKind kind = TopicKind::Statement;
    std::string family;
    std::string name;
};

enum class CompletionKind : uint8_t { Section, Keyword, Label, Variable, Input, Output, Status };

struct CompletionItem {
    std::string label;    // what the list shows ("SET Hxxx = Hxxx", "H005")
    std::string insert;   // the canonical text that replaces the typed word ("SET H", "H005")
    std::string snippet;  // the whole form with a tab stop per operand; empty when it is `insert`
    std::string detail;   // one line beside it: the form, the DEF name, the statement
    std::string filter;   // the texts that select it, for a client that filters by itself
    CompletionKind kind = CompletionKind::Keyword;
    Topic topic;
};

struct Completions {
    // The typed word that an item replaces: columns [from, to) of the line,
    // `to` being the caret.
    int32_t from = 0;
    int32_t to = 0;
    std::vector<CompletionItem> items;
};

// What may be written at (line, column) of a text whose compile gave
// `index`; `lineText` is that line as written. Items whose text does not go
// on from what is typed are left out. Columns are bytes of the 8-bit text.
Completions CompleteAt(const ProgramIndex& index, std::string_view lineText, int32_t line, int32_t column);

struct HoverInfo {
    Token token;       // the word explained (its line, column and length)
    std::string code;  // a canonical text shown as code: the statement, the name
    std::string text;  // plain lines; a line starting "- " is an item of a list
    Topic topic;
};

// What the word at (line, column) is; nothing over blanks, comments and
// words the compiler did not read. A caret just behind a word still names it.
std::optional<HoverInfo> HoverAt(const ProgramIndex& index, std::string_view lineText, int32_t line, int32_t column);

}  // namespace plc
