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
#include <QKeyEvent>
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

// Template 201 in dialog units.
constexpr int kTemplateWidth = 310, kTemplateHeight = 238;
struct TemplateControl {
    int x, y, cx, cy;
};
constexpr TemplateControl kEditTemplate{0, 18, 310, 140};
constexpr TemplateControl kListTemplate{0, 160, 310, 67};

constexpr int kStatusBarId = 32864;
constexpr int kStatusLinePart = 4;

QRect TemplateRect(const TemplateControl& c) {
    return QRect(DialogUnitsToPixelsX(c.x), DialogUnitsToPixelsY(c.y), DialogUnitsToPixelsX(c.cx),
                 DialogUnitsToPixelsY(c.cy));
}

// The folder of the help pages: $PLCEDIT_HELP_DIR, else beside the
// programme, else where the sources keep them.
QString HelpDirectory() {
    QStringList candidates;
    if (const char* dir = std::getenv("PLCEDIT_HELP_DIR"); dir && *dir) candidates << dir;
    const QString appDir = QCoreApplication::applicationDirPath();
    candidates << appDir + "/help" << appDir + "/../share/plcedit/help"
               << QStringLiteral(PLCEDIT_HELP_SOURCE_DIR);
    for (const QString& dir : candidates)
        if (QFileInfo::exists(dir + "/index.html")) return QDir(dir).absolutePath();
    return QStringLiteral(PLCEDIT_HELP_SOURCE_DIR);
}

}  // namespace

int DialogUnitsToPixelsX(int units) { return (units * 6 + 2) / 4; }
int DialogUnitsToPixelsY(int units) { return (units * 13 + 4) / 8; }

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
    DestroyWindow();
}

// ---------------------------------------------------------------- window

bool CPlcEditorDlg::Create(QWidget* parent) {
    m_bInitialised = 0;
    if (IsWindow()) return true;
    BuildWindow(parent);
    if (!OnInitDialog()) {
        DestroyWindow();
        return false;
    }
    m_window->resize(m_window->sizeHint());
    m_window->show();
    return IsWindow();
}

bool CPlcEditorDlg::IsWindow() const { return !m_window.isNull(); }

QWidget* CPlcEditorDlg::Window() const { return m_window.data(); }

QWidget* CPlcEditorDlg::ClientArea() const { return m_window ? m_window->Client() : nullptr; }

