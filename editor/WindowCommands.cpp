// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/WindowCommands.h"

#include "compiler/HelpPages.h"
#include "editor/HelpWindow.h"
#include "editor/InfoDlg.h"
#include "platform/Dialogs.h"
#include "platform/SourceEdit.h"
#include "resources/StringTable.h"

namespace plc {

WindowCommands::WindowCommands(const EditorWidgets& widgets, Dialogs& dialogs)
    : m_window(widgets.window), m_editSource(widgets.edit), m_dialogs(dialogs) {}

// ---------------------------------------------------------------- edit commands

void WindowCommands::OnEditUndo() {
    if (!m_editSource) return;
    if (!m_editSource->Undo()) m_dialogs.Beep();
}

void WindowCommands::OnEditRedo() {
    if (!m_editSource) return;
    if (!m_editSource->Redo()) m_dialogs.Beep();
}

void WindowCommands::OnEditCut() {
    if (m_editSource) m_editSource->Cut();
}

void WindowCommands::OnEditCopy() {
    if (m_editSource) m_editSource->Copy();
}

void WindowCommands::OnEditPaste() {
    if (m_editSource) m_editSource->Paste();
}

void WindowCommands::OnEditSelectAll() {
    if (m_editSource) m_editSource->SelectAllText();
}

void WindowCommands::OnErrSpaceSource() {
    m_dialogs.Ask(m_window, LoadString(32905), MsgButtons::Ok, MsgIcon::None);
}

void WindowCommands::OnMaxTextSource() {
    m_dialogs.Ask(m_window, LoadString(kIdsMaxSize), MsgButtons::Ok, MsgIcon::None);
}

// ---------------------------------------------------------------- Help and Info

void WindowCommands::OnHelp() {
    const QString directory = HelpDirectory();
    if (directory.isEmpty()) {
        ShowError(m_dialogs, m_window,
                  "The help pages are not installed (no index.html in $PLCEDIT_HELP_DIR, "
                  "../share/plcedit/help or help beside the programme).");
        return;
    }
    // The page of the statement under the caret, else the editor's page.
    QString page = "index.html", anchor = QString::number(kHelpContext);
    if (m_editSource) {
        int32_t start = 0, end = 0;
        m_editSource->GetSel(start, end);
        std::string line;
        m_editSource->GetLine(m_editSource->LineFromChar(start), line);
        const QString target = QString::fromStdString(StatementHelpPage(line));
        if (!target.isEmpty()) {
            page = target.section('#', 0, 0);
            anchor = target.section('#', 1);
        }
    }
    if (!m_help) m_help = new HelpWindow(m_window);
    m_help->ShowPage(directory, page, anchor);
    m_help->ShowOnScreen();
}

void WindowCommands::OnInfo() {
    CInfoDlg dialog(m_window);
    m_dialogs.Exec(dialog);
}

}  // namespace plc
