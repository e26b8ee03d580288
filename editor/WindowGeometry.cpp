// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/WindowGeometry.h"

#include <QMainWindow>
#include <QResizeEvent>
#include <QScreen>
#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "platform/Profile.h"

namespace plc {

namespace {

// The share of the split that the message list takes at first.
constexpr double kFirstListShare = 0.3;
// The window's first size when the settings remember none.
constexpr QSize kFirstSize(900, 700);
constexpr const char* kWindowSection = "Window";

}  // namespace

EditorLayout ComputeEditorLayout(int32_t cx, int32_t cy, int32_t topOffset, int32_t gap,
                                 int32_t bottomMargin) {
    EditorLayout layout{};
    // The message, then "Modified", "Ln 254" and "Col 123" at the right edge.
    layout.statusParts = {0, std::max(0, cx - 230), std::max(0, cx - 150), std::max(0, cx - 75), cx};
    const int32_t avail = cy - bottomMargin - topOffset - gap;
    const int32_t h = static_cast<int32_t>(avail * 0.7);
    layout.editTop = topOffset;
    layout.editHeight = h;
    layout.listTop = topOffset + h + gap;
    layout.listHeight = avail - h + gap;
    return layout;
}

// ---------------------------------------------------------------- the split

ShareSplitter::ShareSplitter(QWidget* parent) : QSplitter(Qt::Vertical, parent), m_listShare(kFirstListShare) {
    connect(this, &QSplitter::splitterMoved, this, [this] {
        const QList<int> parts = sizes();
        const int total = parts.value(0) + parts.value(1);
        if (total > 0) m_listShare = static_cast<double>(parts.value(1)) / total;
    });
}

void ShareSplitter::SetShares(int text, int list) {
    if (text + list > 0) m_listShare = static_cast<double>(list) / (text + list);
    setSizes({text, list});
}

void ShareSplitter::resizeEvent(QResizeEvent* event) {
    QSplitter::resizeEvent(event);
    const QList<int> parts = sizes();
    const int total = parts.value(0) + parts.value(1);
    if (parts.size() != 2 || total <= 0) return;
    const int list = static_cast<int>(total * m_listShare + 0.5);
    setSizes({total - list, list});
}

// ---------------------------------------------------------------- remembered geometry

void RestoreWindowGeometry(QMainWindow& window, ShareSplitter& splitter, int chromeHeight) {
    const Profile settings;
    const QRect screen = window.screen() ? window.screen()->availableGeometry() : QRect(QPoint(0, 0), kFirstSize);
    // A remembered size that no longer fits the screen shrinks to it.
    QSize size(settings.GetInt(kWindowSection, "Width", kFirstSize.width()),
               settings.GetInt(kWindowSection, "Height", kFirstSize.height()));
    if (size.width() < 200 || size.height() < 150) size = kFirstSize;
    size = size.boundedTo(screen.size());
    window.resize(size);
    const int left = settings.GetInt(kWindowSection, "Left", INT32_MIN);
    const int top = settings.GetInt(kWindowSection, "Top", INT32_MIN);
    if (left != INT32_MIN && top != INT32_MIN) {
        const QRect frame(QPoint(left, top), size);
        if (screen.intersects(frame))
            window.move(std::clamp(left, screen.left(), std::max(screen.left(), screen.right() - size.width())),
                        std::clamp(top, screen.top(), std::max(screen.top(), screen.bottom() - size.height())));
    }
    // The split: as remembered, else 70 % text and 30 % list.
    const int text = settings.GetInt(kWindowSection, "SplitText", 0);
    const int list = settings.GetInt(kWindowSection, "SplitList", 0);
    if (text > 0 && list > 0) {
        splitter.SetShares(text, list);
    } else {
        const int height = std::max(size.height() - chromeHeight, 10);
        const EditorLayout layout = ComputeEditorLayout(size.width(), height, 0, 0, 0);
        splitter.SetShares(layout.editHeight, layout.listHeight);
    }
}

void SaveWindowGeometry(const QMainWindow& window, const QSplitter& splitter) {
    // The position of the frame and the size inside it, as move and resize take them.
    const QPoint position = window.pos();
    const QSize size = window.size();
    std::vector<Profile::Entry> entries{{"Left", std::to_string(position.x())},
                                        {"Top", std::to_string(position.y())},
                                        {"Width", std::to_string(size.width())},
                                        {"Height", std::to_string(size.height())}};
    const QList<int> sizes = splitter.sizes();
    if (sizes.size() == 2 && sizes[0] > 0 && sizes[1] > 0) {
        entries.push_back({"SplitText", std::to_string(sizes[0])});
        entries.push_back({"SplitList", std::to_string(sizes[1])});
    }
    Profile().WriteStrings(kWindowSection, entries);
}

}  // namespace plc
