// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorFrame.h"

#include <QAction>
#include <QFont>
#include <QIcon>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QResizeEvent>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "base/TextFormat.h"
#include "dialogs/PageSettings.h"
#include "dialogs/PlcToolBar.h"
#include "editor/EditorCommands.h"
#include "editor/EditorWindow.h"
#include "editor/PlcEditorDoc.h"
#include "editor/WindowGeometry.h"
#include "platform/MessageList.h"
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

}  // namespace

EditorFrame::EditorFrame(EditorContext& context, const CPlcEditorDoc& document,
                         std::span<const EditorCommand> commands, CommandRunner run, std::function<void()> onClose)
    : m_context(context),
      m_document(document),
      m_commands(commands),
      m_run(std::move(run)),
      m_onClose(std::move(onClose)) {}

EditorFrame::~EditorFrame() = default;

bool EditorFrame::IsWindow() const { return !m_window.isNull(); }

QWidget* EditorFrame::Window() const { return m_window.data(); }

QSplitter* EditorFrame::Splitter() const { return m_splitter; }

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
    m_context.window = m_window.data();
    m_context.edit = edit;
    m_context.messages = messages;
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
        QAction* action = menu->addAction(ToQString(command.text));
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
    // Right of the parts: the file's encoding and line ends.
    m_formatLabel = new QLabel;
    m_formatLabel->setObjectName("textformat");
    m_formatLabel->setContentsMargins(6, 0, 8, 0);
    m_window->statusBar()->addPermanentWidget(m_formatLabel);
    // The error count of the text, beside the parts.
    m_errorCount = new QLabel;
    m_errorCount->setObjectName("errorCount");
    // One width for every count, so that the parts do not move with it.
    m_errorCount->setContentsMargins(6, 0, 8, 0);
    m_errorCount->setMinimumWidth(m_errorCount->fontMetrics().horizontalAdvance("999 errors") + 14);
    m_window->statusBar()->addPermanentWidget(m_errorCount);

    // Device commands start disabled; Simulate as the host chose.
    m_toolBar->EnableButton(ID_SAVE_IN_DEVICE, false);
    m_toolBar->EnableButton(ID_READ_FROM_DEVICE, false);
    EnableCommand(ID_SIMULATE, m_simulation);
    QFont font;
    if (CreateEditorFont(font)) m_context.edit->SetEditorFont(font);
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
    if (m_bInitialised) SaveWindowGeometry(*m_window, *m_splitter);
    EditorWindow* window = m_window.data();
    m_window.clear();
    m_context.window = nullptr;
    m_context.edit = nullptr;
    m_context.messages = nullptr;
    m_toolBar = nullptr;
    m_statusBar = nullptr;
    m_formatLabel = nullptr;
    m_errorCount = nullptr;
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
    const int chrome = m_toolBar->sizeHint().height() + m_window->statusBar()->sizeHint().height() +
                       m_window->menuBar()->sizeHint().height();
    RestoreWindowGeometry(*m_window, *m_splitter, chrome);
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

void EditorFrame::ShowTextFormat() {
    const QString format = ToQString(m_document.FormatText());
    if (!m_formatLabel || m_formatLabel->text() == format) return;
    m_formatLabel->setText(format);
    const std::string ends = LineEndName(m_document.LineEnds());
    m_formatLabel->setToolTip(ToQString(
        std::string(m_document.Encoding() == TextEncoding::Utf8
                        ? "The text is saved as UTF-8."
                        : "The file is Windows-1252 (a legacy file) and is saved so; File > Save with encoding "
                          "converts it.") +
        (m_document.MixedLineEnds() ? "\nThe file mixes line ends; Save writes " + ends + " throughout, the most "
                                      "frequent of them."
                                    : "\nLines end in " + ends + ".")));
}

void EditorFrame::ShowErrorCount(int32_t errors) {
    if (!m_errorCount) return;
    const QString text = errors < 0    ? QString()
                         : errors == 0 ? QStringLiteral("No errors")
                         : errors == 1 ? QStringLiteral("1 error")
                                       : QStringLiteral("%1 errors").arg(errors);
    if (m_errorCount->text() != text) m_errorCount->setText(text);
}

std::string EditorFrame::ErrorCountText() const { return m_errorCount ? ToBytes(m_errorCount->text()) : std::string(); }

void EditorFrame::OnTimer() {
    if (!m_window || !m_statusBar) return;
    SourceEdit* edit = m_context.edit;
    if (edit && edit->isVisible()) {
        int32_t s = 0, e = 0;
        edit->GetSel(s, e);
        const int32_t line = edit->LineFromChar(s);
        m_statusBar->SetText(kStatusLinePart, "Ln " + std::to_string(line + 1));
        // The column in characters: one outside ASCII takes several bytes.
        std::string text;
        edit->GetLine(line, text);
        const auto before = std::string_view(text).substr(0, static_cast<size_t>(std::max(0, s - edit->LineIndex(line))));
        m_statusBar->SetText(kStatusColumnPart, "Col " + std::to_string(CharacterCount(before) + 1));
        m_statusBar->SetText(kStatusModifiedPart, m_document.IsModified() ? "Modified" : "");
        const QString title = FileNameToQString(m_document.ComposeTitle());
        if (m_window->windowTitle() != title) m_window->setWindowTitle(title);
        ShowTextFormat();
    } else {
        m_statusBar->SetText(kStatusLinePart, "");
        m_statusBar->SetText(kStatusColumnPart, "");
        m_statusBar->SetText(kStatusModifiedPart, "");
    }
}

}  // namespace plc
