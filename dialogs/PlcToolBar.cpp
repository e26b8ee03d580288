// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/PlcToolBar.h"

#include <QAction>
#include <QPixmap>
#include <QToolButton>
#include <algorithm>

#include "platform/Text.h"
#include "resources/StringTable.h"
#include "resources/icons/toolbar.xpm"

namespace plc {

namespace {

constexpr int kImageWidth = 16;
constexpr int kImageHeight = 15;

}  // namespace

CPlcToolBar::CPlcToolBar(QWidget* parent) : QToolBar(parent) {
    setObjectName("toolbar");
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(kImageWidth, kImageHeight));
    setContentsMargins(0, 0, 0, 0);
    // A flat bar with little padding: the text below starts one button
    // height and two gaps from the top, so the bar must not be taller.
    setStyleSheet("QToolBar { border: none; padding: 1px; spacing: 0px; }");
    setToolButtonStyle(Qt::ToolButtonIconOnly);
}

bool CPlcToolBar::SeparatorAfter(int slot) {
    switch (slot) {
        case 2: case 5: case 7: case 8: case 9: case 12: case 14: return true;
        default: return false;
    }
}

QPixmap CPlcToolBar::ButtonImage(int index) {
    static const QPixmap strip(toolbar_xpm);
    return strip.copy(index * kImageWidth, 0, kImageWidth, kImageHeight);
}

std::string CPlcToolBar::OnNeedText(int id) {
    if (id < kFirstCommand || id >= kFirstCommand + kButtonCount) return {};
    std::string text = LoadString(static_cast<uint32_t>(id));
    if (text.size() > 79) text.resize(79);
    return text;
}

void CPlcToolBar::Create(std::vector<Button> buttons) {
    std::stable_sort(buttons.begin(), buttons.end(),
                     [](const Button& a, const Button& b) { return a.slot < b.slot; });
    for (const Button& button : buttons) {
        QAction* action = button.action;
        if (!action) continue;
        const int id = action->data().toInt();
        m_buttons[id] = action;
        if (button.image >= 0) action->setIcon(QIcon(ButtonImage(button.image)));
        action->setIconVisibleInMenu(false);
        if (const std::string tip = OnNeedText(id); !tip.empty()) action->setToolTip(ToQString(tip));
        addAction(action);
        if (SeparatorAfter(button.slot)) addSeparator();
    }
}

QAction* CPlcToolBar::ButtonAction(int id) const {
    auto it = m_buttons.find(id);
    return it == m_buttons.end() ? nullptr : it->second;
}

void CPlcToolBar::EnableButton(int id, bool enable) {
    if (QAction* action = ButtonAction(id)) action->setEnabled(enable);
}

bool CPlcToolBar::IsButtonEnabled(int id) const {
    QAction* action = ButtonAction(id);
    return action && action->isEnabled();
}

}  // namespace plc
