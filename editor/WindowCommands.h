// SPDX-License-Identifier: GPL-3.0-or-later
// The window's own commands: Undo, Redo, Cut, Copy, Paste and Select all on
// the source editor, Help and Info, and the two alarms
// of the edit control (out of memory, text limit reached).
#pragma once

#include <QPointer>
#include <cstdint>

#include "editor/EditorContext.h"
#include "editor/HelpWindow.h"

namespace plc {

// The help context of the editor window (the Help command id plus 0x10000).
inline constexpr int32_t kHelpContext = 98313;

class WindowCommands {
public:
    explicit WindowCommands(const EditorContext& context);

    void OnEditUndo();
    void OnEditRedo();
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    void OnEditSelectAll();
    void OnHelp();
    void OnInfo();
    void OnErrSpaceSource();
    void OnMaxTextSource();

    // The help window: a child of the editor window, made on first use.
    HelpWindow* Help() const { return m_help.data(); }

private:
    const EditorContext& m_context;
    QPointer<HelpWindow> m_help;
};

}  // namespace plc
