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

// A standard key, with the key text for a desktop that leaves it unbound.
constexpr CommandKey Std(K::StandardKey key, const char* fallback = nullptr) {
    return {key, fallback};
}
constexpr CommandKey Keys(const char* text) { return {K::UnknownKey, text}; }
constexpr CommandKey kNoKey{};

// A command's handler: the member function of the part of the editor object
// that declares it, called on that part.
template <class Part>
struct PartOf;
template <class Part>
struct PartOf<void (Part::*)()> {
    using Type = Part;
};
template <auto Handler>
void Run(CPlcEditorDlg& editor) {
    typename PartOf<decltype(Handler)>::Type& part = editor;
    (part.*Handler)();
}

// One row per command in menu order: menu, text, id, grayed, separator
// after, handler, key, alternate key, toolbar image, toolbar slot.
constexpr std::array kCommands{
    EditorCommand{MenuId::File, "&New", ID_FILE_NEW, false, false, Run<&D::OnFileNew>, Std(K::New, "Ctrl+N"), kNoKey, 0, 0},
    EditorCommand{MenuId::File, "&Open...", ID_FILE_OPEN, false, false, Run<&D::OnFileOpen>, Std(K::Open, "Ctrl+O"), kNoKey, 1, 1},
    EditorCommand{MenuId::File, "&Save", ID_FILE_SAVE, false, false, Run<&D::OnFileSave>, Std(K::Save, "Ctrl+S"), kNoKey, 2, 2},
    EditorCommand{MenuId::File, "Save &as...", ID_FILE_SAVE_AS, false, true, Run<&D::OnFileSaveAs>, Std(K::SaveAs, "Ctrl+Shift+S"), kNoKey},
    EditorCommand{MenuId::File, "Page set&up...", ID_PAGE_SETUP, false, false, Run<&D::OnPageSetup>, Keys("Ctrl+Shift+P"), kNoKey},
    EditorCommand{MenuId::File, "&Print...", ID_FILE_PRINT, false, true, Run<&D::OnFilePrint>, Std(K::Print, "Ctrl+P"), kNoKey, 8, 8},
    EditorCommand{MenuId::Recent, "?", ID_FILE_RECENT, true, false, Run<&D::OnFileRecent>, kNoKey, kNoKey},
    EditorCommand{MenuId::File, "&Exit", ID_FILE_EXIT, false, false, Run<&D::OnFileExit>, Std(K::Quit, "Ctrl+Q"), kNoKey},
    EditorCommand{MenuId::Edit, "&Undo", ID_EDIT_UNDO, false, false, Run<&D::OnEditUndo>, Std(K::Undo, "Ctrl+Z"), kNoKey, 6, 6},
    EditorCommand{MenuId::Edit, "&Redo", ID_EDIT_REDO, false, true, Run<&D::OnEditRedo>, Std(K::Redo, "Ctrl+Shift+Z"), kNoKey},
    EditorCommand{MenuId::Edit, "C&ut", ID_EDIT_CUT, false, false, Run<&D::OnEditCut>, Std(K::Cut, "Ctrl+X"), kNoKey, 3, 3},
    EditorCommand{MenuId::Edit, "&Copy", ID_EDIT_COPY, false, false, Run<&D::OnEditCopy>, Std(K::Copy, "Ctrl+C"), kNoKey, 4, 4},
    EditorCommand{MenuId::Edit, "&Paste", ID_EDIT_PASTE, false, false, Run<&D::OnEditPaste>, Std(K::Paste, "Ctrl+V"), kNoKey, 5, 5},
    EditorCommand{MenuId::Edit, "Select a&ll", ID_EDIT_SELECT_ALL, false, true, Run<&D::OnEditSelectAll>, Std(K::SelectAll, "Ctrl+A"), kNoKey},
    EditorCommand{MenuId::Edit, "Co&mplete", ID_EDIT_COMPLETE, false, true, Run<&D::OnComplete>, Keys("Ctrl+Space"), kNoKey},
    EditorCommand{MenuId::Edit, "&Search/Replace...", ID_SEARCH_REPLACE, false, false, Run<&D::OnSearchReplace>, Std(K::Find, "Ctrl+F"), Std(K::Replace, "Ctrl+H"), 7, 7},
    EditorCommand{MenuId::Edit, "Find &next", ID_FIND_NEXT, false, false, Run<&D::OnFindNext>, Keys("F3"), kNoKey},
    EditorCommand{MenuId::Edit, "Find pre&vious", ID_FIND_PREVIOUS, false, false, Run<&D::OnFindPrevious>, Keys("Shift+F3"), kNoKey},
    EditorCommand{MenuId::Program, "&Check syntax", ID_CHECK_SYNTAX, false, false, Run<&D::OnCheckSyntax>, Keys("F7"), kNoKey, 10, 10},
    EditorCommand{MenuId::Program, "R&enum", ID_RENUM, false, false, Run<&D::OnRenum>, Keys("Ctrl+R"), kNoKey, 11, 11},
    EditorCommand{MenuId::Program, "Si&mulate...", ID_SIMULATE, true, true, Run<&D::OnSimulate>, kNoKey, kNoKey, 12, 12},
    EditorCommand{MenuId::Program, "Save &in file (device setting)", ID_SAVE_IN_FILE, false, false, Run<&D::OnSaveInFile>, Keys("Ctrl+Alt+S"), kNoKey, 14, 14},
    EditorCommand{MenuId::Program, "Read &from file (device setting)", ID_READ_FROM_FILE, false, true, Run<&D::OnReadFromFile>, Keys("Ctrl+Alt+O"), kNoKey, 13, 13},
    EditorCommand{MenuId::Program, "&Save in device", ID_SAVE_IN_DEVICE, true, false, Run<&D::OnSaveInDevice>, Keys("Ctrl+Alt+W"), kNoKey, 16, 16},
    EditorCommand{MenuId::Program, "&Read from device", ID_READ_FROM_DEVICE, true, false, Run<&D::OnReadFromDevice>, Keys("Ctrl+Alt+R"), kNoKey, 15, 15},
    EditorCommand{MenuId::Program, "&Compare with device", ID_COMPARE_DEVICE, true, false, Run<&D::OnCompareWithDevice>, Keys("Ctrl+Alt+C"), kNoKey},
    // Names back after a read-back, from a text declaration file.
    EditorCommand{MenuId::Program, "Restore &names...", ID_RESTORE_NAMES, false, false, Run<&D::OnRestoreNames>, Keys("Ctrl+Alt+N"), kNoKey},
    EditorCommand{MenuId::View, "&Live check", ID_VIEW_LIVE_CHECK, false, false, Run<&D::OnLiveCheck>, Keys("Ctrl+Alt+L"), kNoKey, -1, -1, true},
    EditorCommand{MenuId::View, "Complete while &typing", ID_VIEW_COMPLETE_TYPING, false, false, Run<&D::OnCompleteWhileTyping>, Keys("Ctrl+Shift+Space"), kNoKey, -1, -1, true},
    // What the analysis shows: warnings on the lines, the flow graph beside the text.
    EditorCommand{MenuId::View, "&Warnings", ID_VIEW_WARNINGS, false, false, Run<&D::OnWarnings>, Keys("Ctrl+Shift+W"), kNoKey, -1, -1, true},
    EditorCommand{MenuId::View, "&Flow graph", ID_VIEW_FLOW_GRAPH, false, true, Run<&D::OnFlowGraph>, Keys("Ctrl+Shift+G"), kNoKey, -1, -1, true},
    EditorCommand{MenuId::View, "Zoom &in", ID_VIEW_ZOOM_IN, false, false, Run<&D::OnZoomIn>, Keys("Ctrl+="), Keys("Ctrl++")},
    EditorCommand{MenuId::View, "Zoom &out", ID_VIEW_ZOOM_OUT, false, false, Run<&D::OnZoomOut>, Keys("Ctrl+-"), kNoKey},
    EditorCommand{MenuId::View, "&Reset zoom", ID_VIEW_ZOOM_RESET, false, true, Run<&D::OnZoomReset>, Keys("Ctrl+0"), kNoKey},
    EditorCommand{MenuId::View, "&Next error", ID_NEXT_ERROR, false, false, Run<&D::OnNextError>, Keys("F8"), kNoKey},
    EditorCommand{MenuId::View, "&Previous error", ID_PREVIOUS_ERROR, false, true, Run<&D::OnPreviousError>, Keys("Shift+F8"), kNoKey},
    EditorCommand{MenuId::View, "&Go to line...", ID_GOTO_LINE, false, false, Run<&D::OnGotoLine>, Keys("Ctrl+G"), kNoKey},
    EditorCommand{MenuId::View, "Go to &definition", ID_GOTO_DEFINITION, false, false, Run<&D::OnGotoDefinition>, Keys("F12"), kNoKey},
    EditorCommand{MenuId::View, "Find &uses", ID_FIND_USES, false, true, Run<&D::OnFindUses>, Keys("Shift+F12"), kNoKey},
    EditorCommand{MenuId::View, "Navigate &back", ID_NAVIGATE_BACK, false, false, Run<&D::OnNavigateBack>, Keys("Alt+Left"), kNoKey},
    EditorCommand{MenuId::View, "Navigate &forward", ID_NAVIGATE_FORWARD, false, false, Run<&D::OnNavigateForward>, Keys("Alt+Right"), kNoKey},
    EditorCommand{MenuId::Help, "&Help...", ID_HELP, false, false, Run<&D::OnHelp>, Std(K::HelpContents, "F1"), kNoKey, 9, 9},
    EditorCommand{MenuId::Help, "&Info...", ID_INFO, false, false, Run<&D::OnInfo>, Keys("Ctrl+F1"), kNoKey},
};

}  // namespace