void CPlcEditorDlg::DestroyWindow() {
    if (!m_window) return;
    if (m_timer) m_timer->stop();
    EditorWindow* window = m_window.data();
    m_window.clear();
    m_listMessages = nullptr;
    m_editSource = nullptr;
    m_toolBar = nullptr;
    m_statusBar = nullptr;
    m_timer = nullptr;
    m_recentAction = nullptr;
    m_bInitialised = 0;
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
    auto* client = new EditorClientArea(m_window, [this](int cx, int cy) { OnSize(cx, cy); });
    client->SetTemplateSize(
        QSize(DialogUnitsToPixelsX(kTemplateWidth), DialogUnitsToPixelsY(kTemplateHeight)));
    m_window->SetClient(client);
    BuildMenu();

    m_editSource = new SourceEdit(client);
    m_editSource->setObjectName("source");
    m_editSource->setGeometry(TemplateRect(kEditTemplate));
    m_listMessages = new MessageList(client);
    m_listMessages->setObjectName("messages");
    m_listMessages->setGeometry(TemplateRect(kListTemplate));

    connect(m_editSource, &SourceEdit::changed, this, &CPlcEditorDlg::OnChangeSource);
    connect(m_editSource, &SourceEdit::errSpace, this, &CPlcEditorDlg::OnErrSpaceSource);
    connect(m_editSource, &SourceEdit::maxText, this, &CPlcEditorDlg::OnMaxTextSource);
    connect(m_listMessages, &MessageList::entryDoubleClicked, this,
            &CPlcEditorDlg::OnDblclkMessages);
    static_cast<QWidget*>(m_editSource)->installEventFilter(this);
    m_editSource->setFocus();
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
        auto handler = command.handler;
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        actions[command.id] = action;
        if (command.id == ID_FILE_RECENT) {
            m_recentAction = action;
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
    // 1. Icons.
    m_window->setWindowIcon(m_hIcon);
    QWidget* client = ClientArea();
    auto* area = static_cast<EditorClientArea*>(client);
    const QSize templateSize = area->sizeHint();

    // 2. The toolbar at the top edge, sized by itself.
    m_toolBar = new CPlcToolBar(client);
    std::vector<CPlcToolBar::Button> buttons;
    for (const EditorCommand& command : EditorCommands())
        if (command.toolbarSlot >= 0)
            buttons.push_back({Action(command.id), command.image, command.toolbarSlot});
    m_toolBar->Create(std::move(buttons));
    m_toolBar->setGeometry(0, 0, m_toolBar->sizeHint().width(), m_toolBar->sizeHint().height());

    // 3. The status bar below the template's controls with its five parts;
    // part 1 has no borders.
    m_statusBar = new StatusBar(client);
    m_statusBar->setObjectName("statusbar");
    m_statusBar->setProperty("controlId", kStatusBarId);
    const int statusHeight = m_statusBar->sizeHint().height();
    // The window is at least as wide as the toolbar, so that every button
    // shows at the first size whatever the style's button size.
    const QRect windowRect(0, 0, std::max(templateSize.width(), m_toolBar->sizeHint().width()),
                           templateSize.height() + statusHeight);
    area->SetTemplateSize(windowRect.size());
    m_statusBar->setGeometry(0, windowRect.height() - statusHeight, windowRect.width(),
                             statusHeight);
    m_statusBar->SetParts({m_nStatusParts.begin(), m_nStatusParts.end()});
    m_statusBar->SetText(1, "", true);

    // 4. The margins as the template laid the controls out. The status bar
    // stands where the bottom frame of a window with a template would be, so
    // the space below the list includes it.
    const QRect e = m_editSource->geometry();
    const QRect l = m_listMessages->geometry();
    m_nBottomMargin = windowRect.y() + windowRect.height() - (l.y() + l.height());
    m_nGap = l.y() - (e.y() + e.height());
    m_nTopOffset = m_toolBar->ButtonHeight() + 2 * m_nGap;

    // 5.
    m_bModified = 0;
    // 6.
    SetupRecentFile();
    // 7. Device commands and Simulate start disabled.
    m_toolBar->EnableButton(ID_SAVE_IN_DEVICE, false);
    m_toolBar->EnableButton(ID_READ_FROM_DEVICE, false);
    m_toolBar->EnableButton(ID_SIMULATE, false);
    // 8. The editor font from the settings.
    if (CreateEditorFont(*m_pFont)) m_editSource->SetEditorFont(*m_pFont);
    // 9.
    m_strFileName = kNoFileName;
    // 10. Title and status line follow the document every 250 ms.
    m_timer = new QTimer(m_window);
    m_timer->setInterval(250);
    connect(m_timer, &QTimer::timeout, this, &CPlcEditorDlg::OnTimer);
    m_timer->start();
    // 11.
    m_bInitialised = 1;
    return true;
}

void CPlcEditorDlg::OnSize(int cx, int cy) {
    const EditorLayout layout = ComputeEditorLayout(cx, cy, m_nTopOffset, m_nGap, m_nBottomMargin);
    m_nStatusParts = layout.statusParts;
    if (!m_bInitialised) return;
    m_toolBar->setGeometry(0, 0, cx, m_toolBar->sizeHint().height());
    const int statusHeight = m_statusBar->sizeHint().height();
    m_statusBar->setGeometry(0, cy - statusHeight, cx, statusHeight);
    m_statusBar->SetParts({m_nStatusParts.begin(), m_nStatusParts.end()});
    m_editSource->setGeometry(0, layout.editTop, std::max(0, cx), std::max(0, layout.editHeight));
    m_listMessages->setGeometry(0, layout.listTop, std::max(0, cx),
                                std::max(0, layout.listHeight));
}

void CPlcEditorDlg::EnableCommand(int id, bool enable) {
    if (QAction* action = Action(id)) action->setEnabled(enable);
    if (m_toolBar) m_toolBar->EnableButton(id, enable);
}

void CPlcEditorDlg::SetOnline() {
    EnableCommand(ID_SAVE_IN_DEVICE, true);
    EnableCommand(ID_READ_FROM_DEVICE, true);
}

void CPlcEditorDlg::SetOffline() {
    EnableCommand(ID_SAVE_IN_DEVICE, false);
    EnableCommand(ID_READ_FROM_DEVICE, false);
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

void CPlcEditorDlg::OnChangeSource() { m_bModified = 1; }

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
    QUrl url = QUrl::fromLocalFile(HelpDirectory() + "/index.html");
    url.setFragment(QString::number(kHelpContext));
    m_dialogs.OpenHelp(url);
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
    for (const std::string& entry : outcome.entries) m_listMessages->Append(entry);
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
        char number[32];
        std::snprintf(number, sizeof number, "%4" PRId32, m_editSource->LineFromChar(s) + 1);
        m_statusBar->SetText(kStatusLinePart, number);
        const QString title = FileNameToQString(ComposeTitle());
        if (m_window->windowTitle() != title) m_window->setWindowTitle(title);
    } else {
        m_statusBar->SetText(kStatusLinePart, "");
    }
}

}  // namespace plc
