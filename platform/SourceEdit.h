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
//   ctrlHovered() - the mouse moved over a character with Ctrl held, or Ctrl
//                   went down over one (-1: Ctrl released, mouse left).
//   completionChosen() - an entry of the completion list was chosen.
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

    // ---- colouring ----
    // The style class of the character at `pos` (the text is coloured up to
    // it first).
    SourceStyle StyleAt(int32_t pos);

    // ---- appearance ----
    // Sets the face and size as given; a face that is not installed becomes
    // the system's fixed-pitch font at the given size.
    void SetEditorFont(const QFont& font);
    QFont EditorFont() const { return m_font; }
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
    // The link shown: its start and length (0 when none).
    std::pair<int32_t, int32_t> Link() const { return m_link; }
    // Shows a list of entries below the caret, in this order; choosing one
    // raises completionChosen with its text.
    void ShowCompletions(const std::vector<std::string>& entries);
    bool CompletionsShown() const;

    // Whether a font face is installed on this system.
    static bool FaceInstalled(const QString& family);

signals:
    void hovered(int32_t pos, QPoint globalPoint);
    void ctrlClicked(int32_t pos);
    void ctrlHovered(int32_t pos);
    void completionChosen(const std::string& entry);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A new text starts without marks; the number margin follows the lines.
    void TextReplacing() override { ClearErrorMarks(); }
    void LinesChanged() override { UpdateMarginWidth(); }

private:
    void UpdateMarginWidth();
    void ApplyStyleFont(const QFont& font);

    PlcLexer* m_lexer = nullptr;
    int m_lineDigits = 0;
    QFont m_font;
    std::pair<int32_t, int32_t> m_link{0, 0};
};

}  // namespace plc
