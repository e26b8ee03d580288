// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorFrame.h"

#include <QAction>
#include <QFont>
#include <QIcon>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QResizeEvent>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <cinttypes>
#include <climits>
#include <cstdio>
#include <vector>

#include "dialogs/PageSettings.h"
#include "dialogs/PlcToolBar.h"
#include "editor/EditorCommands.h"
#include "editor/EditorWindow.h"
#include "platform/MessageList.h"
#include "platform/Profile.h"
#include "platform/SourceEdit.h"
#include "platform/StatusBar.h"
#include "platform/Text.h"
#include "resources/icons/editor.xpm"

namespace plc {

namespace {

constexpr int kStatusBarId = 32864;
constexpr int kStatusMessagePart = 1;
constexpr int kStatusModifiedPart = 2;
constexpr int kStatusLinePart = 3;
constexpr int kStatusColumnPart = 4;
// The share of the split that the message list takes at first.
constexpr double kFirstListShare = 0.3;

// The split of text and message list. On a resize each side keeps its
// share of the height, not its pixels: a window made small and large again
// looks as it did. Moving the handle sets the share.
class ShareSplitter : public QSplitter {
public:
    explicit ShareSplitter(QWidget* parent) : QSplitter(Qt::Vertical, parent) {
        connect(this, &QSplitter::splitterMoved, this, [this] {
            const QList<int> parts = sizes();
            const int total = parts.value(0) + parts.value(1);
            if (total > 0) m_listShare = static_cast<double>(parts.value(1)) / total;
        });
    }

