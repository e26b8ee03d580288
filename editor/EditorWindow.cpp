#include "editor/EditorWindow.h"

#include <QCloseEvent>
#include <QResizeEvent>

namespace plc {

void EditorClientArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_onSize) m_onSize(event->size().width(), event->size().height());
}

EditorWindow::EditorWindow(QWidget* parent, CloseHandler onClose)
    : QMainWindow(parent), m_onClose(std::move(onClose)) {}

void EditorWindow::SetClient(EditorClientArea* client) {
    m_client = client;
    setCentralWidget(client);
}

void EditorWindow::closeEvent(QCloseEvent* event) {
    // The close box runs the editor's close sequence, which destroys the
    // window itself when the user lets it close.
    event->ignore();
    if (m_onClose) m_onClose();
}

}  // namespace plc
