// SPDX-License-Identifier: GPL-3.0-or-later
// What the analysis says about the programme in the editor window: its
// warnings on the lines of the text, its flow graph in a panel beside the
// text, and the names restored from a text declaration file.
//
// Warnings (W01 to W06) are no errors: they never enter the message list or
// its error count; they stand on their lines as markers, squiggles and
// annotations of their own colour, while View › Warnings is on (kept in the
// settings file). View › Flow graph opens the panel. Both follow every
// compile of the text (Check syntax and the live check) and a new text; the
// graph is laid out again only when the programme's drawing changed, and
// then in the background: no keystroke waits for Graphviz.
#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/EditorContext.h"

class QAction;
class QDockWidget;

namespace plc {

class CPlcEditorDoc;
class CPlcProgram;
class EditorCodeView;
class FlowPanel;
struct Finding;
struct FlowGraph;
struct GraphLayout;

class EditorAnalysis {
public:
    EditorAnalysis(const EditorContext& context, EditorCodeView& codeView, const CPlcEditorDoc& document);
    ~EditorAnalysis();

    // A fresh window: the two View entries' check marks from the settings,
    // the flow graph panel when it was open, and the hooks to the text.
    void SetupAnalysis(QAction* warningsEntry, QAction* flowGraphEntry);

    // ---- View › Warnings ----
    void OnWarnings();
    bool WarningsEnabled() const { return m_warnings; }
    void SetWarnings(bool enable);

    // ---- View › Flow graph ----
    void OnFlowGraph();
    void ShowFlowGraph(bool show);
    // The panel; null while it is closed.
    FlowPanel* FlowGraphPanel() const;
    // The statement a dry run runs next, highlighted in the graph; -1: none.
    void SetFlowRunRecord(int record);
    // Whether a layout runs in the background.
    bool LayoutPending() const;

    // ---- PLC Program › Restore names... ----
    // Asks for a text declaration file (starting in the project folder) and
    // puts its names as a text declaration section above the programme, as
    // one step of Undo. A file that is malformed, or a text that has names
    // already or no programme section, is refused with a message; the text
    // is then unchanged.
    void OnRestoreNames();
    // The same with the file given (the command after its file dialog).
    bool RestoreNames(const std::string& fileName);

    // Compiles the text in memory and analyses it now (a new text, the
    // panel opening, warnings turned on).
    void RefreshAnalysis();

private:
    // The text compiled into `program`; `compiled` when without errors.
    void Analyse(const CPlcProgram& program, bool compiled, bool layOutNow);
    void ShowWarnings(const std::vector<Finding>& findings);
    void LayOut(FlowGraph graph, bool now);
    void LayoutDone();
    // A laid-out graph into the panel, or why it could not be laid out.
    void ShowLaidOut(bool ok, const FlowGraph& graph, const GraphLayout& layout, const std::string& why);
    void OnCaretLine(int32_t line);

    const EditorContext& m_context;
    EditorCodeView& m_codeView;
    const CPlcEditorDoc& m_document;

    bool m_warnings = true;
    bool m_flowWanted = false;  // the panel is to be open (kept in the settings file)
    QPointer<QAction> m_warningsEntry;
    QPointer<QAction> m_flowEntry;
    QPointer<QDockWidget> m_dock;
    QPointer<FlowPanel> m_panel;
    int m_runRecord = -1;

    // The background layout: the one running and the latest graph waiting.
    struct Background;
    std::unique_ptr<Background> m_background;

    std::unique_ptr<CPlcProgram> m_scratch;  // the programme RefreshAnalysis compiles into
    QObject m_receiver;  // receives the text's and the panel's notifications
};

}  // namespace plc
