// The editor window's toolbar: 17 picture buttons for the editor's
// commands 32768 to 32784 in seven groups, each showing the string of its
// command id as its tooltip. A button is the command's own action, so a
// click runs the same handler as the menu entry.
#pragma once

#include <QToolBar>
#include <functional>
#include <string>

namespace plc {

class CPlcToolBar : public QToolBar {
    Q_OBJECT
public:
    static constexpr int kFirstCommand = 32768;
    static constexpr int kButtonCount = 17;

    explicit CPlcToolBar(QWidget* parent = nullptr);

    // Adds the 17 buttons with their images and separators; `actionFor`
    // gives the action of a command id.
    void Create(const std::function<QAction*(int id)>& actionFor);

    // The tooltip of a command id: its string, at most 79 characters; empty
    // for ids outside the buttons.
    static std::string OnNeedText(int id);

    // Whether a separator follows button `index`.
    static bool SeparatorAfter(int index);

    void EnableButton(int id, bool enable);
    bool IsButtonEnabled(int id) const;
    QAction* ButtonAction(int id) const;
    // Height of one button in pixels.
    int ButtonHeight() const;
    // The image of button `index`, cut from the strip.
    static QPixmap ButtonImage(int index);

private:
    QAction* m_buttons[kButtonCount] = {};
};

}  // namespace plc
