// SPDX-License-Identifier: GPL-3.0-or-later
// The editor window's toolbar: picture buttons for the editor's commands in
// seven groups, each showing the string of its command id as its tooltip.
// The editor's command table says which commands have a button, where and
// with which image; a button is the command's own action, so a click runs
// the same handler as the menu entry and the shortcut.
#pragma once

#include <QToolBar>
#include <map>
#include <string>
#include <vector>

namespace plc {

class CPlcToolBar : public QToolBar {
    Q_OBJECT
public:
    static constexpr int kFirstCommand = 32768;
    static constexpr int kButtonCount = 17;

    explicit CPlcToolBar(QWidget* parent = nullptr);

    // One button: the command's action (its data is the command id), the
    // image's index in the strip and the button's slot on the bar.
    struct Button {
        QAction* action;
        int image;
        int slot;
    };
    // Adds the buttons in slot order with their images, tooltips and the
    // separators between the groups.
    void Create(std::vector<Button> buttons);

    // The tooltip of a command id: its string, at most 79 characters; empty
    // for ids outside the buttons.
    static std::string OnNeedText(int id);

    // Whether a separator follows the button in `slot`.
    static bool SeparatorAfter(int slot);

    void EnableButton(int id, bool enable);
    bool IsButtonEnabled(int id) const;
    QAction* ButtonAction(int id) const;
    // The image of button `index`, cut from the strip.
    static QPixmap ButtonImage(int index);

private:
    std::map<int, QAction*> m_buttons;  // by command id
};

}  // namespace plc
