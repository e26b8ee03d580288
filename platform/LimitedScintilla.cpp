// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LimitedScintilla.h"

#include <QDragEnterEvent>
#include <QMimeData>

namespace plc {

int64_t PastedLength(const QByteArray& text) {
    int64_t length = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        length += text[i] == '\r' || text[i] == '\n' ? 2 : 1;
    }
    return length;
}

LimitedScintilla::LimitedScintilla(QWidget* parent, std::function<bool(int64_t length)> fits,
                                   std::function<void()> refused)
    : QsciScintilla(parent), m_fits(std::move(fits)), m_refused(std::move(refused)) {}

bool LimitedScintilla::canInsertFromMimeData(const QMimeData* source) const {
    if (!QsciScintilla::canInsertFromMimeData(source)) return false;
    bool rectangular = false;
    if (m_fits(PastedLength(fromMimeData(source, rectangular)))) return true;
    // While the mouse only drags over the text, nothing is refused yet.
    if (!m_dragging) m_refused();
    return false;
}

void LimitedScintilla::dragEnterEvent(QDragEnterEvent* event) {
    m_dragging = true;
    QsciScintilla::dragEnterEvent(event);
    m_dragging = false;
}

void LimitedScintilla::dragMoveEvent(QDragMoveEvent* event) {
    m_dragging = true;
    QsciScintilla::dragMoveEvent(event);
    m_dragging = false;
}

}  // namespace plc
