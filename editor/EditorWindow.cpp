// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorWindow.h"

#include <QCloseEvent>

namespace plc {

EditorWindow::EditorWindow(QWidget* parent, CloseHandler onClose)
    : QMainWindow(parent), m_onClose(std::move(onClose)) {}

void EditorWindow::closeEvent(QCloseEvent* event) {
    // The close box runs the editor's close sequence, which destroys the
    // window itself when the user lets it close.
    event->ignore();
    if (m_onClose) m_onClose();
}

}  // namespace plc
