// SPDX-License-Identifier: GPL-3.0-or-later
// The editor object: the editor window with its source text, message list,
// menu 202, toolbar and status bar, the document, and the command groups,
// put together.
//
// Each part is a class of its own, in its own files, given only what it
// uses (the window's widgets, the dialogs, the parts it calls):
//   EditorFrame.h      the window: layout, geometry, menus and toolbar from
//                      the command table, status line, title, online state
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
//   EditorExchange.h   the exchange with device and archive, the host link
//   EditorPrint.h      Page setup and Print
//   EditorAnalysis.h   warnings, the flow graph panel, Restore names
//   EditorDryRun.h     Simulate: the dry-run panel, breakpoints in the margin
// The editor object inherits their operations, so that the control, the
// command table and the host reach each handler by its own name on the one
// editor object; what stays here is what needs every part: opening the
// window, the close sequence, and the table that binds each command to its
// handler.
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
#include "editor/EditorDryRun.h"
#include "editor/EditorExchange.h"
#include "editor/EditorFrame.h"
#include "editor/EditorNavigation.h"
#include "editor/EditorPrint.h"
#include "editor/EditorRenum.h"
#include "editor/EditorSearch.h"
#include "editor/PlcEditorDoc.h"
#include "editor/WindowCommands.h"

namespace plc {

class Dialogs;

class CPlcEditorDlg : public EditorFrame,
                      public CPlcEditorDoc,
                      public WindowCommands,
                      public EditorCodeView,
                      public EditorNavigation,
                      public EditorCompletion,
                      public EditorSearch,
                      public EditorRenum,
                      public EditorExchange,
                      public EditorPrint,
                      public EditorAnalysis,
                      public EditorDryRun {
public:
    explicit CPlcEditorDlg(Dialogs& dialogs);
    ~CPlcEditorDlg() override;
    CPlcEditorDlg(const CPlcEditorDlg&) = delete;
    CPlcEditorDlg& operator=(const CPlcEditorDlg&) = delete;

    // Builds the window from template 201 and runs OnInitDialog; true when
    // the window exists afterwards.
    virtual bool Create(QWidget* parent);
    // The close sequence (the close box, Exit and the control's PlcDestroy).
    void CloseEditor();
    // The host's PlcSetSimulation: Simulate enabled or grayed (an open dry
    // run closes with it).
    void EnableSimulation(bool enable);
    void OnFileExit() { OnCancel(); }
    void OnOK() {}
    void OnCancel() { CloseEditor(); }

protected:
    std::string DocumentTitle() const override { return ComposeTitle(); }
    bool DocumentModified() const override { return IsModified(); }

private:
    // The notifications of a fresh window's widgets to their handlers.
    void ConnectWindow();
};

// Menu 202 in menu order (the "&Extras" item of the menu bar has no command).
std::span<const EditorCommand> EditorCommands();

}  // namespace plc
