// SPDX-License-Identifier: GPL-3.0-or-later
// The source editor of the editor window: the edit control (SourceText)
// with the marks on its lines (MarkedText: error and warning markers,
// annotations and squiggles, search hits, breakpoints and the line a dry
// run runs next) and what a code editor needs on top of them: a line-number
// margin, syntax colouring of the programme language, zoom, tool tips,
// hover, Ctrl+click with the link under a Ctrl+hover, and a completion list.
//
// Nothing outside this class, MarkedText and SourceText talks to Scintilla.
//
// Notifications, besides those of the edit control and its marks:
//   hovered()     - the mouse rested over a character (index, screen point).
//   ctrlClicked() - the left button was pressed with Ctrl over a character.
//   caretLineChanged() - the caret went to another line.
//   textReplaced() - SetText replaced the whole text (after it is in place).
//   ctrlHovered() - the mouse moved over a character with Ctrl held, or Ctrl
//                   went down over one (-1: Ctrl released, mouse left).
//   completionChosen() - an entry of the completion list was chosen.
//   charTyped() - a character was typed at the keyboard (not pasted or set).
#pragma once

#include <QFont>
#include <QPoint>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/MarkedText.h"
#include "platform/SourceStyle.h"

namespace plc {

class PlcLexer;

class SourceEdit : public MarkedText {
    Q_OBJECT
public:
    explicit SourceEdit(QWidget* parent = nullptr);
    ~SourceEdit() override;

    // The line of the selection's start (the caret's line).
    int32_t CaretLine() const;

    // ---- colouring ----
    // The style class of the character at `pos` (the text is coloured up to
    // it first).
    SourceStyle StyleAt(int32_t pos);

    // ---- appearance ----
    // Sets the face and size as given; a face that is not installed becomes
    // the system's fixed-pitch font at the given size.
    void SetEditorFont(const QFont& font);
    // The font as set, and the font the text is shown in (what printing
    // and Page setup must use, so that paper and screen agree).
    QFont EditorFont() const { return m_font; }
    QFont ShownEditorFont() const { return ShownFont(m_font); }
    // Zoom in points relative to the font size.
    void ZoomIn();
    void ZoomOut();
    void ZoomReset();
    int32_t Zoom() const;
    // Shows a tool tip at a screen point; `rich` text is Qt's HTML subset.
    void ShowTip(const QPoint& globalPoint, const std::string& text, bool rich = false);

    // ---- links and completion ----
    // Underlines [pos, pos + length) as a link under the mouse and shows the
    // pointing hand; a length of 0 takes the link away.
    void ShowLink(int32_t pos, int32_t length);
    // Shows a list of entries below the caret, in this order, at most
    // kCompletionRows at a time; choosing one raises completionChosen with
    // its text. The caret is scrolled into view first; false, and no list,
    // when there are no entries or the caret is on no screen (a window
    // moved off the screens).
    bool ShowCompletions(const std::vector<std::string>& entries);
    static constexpr int kCompletionRows = 12;
    bool CompletionsShown() const;
    void HideCompletions();

    // Whether a font face is installed on this system.
    static bool FaceInstalled(const QString& family);
    // `font`, or for a face that is not installed the system's fixed-pitch
    // font at its size, bold and italic.
    static QFont ShownFont(const QFont& font);

signals:
    void hovered(int32_t pos, QPoint globalPoint);
    void ctrlClicked(int32_t pos);
    void caretLineChanged(int32_t line);
    void textReplaced();
    void ctrlHovered(int32_t pos);
    void completionChosen(const std::string& entry);
    void charTyped(int ch);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A new text starts without marks and tells so once it is in place; the
    // number margin follows the lines.
    void TextReplacing() override;
    void LinesChanged() override { UpdateMarginWidth(); }

private:
    void UpdateMarginWidth();
    void ApplyStyleFont(const QFont& font);

    PlcLexer* m_lexer = nullptr;
    int32_t m_caretLine = 0;
    int m_lineDigits = 0;
    QFont m_font;
    std::pair<int32_t, int32_t> m_link{0, 0};
};

}  // namespace plc
