// SPDX-License-Identifier: GPL-3.0-or-later
// The panels of the editor window (the flow graph, the dry run) stand in
// docks of the main window beside the text; the dock's close box closes the
// panel as its menu command does.
#pragma once

#include <functional>

class QDockWidget;
class QMainWindow;

namespace plc {

// A dock for a panel, not yet placed. Its close box runs `onClosed` once
// control is back in the event loop (the handler may delete the dock).
QDockWidget* NewPanelDock(QMainWindow* window, const char* title, const char* objectName,
                          std::function<void()> onClosed);

}  // namespace plc
