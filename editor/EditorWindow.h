// The top-level window of the editor: the menu bar above a client area in
// which the editor places toolbar, edit control, message list and status
// bar itself (the editor's layout rule works in client pixels). The window
// hands its size changes and its close box to the editor object.
#pragma once

#include <QMainWindow>
#include <functional>

namespace plc {

class EditorClientArea : public QWidget {
    Q_OBJECT
public:
    using SizeHandler = std::function<void(int cx, int cy)>;
    explicit EditorClientArea(QWidget* parent, SizeHandler onSize)
        : QWidget(parent), m_onSize(std::move(onSize)) {}
    void SetTemplateSize(QSize size) { m_templateSize = size; }
    QSize sizeHint() const override { return m_templateSize; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    SizeHandler m_onSize;
    QSize m_templateSize{465, 387};
};

class EditorWindow : public QMainWindow {
    Q_OBJECT
public:
    using CloseHandler = std::function<void()>;
    EditorWindow(QWidget* parent, CloseHandler onClose);
    EditorClientArea* Client() const { return m_client; }
    void SetClient(EditorClientArea* client);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CloseHandler m_onClose;
    EditorClientArea* m_client = nullptr;
};

}  // namespace plc
