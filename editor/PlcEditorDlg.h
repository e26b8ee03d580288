// SPDX-License-Identifier: GPL-3.0-or-later
// The editor object: the editor window with its source text, message list,
// menu 202, toolbar and status bar, the document, and the command groups,
// put together.
//
// The editor object holds its parts as members. Each part is a class of its
// own, in its own files, given only what it uses: the context (the window's
// widgets, the dialogs, the host link: EditorContext.h) and the parts it
// calls:
//   EditorFrame.h      the window: layout, menus and toolbar from the
//                      command table, status line, title, online state
//   PlcEditorDoc.h     the document: name, change flag, New, Open, Save,
//                      Save as, Recent file, the save question, line access
//   WindowCommands.h   the edit commands, Help, Info, the edit alarms
//   EditorCodeView.h   Check syntax and the programme image, the live check,
//                      error markers, next/previous error, zoom
//   EditorNavigation.h hover, go to definition, go to line, find uses,
//                      navigate back and forward
//   EditorCompletion.h the completion list
//   EditorSearch.h     Search/Replace and the dialog's last settings
//   EditorRenum.h      Renum and the double-click on a message
//   EditorExchange.h   the exchange with device and archive through the host
//   EditorPrint.h      Page setup and Print
//   EditorAnalysis.h   warnings, the flow graph panel, Restore names
//   EditorDryRun.h     Simulate: the dry-run panel, breakpoints in the margin
// The command table binds each command to its handler on the part that owns
// it. What stays here is what needs several parts: opening the window, the
// close sequence, and the calls of the control (EditorLink.h).
//
// The editor object lives as long as its control; its window comes and goes:
// Create builds the window, the close sequence destroys it again, and the
// programme image, the document's remembered state and the search settings
// stay with the object.
#pragma once

#include <span>
#include <string>

#include "editor/EditorAnalysis.h"
#include "editor/EditorCodeView.h"
#include "editor/EditorCommands.h"
#include "editor/EditorCompletion.h"
#include "editor/EditorContext.h"
#include "editor/EditorDryRun.h"
#include "editor/EditorExchange.h"
#include "editor/EditorFrame.h"
#include "editor/EditorLink.h"
#include "editor/EditorNavigation.h"
#include "editor/EditorPrint.h"
#include "editor/EditorRenum.h"
#include "editor/EditorSearch.h"
#include "editor/PlcEditorDoc.h"
#include "editor/WindowCommands.h"

class QAction;

namespace plc {

class CPlcEditorDlg final : public EditorLink {
public:
    explicit CPlcEditorDlg(Dialogs& dialogs);
    ~CPlcEditorDlg() override;
    CPlcEditorDlg(const CPlcEditorDlg&) = delete;
    CPlcEditorDlg& operator=(const CPlcEditorDlg&) = delete;

    // ---- what the control calls ----
    // Builds the window from template 201 and runs OnInitDialog; true when
    // the window exists afterwards.
    bool Create(QWidget* parent) override;
    bool IsWindow() const override;
    QWidget* Window() const override;
    // The close sequence (the close box, Exit and the control's PlcDestroy).
    void CloseEditor() override;
    void SetControl(HostLink* control) override;
    void SetOnline() override;
    void SetOffline() override;
    // The host's PlcSetSimulation: Simulate enabled or grayed (an open dry
    // run closes with it).
    void EnableSimulation(bool enable) override;
    void OpenSourceFile(const std::string& fileName) override;
    void OpenBinaryFile(const std::string& fileName) override;
    void ShowStatusMessage(const std::string& text) override;

    // The host link; null without a control.
    HostLink* Control() const { return m_context.control; }
    // Runs the handler of a command id, as a menu entry or a button does;
    // false when the window is closed, the id has no command or the command
    // is disabled.
    bool OnCommand(int id) { return m_frame.OnCommand(id); }
    // The close sequence's handlers: Exit and the close box; OK (Enter)
    // does not close the editor.
    void OnFileExit() { OnCancel(); }
    void OnOK() {}
    void OnCancel() { CloseEditor(); }

    // The open window's source editor and message list (null while there is
    // no window), and the menu entry of a command.
    SourceEdit* Edit() const { return m_context.edit; }
    MessageList* Messages() const { return m_context.messages; }
    QAction* Action(int id) const { return m_frame.Action(id); }

    // ---- the parts ----
    EditorFrame& Frame() { return m_frame; }
    CPlcEditorDoc& Document() { return m_document; }
    WindowCommands& Commands() { return m_commands; }
    EditorCodeView& CodeView() { return m_codeView; }
    EditorNavigation& Navigation() { return m_navigation; }
    EditorCompletion& Completion() { return m_completion; }
    EditorSearch& Search() { return m_search; }
    EditorRenum& Renum() { return m_renum; }
    EditorExchange& Exchange() { return m_exchange; }
    EditorPrint& Print() { return m_print; }
    EditorAnalysis& Analysis() { return m_analysis; }
    EditorDryRun& DryRun() { return m_dryRun; }

private:
    // The notifications of a fresh window's widgets to their handlers.
    void ConnectWindow();

    EditorContext m_context;
    CPlcEditorDoc m_document;
    EditorFrame m_frame;
    WindowCommands m_commands;
    EditorCodeView m_codeView;
    EditorNavigation m_navigation;
    EditorCompletion m_completion;
    EditorSearch m_search;
    EditorRenum m_renum;
    EditorExchange m_exchange;
    EditorPrint m_print;
    EditorAnalysis m_analysis;
    EditorDryRun m_dryRun;
};

// Menu 202 in menu order (the "&Extras" item of the menu bar has no command).
std::span<const EditorCommand> EditorCommands();

}  // namespace plc
