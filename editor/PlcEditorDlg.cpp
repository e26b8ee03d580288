// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/PlcEditorDlg.h"

#include <QAction>
#include <QPointer>
#include <QWidget>
#include <array>

#include "editor/HostLink.h"
#include "platform/MessageList.h"
#include "platform/SourceEdit.h"

namespace plc {

namespace {

using D = CPlcEditorDlg;
using K = QKeySequence;
using Doc = CPlcEditorDoc;
using Cmd = WindowCommands;
using Code = EditorCodeView;
using Nav = EditorNavigation;

// A standard key, with the key text for a desktop that leaves it unbound.
constexpr CommandKey Std(K::StandardKey key, const char* fallback = nullptr) {
    return {key, fallback};
}
constexpr CommandKey Keys(const char* text) { return {K::UnknownKey, text}; }
constexpr CommandKey kNoKey{};

// A command's handler: the member function `Handler` of the part that the
// editor object's accessor `Part` gives, called on that part.
template <auto Part, auto Handler>
void Run(CPlcEditorDlg& editor) {
    ((editor.*Part)().*Handler)();
}
// A handler of the editor object itself: the close sequence.
template <void (CPlcEditorDlg::*Handler)()>
void Own(CPlcEditorDlg& editor) {
    (editor.*Handler)();
}

// One row per command in menu order: menu, text, id, grayed, separator
// after, handler, key, alternate key, toolbar image, toolbar slot.
constexpr std::array kCommands{
    EditorCommand{MenuId::File, "&New", ID_FILE_NEW, false, false, Run<&D::Document, &Doc::OnFileNew>, Std(K::New, "Ctrl+N"), kNoKey, 0, 0},
    EditorCommand{MenuId::File, "&Open...", ID_FILE_OPEN, false, false, Run<&D::Document, &Doc::OnFileOpen>, Std(K::Open, "Ctrl+O"), kNoKey, 1, 1},
    EditorCommand{MenuId::File, "&Save", ID_FILE_SAVE, false, false, Run<&D::Document, &Doc::OnFileSave>, Std(K::Save, "Ctrl+S"), kNoKey, 2, 2},
    EditorCommand{MenuId::File, "Save &as...", ID_FILE_SAVE_AS, false, false, Run<&D::Document, &Doc::OnFileSaveAs>, Std(K::SaveAs, "Ctrl+Shift+S"), kNoKey},
    EditorCommand{MenuId::File, "Save &with encoding...", ID_FILE_SAVE_ENCODING, false, true, Run<&D::Document, &Doc::OnFileSaveWithEncoding>, Keys("Ctrl+Shift+E"), kNoKey},
    EditorCommand{MenuId::File, "Page set&up...", ID_PAGE_SETUP, false, false, Run<&D::Print, &EditorPrint::OnPageSetup>, Keys("Ctrl+Shift+P"), kNoKey},
    EditorCommand{MenuId::File, "&Print...", ID_FILE_PRINT, false, true, Run<&D::Print, &EditorPrint::OnFilePrint>, Std(K::Print, "Ctrl+P"), kNoKey, 8, 8},
    EditorCommand{MenuId::Recent, "?", ID_FILE_RECENT, true, false, Run<&D::Document, &Doc::OnFileRecent>, kNoKey, kNoKey},
    EditorCommand{MenuId::File, "&Exit", ID_FILE_EXIT, false, false, Own<&D::OnFileExit>, Std(K::Quit, "Ctrl+Q"), kNoKey},
    EditorCommand{MenuId::Edit, "&Undo", ID_EDIT_UNDO, false, false, Run<&D::Commands, &Cmd::OnEditUndo>, Std(K::Undo, "Ctrl+Z"), kNoKey, 6, 6},
    EditorCommand{MenuId::Edit, "&Redo", ID_EDIT_REDO, false, true, Run<&D::Commands, &Cmd::OnEditRedo>, Std(K::Redo, "Ctrl+Shift+Z"), kNoKey},
    EditorCommand{MenuId::Edit, "C&ut", ID_EDIT_CUT, false, false, Run<&D::Commands, &Cmd::OnEditCut>, Std(K::Cut, "Ctrl+X"), kNoKey, 3, 3},
    EditorCommand{MenuId::Edit, "&Copy", ID_EDIT_COPY, false, false, Run<&D::Commands, &Cmd::OnEditCopy>, Std(K::Copy, "Ctrl+C"), kNoKey, 4, 4},
    EditorCommand{MenuId::Edit, "&Paste", ID_EDIT_PASTE, false, false, Run<&D::Commands, &Cmd::OnEditPaste>, Std(K::Paste, "Ctrl+V"), kNoKey, 5, 5},
    EditorCommand{MenuId::Edit, "Select a&ll", ID_EDIT_SELECT_ALL, false, true, Run<&D::Commands, &Cmd::OnEditSelectAll>, Std(K::SelectAll, "Ctrl+A"), kNoKey},
    EditorCommand{MenuId::Edit, "Co&mplete", ID_EDIT_COMPLETE, false, true, Run<&D::Completion, &EditorCompletion::OnComplete>, Keys("Ctrl+Space"), kNoKey},
    EditorCommand{MenuId::Edit, "&Search/Replace...", ID_SEARCH_REPLACE, false, false, Run<&D::Search, &EditorSearch::OnSearchReplace>, Std(K::Find, "Ctrl+F"), Std(K::Replace, "Ctrl+H"), 7, 7},
    EditorCommand{MenuId::Edit, "Find &next", ID_FIND_NEXT, false, false, Run<&D::Search, &EditorSearch::OnFindNext>, Keys("F3"), kNoKey},
    EditorCommand{MenuId::Edit, "Find pre&vious", ID_FIND_PREVIOUS, false, false, Run<&D::Search, &EditorSearch::OnFindPrevious>, Keys("Shift+F3"), kNoKey},
    EditorCommand{MenuId::Program, "&Check syntax", ID_CHECK_SYNTAX, false, false, Run<&D::CodeView, &Code::OnCheckSyntax>, Keys("F7"), kNoKey, 10, 10},
    EditorCommand{MenuId::Program, "R&enum", ID_RENUM, false, false, Run<&D::Renum, &EditorRenum::OnRenum>, Keys("Ctrl+R"), kNoKey, 11, 11},
    EditorCommand{MenuId::Program, "Si&mulate...", ID_SIMULATE, true, true, Run<&D::DryRun, &EditorDryRun::OnSimulate>, kNoKey, kNoKey, 12, 12},
    EditorCommand{MenuId::Program, "Save &in file (device setting)", ID_SAVE_IN_FILE, false, false, Run<&D::Exchange, &EditorExchange::OnSaveInFile>, Keys("Ctrl+Alt+S"), kNoKey, 14, 14},
    EditorCommand{MenuId::Program, "Read &from file (device setting)", ID_READ_FROM_FILE, false, true, Run<&D::Exchange, &EditorExchange::OnReadFromFile>, Keys("Ctrl+Alt+O"), kNoKey, 13, 13},
    EditorCommand{MenuId::Program, "&Save in device", ID_SAVE_IN_DEVICE, true, false, Run<&D::Exchange, &EditorExchange::OnSaveInDevice>, Keys("Ctrl+Alt+W"), kNoKey, 16, 16},
    EditorCommand{MenuId::Program, "&Read from device", ID_READ_FROM_DEVICE, true, false, Run<&D::Exchange, &EditorExchange::OnReadFromDevice>, Keys("Ctrl+Alt+R"), kNoKey, 15, 15},
    EditorCommand{MenuId::Program, "&Compare with device", ID_COMPARE_DEVICE, true, false, Run<&D::Exchange, &EditorExchange::OnCompareWithDevice>, Keys("Ctrl+Alt+C"), kNoKey},
    // Names back after a read-back, from a text declaration file.
    EditorCommand{MenuId::Program, "Restore &names...", ID_RESTORE_NAMES, false, false, Run<&D::Analysis, &EditorAnalysis::OnRestoreNames>, Keys("Ctrl+Alt+N"), kNoKey},
    EditorCommand{MenuId::View, "&Live check", ID_VIEW_LIVE_CHECK, false, false, Run<&D::CodeView, &Code::OnLiveCheck>, Keys("Ctrl+Alt+L"), kNoKey, -1, -1, true},
    EditorCommand{MenuId::View, "Complete while &typing", ID_VIEW_COMPLETE_TYPING, false, false, Run<&D::Completion, &EditorCompletion::OnCompleteWhileTyping>, Keys("Ctrl+Shift+Space"), kNoKey, -1, -1, true},
    // What the analysis shows: warnings on the lines, the flow graph beside the text.
    EditorCommand{MenuId::View, "&Warnings", ID_VIEW_WARNINGS, false, false, Run<&D::Analysis, &EditorAnalysis::OnWarnings>, Keys("Ctrl+Shift+W"), kNoKey, -1, -1, true},
    EditorCommand{MenuId::View, "&Flow graph", ID_VIEW_FLOW_GRAPH, false, true, Run<&D::Analysis, &EditorAnalysis::OnFlowGraph>, Keys("Ctrl+Shift+G"), kNoKey, -1, -1, true},
    EditorCommand{MenuId::View, "Zoom &in", ID_VIEW_ZOOM_IN, false, false, Run<&D::CodeView, &Code::OnZoomIn>, Keys("Ctrl+="), Keys("Ctrl++")},
    EditorCommand{MenuId::View, "Zoom &out", ID_VIEW_ZOOM_OUT, false, false, Run<&D::CodeView, &Code::OnZoomOut>, Keys("Ctrl+-"), kNoKey},
    EditorCommand{MenuId::View, "&Reset zoom", ID_VIEW_ZOOM_RESET, false, true, Run<&D::CodeView, &Code::OnZoomReset>, Keys("Ctrl+0"), kNoKey},
    EditorCommand{MenuId::View, "&Next error", ID_NEXT_ERROR, false, false, Run<&D::CodeView, &Code::OnNextError>, Keys("F8"), kNoKey},
    EditorCommand{MenuId::View, "&Previous error", ID_PREVIOUS_ERROR, false, true, Run<&D::CodeView, &Code::OnPreviousError>, Keys("Shift+F8"), kNoKey},
    EditorCommand{MenuId::View, "&Go to line...", ID_GOTO_LINE, false, false, Run<&D::Navigation, &Nav::OnGotoLine>, Keys("Ctrl+G"), kNoKey},
    EditorCommand{MenuId::View, "Go to &definition", ID_GOTO_DEFINITION, false, false, Run<&D::Navigation, &Nav::OnGotoDefinition>, Keys("F12"), kNoKey},
    EditorCommand{MenuId::View, "Find &uses", ID_FIND_USES, false, true, Run<&D::Navigation, &Nav::OnFindUses>, Keys("Shift+F12"), kNoKey},
    EditorCommand{MenuId::View, "Navigate &back", ID_NAVIGATE_BACK, false, false, Run<&D::Navigation, &Nav::OnNavigateBack>, Keys("Alt+Left"), kNoKey},
    EditorCommand{MenuId::View, "Navigate &forward", ID_NAVIGATE_FORWARD, false, false, Run<&D::Navigation, &Nav::OnNavigateForward>, Keys("Alt+Right"), kNoKey},
    EditorCommand{MenuId::Help, "&Help...", ID_HELP, false, false, Run<&D::Commands, &Cmd::OnHelp>, Std(K::HelpContents, "F1"), kNoKey, 9, 9},
    EditorCommand{MenuId::Help, "&Info...", ID_INFO, false, false, Run<&D::Commands, &Cmd::OnInfo>, Keys("Ctrl+F1"), kNoKey},
};

}  // namespace

std::span<const EditorCommand> EditorCommands() { return kCommands; }

// ---------------------------------------------------------------- object

CPlcEditorDlg::CPlcEditorDlg(Dialogs& dialogs)
    : m_context(dialogs),
      m_document(m_context),
      m_frame(
          m_context, m_document, kCommands, [this](const EditorCommand& command) { command.handler(*this); },
          [this] { OnCancel(); }),
      m_commands(m_context),
      m_codeView(m_context),
      m_navigation(m_context),
      m_completion(m_context),
      m_search(m_context, m_document),
      m_renum(m_context, m_codeView, m_search.SearchDialog(), m_navigation.History()),
      m_exchange(m_context, m_document, m_codeView),
      m_print(m_context, m_document),
      m_analysis(m_context, m_codeView, m_document),
      m_dryRun(m_context, m_codeView, m_analysis, m_document) {}

CPlcEditorDlg::~CPlcEditorDlg() {
    // Released by the host without a question: a changed text is kept.
    m_document.KeepRecoveryCopy();
    m_frame.DestroyWindow();
}

std::unique_ptr<EditorLink> CreateEditor(Dialogs& dialogs) { return std::make_unique<CPlcEditorDlg>(dialogs); }

// ---------------------------------------------------------------- window

bool CPlcEditorDlg::Create(QWidget* parent) {
    if (!m_frame.BuildWindow(parent)) return true;
    ConnectWindow();
    m_codeView.SetupCodeView(Action(ID_VIEW_LIVE_CHECK));
    m_navigation.SetupNavigation();
    m_analysis.SetupAnalysis(Action(ID_VIEW_WARNINGS), Action(ID_VIEW_FLOW_GRAPH));
    m_dryRun.SetupDryRun();
    m_completion.SetupCompletion(Action(ID_VIEW_COMPLETE_TYPING));
    m_codeView.SetLineJump([this](int32_t line) { m_navigation.History().JumpToLine(line); });
    m_codeView.SetErrorCountObserver([this](int32_t errors) { m_frame.ShowErrorCount(errors); });
    if (!m_frame.OnInitDialog()) {
        m_frame.DestroyWindow();
        return false;
    }
    m_document.InitDocument(m_frame.RecentMenu(), Action(ID_FILE_RECENT));
    m_frame.RestoreGeometry();
    Window()->show();
    return IsWindow();
}

bool CPlcEditorDlg::IsWindow() const { return m_frame.IsWindow(); }

QWidget* CPlcEditorDlg::Window() const { return m_frame.Window(); }

void CPlcEditorDlg::ConnectWindow() {
    // The window part receives the notifications: they stop when the editor
    // object goes.
    SourceEdit* edit = Edit();
    QObject::connect(edit, &SourceEdit::changed, &m_frame, [this, edit] {
        m_document.OnChangeSource();
        // The hits of a search are marked until the text changes.
        edit->ClearSearchMarks();
        m_codeView.ScheduleLiveCheck();
    });
    QObject::connect(edit, &SourceEdit::errSpace, &m_frame, [this] { m_commands.OnErrSpaceSource(); });
    QObject::connect(edit, &SourceEdit::maxText, &m_frame, [this] { m_commands.OnMaxTextSource(); });
    QObject::connect(Messages(), &MessageList::entryDoubleClicked, &m_frame, [this] { m_renum.OnDblclkMessages(); });
}

void CPlcEditorDlg::CloseEditor() {
    if (!IsWindow()) return;
    Window()->activateWindow();
    Window()->setFocus();
    if (!m_document.AskSaveChanges()) return;
    m_document.RememberLastPath();
    // The host's handler runs inside the event and may even release the
    // control, and with it this object (and the window part with it).
    QPointer<QObject> self(&m_frame);
    if (HostLink* control = Control()) control->FirePlcOnCancel();
    if (self) m_frame.DestroyWindow();
}

// ---------------------------------------------------------------- the control's calls

void CPlcEditorDlg::SetControl(HostLink* control) { m_context.control = control; }

void CPlcEditorDlg::SetOnline() { m_frame.SetOnline(); }

void CPlcEditorDlg::SetOffline() { m_frame.SetOffline(); }

void CPlcEditorDlg::EnableSimulation(bool enable) {
    m_frame.SetSimulation(enable);
    if (!enable) m_dryRun.CloseDryRun();
}

void CPlcEditorDlg::OpenSourceFile(const std::string& fileName) { m_document.OpenSourceFile(fileName); }

void CPlcEditorDlg::OpenBinaryFile(const std::string& fileName) { m_exchange.OpenBinaryFile(fileName); }

void CPlcEditorDlg::ShowStatusMessage(const std::string& text) { m_frame.ShowStatusMessage(text); }

}  // namespace plc
