// SPDX-License-Identifier: GPL-3.0-or-later
// The multi-line edit control of the editor window: UTF-8 text, CR LF line
// ends, and the edit-control operations the editor uses. Character indexes
// are byte positions in the whole text (a character outside ASCII takes
// two to four) and count CR and LF as one each; lines are 0-based. The
// text limit counts bytes too.
//
// The control owns its QScintilla widget (LimitedScintilla.h: it refuses a
// paste or drop beyond the text limit); nothing outside this class and the
// layers built on it (MarkedText, SourceEdit) talks to Scintilla.
//
// Notifications:
//   changed()  - the text was changed by the user or by ReplaceSel (typing,
//                cut, paste, undo, replacements); not by SetText. Inside a
//                Batch it comes once, when the batch ends.
//   maxText()  - an insertion did not fit under the text limit: ReplaceSel
//                keeps what fits, typed, pasted or dropped text is refused
//                whole (a paste leaves the selection it would replace).
//   errSpace() - the control ran out of memory.
// maxText and errSpace arrive through the event loop, after the edit that
// caused them, so that their handlers may show a message box.
#pragma once

#include <QWidget>
#include <cstdint>
#include <string>
#include <string_view>

class QsciScintilla;

namespace plc {

class SourceText : public QWidget {
    Q_OBJECT
public:
    // The typing limit of a fresh control, in characters.
    static constexpr int32_t kDefaultTextLimit = 32767;

    explicit SourceText(QWidget* parent = nullptr);
    ~SourceText() override;

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
    // Replaces the characters [start, end) by `text` through the control's
    // target range: the selection and the caret stay where they are, and
    // nothing is scrolled or painted per call, so that many replacements in
    // a row (Replace all, Renum) cost little. Undoable, raises changed().
    // False, and nothing changed, when the result would pass the text limit.
    bool ReplaceRange(int32_t start, int32_t end, std::string_view text);
    // Puts the caret at the start of `line` (clamped) and shows it.
    void GotoLine(int32_t line);

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
        explicit UndoGroup(SourceText& edit);
        ~UndoGroup();
        UndoGroup(const UndoGroup&) = delete;
        UndoGroup& operator=(const UndoGroup&) = delete;

    private:
        SourceText& m_edit;
    };

    // While a Batch lives, the control reports only what it must (insertion
    // checks for the text limit) instead of every change, and raises
    // changed() once at its end when anything changed. Many small edits in a
    // row (Replace all, Renum) are cheap this way; each keeps its own undo
    // step unless an UndoGroup joins them.
    class Batch {
    public:
        explicit Batch(SourceText& edit);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        SourceText& m_edit;
    };

    // ---- limit ----
    void SetLimitText(int32_t limit) { m_limit = limit; }
    int32_t GetLimitText() const { return m_limit; }
    // Whether `length` more characters fit when the selection gives way to them.
    bool FitsSelection(int64_t length) const;

signals:
    void changed();
    void maxText();
    void errSpace();

protected:
    bool event(QEvent* event) override;
    // The whole text is about to be replaced (SetText).
    virtual void TextReplacing() {}
    // The number of lines may have changed.
    virtual void LinesChanged() {}

    QsciScintilla* const m_sci;

private slots:
    void OnModified(int position, int modificationType, const char* text, int length,
                    int linesAdded, int line, int foldLevelNow, int foldLevelPrev, int token,
                    int annotationLinesAdded);

private:
    void CheckStatus();
    // Sets the horizontal scroll width to the longest line's; a pending
    // request is done once, from the event loop.
    void ScheduleScrollWidth();
    void UpdateScrollWidth();

    int32_t m_limit = kDefaultTextLimit;
    bool m_settingText = false;
    bool m_scrollWidthPending = false;
    bool m_forwarding = false;
    int m_batchDepth = 0;
    bool m_batchChanged = false;
};

}  // namespace plc
