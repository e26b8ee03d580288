// The code view of the editor window: error markers and annotations on the
// faulty lines after Check syntax and, while typing, after the live check;
// next and previous error; zoom.
//
// The live check compiles the text a moment after the last keystroke with
// the same compile driver as Check syntax, into a scratch programme: the
// message list, the window's programme and the document's state are never
// touched, so that what Check syntax shows and saves stays its own.
#include <QAction>
#include <QTimer>
#include <algorithm>
#include <string>
#include <vector>

#include "compiler/CompileDriver.h"
#include "editor/EditorCommands.h"
#include "editor/PlcEditorDlg.h"
#include "platform/Dialogs.h"
#include "platform/Profile.h"
#include "platform/SourceEdit.h"

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

}  // namespace

void CPlcEditorDlg::SetupCodeView() {
    m_bLiveCheck = Profile().GetInt(kViewSection, kLiveCheckKey, 1) != 0;
    if (QAction* action = Action(ID_VIEW_LIVE_CHECK)) action->setChecked(m_bLiveCheck);
    m_liveTimer = new QTimer(m_editSource);
    m_liveTimer->setSingleShot(true);
    m_liveTimer->setInterval(kLiveCheckDelay);
    connect(m_liveTimer, &QTimer::timeout, this, &CPlcEditorDlg::RunLiveCheck);
    connect(m_editSource, &SourceEdit::hovered, this, &CPlcEditorDlg::ShowHover);
    connect(m_editSource, &SourceEdit::ctrlClicked, this,
            [this](int32_t pos) { GotoDefinitionAt(pos); });
}

void CPlcEditorDlg::ScheduleLiveCheck() {
    if (m_bLiveCheck && m_liveTimer) m_liveTimer->start();
}

void CPlcEditorDlg::SetLiveCheck(bool enable) {
    m_bLiveCheck = enable;
    Profile().WriteInt(kViewSection, kLiveCheckKey, enable ? 1 : 0);
    if (QAction* action = Action(ID_VIEW_LIVE_CHECK)) action->setChecked(enable);
    if (!m_editSource) return;
    if (enable) {
        RunLiveCheck();
    } else {
        if (m_liveTimer) m_liveTimer->stop();
        m_editSource->ClearErrorMarks();
    }
}

void CPlcEditorDlg::OnLiveCheck() {
    // The entry toggles its check mark itself when triggered from the menu;
    // from OnCommand it does not: the state is the editor's.
    SetLiveCheck(!m_bLiveCheck);
}

void CPlcEditorDlg::RunLiveCheck() {
    if (!m_editSource) return;
    if (!m_liveProgram) m_liveProgram = std::make_unique<CPlcProgram>();
    std::vector<std::string> lines(static_cast<size_t>(m_editSource->GetLineCount()));
    for (size_t i = 0; i < lines.size(); ++i) m_editSource->GetLine(static_cast<int32_t>(i), lines[i]);
    if (m_editSource->GetTextLength() == 0) {
        m_editSource->ClearErrorMarks();
        return;
    }
    ShowErrorMarks(CompileProgramText(*m_liveProgram, lines));
}

void CPlcEditorDlg::ShowErrorMarks(const CompileOutcome& outcome) {
    if (!m_editSource) return;
    std::vector<SourceEdit::LineMark> marks;
    marks.reserve(outcome.errors.size());
    for (const CompileOutcome::Error& error : outcome.errors)
        marks.push_back({error.line - 1, AnnotationText(error)});
    m_editSource->SetErrorMarks(marks);
}

void CPlcEditorDlg::OnNextError() { GoToError(true); }

void CPlcEditorDlg::OnPreviousError() { GoToError(false); }

// The next faulty line after the selection, or the one before it; a beep
// when there is none.
void CPlcEditorDlg::GoToError(bool forward) {
    if (!m_editSource) return;
    int32_t start = 0, end = 0;
    m_editSource->GetSel(start, end);
    const int32_t line = forward ? m_editSource->NextErrorLine(m_editSource->LineFromChar(end))
                                 : m_editSource->PreviousErrorLine(m_editSource->LineFromChar(start));
    if (line < 0) {
        m_dialogs.Beep();
        return;
    }
    m_editSource->GotoLine(line);
}

void CPlcEditorDlg::OnZoomIn() {
    if (m_editSource) m_editSource->ZoomIn();
}

void CPlcEditorDlg::OnZoomOut() {
    if (m_editSource) m_editSource->ZoomOut();
}

void CPlcEditorDlg::OnZoomReset() {
    if (m_editSource) m_editSource->ZoomReset();
}

}  // namespace plc
