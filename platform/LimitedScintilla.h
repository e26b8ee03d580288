// SPDX-License-Identifier: GPL-3.0-or-later
// The Scintilla widget inside the edit control (SourceText), with one
// addition: text from the clipboard, the X selection or a drop that does
// not fit under the control's text limit is refused before anything
// changes, so a paste never replaces the selection by nothing and never
// inserts part of what was copied. The control says what fits and hears of
// each refusal.
#pragma once

#include <Qsci/qsciscintilla.h>

#include <QByteArray>
#include <cstdint>
#include <functional>

namespace plc {

// The number of characters `text` takes in the control once its line ends
// have become CR LF, as a paste converts them.
int64_t PastedLength(const QByteArray& text);

class LimitedScintilla : public QsciScintilla {
public:
    // `fits` answers whether that many characters fit when they replace the
    // selection; `refused` hears of an insertion refused.
    LimitedScintilla(QWidget* parent, std::function<bool(int64_t length)> fits, std::function<void()> refused);

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;

private:
    std::function<bool(int64_t)> m_fits;
    std::function<void()> m_refused;
    bool m_dragging = false;
};

}  // namespace plc
