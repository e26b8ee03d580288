#include "dialogs/PlcToolBar.h"

#include <QAction>
#include <QPixmap>
#include <QToolButton>

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

bool CPlcToolBar::SeparatorAfter(int index) {
    switch (index) {
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

void CPlcToolBar::Create(const std::function<QAction*(int id)>& actionFor) {
    for (int i = 0; i < kButtonCount; ++i) {
        const int id = kFirstCommand + i;
        QAction* action = actionFor(id);
        if (!action) continue;
        m_buttons[i] = action;
        action->setIcon(QIcon(ButtonImage(i)));
        action->setIconVisibleInMenu(false);
        action->setToolTip(ToQString(OnNeedText(id)));
        addAction(action);
        if (SeparatorAfter(i)) addSeparator();
    }
}

QAction* CPlcToolBar::ButtonAction(int id) const {
    const int i = id - kFirstCommand;
    return (i >= 0 && i < kButtonCount) ? m_buttons[i] : nullptr;
}

void CPlcToolBar::EnableButton(int id, bool enable) {
    if (QAction* action = ButtonAction(id)) action->setEnabled(enable);
}

bool CPlcToolBar::IsButtonEnabled(int id) const {
    QAction* action = ButtonAction(id);
    return action && action->isEnabled();
}

int CPlcToolBar::ButtonHeight() const {
    for (QAction* action : m_buttons)
        if (QWidget* button = action ? widgetForAction(action) : nullptr)
            return button->sizeHint().height();
    return kImageHeight + 7;
}

}  // namespace plc
