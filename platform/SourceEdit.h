// The multi-line edit control of the editor window: 8-bit text (no UTF-8),
// CR LF line ends, and the operations the editor uses. Character indexes are
// positions in the whole text and count CR and LF as one character each;
// lines are 0-based.
//
// The control owns its QScintilla widget; nothing outside this class talks
// to Scintilla. Besides the edit-control operations it offers what a code
// editor needs: a line-number margin with error markers, inline annotations,
// an error indicator, syntax colouring of the programme language, zoom, undo
// groups and batches of edits that raise one change notification.
//
// Notifications:
//   changed()  - the text was changed by the user or by ReplaceSel (typing,
//                cut, paste, undo, replacements); not by SetText. Inside a
//                Batch it comes once, when the batch ends.
//   maxText()  - an insertion did not fit under the text limit: ReplaceSel
//                keeps what fits, typed or pasted text is refused.
//   errSpace() - the control ran out of memory.
//   hovered()  - the mouse rested over a character (index, screen point).
//   ctrlClicked() - the left button was pressed with Ctrl over a character.
// maxText and errSpace arrive through the event loop, after the edit that
// caused them, so that their handlers may show a message box.
#pragma once

#include <QFont>
#include <QPoint>
#include <QWidget>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SourceStyle.h"

class QsciScintilla;

namespace plc {

class PlcLexer;

class SourceEdit : public QWidget {
    Q_OBJECT
public:
    // The typing limit of a fresh control, in characters.
    static constexpr int32_t kDefaultTextLimit = 32767;

    explicit SourceEdit(QWidget* parent = nullptr);
    ~SourceEdit() override;

    // ---- the whole text ----
    std::string GetText() const;
    int32_t GetTextLength() const;
    // Replaces the whole text without a change notification and without the
    // text limit, empties the undo history and puts the caret at the start.
    void SetText(std::string_view text);

    // ---- lines ----
    // Number of lines: an empty text has one, a text ending in a line break
    // has an empty last line.
    int32_t GetLineCount() const;
    // Character index of the first character of `line`; -1 when there is no such line.
    int32_t LineIndex(int32_t line) const;
    // Length of `line` without its line break; -1 when there is no such line.
    int32_t LineLength(int32_t line) const;
    // The characters of `line` without its line break; false when there is no such line.
    bool GetLine(int32_t line, std::string& text) const;
    // The line holding character index `pos` (clamped to the text).
    int32_t LineFromChar(int32_t pos) const;
    // The first visible line.
    int32_t FirstVisibleLine() const;

    // ---- selection ----
    void GetSel(int32_t& start, int32_t& end) const;
    // Selects [start, end); the caret goes to `end`.
    void SetSel(int32_t start, int32_t end);
    void ScrollCaret();
    // Replaces the selection by `text`; undoable, raises changed().
    void ReplaceSel(std::string_view text);
    // Puts the caret at the start of `line` (clamped) and shows it.
    void GotoLine(int32_t line);
    // The character index under a point of the control; -1 when there is none.
    int32_t PositionFromPoint(const QPoint& point) const;

    // ---- edit commands ----
    bool CanUndo() const;
    // False when there was nothing to undo.
    bool Undo();
    bool CanRedo() const;
    bool Redo();
    void Cut();
    void Copy();
    void Paste();
    void SelectAllText();

    // The edits made while an UndoGroup lives are one step of Undo.
    class UndoGroup {
    public:
        explicit UndoGroup(SourceEdit& edit);
        ~UndoGroup();
        UndoGroup(const UndoGroup&) = delete;
        UndoGroup& operator=(const UndoGroup&) = delete;

    private:
        SourceEdit& m_edit;
    };

    // While a Batch lives, the control reports only what it must (insertion
    // checks for the text limit) instead of every change, and raises
    // changed() once at its end when anything changed. Many small edits in a
    // row (Replace all, Renum) are cheap this way; each keeps its own undo
    // step unless an UndoGroup joins them.
    class Batch {
    public:
        explicit Batch(SourceEdit& edit);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        SourceEdit& m_edit;
    };

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

    // ---- appearance and limits ----
    // Sets the face and size as given; a face that is not installed becomes
    // the system's fixed-pitch font at the given size.
    void SetEditorFont(const QFont& font);
    QFont EditorFont() const { return m_font; }
    void SetLimitText(int32_t limit) { m_limit = limit; }
    int32_t GetLimitText() const { return m_limit; }
    // Zoom in points relative to the font size.
    void ZoomIn();
    void ZoomOut();
    void ZoomReset();
    int32_t Zoom() const;
    // Shows a tool tip at a screen point.
    void ShowTip(const QPoint& globalPoint, const std::string& text);

    // Whether a font face is installed on this system.
    static bool FaceInstalled(const QString& family);

signals:
    void changed();
    void maxText();
    void errSpace();
    void hovered(int32_t pos, QPoint globalPoint);
    void ctrlClicked(int32_t pos);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void OnModified(int position, int modificationType, const char* text, int length,
                    int linesAdded, int line, int foldLevelNow, int foldLevelPrev, int token,
                    int annotationLinesAdded);

private:
    void CheckStatus();
    void UpdateMarginWidth();
    void ApplyStyleFont(const QFont& font);

    QsciScintilla* m_sci = nullptr;
    PlcLexer* m_lexer = nullptr;
    int32_t m_limit = kDefaultTextLimit;
    bool m_settingText = false;
    bool m_forwarding = false;
    int m_batchDepth = 0;
    bool m_batchChanged = false;
    int m_lineDigits = 0;
    QFont m_font;
};

}  // namespace plc
