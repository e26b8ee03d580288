// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorRenum.h"

#include <algorithm>
#include <limits>

#include "decoder/RenumberText.h"
#include "dialogs/SearchReplaceDlg.h"
#include "editor/EditorCodeView.h"
#include "editor/NavigationHistory.h"
#include "platform/Dialogs.h"
#include "platform/MessageList.h"
#include "platform/SourceEdit.h"
#include "resources/StringTable.h"

namespace plc {

namespace {

// Decimal digits from `pos` up to the first non-digit, saturating at the
// largest 32-bit value.
int32_t ReadNumber(std::string_view text, size_t pos) {
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    int64_t value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
        value = std::min(kMax, value * 10 + (text[pos] - '0'));
    return static_cast<int32_t>(value);
}

}  // namespace

LineReference ParseLineReference(std::string_view entry) {
    LineReference ref;
    const size_t open = entry.find('(');
    const size_t close = entry.find(')');
    if (open == std::string_view::npos || open == 0) return ref;
    if (close == std::string_view::npos || close <= open + 1) return ref;
    const std::string_view inner = entry.substr(open + 1, close - open - 1);
    ref.line = ReadNumber(entry, open + 1);
    if (const size_t comma = inner.find(',', 1); comma != std::string_view::npos) {
        const size_t k = open + 1 + comma;
        if (close <= k + 1) return LineReference{};
        ref.kind = LineReference::Kind::LineAndColumn;
        ref.column = ReadNumber(entry, k + 1);
    } else {
        ref.kind = LineReference::Kind::Line;
    }
    return ref;
}

// ---------------------------------------------------------------- Renum

EditorRenum::EditorRenum(const EditorContext& context, EditorCodeView& codeView,
                         const CSearchReplaceDlg& search, NavigationHistory& history)
    : m_context(context),
      m_codeView(codeView),
      m_search(search),
      m_history(history) {}

bool EditorRenum::ReplaceLineText(int32_t index, std::string_view replacement) {
    if (!m_context.edit) return false;
    const int32_t start = m_context.edit->LineIndex(index);
    if (start < 0) return false;
    // The line without its line break (CR LF); the last line has none.
    const int32_t next = m_context.edit->LineIndex(index + 1);
    const int32_t end = next < 0 ? m_context.edit->GetTextLength() : next - 2;
    return m_context.edit->ReplaceRange(start, end, replacement);
}

bool EditorRenum::ReplaceEditLine(const std::string& text, int32_t index) {
    if (index < 0 || !m_context.edit) return false;
    // A line beyond the text has nothing to replace.
    if (index >= m_context.edit->GetLineCount()) return false;
    std::string oldLine;
    m_context.edit->GetLine(index, oldLine);
    const bool lastLine = index > m_context.edit->GetLineCount() - 2;
    const std::string replacement = ReplacementText(text, oldLine, lastLine);
    if (!ReplaceLineText(index, replacement)) {
        m_context.dialogs.Ask(m_context.window, LoadString(kIdsMaxSize), MsgButtons::Ok, MsgIcon::None);
        return false;
    }
    // The new line stands selected, as if it had been typed over the old one.
    const int32_t start = m_context.edit->LineIndex(index);
    m_context.edit->SetSel(start, start + static_cast<int32_t>(replacement.size()));
    m_context.edit->ScrollCaret();
    return true;
}

void EditorRenum::OnRenum() {
    if (!m_context.edit) return;
    if (!m_codeView.CompileProgram()) return;

    std::vector<std::string> lines(static_cast<size_t>(m_context.edit->GetLineCount()));
    for (size_t i = 0; i < lines.size(); ++i) m_context.edit->GetLine(static_cast<int32_t>(i), lines[i]);
    const RenumberTextOutcome outcome = RenumberProgramText(m_codeView.Program(), lines);
    if (!outcome.compiled && !outcome.tooManyLines) {
        // The text compiled a moment ago; show why it does not now.
        m_context.messages->Clear();
        m_context.messages->Append(outcome.compile.entries);
        return;
    }
    if (!outcome.renumbered) {
        ShowError(m_context.dialogs, m_context.window, LoadString(kIdsRenumberFailed));
        return;
    }

    // The new lines may be longer than the old ones. A text that would pass
    // the document's size limit could not be opened whole again once saved:
    // Renum changes nothing then.
    if (JoinLines(outcome.lines).size() > static_cast<size_t>(m_context.edit->GetLimitText())) {
        m_context.dialogs.Ask(m_context.window, LoadString(kIdsMaxSize), MsgButtons::Ok, MsgIcon::None);
        return;
    }
    m_context.messages->Clear();
    // The lines change through the control's target range; the caret goes
    // back to the line it stood on, once, at the end.
    int32_t selStart = 0, selEnd = 0;
    m_context.edit->GetSel(selStart, selEnd);
    const int32_t caretLine = m_context.edit->LineFromChar(selStart);
    {
        SourceEdit::Batch batch(*m_context.edit);
        SourceEdit::UndoGroup group(*m_context.edit);
        for (const LineEdit& edit : outcome.edits) ReplaceLineText(edit.line, edit.replacement);
    }
    const int32_t caret = m_context.edit->LineIndex(caretLine);
    m_context.edit->SetSel(caret, caret);
    m_context.edit->ScrollCaret();

    m_context.messages->Append(outcome.entries);
    if (outcome.errorCount != 0) ShowError(m_context.dialogs, m_context.window, outcome.entries.back());
}

// ---------------------------------------------------------------- navigation

void EditorRenum::OnDblclkMessages() {
    if (!m_context.edit || !m_context.messages) return;
    const LineReference ref = ParseLineReference(m_context.messages->SelectedText());
    if (ref.kind == LineReference::Kind::None) return;
    const int32_t count = m_context.edit->GetLineCount();
    if (ref.line == 0 || ref.line > count) return;
    const int32_t begin = m_context.edit->LineIndex(ref.line - 1);
    m_history.Jump([&] {
        if (ref.kind == LineReference::Kind::LineAndColumn) {
            const int64_t start = int64_t{begin} + ref.column;
            const int64_t end = start + m_search.m_nMatchLength;
            constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
            m_context.edit->SetSel(static_cast<int32_t>(std::min(start, kMax)),
                                 static_cast<int32_t>(std::min(end, kMax)));
        } else {
            // The line and the first character of its line break.
            const int32_t next = m_context.edit->LineIndex(ref.line);
            m_context.edit->SetSel(begin, next < 0 ? m_context.edit->GetTextLength() : next - 1);
        }
        m_context.edit->ScrollCaret();
    });
}

}  // namespace plc
