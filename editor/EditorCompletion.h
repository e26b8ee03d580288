// SPDX-License-Identifier: GPL-3.0-or-later
// Completion in the editor window: Complete (Ctrl+Space) lists what may be
// written at the caret — the statement forms after a label, labels after a
// jump or call, the variables with their DEF names, inputs, outputs and
// status flags that the statement takes — and the entry chosen replaces the
// word being typed with its canonical text. The list comes from the same
// engine as the language server's (compiler/Assist.h).
#pragma once

#include <QObject>
#include <cstdint>
#include <string>

#include "compiler/Assist.h"
#include "editor/EditorWidgets.h"

namespace plc {

class Dialogs;

class EditorCompletion {
public:
    EditorCompletion(const EditorWidgets& widgets, Dialogs& dialogs);

    // A fresh window's completion list.
    void SetupCompletion();
    void OnComplete();

    // The entry of the list for an item: its label, with the variable's
    // DEF name or the label's statement beside it.
    static std::string EntryText(const CompletionItem& item);

private:
    void Insert(const std::string& entry);

    SourceEdit* const& m_editSource;
    Dialogs& m_dialogs;
    Completions m_shown;     // what the list offers
    int32_t m_shownLine = 0; // the line it was made for
    QObject m_receiver;      // receives the list's choice; it stops when this part goes
};

}  // namespace plc
