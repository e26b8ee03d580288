// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorCompletion.h"

#include <vector>

#include "compiler/ProgramIndex.h"
#include "platform/Dialogs.h"
#include "platform/SourceEdit.h"

namespace plc {

namespace {

// Blanks between an entry's text and what stands beside it.
constexpr const char* kEntryGap = "    ";

}  // namespace

EditorCompletion::EditorCompletion(const EditorWidgets& widgets, Dialogs& dialogs)
    : m_editSource(widgets.edit), m_dialogs(dialogs) {}

void EditorCompletion::SetupCompletion() {
    QObject::connect(m_editSource, &SourceEdit::completionChosen, &m_receiver,
                     [this](const std::string& entry) { Insert(entry); });
}

std::string EditorCompletion::EntryText(const CompletionItem& item) {
    const bool beside = item.kind == CompletionKind::Variable || item.kind == CompletionKind::Label;
    return beside && !item.detail.empty() ? item.label + kEntryGap + item.detail : item.label;
}

void EditorCompletion::OnComplete() {
    if (!m_editSource) return;
    int32_t start = 0, end = 0;
    m_editSource->GetSel(start, end);
    const int32_t line = m_editSource->LineFromChar(end);
    std::string text;
    m_editSource->GetLine(line, text);
    m_shown = CompleteAt(ProgramIndex::OfSource(m_editSource->GetText()), text, line,
                         end - m_editSource->LineIndex(line));
    m_shownLine = line;
    if (m_shown.items.empty()) {
        m_dialogs.Beep();
        return;
    }
    std::vector<std::string> entries;
    for (const CompletionItem& item : m_shown.items) entries.push_back(EntryText(item));
    m_editSource->ShowCompletions(entries);
}

void EditorCompletion::Insert(const std::string& entry) {
    if (!m_editSource) return;
    for (const CompletionItem& item : m_shown.items) {
        if (EntryText(item) != entry) continue;
        // The typed word from where the list began to the caret, which may
        // have moved on while the list was open.
        int32_t start = 0, end = 0;
        m_editSource->GetSel(start, end);
        const int32_t from = m_editSource->LineIndex(m_shownLine) + m_shown.from;
        if (m_editSource->LineFromChar(end) != m_shownLine || end < from) return;
        m_editSource->SetSel(from, end);
        m_editSource->ReplaceSel(item.insert);
        return;
    }
}

}  // namespace plc
