// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/PanelDock.h"

#include <QDockWidget>
#include <QEvent>
#include <QMainWindow>

#include "platform/Text.h"

namespace plc {

namespace {

class CloseWatcher : public QObject {
public:
    CloseWatcher(QDockWidget* dock, std::function<void()> onClosed) : QObject(dock), m_dock(dock), m_onClosed(std::move(onClosed)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_dock && event->type() == QEvent::Close)
            QMetaObject::invokeMethod(this, [this] {
                if (!m_dock->isVisible()) m_onClosed();
            }, Qt::QueuedConnection);
        return QObject::eventFilter(watched, event);
    }

private:
    QDockWidget* m_dock;
    std::function<void()> m_onClosed;
};

}  // namespace

QDockWidget* NewPanelDock(QMainWindow* window, const char* title, const char* objectName,
                          std::function<void()> onClosed) {
    auto* dock = new QDockWidget(ToQString(title), window);
    dock->setObjectName(objectName);
    dock->installEventFilter(new CloseWatcher(dock, std::move(onClosed)));
    return dock;
}

}  // namespace plc