    // Sets the two heights and, from them, the share the split keeps.
    void SetShares(int text, int list) {
        if (text + list > 0) m_listShare = static_cast<double>(list) / (text + list);
        setSizes({text, list});
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QSplitter::resizeEvent(event);
        const QList<int> parts = sizes();
        const int total = parts.value(0) + parts.value(1);
        if (parts.size() != 2 || total <= 0) return;
        const int list = static_cast<int>(total * m_listShare + 0.5);
        setSizes({total - list, list});
    }

private:
    double m_listShare = kFirstListShare;
};

// The window's first size when the settings remember none.
constexpr QSize kFirstSize(900, 700);
constexpr const char* kWindowSection = "Window";

}  // namespace

EditorLayout ComputeEditorLayout(int32_t cx, int32_t cy, int32_t topOffset, int32_t gap,
                                 int32_t bottomMargin) {
    EditorLayout layout{};
    // The message, then "Modified", "Ln 254" and "Col 123" at the right edge.
    layout.statusParts = {0, std::max(0, cx - 230), std::max(0, cx - 150), std::max(0, cx - 75), cx};
    const int32_t avail = cy - bottomMargin - topOffset - gap;
    const int32_t h = static_cast<int32_t>(avail * 0.7);
    layout.editTop = topOffset;
    layout.editHeight = h;
    layout.listTop = topOffset + h + gap;
    layout.listHeight = avail - h + gap;
    return layout;
}

EditorFrame::EditorFrame(std::span<const EditorCommand> commands, CommandRunner run,
                         std::function<void()> onClose)
    : m_commands(commands), m_run(std::move(run)), m_onClose(std::move(onClose)) {}

EditorFrame::~EditorFrame() = default;

bool EditorFrame::IsWindow() const { return !m_window.isNull(); }

QWidget* EditorFrame::Window() const { return m_window.data(); }

QAction* EditorFrame::Action(int id) const {
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

// ---------------------------------------------------------------- building

bool EditorFrame::BuildWindow(QWidget* parent) {
    m_bInitialised = false;
    if (IsWindow()) return false;
    m_window = new EditorWindow(parent, [this] { m_onClose(); });
    m_window->setObjectName("PlcEditor");
    m_window->setWindowTitle("Plc-Editor");
    BuildMenu();

    // Text above, message list below, with a handle the user can move.
    m_splitter = new ShareSplitter(m_window);
    m_splitter->setObjectName("split");
    m_splitter->setChildrenCollapsible(false);
    auto* edit = new SourceEdit;
    edit->setObjectName("source");
    auto* messages = new MessageList;
    messages->setObjectName("messages");
    // The one place the window handles the edit control as a widget.
    QWidget* editWidget = edit;
    m_splitter->addWidget(editWidget);
    m_splitter->addWidget(messages);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    m_window->setCentralWidget(m_splitter);
    editWidget->installEventFilter(this);
    editWidget->setFocus();
    m_widgets = {m_window.data(), edit, messages};
    return true;
}

void EditorFrame::BuildMenu() {
    QMenuBar* bar = m_window->menuBar();
    m_actions.clear();
    std::map<MenuId, QMenu*> menus;
    std::function<QMenu*(MenuId)> menuOf = [&](MenuId id) -> QMenu* {
        if (auto it = menus.find(id); it != menus.end()) return it->second;
        QMenu* menu = id == MenuId::Recent ? menuOf(MenuId::File)->addMenu(MenuTitle(id))
                                           : bar->addMenu(MenuTitle(id));
        menus[id] = menu;
        return menu;
    };
    for (const EditorCommand& command : m_commands) {
        if (command.menu == MenuId::Help && !menus.count(MenuId::Help)) {
            // "&Extras" stands grayed in the menu bar, without a menu.
            QAction* extras = bar->addAction("&Extras");
            extras->setEnabled(false);
            m_actions[ID_EXTRAS] = extras;
        }
        QMenu* menu = menuOf(command.menu);
        QAction* action = menu->addAction(QString::fromLatin1(command.text));
        action->setData(command.id);
        action->setEnabled(!command.grayed);
        action->setShortcuts(CommandShortcuts(command));
        action->setCheckable(command.checkable);
        connect(action, &QAction::triggered, this, [this, &command] { m_run(command); });
        m_actions[command.id] = action;
        if (command.id == ID_FILE_RECENT) {
            m_recentMenu = menu;
            menuOf(MenuId::File)->addSeparator();
        }
        if (command.separatorAfter) menu->addSeparator();
    }
}

bool EditorFrame::OnInitDialog() {
    m_window->setWindowIcon(QIcon(QPixmap(editor_xpm)));

    // The toolbar from the buttons of the command table.
    m_toolBar = new CPlcToolBar(m_window);
    std::vector<CPlcToolBar::Button> buttons;
    for (const EditorCommand& command : m_commands)
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
    m_statusBar->SetText(kStatusMessagePart, "", true);

    // Device commands start disabled; Simulate as the host chose.
    m_toolBar->EnableButton(ID_SAVE_IN_DEVICE, false);
    m_toolBar->EnableButton(ID_READ_FROM_DEVICE, false);
    EnableCommand(ID_SIMULATE, m_simulation);
    QFont font;
    if (CreateEditorFont(font)) m_widgets.edit->SetEditorFont(font);
    // Title and status line follow the document every 250 ms.
    m_timer = new QTimer(m_window);
    m_timer->setInterval(250);
    connect(m_timer, &QTimer::timeout, this, &EditorFrame::OnTimer);
    m_timer->start();
    m_bInitialised = true;
    return true;
}

void EditorFrame::DestroyWindow() {
    if (!m_window) return;
    if (m_timer) m_timer->stop();
    SaveGeometry();
    EditorWindow* window = m_window.data();
    m_window.clear();
    m_widgets = {};
    m_toolBar = nullptr;
    m_statusBar = nullptr;
    m_timer = nullptr;
    m_recentMenu = nullptr;
    m_splitter = nullptr;
    m_bInitialised = false;
    m_actions.clear();
    window->hide();
    // The window may be destroyed from one of its own handlers (its close
    // box, a menu entry): it goes once control is back in the event loop.
    window->deleteLater();
}

bool EditorFrame::eventFilter(QObject* watched, QEvent* event) {
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

// ---------------------------------------------------------------- layout and geometry

void EditorFrame::OnSize(int cx, int cy) {
    const EditorLayout layout = ComputeEditorLayout(cx, cy, 0, 0, 0);
    m_nStatusParts = layout.statusParts;
    if (m_statusBar) m_statusBar->SetParts({m_nStatusParts.begin(), m_nStatusParts.end()});
}

void EditorFrame::RestoreGeometry() {
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
        static_cast<ShareSplitter*>(m_splitter)->SetShares(text, list);
    } else {
        const int height = std::max(size.height() - m_toolBar->sizeHint().height() -
                                        m_window->statusBar()->sizeHint().height() -
                                        m_window->menuBar()->sizeHint().height(),
                                    10);
        const EditorLayout layout = ComputeEditorLayout(size.width(), height, 0, 0, 0);
        static_cast<ShareSplitter*>(m_splitter)->SetShares(layout.editHeight, layout.listHeight);
    }
}

void EditorFrame::SaveGeometry() {
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

// ---------------------------------------------------------------- commands

void EditorFrame::EnableCommand(int id, bool enable) {
    if (QAction* action = Action(id)) action->setEnabled(enable);
    if (m_toolBar) m_toolBar->EnableButton(id, enable);
}

void EditorFrame::SetOnline() {
    EnableCommand(ID_SAVE_IN_DEVICE, true);
    EnableCommand(ID_READ_FROM_DEVICE, true);
    EnableCommand(ID_COMPARE_DEVICE, true);
}

void EditorFrame::SetOffline() {
    EnableCommand(ID_SAVE_IN_DEVICE, false);
    EnableCommand(ID_READ_FROM_DEVICE, false);
    EnableCommand(ID_COMPARE_DEVICE, false);
}

void EditorFrame::SetSimulation(bool enable) {
    m_simulation = enable;
    EnableCommand(ID_SIMULATE, enable);
}

bool EditorFrame::OnCommand(int id) {
    if (!IsWindow()) return false;
    auto command = std::find_if(m_commands.begin(), m_commands.end(),
                                [id](const EditorCommand& c) { return c.id == id; });
    if (command == m_commands.end()) return false;
    if (QAction* action = Action(id); action && !action->isEnabled()) return false;
    m_run(*command);
    return true;
}

// ---------------------------------------------------------------- timer

void EditorFrame::ShowStatusMessage(const std::string& text) {
    if (m_statusBar) m_statusBar->SetText(kStatusMessagePart, text, true);
}

void EditorFrame::OnTimer() {
    if (!m_window || !m_statusBar) return;
    SourceEdit* edit = m_widgets.edit;
    if (edit && edit->isVisible()) {
        int32_t s = 0, e = 0;
        edit->GetSel(s, e);
        const int32_t line = edit->LineFromChar(s);
        m_statusBar->SetText(kStatusLinePart, "Ln " + std::to_string(line + 1));
        m_statusBar->SetText(kStatusColumnPart, "Col " + std::to_string(s - edit->LineIndex(line) + 1));
        m_statusBar->SetText(kStatusModifiedPart, DocumentModified() ? "Modified" : "");
        const QString title = FileNameToQString(DocumentTitle());
        if (m_window->windowTitle() != title) m_window->setWindowTitle(title);
    } else {
        m_statusBar->SetText(kStatusLinePart, "");
        m_statusBar->SetText(kStatusColumnPart, "");
        m_statusBar->SetText(kStatusModifiedPart, "");
    }
}

}  // namespace plc
