// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorCompletion.h"

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "base/Ascii.h"
#include "compiler/CompileDriver.h"
#include "compiler/ProgramIndex.h"
#include "image/PlcInstr.h"
#include "platform/Dialogs.h"
#include "platform/Profile.h"
#include "platform/SourceEdit.h"

namespace plc {

namespace {

// Blanks between an entry's text and what stands beside it.
constexpr const char* kEntryGap = "    ";

constexpr const char* kViewSection = "View";
constexpr const char* kWhileTypingKey = "CompleteWhileTyping";

// Keeps the items that go on from the word typed, by their canonical text or
// by the other text that selects them (a variable's DEF name): the engine
// leaves this to the list where the word's start already decides.
void Narrow(Completions& c, std::string_view lineText) {
    const std::string typed = AsciiUpperWithoutBlanks(lineText.substr(static_cast<size_t>(c.from), static_cast<size_t>(c.to - c.from)));
    std::erase_if(c.items, [&typed](const CompletionItem& item) {
        const std::string_view alias = item.filter.size() > item.insert.size()
                                           ? std::string_view(item.filter).substr(item.insert.size() + 1)
                                           : std::string_view();
        return !AsciiUpperWithoutBlanks(item.insert).starts_with(typed) && !AsciiUpperWithoutBlanks(alias).starts_with(typed);
    });
}

// Nothing is left to complete when every item is the word as typed.
bool WordIsWhole(const Completions& c, std::string_view lineText) {
    const std::string typed = AsciiUpperWithoutBlanks(lineText.substr(static_cast<size_t>(c.from), static_cast<size_t>(c.to - c.from)));
    return std::all_of(c.items.begin(), c.items.end(),
                       [&typed](const CompletionItem& item) { return AsciiUpperWithoutBlanks(item.insert) == typed; });
}

// Whether the list opens by itself after a pause in typing: where the text
// before the caret ends in a blank or an operator and the statement is not
// whole yet, something must follow; inside a word, only names are offered
// (a keyword being typed is left alone).
bool OpensAfterPause(const Completions& c, std::string_view lineText, int label) {
    if (c.items.empty() || WordIsWhole(c, lineText)) return false;
    const char before = c.to > 0 ? lineText[static_cast<size_t>(c.to - 1)] : ' ';
    if (!AsciiWordChar(before)) {
        PlcInstr record;
        return CompileLineInSection(lineText.substr(0, lineText.find(';')), label, record) != 0;
    }
    return c.from < c.to && std::none_of(c.items.begin(), c.items.end(), [](const CompletionItem& item) {
               return item.kind == CompletionKind::Keyword || item.kind == CompletionKind::Section;
           });
}

}  // namespace

EditorCompletion::EditorCompletion(const EditorContext& context)
    : m_context(context) {}

void EditorCompletion::SetupCompletion(QAction* whileTypingEntry) {
    m_whileTyping = Profile().GetInt(kViewSection, kWhileTypingKey, 1) != 0;
    m_whileTypingEntry = whileTypingEntry;
    if (m_whileTypingEntry) m_whileTypingEntry->setChecked(m_whileTyping);
    QObject::connect(m_context.edit, &SourceEdit::completionChosen, &m_receiver,
                     [this](const std::string& entry) { Insert(entry); });
    QObject::connect(m_context.edit, &SourceEdit::charTyped, &m_receiver, [this](int ch) { OnCharTyped(ch); });
    m_pauseTimer = new QTimer(m_context.edit);
    m_pauseTimer->setSingleShot(true);
    m_pauseTimer->setInterval(kTypingPause);
    QObject::connect(m_pauseTimer, &QTimer::timeout, &m_receiver, [this] { OfferAfterPause(); });
}

std::string EditorCompletion::EntryText(const CompletionItem& item) {
    const bool beside = item.kind == CompletionKind::Variable || item.kind == CompletionKind::Label;
    return beside && !item.detail.empty() ? item.label + kEntryGap + item.detail : item.label;
}

EditorCompletion::AtCaret EditorCompletion::CollectAtCaret() const {
    AtCaret at;
    int32_t start = 0, end = 0;
    m_context.edit->GetSel(start, end);
    at.line = m_context.edit->LineFromChar(end);
    at.column = end - m_context.edit->LineIndex(at.line);
    m_context.edit->GetLine(at.line, at.text);
    at.index = ProgramIndex::OfSource(m_context.edit->GetText());
    at.completions = CompleteAt(at.index, at.text, at.line, at.column);
    Narrow(at.completions, at.text);
    return at;
}

bool EditorCompletion::Show(const Completions& completions, int32_t line) {
    m_shown = completions;
    m_shownLine = line;
    m_shownAt = completions.to;
    std::vector<std::string> entries;
    entries.reserve(m_shown.items.size());
    for (const CompletionItem& item : m_shown.items) entries.push_back(EntryText(item));
    return m_context.edit->ShowCompletions(entries);
}

void EditorCompletion::OnComplete() {
    if (!m_context.edit) return;
    const AtCaret at = CollectAtCaret();
    if (at.completions.items.empty() || !Show(at.completions, at.line)) m_context.dialogs.Beep();
}

void EditorCompletion::OnCompleteWhileTyping() { SetCompleteWhileTyping(!m_whileTyping); }

void EditorCompletion::SetCompleteWhileTyping(bool enable) {
    m_whileTyping = enable;
    Profile().WriteInt(kViewSection, kWhileTypingKey, enable ? 1 : 0);
    if (m_whileTypingEntry) m_whileTypingEntry->setChecked(enable);
    if (!enable && m_pauseTimer) m_pauseTimer->stop();
}

void EditorCompletion::OnCharTyped(int ch) {
    if (!m_context.edit) return;
    if (m_pauseTimer) m_pauseTimer->stop();
    if (ch == '\r' || ch == '\n') return;
    if (m_context.edit->CompletionsShown()) {
        FollowTyping();
        if (m_context.edit->CompletionsShown()) return;
    }
    if (!m_whileTyping || !m_pauseTimer) return;
    int32_t start = 0;
    m_context.edit->GetSel(start, m_typedAt);
    m_pauseTimer->start();
}

void EditorCompletion::FollowTyping() {
    // The open list follows the word being typed on its line: it keeps what
    // goes on from the word, and closes when the caret left the word,
    // nothing fits or the word is whole.
    SourceEdit& edit = *m_context.edit;
    int32_t start = 0, end = 0;
    edit.GetSel(start, end);
    const int32_t column = end - edit.LineIndex(m_shownLine);
    std::string text;
    if (edit.LineFromChar(end) != m_shownLine || column < m_shown.from || !edit.GetLine(m_shownLine, text)) {
        edit.HideCompletions();
        return;
    }
    Completions narrowed = m_shown;
    narrowed.to = column;
    Narrow(narrowed, text);
    if (narrowed.items.empty() || WordIsWhole(narrowed, text)) {
        edit.HideCompletions();
        return;
    }
    // Showing a list anew costs the measuring of every entry. The list as
    // shown stays while the edit control's own choice in it fits: the first
    // entry that begins with what was typed since the list opened, which the
    // control selects, is one of the entries that go on; it is shown anew
    // when that choice fails, or narrowed once what goes on fits into its
    // height.
    const size_t since = static_cast<size_t>(std::max(m_shownAt, 0));
    const std::string typedSince =
        column >= m_shownAt ? AsciiUpper(std::string_view(text).substr(since, static_cast<size_t>(column) - since))
                            : std::string();
    const auto chosen = std::find_if(m_shown.items.begin(), m_shown.items.end(), [&](const CompletionItem& item) {
        return column >= m_shownAt && AsciiUpper(EntryText(item)).starts_with(typedSince);
    });
    const bool choiceFits =
        chosen != m_shown.items.end() &&
        std::any_of(narrowed.items.begin(), narrowed.items.end(), [&chosen](const CompletionItem& item) {
            return item.label == chosen->label && item.insert == chosen->insert;
        });
    const bool same = narrowed.items.size() == m_shown.items.size();
    if (!choiceFits || (!same && narrowed.items.size() <= static_cast<size_t>(SourceEdit::kCompletionRows)))
        Show(narrowed, m_shownLine);
}

void EditorCompletion::OfferLabels() {
    if (!m_context.edit || m_context.edit->CompletionsShown()) return;
    const AtCaret at = CollectAtCaret();
    const std::vector<CompletionItem>& items = at.completions.items;
    if (items.empty() || !std::all_of(items.begin(), items.end(), [](const CompletionItem& item) {
            return item.kind == CompletionKind::Label;
        }))
        return;
    Show(at.completions, at.line);
}

void EditorCompletion::OfferAfterPause() {
    if (!m_context.edit || !m_whileTyping || m_context.edit->CompletionsShown()) return;
    // Only where the typing paused: the caret has not moved, nothing is
    // selected, and the editor still has the keyboard.
    int32_t start = 0, end = 0;
    m_context.edit->GetSel(start, end);
    if (start != end || end != m_typedAt) return;
    const QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || (focus != m_context.edit && !m_context.edit->isAncestorOf(focus))) return;
    const AtCaret at = CollectAtCaret();
    const Token* label = at.index.FindOnLine(at.line, TokenKind::LabelDef);
    if (label == nullptr || !OpensAfterPause(at.completions, at.text, label->label)) return;
    Show(at.completions, at.line);
}

void EditorCompletion::Insert(const std::string& entry) {
    if (!m_context.edit) return;
    for (const CompletionItem& item : m_shown.items) {
        if (EntryText(item) != entry) continue;
        // The typed word from where the list began to the caret, which may
        // have moved on while the list was open.
        int32_t start = 0, end = 0;
        m_context.edit->GetSel(start, end);
        const int32_t from = m_context.edit->LineIndex(m_shownLine) + m_shown.from;
        if (m_context.edit->LineFromChar(end) != m_shownLine || end < from) return;
        m_context.edit->SetSel(from, end);
        m_context.edit->ReplaceSel(item.insert);
        // A form that goes on with a label: the labels at once, once the
        // chosen list is gone (the edit control closes it after this).
        if (item.kind == CompletionKind::Keyword)
            QTimer::singleShot(0, &m_receiver, [this] { OfferLabels(); });
        return;
    }
}

}  // namespace plc
