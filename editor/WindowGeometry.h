// SPDX-License-Identifier: GPL-3.0-or-later
// The editor window's size, place and split: the split of text and message
// list that keeps each side's share of the height, the pixel rule of the
// status bar's parts, and the geometry remembered in the settings file
// ([Window] Left, Top, Width, Height, SplitText, SplitList).
#pragma once

#include <QSplitter>
#include <array>
#include <cstdint>

class QMainWindow;

namespace plc {

// The pixel rule of the status bar's parts for a bar `cx` wide, and the
// first split of a height between text and message list (70 % text).
struct EditorLayout {
    std::array<int32_t, 5> statusParts;  // right edges of the five parts
    int32_t editTop, editHeight;
    int32_t listTop, listHeight;
};
EditorLayout ComputeEditorLayout(int32_t cx, int32_t cy, int32_t topOffset, int32_t gap,
                                 int32_t bottomMargin);

// The split of text and message list. On a resize each side keeps its
// share of the height, not its pixels: a window made small and large again
// looks as it did. Moving the handle sets the share.
class ShareSplitter : public QSplitter {
public:
    explicit ShareSplitter(QWidget* parent);

    // Sets the two heights and, from them, the share the split keeps.
    void SetShares(int text, int list);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    double m_listShare;
};

// Size, place and split as remembered, fitted to the screen; without a
// remembered split, 70 % text. `chromeHeight` is what menu bar, toolbar and
// status bar take of the window's height.
void RestoreWindowGeometry(QMainWindow& window, ShareSplitter& splitter, int chromeHeight);
// Remembers size, place and split.
void SaveWindowGeometry(const QMainWindow& window, const QSplitter& splitter);

}  // namespace plc
