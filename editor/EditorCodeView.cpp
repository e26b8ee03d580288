// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorCodeView.h"

#include <QAction>
#include <QTimer>
#include <algorithm>
#include <string>
#include <vector>

#include "compiler/CompileDriver.h"
#include "compiler/ProgramIndex.h"
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

// Where the marker of an error goes. A section without its END is reported
// at the last line read, which while typing is the line under the caret; its
// marker goes to the section's head (%TEXT or %P), the line that the missing
// END belongs to, and a text without a programme marks its first line.
int32_t MarkedLine(const CompileOutcome::Error& error, const ProgramIndex& index) {
    SectionKind open = SectionKind::Program;
    switch (error.code) {
        case kErrMissingProgramEnd: open = SectionKind::Program; break;
        case kErrMissingTextEnd: open = SectionKind::Text; break;
        case kErrNoProgram: return 0;
        default: return error.line - 1;
    }
    const int32_t head = index.OpenSectionHead(open);
    return head >= 0 ? head : error.line - 1;
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
    ShowErrorMarks(outcome);
    if (m_compiled) m_compiled(m_program, outcome.success);
    if (!outcome.success)
        m_context.dialogs.Ask(m_context.window, LoadString(kIdsSyntaxCheckFailed), MsgButtons::Ok, MsgIcon::Stop);
    return outcome.success;
}

void EditorCodeView::OnCheckSyntax() { CompileProgram(); }

// ---------------------------------------------------------------- live check

void EditorCodeView::ScheduleLiveCheck() {
    if (m_bLiveCheck && m_liveTimer) m_liveTimer->start();
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
        m_context.edit->ClearErrorMarks();
    }
}

void EditorCodeView::OnLiveCheck() {
    // The entry toggles its check mark itself when triggered from the menu;
    // from OnCommand it does not: the state is the editor's.
    SetLiveCheck(!m_bLiveCheck);
}

void EditorCodeView::RunLiveCheck() {
    if (!m_context.edit) return;
    if (!m_liveProgram) m_liveProgram = std::make_unique<CPlcProgram>();
    std::vector<std::string> lines(static_cast<size_t>(m_context.edit->GetLineCount()));
    for (size_t i = 0; i < lines.size(); ++i) m_context.edit->GetLine(static_cast<int32_t>(i), lines[i]);
    if (m_context.edit->GetTextLength() == 0) {
        m_context.edit->ClearErrorMarks();
        if (m_compiled) m_compiled(*m_liveProgram, false);
        return;
    }
    SourceFacts facts;
    facts.declarationsOnly = true;  // the sections are all the marks need
    const CompileOutcome outcome = CompileProgramText(*m_liveProgram, lines, &facts);
    const ProgramIndex index(std::move(facts));
    ShowErrorMarks(outcome, &index);
    if (m_compiled) m_compiled(*m_liveProgram, outcome.success);
}

void EditorCodeView::ShowErrorMarks(const CompileOutcome& outcome, const ProgramIndex* index) {
    if (!m_context.edit) return;
    std::vector<SourceEdit::LineMark> marks;
    marks.reserve(outcome.errors.size());
    for (const CompileOutcome::Error& error : outcome.errors)
        marks.push_back({index ? MarkedLine(error, *index) : error.line - 1, AnnotationText(error)});
    m_context.edit->SetErrorMarks(marks);
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
