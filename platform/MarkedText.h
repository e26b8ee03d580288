// SPDX-License-Identifier: GPL-3.0-or-later
// The marks on the lines of the edit control: error and warning markers in
// the marker margin with their annotations below the lines and squiggles
// under the statements, the hits of a search, and for a dry run the
// breakpoints and the line that runs next in a margin of their own.
//
// Markers, indicators and the annotations' styles are allocated once, in
// this class; the code editor (SourceEdit) is built on it. A new text
// (SetText) starts without marks; breakpoint markers move with their lines.
//
// Setting the error or warning marks changes only the lines whose marks
// differ from what they show, and the caret's line stays where it is in
// the view (the first line in view, when the caret is out of view):
// annotations that come or go above it do not move the text under the
// reader's eyes.
//
// Notification, besides those of the edit control:
//   breakpointClicked() - a click in the breakpoint margin, on a line.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/SourceText.h"

class QFont;

namespace plc {

class MarkedText : public SourceText {
    Q_OBJECT
public:
    explicit MarkedText(QWidget* parent = nullptr);
    ~MarkedText() override;

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
    // The ranges [start, end) of the text that the errors' squiggles run
    // under, in order.
    std::vector<std::pair<int32_t, int32_t>> ErrorSquiggles() const;
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

    // While a MarksUpdate lives, the error and warning marks set are put on
    // the lines once, when it ends (a check that sets both).
    class MarksUpdate {
    public:
        explicit MarksUpdate(MarkedText& text);
        ~MarksUpdate();
        MarksUpdate(const MarksUpdate&) = delete;
        MarksUpdate& operator=(const MarksUpdate&) = delete;

    private:
        MarkedText& m_text;
    };

    // The line being edited: no annotation is added below it (its marker
    // and squiggle are), so that the lines under it do not move while it is
    // typed; one it shows already follows the marks. -1 lets go, and the
    // line gets the annotation its marks have.
    void HoldAnnotation(int32_t line);
    int32_t HeldAnnotationLine() const { return m_heldLine; }
    // Whether `line` is shown in the view.
    bool LineInView(int32_t line) const;

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

signals:
    void breakpointClicked(int32_t line);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A new text starts without marks.
    void TextReplacing() override;
    // The annotations' colours, and the errors' annotations in the text's
    // face at its size. A lexer set on the text resets every style: this
    // comes after it, with every change of the font.
    void StyleAnnotations(const QFont& font);

private:
    // How many characters of an annotation fit across the view; the
    // annotations wrapped again when that changed.
    size_t AnnotationColumns() const;
    void RewrapAnnotations();
    // The annotation of `line` as it is shown, wrapped.
    std::string RawAnnotation(int32_t line) const;
    // Puts the error and warning marks on their lines.
    void ApplyMarks();
    std::vector<int32_t> LinesWith(int marker) const;
    std::vector<std::pair<int32_t, int32_t>> RangesOf(int indicator) const;

    std::vector<LineMark> m_errorMarks, m_warningMarks;
    size_t m_annotationColumns = 0;  // the width the annotations are wrapped to
    int32_t m_heldLine = -1;         // the line whose annotation waits
    int m_updateDepth = 0;           // open MarksUpdates
    bool m_marksPending = false;     // marks set during a MarksUpdate
};

}  // namespace plc