std::span<const EditorCommand> EditorCommands() { return kCommands; }

// ---------------------------------------------------------------- object

CPlcEditorDlg::CPlcEditorDlg(Dialogs& dialogs)
    : EditorFrame(
          kCommands, [this](const EditorCommand& command) { command.handler(*this); },
          [this] { OnCancel(); }),
      CPlcEditorDoc(Widgets(), dialogs),
      WindowCommands(Widgets(), dialogs),
      EditorCodeView(Widgets(), dialogs),
      EditorNavigation(Widgets(), dialogs),
      EditorCompletion(Widgets(), dialogs),
      EditorSearch(Widgets(), dialogs, *this),
      EditorRenum(Widgets(), dialogs, *this, SearchDialog(), History()),
      EditorExchange(Widgets(), dialogs, *this, *this),
      EditorPrint(Widgets(), dialogs, *this),
      EditorAnalysis(Widgets(), dialogs, *this, *this, *this),
      EditorDryRun(Widgets(), dialogs, *this, *this, *this) {}

CPlcEditorDlg::~CPlcEditorDlg() {
    // Released by the host without a question: a changed text is kept.
    KeepRecoveryCopy();
    DestroyWindow();
}

// ---------------------------------------------------------------- window

bool CPlcEditorDlg::Create(QWidget* parent) {
    if (!BuildWindow(parent)) return true;
    ConnectWindow();
    SetupCodeView(Action(ID_VIEW_LIVE_CHECK));
    SetupNavigation();
    SetupAnalysis(Action(ID_VIEW_WARNINGS), Action(ID_VIEW_FLOW_GRAPH));
    SetupDryRun();
    SetupCompletion(Action(ID_VIEW_COMPLETE_TYPING));
    SetLineJump([this](int32_t line) { History().JumpToLine(line); });
    if (!OnInitDialog()) {
        DestroyWindow();
        return false;
    }
    InitDocument(RecentMenu(), Action(ID_FILE_RECENT));
    RestoreGeometry();
    Window()->show();
    return IsWindow();
}

void CPlcEditorDlg::ConnectWindow() {
    SourceEdit* edit = Edit();
    connect(edit, &SourceEdit::changed, this, [this, edit] {
        OnChangeSource();
        // The hits of a search are marked until the text changes.
        edit->ClearSearchMarks();
        ScheduleLiveCheck();
    });
    connect(edit, &SourceEdit::errSpace, this, [this] { OnErrSpaceSource(); });
    connect(edit, &SourceEdit::maxText, this, [this] { OnMaxTextSource(); });
    connect(Messages(), &MessageList::entryDoubleClicked, this, [this] { OnDblclkMessages(); });
}

void CPlcEditorDlg::EnableSimulation(bool enable) {
    SetSimulation(enable);
    if (!enable) CloseDryRun();
}

void CPlcEditorDlg::CloseEditor() {
    if (!IsWindow()) return;
    Window()->activateWindow();
    Window()->setFocus();
    if (!AskSaveChanges()) return;
    RememberLastPath();
    // The host's handler runs inside the event and may even release the
    // control, and with it this object.
    QPointer<CPlcEditorDlg> self(this);
    if (HostLink* control = Control()) control->FirePlcOnCancel();
    if (self) DestroyWindow();
}

}  // namespace plc
