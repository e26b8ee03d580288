// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorCodeView.h"

#include <QAction>
#include <QTimer>
#include <algorithm>
#include <string>
#include <vector>

#include "compiler/CompileDriver.h"
#include "image/ErrorCodes.h"
#include "platform/Dialogs.h"
#include "platform/MessageList.h"
#include "platform/Profile.h"
#include "platform/SourceEdit.h"
#include "platform/Text.h"
#include "resources/StringTable.h"

namespace plc {

namespace {

constexpr const char* kViewSection = "View";
constexpr const char* kLiveCheckKey = "LiveCheck";

// The annotation of an error: its message entry without the leading blanks.
std::string AnnotationText(const CompileOutcome::Error& error) {
    std::string text = FormatErrorEntry(error.line, error.code);
    text.erase(0, text.find_first_not_of(' '));
    return text;
}

bool Blank(char c) { return c == ' ' || c == '\t'; }

// The squiggle of an error on its line: `length` bytes from `column`
// (0-based), -1 for the whole statement. It spans the token the compiler
// stopped at, up to a blank or the comment; where it stopped at a blank or
// behind the statement (one that ends too early), the token before that
// place; an error without a column (one of the whole programme) the
// statement.
void ErrorSpan(const std::string& line, int32_t errorColumn, int32_t& column, int32_t& length) {
    column = 0;
    length = -1;
    if (errorColumn <= 0) return;
    const size_t statement = std::min(line.find(';'), line.size());
    size_t start = std::min(static_cast<size_t>(errorColumn - 1), statement);
    if (start == statement || Blank(line[start])) {
        size_t end = start;
        while (end > 0 && Blank(line[end - 1])) --end;
        if (end == 0) return;
        start = end;
        while (start > 0 && !Blank(line[start - 1])) --start;
    }
    size_t end = start;
    while (end < statement && !Blank(line[end])) ++end;
    column = static_cast<int32_t>(start);
    length = static_cast<int32_t>(end - start);
}

}  // namespace

EditorCodeView::EditorCodeView(const EditorContext& context)
    : m_context(context) {}

EditorCodeView::~EditorCodeView() = default;

void EditorCodeView::SetupCodeView(QAction* liveCheckEntry) {
    m_bLiveCheck = Profile().GetInt(kViewSection, kLiveCheckKey, 1) != 0;
    m_liveCheckEntry = liveCheckEntry;
    if (m_liveCheckEntry) m_liveCheckEntry->setChecked(m_bLiveCheck);
    m_liveTimer = new QTimer(m_context.edit);
    m_liveTimer->setSingleShot(true);
    m_liveTimer->setInterval(kLiveCheckDelay);
    QObject::connect(m_liveTimer, &QTimer::timeout, &m_receiver, [this] { RunLiveCheck(); });
    m_pauseTimer = new QTimer(m_context.edit);
    m_pauseTimer->setSingleShot(true);
    m_pauseTimer->setInterval(kAnnotationDelay);
    SourceEdit* edit = m_context.edit;
    QObject::connect(m_pauseTimer, &QTimer::timeout, &m_receiver, [edit] { edit->HoldAnnotation(-1); });
    QObject::connect(edit, &SourceEdit::caretLineChanged, &m_receiver, [edit](int32_t line) {
        if (edit->HeldAnnotationLine() >= 0 && line != edit->HeldAnnotationLine()) edit->HoldAnnotation(-1);
    });
    // A new text (opened, read back) is checked as well; it is no edit: what
    // the command that brought it wrote into the list stays.
    QObject::connect(edit, &SourceEdit::textReplaced, &m_receiver, [this] {
        if (m_bLiveCheck && m_liveTimer) m_liveTimer->start();
    });
    QObject::connect(m_context.messages, &MessageList::written, &m_receiver, [this] { OnListWritten(); });
}

// ---------------------------------------------------------------- Check syntax

bool EditorCodeView::CompileProgram() {
    if (!m_context.edit) return false;
    if (m_context.edit->GetTextLength() == 0) {
        if (m_context.dialogs.Ask(m_context.window, LoadString(kIdsNoProgramCreateBody), MsgButtons::YesNo,
                          MsgIcon::Question) == MsgAnswer::Yes) {
            const std::string caption = FileNameToBytes(m_context.window->windowTitle());
            m_context.edit->SetText(ProgramSkeleton(CurrentLocalTime(), caption));
        }
        return false;
    }
    const CompileOutcome outcome = CompileProgramLines(
        m_program, m_context.edit->GetLineCount(), false,
        [this](int32_t index, std::string& line) { return m_context.edit->GetLine(index, line); });
    m_context.messages->Clear();
    m_context.messages->Append(outcome.entries);
    {
        // Asked for: every annotation shows at once, the caret's line's too.
        MarkedText::MarksUpdate update(*m_context.edit);
        m_context.edit->HoldAnnotation(-1);
        ShowErrorMarks(outcome);
        if (m_compiled) m_compiled(m_program, outcome.success);
    }
    CountErrors(outcome.errorCount);
    if (!outcome.success)
        m_context.dialogs.Ask(m_context.window, LoadString(kIdsSyntaxCheckFailed), MsgButtons::Ok, MsgIcon::Stop);
    return outcome.success;
}

void EditorCodeView::OnCheckSyntax() { CompileProgram(); }

// ---------------------------------------------------------------- live check

void EditorCodeView::ScheduleLiveCheck() {
    // An edit: the output of a command in the list is out of date, unless
    // the edit is the command's own.
    if (!m_writeTurn) m_listHeld = false;
    if (!m_bLiveCheck) return;
    if (m_liveTimer) m_liveTimer->start();
    if (m_pauseTimer) m_pauseTimer->start();
}

void EditorCodeView::OnListWritten() {
    if (m_writingLive || !m_context.messages) return;
    m_listHeld = m_context.messages->Count() > 0;
    if (m_writeTurn) return;
    m_writeTurn = true;
    QTimer::singleShot(0, &m_receiver, [this] { m_writeTurn = false; });
}

void EditorCodeView::SetLiveCheck(bool enable) {
    m_bLiveCheck = enable;
    Profile().WriteInt(kViewSection, kLiveCheckKey, enable ? 1 : 0);
    if (m_liveCheckEntry) m_liveCheckEntry->setChecked(enable);
    if (!m_context.edit) return;
    if (enable) {
        RunLiveCheck();
    } else {
        if (m_liveTimer) m_liveTimer->stop();
        if (m_pauseTimer) m_pauseTimer->stop();
        m_context.edit->HoldAnnotation(-1);
        m_context.edit->ClearErrorMarks();
        ShowLiveEntries(nullptr);
        CountErrors(-1);
    }
}

void EditorCodeView::OnLiveCheck() {
    // The entry toggles its check mark itself when triggered from the menu;
    // from OnCommand it does not: the state is the editor's.
    SetLiveCheck(!m_bLiveCheck);
}

void EditorCodeView::RunLiveCheck() {
    SourceEdit* edit = m_context.edit;
    if (!edit) return;
    if (!m_liveProgram) m_liveProgram = std::make_unique<CPlcProgram>();
    // Errors and warnings go on the lines in one update; the line being
    // typed keeps its annotation back while the typing goes on.
    MarkedText::MarksUpdate update(*edit);
    edit->HoldAnnotation(m_pauseTimer && m_pauseTimer->isActive() ? edit->CaretLine() : -1);
    if (edit->GetTextLength() == 0) {
        edit->ClearErrorMarks();
        ShowLiveEntries(nullptr);
        CountErrors(-1);
        if (m_compiled) m_compiled(*m_liveProgram, false);
        return;
    }
    const CompileOutcome outcome = CompileProgramSource(*m_liveProgram, edit->GetText());
    ShowErrorMarks(outcome);
    ShowLiveEntries(&outcome);
    CountErrors(outcome.errorCount);
    if (m_compiled) m_compiled(*m_liveProgram, outcome.success);
}

void EditorCodeView::ShowErrorMarks(const CompileOutcome& outcome) {
    if (!m_context.edit) return;
    std::vector<SourceEdit::LineMark> marks;
    marks.reserve(outcome.errors.size());
    std::string line;
    for (const CompileOutcome::Error& error : outcome.errors) {
        SourceEdit::LineMark mark{error.line - 1, AnnotationText(error)};
        m_context.edit->GetLine(mark.line, line);
        ErrorSpan(line, error.column, mark.column, mark.length);
        marks.push_back(std::move(mark));
    }
    m_context.edit->SetErrorMarks(marks);
}

void EditorCodeView::ShowLiveEntries(const CompileOutcome* outcome) {
    MessageList* list = m_context.messages;
    if (!list || m_listHeld) return;
    std::vector<std::string> entries;
    if (outcome != nullptr) {
        entries.reserve(outcome->errors.size() + 1);
        for (const CompileOutcome::Error& error : outcome->errors)
            entries.push_back(FormatErrorEntry(error.line, error.code));
        if (outcome->interrupted) entries.push_back(LoadString(kIdsTooManyErrors));
    }
    if (list->Texts() == entries) return;
    m_writingLive = true;
    list->Clear();
    list->Append(entries);
    list->scrollToTop();
    m_writingLive = false;
}

void EditorCodeView::CountErrors(int32_t errors) {
    if (m_errorCount) m_errorCount(errors);
}

void EditorCodeView::OnNextError() { GoToError(true); }

void EditorCodeView::OnPreviousError() { GoToError(false); }

// The next faulty line after the selection, or the one before it; a beep
// when there is none.
void EditorCodeView::GoToError(bool forward) {
    if (!m_context.edit) return;
    int32_t start = 0, end = 0;
    m_context.edit->GetSel(start, end);
    const int32_t line = forward ? m_context.edit->NextErrorLine(m_context.edit->LineFromChar(end))
                                 : m_context.edit->PreviousErrorLine(m_context.edit->LineFromChar(start));
    if (line < 0) {
        m_context.dialogs.Beep();
        return;
    }
    if (m_lineJump) {
        m_lineJump(line);
    } else {
        m_context.edit->GotoLine(line);
    }
}

void EditorCodeView::OnZoomIn() {
    if (m_context.edit) m_context.edit->ZoomIn();
}

void EditorCodeView::OnZoomOut() {
    if (m_context.edit) m_context.edit->ZoomOut();
}

void EditorCodeView::OnZoomReset() {
    if (m_context.edit) m_context.edit->ZoomReset();
}

}  // namespace plc
