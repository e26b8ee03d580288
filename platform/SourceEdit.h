// The multi-line edit control of the editor window on QScintilla: 8-bit text
// (no UTF-8), CR LF line ends, and the operations the editor uses. Character
// indexes are positions in the whole text and count CR and LF as one
// character each; lines are 0-based.
//
// Notifications:
//   changed()  - the text was changed by the user or by ReplaceSel (typing,
//                cut, paste, undo, replacements); not by SetText.
//   maxText()  - an insertion did not fit under the text limit: ReplaceSel
//                keeps what fits, typed or pasted text is refused.
//   errSpace() - the control ran out of memory.
// maxText and errSpace arrive through the event loop, after the edit that
// caused them, so that their handlers may show a message box.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <Qsci/qsciscintilla.h>

namespace plc {

class SourceEdit : public QsciScintilla {
    Q_OBJECT
public:
    // The typing limit of a fresh control, in characters.
    static constexpr int32_t kDefaultTextLimit = 32767;

    explicit SourceEdit(QWidget* parent = nullptr);

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

    // ---- selection ----
    void GetSel(int32_t& start, int32_t& end) const;
    // Selects [start, end); the caret goes to `end`.
    void SetSel(int32_t start, int32_t end);
    void ScrollCaret();
    // Replaces the selection by `text`; undoable, raises changed().
    void ReplaceSel(std::string_view text);

    // ---- edit commands ----
    bool CanUndo() const;
    // False when there was nothing to undo.
    bool Undo();
    // False when there was nothing to redo.
    bool Redo();
    void Cut();
    void Copy();
    void Paste();
    void SelectAllText();

    // ---- appearance and limits ----
    void SetEditorFont(const QFont& font);
    QFont EditorFont() const { return m_font; }
    void SetLimitText(int32_t limit) { m_limit = limit; }
    int32_t GetLimitText() const { return m_limit; }

signals:
    void changed();
    void maxText();
    void errSpace();

private slots:
    void OnModified(int position, int modificationType, const char* text, int length,
                    int linesAdded, int line, int foldLevelNow, int foldLevelPrev, int token,
                    int annotationLinesAdded);

private:
    void CheckStatus();

    int32_t m_limit = kDefaultTextLimit;
    bool m_settingText = false;
    QFont m_font;
};

}  // namespace plc
