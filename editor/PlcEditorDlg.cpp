// The editor window itself: template, menu, initialisation, layout, the
// online state, the edit commands, Help and Info, the line access used by
// the other commands, Check syntax and the timer that keeps title and
// status line up to date.
#include "editor/PlcEditorDlg.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QSplitter>
#include <QStatusBar>
#include <algorithm>
#include <climits>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>

#include "compiler/CompileDriver.h"
#include "dialogs/PageSettings.h"
#include "dialogs/PlcToolBar.h"
#include "editor/EditorCommands.h"
#include "editor/EditorWindow.h"
#include "editor/HelpWindow.h"
#include "editor/HostLink.h"
#include "editor/InfoDlg.h"
#include "platform/Dialogs.h"
#include "platform/MessageList.h"
#include "platform/Profile.h"
#include "platform/SourceEdit.h"
#include "platform/StatusBar.h"
#include "platform/Text.h"
#include "resources/StringTable.h"
#include "resources/icons/editor.xpm"

namespace plc {

namespace {

constexpr int kStatusBarId = 32864;
constexpr int kStatusModifiedPart = 2;
constexpr int kStatusColumnPart = 3;
constexpr int kStatusLinePart = 4;

// The window's first size when the settings remember none.
constexpr QSize kFirstSize(900, 700);
constexpr const char* kWindowSection = "Window";

}  // namespace

EditorLayout ComputeEditorLayout(int32_t cx, int32_t cy, int32_t topOffset, int32_t gap,
                                 int32_t bottomMargin) {
    EditorLayout layout{};
    layout.statusParts = {0, cx - 105, cx - 80, cx - 50, cx};
    const int32_t avail = cy - bottomMargin - topOffset - gap;
    const int32_t h = static_cast<int32_t>(avail * 0.7);
    layout.editTop = topOffset;
    layout.editHeight = h;
    layout.listTop = topOffset + h + gap;
    layout.listHeight = avail - h + gap;
    return layout;
}

// ---------------------------------------------------------------- object

CPlcEditorDlg::CPlcEditorDlg(Dialogs& dialogs)
    : m_dialogs(dialogs), m_hIcon(QPixmap(editor_xpm)), m_pFont(std::make_unique<QFont>()) {}

CPlcEditorDlg::~CPlcEditorDlg() {
    // Released by the host without a question: a changed text is kept.
    KeepRecoveryCopy();
    DestroyWindow();
}

// ---------------------------------------------------------------- window

bool CPlcEditorDlg::Create(QWidget* parent) {
    m_bInitialised = false;
    if (IsWindow()) return true;
    BuildWindow(parent);
    if (!OnInitDialog()) {
        DestroyWindow();
        return false;
    }
    RestoreGeometry();
    m_window->show();
    return IsWindow();
}

bool CPlcEditorDlg::IsWindow() const { return !m_window.isNull(); }

QWidget* CPlcEditorDlg::Window() const { return m_window.data(); }

void CPlcEditorDlg::DestroyWindow() {
    if (!m_window) return;
    if (m_timer) m_timer->stop();
    SaveGeometry();
    EditorWindow* window = m_window.data();
    m_window.clear();
    m_listMessages = nullptr;
    m_editSource = nullptr;
    m_toolBar = nullptr;
    m_statusBar = nullptr;
    m_timer = nullptr;
    m_recentAction = nullptr;
    m_liveTimer = nullptr;
    m_recentMenu = nullptr;
    m_recentEntries.clear();
    m_splitter = nullptr;
    m_bInitialised = false;
    m_actions.clear();
    window->hide();
    // The window may be destroyed from one of its own handlers (its close
    // box, a menu entry): it goes once control is back in the event loop.
    window->deleteLater();
}

void CPlcEditorDlg::BuildWindow(QWidget* parent) {
    m_window = new EditorWindow(parent, [this] { OnCancel(); });
    m_window->setObjectName("PlcEditor");
    m_window->setWindowTitle("Plc-Editor");
    BuildMenu();

    // Text above, message list below, with a handle the user can move.
    m_splitter = new QSplitter(Qt::Vertical, m_window);
    m_splitter->setObjectName("split");
    m_splitter->setChildrenCollapsible(false);
    m_editSource = new SourceEdit;
    m_editSource->setObjectName("source");
    m_listMessages = new MessageList;
    m_listMessages->setObjectName("messages");
    // The one place the window handles the edit control as a widget.
    QWidget* editWidget = m_editSource;
    m_splitter->addWidget(editWidget);
    m_splitter->addWidget(m_listMessages);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    m_window->setCentralWidget(m_splitter);
    editWidget->installEventFilter(this);

    connect(m_editSource, &SourceEdit::changed, this, &CPlcEditorDlg::OnChangeSource);
    connect(m_editSource, &SourceEdit::errSpace, this, &CPlcEditorDlg::OnErrSpaceSource);
    connect(m_editSource, &SourceEdit::maxText, this, &CPlcEditorDlg::OnMaxTextSource);
    connect(m_listMessages, &MessageList::entryDoubleClicked, this,
            &CPlcEditorDlg::OnDblclkMessages);
    SetupCodeView();
    editWidget->setFocus();
}

void CPlcEditorDlg::BuildMenu() {
    QMenuBar* bar = m_window->menuBar();
    std::map<int, QAction*>& actions = m_actions;
    actions.clear();
    std::map<MenuId, QMenu*> menus;
    std::function<QMenu*(MenuId)> menuOf = [&](MenuId id) -> QMenu* {
        if (auto it = menus.find(id); it != menus.end()) return it->second;
        QMenu* menu = id == MenuId::Recent ? menuOf(MenuId::File)->addMenu(MenuTitle(id))
                                           : bar->addMenu(MenuTitle(id));
        menus[id] = menu;
        return menu;
    };
    for (const EditorCommand& command : EditorCommands()) {
        if (command.menu == MenuId::Help && !menus.count(MenuId::Help)) {
            // "&Extras" stands grayed in the menu bar, without a menu.
            QAction* extras = bar->addAction("&Extras");
            extras->setEnabled(false);
            actions[ID_EXTRAS] = extras;
        }
        QMenu* menu = menuOf(command.menu);
        QAction* action = menu->addAction(QString::fromLatin1(command.text));
        action->setData(command.id);
        action->setEnabled(!command.grayed);
        action->setShortcuts(CommandShortcuts(command));
        if (command.checkable) {
            action->setCheckable(true);
            action->setChecked(command.id == ID_VIEW_LIVE_CHECK && m_bLiveCheck);
        }
        auto handler = command.handler;
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        actions[command.id] = action;
        if (command.id == ID_FILE_RECENT) {
            m_recentAction = action;
            m_recentMenu = menu;
            menuOf(MenuId::File)->addSeparator();
        }
        if (command.separatorAfter) menu->addSeparator();
    }
}

bool CPlcEditorDlg::eventFilter(QObject* watched, QEvent* event) {
    // The edit control claims the keys of its own bindings (Ctrl+Z, Ctrl+Y,
    // Ctrl+A, ...) before the window's shortcuts are looked at. A key that a
    // command of the window owns is handed back, so that it runs the command
    // with the command's own behaviour (Undo beeps when there is nothing to undo).
    if (watched == m_statusBar && event->type() == QEvent::Resize) {
        const QSize size = static_cast<QResizeEvent*>(event)->size();
        OnSize(size.width(), size.height());
    }
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        for (const auto& [id, action] : m_actions) {
            if (action->shortcuts().contains(pressed)) {
                event->ignore();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

QAction* CPlcEditorDlg::Action(int id) const {
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

bool CPlcEditorDlg::OnInitDialog() {
    m_window->setWindowIcon(m_hIcon);

    // The toolbar from the buttons of the command table.
    m_toolBar = new CPlcToolBar(m_window);
    std::vector<CPlcToolBar::Button> buttons;
    for (const EditorCommand& command : EditorCommands())
        if (command.toolbarSlot >= 0)
            buttons.push_back({Action(command.id), command.image, command.toolbarSlot});
    m_toolBar->Create(std::move(buttons));
    m_window->addToolBar(m_toolBar);

    // The status bar with its five parts; part 1 has no borders. The parts
    // keep their pixel rule whenever the bar changes its width.
    m_statusBar = new StatusBar;
    m_statusBar->setObjectName("statusbar");
    m_statusBar->setProperty("controlId", kStatusBarId);
    m_window->statusBar()->setSizeGripEnabled(false);
    m_window->statusBar()->addWidget(m_statusBar, 1);
    m_statusBar->installEventFilter(this);
    m_statusBar->SetParts({m_nStatusParts.begin(), m_nStatusParts.end()});
    m_statusBar->SetText(1, "", true);

    m_bModified = false;
    SetupRecentFile();
    // Device commands and Simulate start disabled.
    m_toolBar->EnableButton(ID_SAVE_IN_DEVICE, false);
    m_toolBar->EnableButton(ID_READ_FROM_DEVICE, false);
    m_toolBar->EnableButton(ID_SIMULATE, false);
    if (CreateEditorFont(*m_pFont)) m_editSource->SetEditorFont(*m_pFont);
    m_strFileName = kNoFileName;
    // Title and status line follow the document every 250 ms.
    m_timer = new QTimer(m_window);
    m_timer->setInterval(250);
    connect(m_timer, &QTimer::timeout, this, &CPlcEditorDlg::OnTimer);
    m_timer->start();
    m_bInitialised = true;
    return true;
}

void CPlcEditorDlg::OnSize(int cx, int cy) {
    const EditorLayout layout = ComputeEditorLayout(cx, cy, 0, 0, 0);
    m_nStatusParts = layout.statusParts;
    if (m_statusBar) m_statusBar->SetParts({m_nStatusParts.begin(), m_nStatusParts.end()});
}

void CPlcEditorDlg::RestoreGeometry() {
    const Profile settings;
    const QRect screen = m_window->screen() ? m_window->screen()->availableGeometry()
                                            : QRect(QPoint(0, 0), kFirstSize);
    // A remembered size that no longer fits the screen shrinks to it.
    QSize size(settings.GetInt(kWindowSection, "Width", kFirstSize.width()),
               settings.GetInt(kWindowSection, "Height", kFirstSize.height()));
    if (size.width() < 200 || size.height() < 150) size = kFirstSize;
    size = size.boundedTo(screen.size());
    m_window->resize(size);
    const int left = settings.GetInt(kWindowSection, "Left", INT32_MIN);
    const int top = settings.GetInt(kWindowSection, "Top", INT32_MIN);
    if (left != INT32_MIN && top != INT32_MIN) {
        const QRect frame(QPoint(left, top), size);
        if (screen.intersects(frame))
            m_window->move(std::clamp(left, screen.left(), std::max(screen.left(), screen.right() - size.width())),
                           std::clamp(top, screen.top(), std::max(screen.top(), screen.bottom() - size.height())));
    }
    // The split: as remembered, else 70 % text and 30 % list.
    const int text = settings.GetInt(kWindowSection, "SplitText", 0);
    const int list = settings.GetInt(kWindowSection, "SplitList", 0);
    if (text > 0 && list > 0) {
        m_splitter->setSizes({text, list});
    } else {
        const int height = std::max(size.height() - m_toolBar->sizeHint().height() -
                                        m_window->statusBar()->sizeHint().height() -
                                        m_window->menuBar()->sizeHint().height(),
                                    10);
        const EditorLayout layout = ComputeEditorLayout(size.width(), height, 0, 0, 0);
        m_splitter->setSizes({layout.editHeight, layout.listHeight});
    }
}

void CPlcEditorDlg::SaveGeometry() {
    if (!m_window || !m_bInitialised) return;
    Profile settings;
    // The position of the frame and the size inside it, as move and resize take them.
    const QPoint position = m_window->pos();
    const QSize size = m_window->size();
    std::vector<Profile::Entry> entries{{"Left", std::to_string(position.x())},
                                        {"Top", std::to_string(position.y())},
                                        {"Width", std::to_string(size.width())},
                                        {"Height", std::to_string(size.height())}};
    const QList<int> sizes = m_splitter->sizes();
    if (sizes.size() == 2 && sizes[0] > 0 && sizes[1] > 0) {
        entries.push_back({"SplitText", std::to_string(sizes[0])});
        entries.push_back({"SplitList", std::to_string(sizes[1])});
    }
    settings.WriteStrings(kWindowSection, entries);
}

void CPlcEditorDlg::EnableCommand(int id, bool enable) {
    if (QAction* action = Action(id)) action->setEnabled(enable);
    if (m_toolBar) m_toolBar->EnableButton(id, enable);
}

void CPlcEditorDlg::SetOnline() {
    EnableCommand(ID_SAVE_IN_DEVICE, true);
    EnableCommand(ID_READ_FROM_DEVICE, true);
    EnableCommand(ID_COMPARE_DEVICE, true);
}

void CPlcEditorDlg::SetOffline() {
    EnableCommand(ID_SAVE_IN_DEVICE, false);
    EnableCommand(ID_READ_FROM_DEVICE, false);
    EnableCommand(ID_COMPARE_DEVICE, false);
}

bool CPlcEditorDlg::OnCommand(int id) {
    const EditorCommand* command = FindCommand(id);
    if (!command || !IsWindow()) return false;
    if (QAction* action = Action(id); action && !action->isEnabled()) return false;
    (this->*command->handler)();
    return true;
}

// ---------------------------------------------------------------- edit commands

void CPlcEditorDlg::OnEditUndo() {
    if (!m_editSource) return;
    if (!m_editSource->Undo()) m_dialogs.Beep();
}

void CPlcEditorDlg::OnEditRedo() {
    if (!m_editSource) return;
    if (!m_editSource->Redo()) m_dialogs.Beep();
}

void CPlcEditorDlg::OnEditCut() {
    if (m_editSource) m_editSource->Cut();
}

void CPlcEditorDlg::OnEditCopy() {
    if (m_editSource) m_editSource->Copy();
}

void CPlcEditorDlg::OnEditPaste() {
    if (m_editSource) m_editSource->Paste();
}

void CPlcEditorDlg::OnEditSelectAll() {
    if (m_editSource) m_editSource->SelectAllText();
}

void CPlcEditorDlg::OnChangeSource() {
    m_bModified = true;
    ScheduleLiveCheck();
}

void CPlcEditorDlg::OnErrSpaceSource() {
    m_dialogs.Ask(Window(), LoadString(32905), MsgButtons::Ok, MsgIcon::None);
}

void CPlcEditorDlg::OnMaxTextSource() {
    m_dialogs.Ask(Window(), LoadString(32904), MsgButtons::Ok, MsgIcon::None);
}

void CPlcEditorDlg::OnFileExit() { OnCancel(); }

void CPlcEditorDlg::OnSimulate() {
    // Simulation is not part of this editor: the command stays grayed.
}

// ---------------------------------------------------------------- Help and Info

void CPlcEditorDlg::OnHelp() {
    const QString directory = HelpDirectory();
    if (directory.isEmpty()) {
        ShowError("The help pages are not installed (no index.html in $PLCEDIT_HELP_DIR, "
                  "../share/plcedit/help or help beside the programme).");
        return;
    }
    if (!m_help) m_help = new HelpWindow(m_window);
    m_help->ShowPage(directory, "index.html", QString::number(kHelpContext));
    m_help->show();
    m_help->raise();
}

void CPlcEditorDlg::OnInfo() {
    CInfoDlg dialog(Window());
    m_dialogs.Exec(dialog);
}

// ---------------------------------------------------------------- line access

bool CPlcEditorDlg::GetEditLine(int32_t index, std::string& text) const {
    text.clear();
    if (!m_editSource) return false;
    if (index < 0 || index >= m_editSource->GetLineCount()) return false;
    const int32_t n = m_editSource->LineLength(index);
    if (n < 0) return false;
    if (n == 0) return true;
    std::string line;
    if (!m_editSource->GetLine(index, line)) return false;
    text = std::move(line);
    return true;
}

void CPlcEditorDlg::GetSelectedText(std::string& text) const {
    text.clear();
    if (!m_editSource) return;
    int32_t s = 0, e = 0;
    m_editSource->GetSel(s, e);
    if (s >= e) return;
    const int32_t line = m_editSource->LineFromChar(s);
    if (line != m_editSource->LineFromChar(e)) return;
    std::string lineText;
    if (!GetEditLine(line, lineText)) return;
    const int32_t off = s - m_editSource->LineIndex(line);
    if (off < 0 || off + (e - s) > static_cast<int32_t>(lineText.size())) return;
    text = lineText.substr(static_cast<size_t>(off), static_cast<size_t>(e - s));
}

// ---------------------------------------------------------------- Check syntax

bool CPlcEditorDlg::CompileProgram() {
    if (!m_editSource) return false;
    if (m_editSource->GetTextLength() == 0) {
        if (m_dialogs.Ask(Window(), LoadString(kIdsNoProgramCreateBody), MsgButtons::YesNo,
                          MsgIcon::Question) == MsgAnswer::Yes) {
            const std::string caption = FileNameToBytes(m_window->windowTitle());
            m_editSource->SetText(ProgramSkeleton(CurrentLocalTime(), caption));
        }
        return false;
    }
    const CompileOutcome outcome = CompileProgramLines(
        m_program, m_editSource->GetLineCount(), false,
        [this](int32_t index, std::string& line) { return GetEditLine(index, line); });
    m_listMessages->Clear();
    m_listMessages->Append(outcome.entries);
    ShowErrorMarks(outcome);
    if (!outcome.success)
        m_dialogs.Ask(Window(), LoadString(kIdsSyntaxCheckFailed), MsgButtons::Ok, MsgIcon::Stop);
    return outcome.success;
}

void CPlcEditorDlg::OnCheckSyntax() { CompileProgram(); }

// ---------------------------------------------------------------- timer

std::string CPlcEditorDlg::ComposeTitle() const {
    return "PlcEdit [" + m_strFileName + (m_bModified ? "*]" : "]");
}

void CPlcEditorDlg::OnTimer() {
    if (!m_window || !m_statusBar) return;
    if (m_editSource && m_editSource->isVisible()) {
        int32_t s = 0, e = 0;
        m_editSource->GetSel(s, e);
        const int32_t line = m_editSource->LineFromChar(s);
        char number[32];
        std::snprintf(number, sizeof number, "%4" PRId32, line + 1);
        m_statusBar->SetText(kStatusLinePart, number);
        std::snprintf(number, sizeof number, "%3" PRId32, s - m_editSource->LineIndex(line) + 1);
        m_statusBar->SetText(kStatusColumnPart, number);
        m_statusBar->SetText(kStatusModifiedPart, m_bModified ? "*" : "");
        const QString title = FileNameToQString(ComposeTitle());
        if (m_window->windowTitle() != title) m_window->setWindowTitle(title);
    } else {
        m_statusBar->SetText(kStatusLinePart, "");
        m_statusBar->SetText(kStatusColumnPart, "");
        m_statusBar->SetText(kStatusModifiedPart, "");
    }
}

}  // namespace plc
