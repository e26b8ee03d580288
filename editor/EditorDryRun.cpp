// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorDryRun.h"

#include <QAction>
#include <QDockWidget>
#include <QMainWindow>

#include "editor/DryRunPanel.h"
#include "editor/EditorAnalysis.h"
#include "editor/EditorCodeView.h"
#include "editor/PanelDock.h"
#include "editor/PlcEditorDoc.h"
#include "platform/SourceEdit.h"

namespace plc {

EditorDryRun::EditorDryRun(const EditorContext& context, EditorCodeView& codeView,
                           EditorAnalysis& analysis, const CPlcEditorDoc& document)
    : m_context(context),
      m_codeView(codeView),
      m_analysis(analysis),
      m_document(document) {}

EditorDryRun::~EditorDryRun() = default;

void EditorDryRun::SetupDryRun() {
    if (!m_context.edit) return;
    QObject::connect(m_context.edit, &SourceEdit::breakpointClicked, &m_receiver, [this](int32_t line) {
        if (m_panel && m_context.edit) m_context.edit->SetBreakpoint(line, !m_context.edit->HasBreakpoint(line));
    });
    auto changed = [this] {
        if (m_panel) m_panel->MarkTextChanged();
    };
    QObject::connect(m_context.edit, &SourceEdit::changed, &m_receiver, changed);
    QObject::connect(m_context.edit, &SourceEdit::textReplaced, &m_receiver, changed);
}

DryRunPanel* EditorDryRun::Panel() const { return m_panel.data(); }

void EditorDryRun::OnSimulate() {
    auto* window = qobject_cast<QMainWindow*>(m_context.window);
    if (!m_context.edit || !window) return;
    if (!m_codeView.CompileProgram()) return;
    if (!m_panel) {
        m_dock = NewPanelDock(window, "Dry run", "dryRunDock", [this] { CloseDryRun(); });
        m_dock->setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea | Qt::LeftDockWidgetArea |
                                Qt::RightDockWidgetArea);
        DryRunPanel::Hooks hooks;
        hooks.breakpointLines = [this] {
            return m_context.edit ? m_context.edit->BreakpointLines() : std::vector<int32_t>{};
        };
        hooks.caretLine = [this] { return m_context.edit ? m_context.edit->CaretLine() : int32_t{-1}; };
        hooks.toggleBreakpoint = [this] { ToggleBreakpointAtCaret(); };
        hooks.showNext = [this](int record, int32_t line) {
            if (m_context.edit) m_context.edit->SetRunLine(line);
            m_analysis.SetFlowRunRecord(record);
        };
        m_panel = new DryRunPanel(m_context.dialogs, std::move(hooks), m_dock);
        m_dock->setWidget(m_panel);
        // The flow graph keeps the right side to the bottom; the dry run
        // stands below the text.
        window->setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);
        window->addDockWidget(Qt::BottomDockWidgetArea, m_dock);
        window->resizeDocks({m_dock}, {window->height() * 2 / 5}, Qt::Vertical);
        // Its keys work wherever the focus is in the window.
        window->addActions(m_panel->Actions());
        m_context.edit->ShowBreakpointMargin(true);
    }
    m_dock->show();
    m_dock->raise();
    m_panel->Load(m_codeView.Program(), m_document.FileName());
}

void EditorDryRun::ToggleBreakpointAtCaret() {
    if (!m_context.edit || !m_panel) return;
    const int32_t line = m_context.edit->CaretLine();
    m_context.edit->SetBreakpoint(line, !m_context.edit->HasBreakpoint(line));
}

void EditorDryRun::CloseDryRun() {
    if (m_panel) {
        if (auto* window = qobject_cast<QMainWindow*>(m_context.window))
            for (QAction* action : m_panel->Actions()) window->removeAction(action);
    }
    if (m_dock) m_dock->deleteLater();
    m_dock.clear();
    m_panel.clear();
    PanelClosed();
}

void EditorDryRun::PanelClosed() {
    if (m_context.edit) {
        m_context.edit->SetRunLine(-1);
        m_context.edit->ShowBreakpointMargin(false);
    }
    m_analysis.SetFlowRunRecord(-1);
}

}  // namespace plc
