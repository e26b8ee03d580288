// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/WindowCommands.h"

#include "compiler/HelpPages.h"
#include "editor/HelpWindow.h"
#include "editor/InfoDlg.h"
#include "platform/Dialogs.h"
#include "platform/SourceEdit.h"
#include "platform/Text.h"
#include "resources/StringTable.h"

namespace plc {

WindowCommands::WindowCommands(const EditorContext& context)
    : m_context(context) {}

// ---------------------------------------------------------------- edit commands

void WindowCommands::OnEditUndo() {
    if (!m_context.edit) return;
    if (!m_context.edit->Undo()) m_context.dialogs.Beep();
}

void WindowCommands::OnEditRedo() {
    if (!m_context.edit) return;
    if (!m_context.edit->Redo()) m_context.dialogs.Beep();
}

void WindowCommands::OnEditCut() {
    if (m_context.edit) m_context.edit->Cut();
}

void WindowCommands::OnEditCopy() {
    if (m_context.edit) m_context.edit->Copy();
}

void WindowCommands::OnEditPaste() {
    if (m_context.edit) m_context.edit->Paste();
}

void WindowCommands::OnEditSelectAll() {
    if (m_context.edit) m_context.edit->SelectAllText();
}

void WindowCommands::OnErrSpaceSource() {
    m_context.dialogs.Ask(m_context.window, LoadString(32905), MsgButtons::Ok, MsgIcon::None);
}

void WindowCommands::OnMaxTextSource() {
    m_context.dialogs.Ask(m_context.window, LoadString(kIdsMaxSize), MsgButtons::Ok, MsgIcon::None);
}

// ---------------------------------------------------------------- Help and Info

void WindowCommands::OnHelp() {
    const QString directory = HelpDirectory();
    if (directory.isEmpty()) {
        ShowError(m_context.dialogs, m_context.window,
                  "The help pages are not installed (no index.html in $PLCEDIT_HELP_DIR, "
                  "../share/plcedit/help or help beside the programme).");
        return;
    }
    // The page of the statement under the caret, else the editor's page.
    QString page = "index.html", anchor = QString::number(kHelpContext);
    if (m_context.edit) {
        int32_t start = 0, end = 0;
        m_context.edit->GetSel(start, end);
        std::string line;
        m_context.edit->GetLine(m_context.edit->LineFromChar(start), line);
        const QString target = ToQString(StatementHelpPage(line));
        if (!target.isEmpty()) {
            page = target.section('#', 0, 0);
            anchor = target.section('#', 1);
        }
    }
    if (!m_help) m_help = new HelpWindow(m_context.window);
    m_help->ShowPage(directory, page, anchor);
    m_help->ShowOnScreen();
}

void WindowCommands::OnInfo() {
    CInfoDlg dialog(m_context.window);
    m_context.dialogs.Exec(dialog);
}

}  // namespace plc
