// SPDX-License-Identifier: GPL-3.0-or-later
// The source editor of the editor window: the edit control (SourceText)
// with what a code editor needs on top of it: a line-number margin with
// error markers, inline annotations, an error indicator, syntax colouring of
// the programme language, zoom, tool tips, hover, Ctrl+click with the link
// under a Ctrl+hover, and a completion list.
//
// Markers, the indicator and the annotations' style are allocated once, in
// this class; nothing outside it and SourceText talks to Scintilla.
//
// Notifications, besides those of the edit control:
//   hovered()     - the mouse rested over a character (index, screen point).
//   ctrlClicked() - the left button was pressed with Ctrl over a character.
//   caretLineChanged() - the caret went to another line.
//   textReplaced() - SetText replaced the whole text (after it is in place).
//   breakpointClicked() - a click in the breakpoint margin, on a line.
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

#include "platform/SourceStyle.h"
#include "platform/SourceText.h"

namespace plc {

class PlcLexer;

class SourceEdit : public SourceText {
    Q_OBJECT
public:
    explicit SourceEdit(QWidget* parent = nullptr);
    ~SourceEdit() override;

    // ---- error markers, annotations and the error indicator ----
    struct LineMark {
        int32_t line;      // 0-based
        std::string text;  // the annotation below the line
        // The squiggle: `length` bytes from `column`; -1 for the whole
        // statement without its comment.
        int32_t column = 0;
        int32_t length = -1;
    };
    // Replaces every error marker and annotation by `marks`; a line named
    // twice gets one marker and both texts.
    void SetErrorMarks(const std::vector<LineMark>& marks);
    void ClearErrorMarks();
    // Lines that carry an error marker, in order.
    std::vector<int32_t> ErrorLines() const;
    // The annotation of `line`; empty when it has none.
    std::string Annotation(int32_t line) const;
    // The next line after `line` (the previous one before it) with an error
    // marker, wrapping around the text; -1 when there is none.
    int32_t NextErrorLine(int32_t line) const;
    int32_t PreviousErrorLine(int32_t line) const;

    // ---- search hits ----
    // Marks the ranges [start, end) of the current search's hits, replacing
    // earlier marks; a new text starts without them.
    void SetSearchMarks(const std::vector<std::pair<int32_t, int32_t>>& hits);
    void ClearSearchMarks();
    // The marked ranges, in order.
    std::vector<std::pair<int32_t, int32_t>> SearchMarks() const;

    // ---- warnings ----
    // Warnings are no errors: a marker, a squiggle and an annotation of
    // their own colour. A line with an error and a warning shows both texts
    // in the error's colour. Replaces every warning mark by `marks`.
    void SetWarningMarks(const std::vector<LineMark>& marks);
    void ClearWarningMarks();
    // Lines that carry a warning marker, in order.
    std::vector<int32_t> WarningLines() const;

    // ---- dry run ----
    // The breakpoint margin beside the text; a click in it raises
    // breakpointClicked(line). Breakpoint markers move with their lines.
    void ShowBreakpointMargin(bool show);
    void SetBreakpoint(int32_t line, bool on);
    bool HasBreakpoint(int32_t line) const;
    std::vector<int32_t> BreakpointLines() const;
    // The statement a dry run runs next: an arrow in the breakpoint margin
    // and a background on the line, scrolled into view; -1 takes it away.
    void SetRunLine(int32_t line);
    int32_t RunLine() const;
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
    // Shows a list of entries below the caret, in this order; choosing one
    // raises completionChosen with its text.
    void ShowCompletions(const std::vector<std::string>& entries);
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
    void breakpointClicked(int32_t line);
    void ctrlHovered(int32_t pos);
    void completionChosen(const std::string& entry);
    void charTyped(int ch);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A new text starts without marks; the number margin follows the lines.
    void TextReplacing() override;
    void LinesChanged() override { UpdateMarginWidth(); }

private:
    // How many characters of an annotation fit across the view; the
    // annotations wrapped again when that changed.
    size_t AnnotationColumns() const;
    void RewrapAnnotations();
    void UpdateMarginWidth();
    // Puts the error and warning marks on their lines.
    void ApplyMarks();
    std::vector<int32_t> LinesWith(int marker) const;
    void ApplyStyleFont(const QFont& font);

    PlcLexer* m_lexer = nullptr;
    std::vector<LineMark> m_errorMarks, m_warningMarks;
    int32_t m_caretLine = 0;
    int m_lineDigits = 0;
    QFont m_font;
    size_t m_annotationColumns = 0;  // the width the annotations are wrapped to
    std::pair<int32_t, int32_t> m_link{0, 0};
};

}  // namespace plc
