// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/StatusBar.h"

#include <QPainter>
#include <QStyleOption>

#include "platform/Text.h"

namespace plc {

StatusBar::StatusBar(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void StatusBar::SetParts(const std::vector<int>& rightEdges) {
    m_edges = rightEdges;
    if (m_parts.size() < m_edges.size()) m_parts.resize(m_edges.size());
    update();
}

void StatusBar::SetText(int part, const std::string& text, bool noBorders) {
    if (part < 0) return;
    if (m_parts.size() <= static_cast<size_t>(part)) m_parts.resize(static_cast<size_t>(part) + 1);
    Part& p = m_parts[static_cast<size_t>(part)];
    if (p.text == text && p.noBorders == noBorders) return;
    p.text = text;
    p.noBorders = noBorders;
    update();
}

std::string StatusBar::Text(int part) const {
    if (part < 0 || static_cast<size_t>(part) >= m_parts.size()) return {};
    return m_parts[static_cast<size_t>(part)].text;
}

QSize StatusBar::sizeHint() const { return {200, fontMetrics().height() + 8}; }

void StatusBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QColor dark = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    int left = 0;
    for (size_t i = 0; i < m_edges.size(); ++i) {
        const int right = std::min(m_edges[i], width());
        if (right - left > 2) {
            const QRect cell(left + 1, 2, right - left - 2, height() - 3);
            const Part& part = i < m_parts.size() ? m_parts[i] : Part{};
            if (!part.noBorders) {
                painter.setPen(dark);
                painter.drawLine(cell.topLeft(), cell.topRight());
                painter.drawLine(cell.topLeft(), cell.bottomLeft());
                painter.setPen(light);
                painter.drawLine(cell.bottomLeft(), cell.bottomRight());
                painter.drawLine(cell.topRight(), cell.bottomRight());
            }
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawText(cell.adjusted(3, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                             ToQString(part.text));
        }
        left = std::max(left, right);
    }
}

}  // namespace plc
