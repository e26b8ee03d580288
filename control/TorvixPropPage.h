// SPDX-License-Identifier: GPL-3.0-or-later
// The control's property page "General": an empty page, since the control
// has no properties to edit.
#pragma once

#include <QWidget>

namespace plc {

class CTorvixPropPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCaptionId = 200;
    // The page's size in dialog units: a quarter of the average character
    // width across, an eighth of the character height down.
    static constexpr int kWidthDlu = 250;
    static constexpr int kHeightDlu = 62;
    static constexpr const char* kDocString = "Names to appear in the control";
    static constexpr const char* kHelpFile = "TORVIX.HLP";
    static constexpr uint32_t kHelpContext = 0;

    explicit CTorvixPropPage(QWidget* parent = nullptr);

    // The size in pixels of `widthDlu` x `heightDlu` dialog units in the
    // font of `widget`.
    static QSize DialogUnitsToPixels(const QWidget& widget, int widthDlu, int heightDlu);
};

}  // namespace plc
