// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorAnalysis.h"

#include <QAction>
#include <QDockWidget>
#include <QFutureWatcher>
#include <QMainWindow>
#include <QtConcurrent/QtConcurrentRun>
#include <optional>
#include <vector>

#include "analysis/Analysis.h"
#include "analysis/GraphLayout.h"

#include "base/WholeFile.h"
#include "compiler/CompileDriver.h"
#include "compiler/ProgramIndex.h"
#include "decoder/Listing.h"
#include "editor/EditorCodeView.h"
#include "editor/FlowPanel.h"
#include "editor/HostLink.h"
#include "editor/PanelDock.h"
#include "editor/PlcEditorDoc.h"
#include "image/SectionWords.h"
#include "image/TextDeclFile.h"
#include "platform/Dialogs.h"
#include "platform/Profile.h"
#include "platform/SourceEdit.h"

namespace plc {

namespace {

constexpr const char* kViewSection = "View";
constexpr const char* kWarningsKey = "Warnings";
constexpr const char* kFlowGraphKey = "FlowGraph";

// The panel's first width: this share of the window.
constexpr double kPanelShare = 0.4;

// The first section of `kind` in the text's source facts; nullptr when the
// text has none.
const IndexSection* FirstSection(const ProgramIndex& index, SectionKind kind) {
    for (const IndexSection& section : index.Sections())
        if (section.kind == kind) return &section;
    return nullptr;
}

// A graph laid out off the typing path, with the generation it was asked
// for in.
struct LaidOut {
    FlowGraph graph;
    GraphLayout layout;
    bool ok = false;
    std::string why;
    uint64_t generation = 0;
};

}  // namespace

struct EditorAnalysis::Background {
    QFutureWatcher<LaidOut> watcher;
    std::optional<FlowGraph> waiting;  // the latest graph, asked for while one ran
    uint64_t generation = 0;           // of the latest graph asked for
};

EditorAnalysis::EditorAnalysis(const EditorContext& context, EditorCodeView& codeView,
                               const CPlcEditorDoc& document)
    : m_context(context),
      m_codeView(codeView),
      m_document(document),
      m_background(std::make_unique<Background>()) {}

EditorAnalysis::~EditorAnalysis() {
    // A layout still running finishes on its own copies; its result goes.
    m_background->watcher.disconnect();
}

void EditorAnalysis::SetupAnalysis(QAction* warningsEntry, QAction* flowGraphEntry) {
    const Profile settings;
    m_warnings = settings.GetInt(kViewSection, kWarningsKey, 1) != 0;
    m_flowWanted = settings.GetInt(kViewSection, kFlowGraphKey, 0) != 0;
    m_warningsEntry = warningsEntry;
    m_flowEntry = flowGraphEntry;
    if (m_warningsEntry) m_warningsEntry->setChecked(m_warnings);
    if (m_flowEntry) m_flowEntry->setChecked(m_flowWanted);
    m_codeView.SetCompileObserver(
        [this](const CPlcProgram& program, bool compiled) { Analyse(program, compiled, false); });
    if (m_context.edit) {
        QObject::connect(m_context.edit, &SourceEdit::textReplaced, &m_receiver, [this] { RefreshAnalysis(); });
        QObject::connect(m_context.edit, &SourceEdit::caretLineChanged, &m_receiver,
                         [this](int32_t line) { OnCaretLine(line); });
    }
    if (m_flowWanted) ShowFlowGraph(true);
}

// ---------------------------------------------------------------- following the text

void EditorAnalysis::RefreshAnalysis() {
    if (!m_context.edit || (!m_warnings && !m_panel)) return;
    if (!m_scratch) m_scratch = std::make_unique<CPlcProgram>();
    std::vector<std::string> lines(static_cast<size_t>(m_context.edit->GetLineCount()));
    for (size_t i = 0; i < lines.size(); ++i) m_context.edit->GetLine(static_cast<int32_t>(i), lines[i]);
    const bool compiled = m_context.edit->GetTextLength() != 0 && CompileProgramText(*m_scratch, lines).success;
    Analyse(*m_scratch, compiled, true);
}

void EditorAnalysis::Analyse(const CPlcProgram& program, bool compiled, bool layOutNow) {
    if (!m_context.edit) return;
    if (!compiled) {
        // Warnings are of a programme that compiles; the errors say the rest.
        m_context.edit->ClearWarningMarks();
        if (m_panel) {
            m_panel->SetNote(m_panel->HasGraph()
                                 ? "The text does not compile: the graph shows the programme as it last compiled."
                                 : m_context.edit->GetTextLength() == 0
                                       ? "No programme: the text is empty."
                                       : "No graph: the text does not compile (Check syntax lists its errors).");
        }
        return;
    }
    if (!m_warnings && !m_panel) return;
    std::vector<std::string> lines(static_cast<size_t>(m_context.edit->GetLineCount()));
    for (size_t i = 0; i < lines.size(); ++i) m_context.edit->GetLine(static_cast<int32_t>(i), lines[i]);
    ProgramAnalysis analysis = AnalyseProgram(program, ReadSourceSites(lines), RecordLinesOfImage(program));
    if (m_warnings) ShowWarnings(FindingsOf(analysis, Severity::Warning));
    if (!m_panel) return;
    if (m_panel->DrawsAs(analysis.graph) && !m_background->waiting && !LayoutPending()) {
        m_panel->UpdateLines(analysis.graph);
        m_panel->SetNote({});
        m_panel->HighlightLine(m_context.edit->CaretLine());
        return;
    }
    LayOut(std::move(analysis.graph), layOutNow);
}

void EditorAnalysis::ShowWarnings(const std::vector<Finding>& findings) {
    std::vector<SourceEdit::LineMark> marks;
    for (const Finding& f : findings) {
        if (!f.at.Known()) continue;
        marks.push_back({f.at.line, f.code + " - " + f.text, f.at.column, f.at.length > 0 ? f.at.length : -1});
    }
    m_context.edit->SetWarningMarks(marks);
}

void EditorAnalysis::OnCaretLine(int32_t line) {
    if (m_panel) m_panel->HighlightLine(line);
}

// ---------------------------------------------------------------- Warnings

void EditorAnalysis::OnWarnings() { SetWarnings(!m_warnings); }

void EditorAnalysis::SetWarnings(bool enable) {
    m_warnings = enable;
    Profile().WriteInt(kViewSection, kWarningsKey, enable ? 1 : 0);
    if (m_warningsEntry) m_warningsEntry->setChecked(enable);
    if (!m_context.edit) return;
    if (enable)
        RefreshAnalysis();
    else
        m_context.edit->ClearWarningMarks();
}

// ---------------------------------------------------------------- Flow graph

FlowPanel* EditorAnalysis::FlowGraphPanel() const { return m_panel.data(); }

bool EditorAnalysis::LayoutPending() const { return m_background->watcher.isRunning(); }

void EditorAnalysis::OnFlowGraph() { ShowFlowGraph(!m_panel); }

void EditorAnalysis::ShowFlowGraph(bool show) {
    auto* window = qobject_cast<QMainWindow*>(m_context.window);
    m_flowWanted = show;
    Profile().WriteInt(kViewSection, kFlowGraphKey, show ? 1 : 0);
    if (m_flowEntry) m_flowEntry->setChecked(show);
    if (!show) {
        if (m_dock) m_dock->deleteLater();
        m_dock.clear();
        m_panel.clear();
        m_background->waiting.reset();
        return;
    }
    if (m_panel || !window) return;
    m_dock = NewPanelDock(window, "Flow graph", "flowDock", [this] { ShowFlowGraph(false); });
    m_dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    m_panel = new FlowPanel(m_dock);
    m_dock->setWidget(m_panel);
    QObject::connect(m_panel, &FlowPanel::nodeClicked, &m_receiver, [this](int, int32_t line) {
        if (!m_context.edit || line < 0) return;
        m_context.edit->GotoLine(line);
        m_context.edit->setFocus();
    });
    window->addDockWidget(Qt::RightDockWidgetArea, m_dock);
    window->resizeDocks({m_dock}, {static_cast<int>(window->width() * kPanelShare)}, Qt::Horizontal);
    m_panel->SetRunRecord(m_runRecord);
    RefreshAnalysis();
    if (m_context.edit && m_context.edit->GetTextLength() == 0) m_panel->SetNote("No programme: the text is empty.");
}

void EditorAnalysis::SetFlowRunRecord(int record) {
    m_runRecord = record;
    if (m_panel) m_panel->SetRunRecord(record);
}

void EditorAnalysis::LayOut(FlowGraph graph, bool now) {
    Background& bg = *m_background;
    ++bg.generation;
    if (now) {
        // Shown at once; a background layout still running is out of date.
        bg.waiting.reset();
        LaidOut result;
        result.graph = std::move(graph);
        result.ok = LayOutFlowGraph(result.graph, result.layout, &result.why);
        ShowLaidOut(result.ok, result.graph, result.layout, result.why);
        return;
    }
    if (LayoutPending()) {
        bg.waiting = std::move(graph);
        return;
    }
    bg.watcher.disconnect();
    QObject::connect(&bg.watcher, &QFutureWatcher<LaidOut>::finished, &m_receiver, [this] { LayoutDone(); });
    bg.watcher.setFuture(QtConcurrent::run([graph = std::move(graph), generation = bg.generation]() mutable {
        LaidOut result;
        result.graph = std::move(graph);
        result.ok = LayOutFlowGraph(result.graph, result.layout, &result.why);
        result.generation = generation;
        return result;
    }));
}

void EditorAnalysis::LayoutDone() {
    Background& bg = *m_background;
    LaidOut result = bg.watcher.result();
    if (bg.waiting) {
        FlowGraph next = std::move(*bg.waiting);
        bg.waiting.reset();
        LayOut(std::move(next), false);
        return;
    }
    if (result.generation != bg.generation) return;
    ShowLaidOut(result.ok, result.graph, result.layout, result.why);
}

void EditorAnalysis::ShowLaidOut(bool ok, const FlowGraph& graph, const GraphLayout& layout, const std::string& why) {
    if (!m_panel) return;
    if (!ok) {
        m_panel->SetNote("The graph cannot be laid out: " + why);
        return;
    }
    m_panel->ShowGraph(graph, layout);
    m_panel->SetNote({});
    if (m_context.edit) m_panel->HighlightLine(m_context.edit->CaretLine());
}

// ---------------------------------------------------------------- Restore names

void EditorAnalysis::OnRestoreNames() {
    if (!m_context.edit) return;
    // The declaration files are where Save in device writes them: the
    // project folder.
    std::string folder;
    if (const HostLink* control = m_context.control; control == nullptr || !control->GetPlcProjPath(folder))
        folder = m_document.StartFolder({});
    std::string chosen;
    if (!m_context.dialogs.OpenFileName(m_context.window,
                                {folder, "Text declaration files (*.txt)|*.txt|All files (*.*)|*.*|", "txt"},
                                chosen))
        return;
    RestoreNames(chosen);
}

bool EditorAnalysis::RestoreNames(const std::string& fileName) {
    if (!m_context.edit) return false;
    auto refuse = [&](const std::string& why) {
        ShowError(m_context.dialogs, m_context.window, "The names were not restored.\n" + why);
        return false;
    };
    std::string bytes;
    if (!ReadWholeFile(fileName, bytes)) return refuse(fileName + ": the file cannot be read.");
    DeclaredNames names;
    std::string why;
    if (!ParseTextDeclFile(bytes, fileName, names, why)) return refuse(why);
    // The sections as the compiler reads them.
    const ProgramIndex index = ProgramIndex::OfSource(m_context.edit->GetText());
    const std::string programHead(Word(SectionWord::ProgramHead)), textHead(Word(SectionWord::TextHead));
    const IndexSection* program = FirstSection(index, SectionKind::Program);
    if (program == nullptr)
        return refuse("The text has no programme section (" + programHead + ") to put the names above.");
    if (const IndexSection* declared = FirstSection(index, SectionKind::Text)) {
        return refuse("The text declares names already (its " + textHead + " section at line " +
                      std::to_string(declared->headLine + 1) + "); delete that section first.");
    }
    const int32_t head = program->headLine;
    const std::string section = DeclarationSectionText(names);
    if (m_context.edit->GetTextLength() + static_cast<int32_t>(section.size()) > m_context.edit->GetLimitText())
        return refuse("The text would grow beyond its size limit.");
    const int32_t at = m_context.edit->LineIndex(head);
    SourceText::UndoGroup step(*m_context.edit);
    m_context.edit->SetSel(at, at);
    m_context.edit->ReplaceSel(section);
    return true;
}

}  // namespace plc
