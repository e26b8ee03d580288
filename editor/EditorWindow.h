// SPDX-License-Identifier: GPL-3.0-or-later
// The top-level window of the editor: a main window whose menu bar,
// toolbar, central splitter and status bar the window part of the editor
// object (EditorFrame) fills in; Qt lays them out. The window hands its
// close box to the editor object.
#pragma once

#include <QMainWindow>
#include <functional>

namespace plc {

class EditorWindow : public QMainWindow {
    Q_OBJECT
public:
    using CloseHandler = std::function<void()>;
    EditorWindow(QWidget* parent, CloseHandler onClose);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CloseHandler m_onClose;
};

}  // namespace plc
