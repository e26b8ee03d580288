// SPDX-License-Identifier: GPL-3.0-or-later
// The editor window as a window: its widgets (source editor above, message
// list below, with a handle between them), menu 202 and the toolbar built
// from the command table, the status bar, the window's size, place and
// split (WindowGeometry.h), the online state of the device commands, and
// the timer that keeps title and status line up to date.
//
// The window does not know the handlers of its commands: it is given the
// table and a runner that calls a row's handler. It reads the document's
// title and change flag. It exists from BuildWindow to DestroyWindow and
// puts its widgets into the editor's context meanwhile; while it is absent,
// the context's widget pointers are null.
#pragma once

#include <QObject>
#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>

#include "editor/EditorContext.h"

class QAction;
class QEvent;
class QLabel;
class QMenu;
class QSplitter;
class QTimer;

namespace plc {

class CPlcEditorDoc;
class CPlcToolBar;
class EditorWindow;
class ShareSplitter;
class StatusBar;
struct EditorCommand;

class EditorFrame : public QObject {
    Q_OBJECT
public:
    // Runs the handler of a command row.
    using CommandRunner = std::function<void(const EditorCommand&)>;

    // The window's widgets go into `context`; the title follows `document`.
    // `commands` is menu 202 in menu order; `onClose` runs when the user
    // closes the window by its close box.
    EditorFrame(EditorContext& context, const CPlcEditorDoc& document,
                std::span<const EditorCommand> commands, CommandRunner run, std::function<void()> onClose);
    ~EditorFrame() override;

    bool IsWindow() const;
    QWidget* Window() const;
    StatusBar* Status() const { return m_statusBar; }
    CPlcToolBar* ToolBar() const { return m_toolBar; }
    QSplitter* Splitter() const;
    QAction* Action(int id) const;
    // The "Recent file" sub-menu and its first entry.
    QMenu* RecentMenu() const { return m_recentMenu; }
    const std::array<int32_t, 5>& StatusParts() const { return m_nStatusParts; }
    bool IsInitialised() const { return m_bInitialised; }

    // The device commands (Save in device, Read from device, Compare with
    // device) follow the host's online state.
    void SetOnline();
    void SetOffline();
    // Simulate is grayed unless the host enables it; the choice stays with
    // the editor object, for every window it opens.
    void SetSimulation(bool enable);
    // Runs the handler of a command id, as a menu entry or a button does;
    // false when the id has no command or the command is disabled.
    bool OnCommand(int id);

    // Remembers the geometry and destroys the window without asking anything.
    void DestroyWindow();

    // The status bar changed its size: its parts follow the pixel rule.
    void OnSize(int cx, int cy);
    // Status line ("Ln 12", "Col 5", "Modified") and title.
    void OnTimer();
    // A note in the status bar's message part, until the next one.
    void ShowStatusMessage(const std::string& text);
    // The document's encoding and line ends at the right of the status bar.
    void ShowTextFormat();
    // The number of errors in the text, at the right of the status bar
    // ("No errors", "1 error", "3 errors"); -1 shows nothing.
    void ShowErrorCount(int32_t errors);
    std::string ErrorCountText() const;

    // The window with its menus and the two widgets of the split; false,
    // and nothing built, when the window is open already.
    bool BuildWindow(QWidget* parent);
    // Toolbar, status bar, the editor font and the title timer.
    bool OnInitDialog();
    // Size, place and split as the settings remember them.
    void RestoreGeometry();

protected:
    // Keys of the window's commands go to the commands, not to the edit
    // control's own key bindings.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenu();
    void EnableCommand(int id, bool enable);

    EditorContext& m_context;
    const CPlcEditorDoc& m_document;
    std::span<const EditorCommand> m_commands;
    CommandRunner m_run;
    std::function<void()> m_onClose;

    QPointer<EditorWindow> m_window;
    CPlcToolBar* m_toolBar = nullptr;
    StatusBar* m_statusBar = nullptr;
    QLabel* m_formatLabel = nullptr;
    QLabel* m_errorCount = nullptr;
    ShareSplitter* m_splitter = nullptr;
    QTimer* m_timer = nullptr;
    QMenu* m_recentMenu = nullptr;
    std::map<int, QAction*> m_actions;  // the window's commands by id
    bool m_bInitialised = false;
    bool m_simulation = false;
    std::array<int32_t, 5> m_nStatusParts{};
};

}  // namespace plc
