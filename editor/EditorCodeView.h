// SPDX-License-Identifier: GPL-3.0-or-later
// Check syntax and the code view of the editor window: the programme image
// that the text compiles into, error markers and annotations on the faulty
// lines after Check syntax and, while typing, after the live check; next
// and previous error; zoom.
//
// The live check compiles the text a moment after the last keystroke with
// the same compile driver as Check syntax, into a scratch programme: the
// programme image and the document's state are never touched, so that what
// Check syntax saves stays its own. Its errors go on the lines and, as
// the live entries (the error entries of Check syntax, without its head and
// summary), into the message list, replacing the live entries before them;
// the error count goes to the status bar. What a command writes into the
// list (Check syntax, Find uses, Renum, a search...) stays there until the
// next edit of the text: the live check after that edit takes the list
// again. The annotation of the line being typed waits until the caret
// leaves the line or the typing pauses (kAnnotationDelay), so that the lines
// below do not jump while it is incomplete.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include "editor/EditorContext.h"
#include "image/PlcProgram.h"

class QAction;
class QTimer;

namespace plc {

struct CompileOutcome;

class EditorCodeView {
public:
    explicit EditorCodeView(const EditorContext& context);
    ~EditorCodeView();

    // A fresh window's code view: the live check's timer and its menu entry.
    void SetupCodeView(QAction* liveCheckEntry);

    // Compiles the whole text into the programme image and lists the
    // outcome; true when it compiled without error.
    bool CompileProgram();
    void OnCheckSyntax();
    // The programme image: the editor's, for as long as the editor lives.
    CPlcProgram& Program() { return m_program; }

    // ---- live check ----
    // Whether the text is checked while typing (View/Live check, kept in
    // the settings file).
    bool LiveCheckEnabled() const { return m_bLiveCheck; }
    void SetLiveCheck(bool enable);
    void OnLiveCheck();
    // The text changed: the live check runs a moment after the last change.
    void ScheduleLiveCheck();
    // Compiles the text in memory into a scratch programme, puts the errors
    // on the lines as markers and annotations and, unless a command's output
    // holds the list, into the message list, and counts them; the programme
    // and the document state stay as they are. The timer runs it a moment
    // after the last keystroke.
    void RunLiveCheck();
    // The live check's delay after the last change, in milliseconds.
    static constexpr int kLiveCheckDelay = 300;
    // The pause in typing after which the line being typed gets its
    // annotation, in milliseconds.
    static constexpr int kAnnotationDelay = 1000;
    // Told the number of errors after every compile of the text (Check
    // syntax, the live check); -1 when there is nothing to count (no text,
    // the live check switched off).
    void SetErrorCountObserver(std::function<void(int32_t errors)> observer) { m_errorCount = std::move(observer); }
    // Told after every compile of the text (Check syntax, the live check)
    // the programme it compiled into and whether it compiled; the analysis
    // follows the text this way.
    using CompileObserver = std::function<void(const CPlcProgram& program, bool compiled)>;
    void SetCompileObserver(CompileObserver observer) { m_compiled = std::move(observer); }

    // ---- errors and zoom ----
    void OnNextError();
    void OnPreviousError();
    void GoToError(bool forward);
    // How GoToError moves the caret to a line (by default straight there),
    // so that the window can remember the jump.
    void SetLineJump(std::function<void(int32_t line)> jump) { m_lineJump = std::move(jump); }
    void OnZoomIn();
    void OnZoomOut();
    void OnZoomReset();

private:
    // Puts the errors of a compile outcome on the lines their entries name,
    // each underlined at its token.
    void ShowErrorMarks(const CompileOutcome& outcome);
    // The live entries of an outcome into the message list, unless a
    // command's output holds it; null: no text to check.
    void ShowLiveEntries(const CompileOutcome* outcome);
    void CountErrors(int32_t errors);
    void OnListWritten();

    const EditorContext& m_context;

    CPlcProgram m_program;
    QPointer<QTimer> m_liveTimer;
    QPointer<QTimer> m_pauseTimer;  // runs from each change until the typing pauses
    QPointer<QAction> m_liveCheckEntry;
    bool m_bLiveCheck = true;
    std::unique_ptr<CPlcProgram> m_liveProgram;  // the live check's scratch programme
    CompileObserver m_compiled;
    std::function<void(int32_t)> m_lineJump;
    std::function<void(int32_t)> m_errorCount;
    // The message list holds a command's output, which the live check
    // leaves alone until the text is edited; the output was written in this
    // turn of the event loop (a command's own edits do not end the hold).
    bool m_listHeld = false;
    bool m_writeTurn = false;
    bool m_writingLive = false;  // the live entries are being written
    QObject m_receiver;  // receives the timer; it stops when the code view goes
};

}  // namespace plc
