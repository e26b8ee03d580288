// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/TorvixPropPage.h"

#include <QFontMetrics>

#include "platform/Text.h"
#include "resources/StringTable.h"

namespace plc {

CTorvixPropPage::CTorvixPropPage(QWidget* parent) : QWidget(parent) {
    setObjectName("TorvixPropPage");
    setWindowTitle(ToQString(LoadString(kCaptionId)));
    setFixedSize(DialogUnitsToPixels(*this, kWidthDlu, kHeightDlu));
}

QSize CTorvixPropPage::DialogUnitsToPixels(const QWidget& widget, int widthDlu, int heightDlu) {
    const QFontMetrics metrics(widget.font());
    const int baseX = std::max(1, metrics.averageCharWidth());
    const int baseY = std::max(1, metrics.height());
    return QSize((widthDlu * baseX + 2) / 4, (heightDlu * baseY + 4) / 8);
}

}  // namespace plc
