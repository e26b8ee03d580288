// SPDX-License-Identifier: GPL-3.0-or-later
// PLC Program › Simulate...: the dry run of the programme in the editor
// window. Simulate compiles the text (as Check syntax does: errors go to the
// message list) and opens the dry-run panel below the text with the
// programme. While the panel is open, the text shows a breakpoint margin (a
// click sets or clears a breakpoint, as F9 does on the caret's line) and the
// statement that runs next, which the flow graph highlights too when it is
// open.
//
// The command stays grayed until the host enables it (the control's
// PlcSetSimulation). The dry run never reaches the host or the device.
#pragma once

#include <QObject>
#include <QPointer>

#include "editor/EditorContext.h"

class QDockWidget;

namespace plc {

class CPlcEditorDoc;
class DryRunPanel;
class EditorAnalysis;
class EditorCodeView;

class EditorDryRun {
public:
    EditorDryRun(const EditorContext& context, EditorCodeView& codeView, EditorAnalysis& analysis,
                 const CPlcEditorDoc& document);
    ~EditorDryRun();

    // A fresh window: the margin's clicks and the text's changes.
    void SetupDryRun();

    void OnSimulate();
    // The panel; null while it is closed.
    DryRunPanel* Panel() const;
    void CloseDryRun();
    // A breakpoint on the caret's line set or cleared.
    void ToggleBreakpointAtCaret();

private:
    void PanelClosed();

    const EditorContext& m_context;
    EditorCodeView& m_codeView;
    EditorAnalysis& m_analysis;
    const CPlcEditorDoc& m_document;

    QPointer<QDockWidget> m_dock;
    QPointer<DryRunPanel> m_panel;
    QObject m_receiver;  // receives the text's notifications
};

}  // namespace plc
