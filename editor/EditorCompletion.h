// SPDX-License-Identifier: GPL-3.0-or-later
// Completion in the editor window: Complete (Ctrl+Space) lists what may be
// written at the caret — the statement forms after a label, labels after a
// jump or call, the variables with their DEF names, inputs, outputs and
// status flags that the statement takes — and the entry chosen replaces the
// word being typed with its canonical text. The list comes from the same
// engine as the language server's (compiler/Assist.h).
//
// While typing, the list also opens by itself when the typing pauses where
// something must follow (after a label and a blank, after "JMP " or
// "CALL ", after an operator of a statement not yet whole) or in a name
// being typed; never in a comment, over a selection or on a line that is
// no statement. Once open, each key typed narrows it (from what it offers:
// the text is not read again), and it closes when nothing fits or the word
// is whole, so that typing on is never held up: Enter and Tab take the
// entry, Escape closes the list. View › Complete while typing switches this
// off (the choice is kept in the settings). A statement form chosen whose
// next operand is a label ("JMP Nxxx" writes "JMP N") opens the list of
// labels at once.
#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <string>
#include <vector>

#include "compiler/Assist.h"
#include "editor/EditorContext.h"

class QAction;
class QTimer;

namespace plc {

class EditorCompletion {
public:
    explicit EditorCompletion(const EditorContext& context);

    // A fresh window's completion list; `whileTypingEntry` is the View
    // menu's on/off entry.
    void SetupCompletion(QAction* whileTypingEntry);
    void OnComplete();
    void OnCompleteWhileTyping();
    bool CompletesWhileTyping() const { return m_whileTyping; }
    void SetCompleteWhileTyping(bool enable);

    // The pause in typing after which the list opens by itself, in ms.
    static constexpr int kTypingPause = 400;

    // The entry of the list for an item: its label, with the variable's
    // DEF name or the label's statement beside it.
    static std::string EntryText(const CompletionItem& item);
    // What the open list offers, in its order.
    const std::vector<CompletionItem>& Offered() const { return m_shown.items; }

private:
    // What may be written at the caret, with what it was read from.
    struct AtCaret {
        ProgramIndex index;
        std::string text;  // the caret's line
        int32_t line = 0;
        int32_t column = 0;
        Completions completions;
    };
    AtCaret CollectAtCaret() const;
    // Shows the list; false when the editor could not show it.
    bool Show(const Completions& completions, int32_t line);
    void Insert(const std::string& entry);
    void OnCharTyped(int ch);
    // The open list after a key typed: narrowed, closed, or left alone.
    void FollowTyping();
    void OfferAfterPause();
    // The labels where a statement form just written takes one.
    void OfferLabels();

    const EditorContext& m_context;
    Completions m_shown;     // what the list offers
    int32_t m_shownLine = 0; // the line it was made for
    int32_t m_shownAt = 0;   // the caret's column when it was shown
    bool m_whileTyping = true;
    QPointer<QAction> m_whileTypingEntry;
    QPointer<QTimer> m_pauseTimer;   // owned by the source editor
    int32_t m_typedAt = -1;          // the caret after the latest key typed
    QObject m_receiver;      // receives the list's choice; it stops when this part goes
};

}  // namespace plc
