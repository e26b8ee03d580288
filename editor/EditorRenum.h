// SPDX-License-Identifier: GPL-3.0-or-later
// Renum and the way from a message to its place in the text.
//
// Renum compiles the text, renumbers the image and puts each record's new
// text back on the line it was compiled from, keeping the line's comment.
// The replacements are edits of the text like any other; together they are
// one step of Undo, so that Undo never leaves a half-renumbered programme
// whose labels and jump targets disagree. A renumbered text that would pass
// the document's size limit is refused whole (message 32904).
//
// Double-clicking an entry of the message list selects the line (or the
// found text) that the entry names, a jump that Navigate back retraces.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "editor/EditorContext.h"

namespace plc {

class CSearchReplaceDlg;
class EditorCodeView;
class NavigationHistory;

// The place a message-list entry names: "LINE(nnn)" names a line (compiler,
// listing and Renum entries), "LINE(nnn,ccc)" a line and the 0-based column
// of a search result. Plain text work, so that it is tested without a window.

struct LineReference {
    enum class Kind { None, Line, LineAndColumn };
    Kind kind = Kind::None;
    int32_t line = 0;    // 1-based as written; 0 when there is no number
    int32_t column = 0;  // 0-based, for LineAndColumn
};

// Reads the reference of an entry: the text between its first "(" and its
// first ")". Kind::None when the "(" is missing or first, or when nothing
// stands between the two. Numbers are read as decimal digits up to the first
// non-digit (none gives 0); a number too large for 32 bits reads as the
// largest value, which names no line.
LineReference ParseLineReference(std::string_view entry);

class EditorRenum {
public:
    // Renum compiles through `codeView` into its programme image; a
    // double-click on a search entry selects the length that `search`'s
    // last action set.
    EditorRenum(const EditorContext& context, EditorCodeView& codeView,
                const CSearchReplaceDlg& search, NavigationHistory& history);

    void OnRenum();
    // Replaces line `index` by `text`, keeping the line's comment, as an edit
    // that can be undone, and selects it; false when there is no such line
    // or the text would pass the size limit (message 32904).
    bool ReplaceEditLine(const std::string& text, int32_t index);
    void OnDblclkMessages();

private:
    // Replaces line `index` without its line break; the selection stays.
    bool ReplaceLineText(int32_t index, std::string_view replacement);

    const EditorContext& m_context;
    EditorCodeView& m_codeView;
    const CSearchReplaceDlg& m_search;
    NavigationHistory& m_history;
};

}  // namespace plc
