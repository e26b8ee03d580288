// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SourceText.h"

#include <Qsci/qsciscintilla.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "platform/LimitedScintilla.h"

namespace plc {

namespace {

using Sci = QsciScintillaBase;

}  // namespace

SourceText::SourceText(QWidget* parent)
    : QWidget(parent),
      m_sci(new LimitedScintilla(
          this, [this](int64_t length) { return FitsSelection(length); },
          [this] { QMetaObject::invokeMethod(this, &SourceText::maxText, Qt::QueuedConnection); })) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_sci);
    setFocusProxy(m_sci);
    // Hosts and their tests find the text widget under this name.
    m_sci->setObjectName("source");

    // UTF-8 text: positions count bytes, and a character may take several.
    m_sci->setUtf8(true);
    m_sci->setEolMode(QsciScintilla::EolWindows);
    m_sci->setEolVisibility(false);
    m_sci->SendScintilla(Sci::SCI_SETPASTECONVERTENDINGS, 1L);  // pasted line ends become CR LF
    m_sci->setWrapMode(QsciScintilla::WrapNone);
    m_sci->setIndentationsUseTabs(true);
    m_sci->setTabWidth(8);
    m_sci->setAutoIndent(false);
    m_sci->setBraceMatching(QsciScintilla::NoBraceMatch);
    m_sci->SendScintilla(Sci::SCI_SETHSCROLLBAR, 1L);
    m_sci->SendScintilla(Sci::SCI_SETSCROLLWIDTHTRACKING, 1L);
    m_sci->SendScintilla(Sci::SCI_SETSCROLLWIDTH, 1L);
    m_sci->SendScintilla(Sci::SCI_SETMODEVENTMASK, static_cast<long>(Sci::SC_MODEVENTMASKALL));
    connect(m_sci, qOverload<int, int, const char*, int, int, int, int, int, int, int>(
                       &QsciScintillaBase::SCN_MODIFIED),
            this, &SourceText::OnModified);
}

SourceText::~SourceText() = default;

std::string SourceText::GetText() const {
    const int32_t length = GetTextLength();
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    m_sci->SendScintilla(Sci::SCI_GETTEXT, static_cast<unsigned long>(length + 1), buffer.data());
    return std::string(buffer.data(), static_cast<size_t>(length));
}

int32_t SourceText::GetTextLength() const {
    return static_cast<int32_t>(m_sci->SendScintilla(Sci::SCI_GETLENGTH));
}

void SourceText::SetText(std::string_view text) {
    m_settingText = true;
    TextReplacing();
    m_sci->SendScintilla(Sci::SCI_SETUNDOCOLLECTION, 0L);
    m_sci->SendScintilla(Sci::SCI_CLEARALL);
    if (!text.empty())
        m_sci->SendScintilla(Sci::SCI_APPENDTEXT, static_cast<unsigned long>(text.size()),
                             text.data());
    m_sci->SendScintilla(Sci::SCI_SETUNDOCOLLECTION, 1L);
    m_sci->SendScintilla(Sci::SCI_EMPTYUNDOBUFFER);
    m_sci->SendScintilla(Sci::SCI_SETSAVEPOINT);
    m_sci->SendScintilla(Sci::SCI_GOTOPOS, 0L);
    m_settingText = false;
    LinesChanged();
    ScheduleScrollWidth();
    CheckStatus();
}

int32_t SourceText::GetLineCount() const {
    return static_cast<int32_t>(m_sci->SendScintilla(Sci::SCI_GETLINECOUNT));
}

int32_t SourceText::LineIndex(int32_t line) const {
    if (line < 0 || line >= GetLineCount()) return -1;
    return static_cast<int32_t>(
        m_sci->SendScintilla(Sci::SCI_POSITIONFROMLINE, static_cast<long>(line)));
}

int32_t SourceText::LineLength(int32_t line) const {
    if (line < 0 || line >= GetLineCount()) return -1;
    long start = m_sci->SendScintilla(Sci::SCI_POSITIONFROMLINE, static_cast<long>(line));
    long end = m_sci->SendScintilla(Sci::SCI_GETLINEENDPOSITION, static_cast<long>(line));
    return static_cast<int32_t>(end - start);
}

bool SourceText::GetLine(int32_t line, std::string& text) const {
    text.clear();
    int32_t length = LineLength(line);
    if (length < 0) return false;
    if (length == 0) return true;
    int32_t start = LineIndex(line);
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    m_sci->SendScintilla(Sci::SCI_GETTEXTRANGE, static_cast<long>(start),
                         static_cast<long>(start + length), buffer.data());
    text.assign(buffer.data(), static_cast<size_t>(length));
    return true;
}

int32_t SourceText::LineFromChar(int32_t pos) const {
    pos = std::clamp(pos, 0, GetTextLength());
    return static_cast<int32_t>(
        m_sci->SendScintilla(Sci::SCI_LINEFROMPOSITION, static_cast<long>(pos)));
}

void SourceText::GetSel(int32_t& start, int32_t& end) const {
    start = static_cast<int32_t>(m_sci->SendScintilla(Sci::SCI_GETSELECTIONSTART));
    end = static_cast<int32_t>(m_sci->SendScintilla(Sci::SCI_GETSELECTIONEND));
}

void SourceText::SetSel(int32_t start, int32_t end) {
    const int32_t length = GetTextLength();
    start = std::clamp(start, 0, length);
    end = std::clamp(end, 0, length);
    m_sci->SendScintilla(Sci::SCI_SETSEL, static_cast<long>(start), static_cast<long>(end));
}

void SourceText::ScrollCaret() { m_sci->SendScintilla(Sci::SCI_SCROLLCARET); }

void SourceText::ReplaceSel(std::string_view text) {
    // SCI_REPLACESEL takes a NUL-terminated string: delete, then insert with
    // a length, in one undo step.
    UndoGroup group(*this);
    m_sci->SendScintilla(Sci::SCI_REPLACESEL, 0UL, "");
    // What does not fit under the text limit is cut off.
    const int32_t room = std::max(0, m_limit - GetTextLength());
    if (text.size() > static_cast<size_t>(room)) {
        text = text.substr(0, static_cast<size_t>(room));
        QMetaObject::invokeMethod(this, &SourceText::maxText, Qt::QueuedConnection);
    }
    if (!text.empty()) {
        m_sci->SendScintilla(Sci::SCI_ADDTEXT, static_cast<unsigned long>(text.size()),
                             text.data());
    }
    if (m_batchDepth > 0) m_batchChanged = true;
}

bool SourceText::ReplaceRange(int32_t start, int32_t end, std::string_view text) {
    const int32_t length = GetTextLength();
    start = std::clamp(start, 0, length);
    end = std::clamp(end, start, length);
    if (int64_t{length} - (end - start) + static_cast<int64_t>(text.size()) > m_limit) return false;
    m_sci->SendScintilla(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(start), static_cast<long>(end));
    m_sci->SendScintilla(Sci::SCI_REPLACETARGET, static_cast<unsigned long>(text.size()),
                         text.empty() ? "" : text.data());
    if (m_batchDepth > 0) m_batchChanged = true;
    return true;
}

bool SourceText::FitsSelection(int64_t length) const {
    int32_t start = 0, end = 0;
    GetSel(start, end);
    return int64_t{GetTextLength()} - (end - start) + length <= m_limit;
}

void SourceText::GotoLine(int32_t line) {
    line = std::clamp(line, 0, GetLineCount() - 1);
    m_sci->SendScintilla(Sci::SCI_GOTOLINE, static_cast<long>(line));
    m_sci->SendScintilla(Sci::SCI_ENSUREVISIBLEENFORCEPOLICY, static_cast<long>(line));
}

bool SourceText::CanUndo() const { return m_sci->SendScintilla(Sci::SCI_CANUNDO) != 0; }

bool SourceText::Undo() {
    if (!CanUndo()) return false;
    m_sci->SendScintilla(Sci::SCI_UNDO);
    return true;
}

bool SourceText::CanRedo() const { return m_sci->SendScintilla(Sci::SCI_CANREDO) != 0; }

bool SourceText::Redo() {
    if (!CanRedo()) return false;
    m_sci->SendScintilla(Sci::SCI_REDO);
    return true;
}

void SourceText::Cut() { m_sci->SendScintilla(Sci::SCI_CUT); }
void SourceText::Copy() { m_sci->SendScintilla(Sci::SCI_COPY); }
void SourceText::Paste() { m_sci->SendScintilla(Sci::SCI_PASTE); }

void SourceText::SelectAllText() {
    SetSel(0, GetTextLength());
    ScrollCaret();
}

// ---------------------------------------------------------------- groups and batches

SourceText::UndoGroup::UndoGroup(SourceText& edit) : m_edit(edit) {
    m_edit.m_sci->SendScintilla(Sci::SCI_BEGINUNDOACTION);
}

SourceText::UndoGroup::~UndoGroup() { m_edit.m_sci->SendScintilla(Sci::SCI_ENDUNDOACTION); }

SourceText::Batch::Batch(SourceText& edit) : m_edit(edit) {
    if (m_edit.m_batchDepth++ == 0) {
        m_edit.m_batchChanged = false;
        // Only the insertion check stays: the text limit is kept.
        m_edit.m_sci->SendScintilla(Sci::SCI_SETMODEVENTMASK,
                                    static_cast<long>(Sci::SC_MOD_INSERTCHECK));
    }
}

SourceText::Batch::~Batch() {
    if (--m_edit.m_batchDepth != 0) return;
    m_edit.m_sci->SendScintilla(Sci::SCI_SETMODEVENTMASK,
                                static_cast<long>(Sci::SC_MODEVENTMASKALL));
    m_edit.LinesChanged();
    if (m_edit.m_batchChanged) emit m_edit.changed();
    m_edit.CheckStatus();
}

// ---------------------------------------------------------------- events

bool SourceText::event(QEvent* event) {
    // Keys sent to the control itself go to the text. A key the text does
    // not take has gone up to the window from there already; it ends here.
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride: {
            if (m_forwarding) return QWidget::event(event);
            m_forwarding = true;
            const bool handled = QCoreApplication::sendEvent(m_sci, event);
            m_forwarding = false;
            // Whether the text wants a key decides whether it is a shortcut.
            if (event->type() == QEvent::ShortcutOverride) return handled;
            event->accept();
            return true;
        }
        default:
            break;
    }
    return QWidget::event(event);
}

// ---------------------------------------------------------------- notifications

void SourceText::OnModified(int, int modificationType, const char*, int length, int linesAdded,
                            int, int, int, int, int) {
    if (modificationType & Sci::SC_MOD_INSERTCHECK) {
        if (m_settingText) return;
        if (length > std::max(0, m_limit - GetTextLength())) {
            // The notification does not carry the text, so an insertion
            // that does not fit is refused as a whole (ReplaceSel cuts its
            // text to fit beforehand).
            m_sci->SendScintilla(Sci::SCI_CHANGEINSERTION, 0UL, "");
            QMetaObject::invokeMethod(this, &SourceText::maxText, Qt::QueuedConnection);
        }
        return;
    }
    if (modificationType & (Sci::SC_MOD_INSERTTEXT | Sci::SC_MOD_DELETETEXT)) {
        if (linesAdded != 0) LinesChanged();
        // The control widens the scroll range as lines grow but never
        // narrows it: after a deletion it is measured again.
        if (modificationType & Sci::SC_MOD_DELETETEXT) ScheduleScrollWidth();
        if (!m_settingText) emit changed();
        CheckStatus();
    }
}

void SourceText::ScheduleScrollWidth() {
    if (m_scrollWidthPending) return;
    m_scrollWidthPending = true;
    QMetaObject::invokeMethod(this, &SourceText::UpdateScrollWidth, Qt::QueuedConnection);
}

void SourceText::UpdateScrollWidth() {
    m_scrollWidthPending = false;
    // The line that reaches furthest in columns (tabs expanded) is the
    // widest; its width in pixels is measured by the control itself.
    long widest = 0, widestColumns = -1;
    const int32_t lines = GetLineCount();
    for (int32_t line = 0; line < lines; ++line) {
        const long end = m_sci->SendScintilla(Sci::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
        const long columns = m_sci->SendScintilla(Sci::SCI_GETCOLUMN, static_cast<unsigned long>(end));
        if (columns > widestColumns) {
            widestColumns = columns;
            widest = line;
        }
    }
    const long start = m_sci->SendScintilla(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(widest));
    const long end = m_sci->SendScintilla(Sci::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(widest));
    const long width = m_sci->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, end) -
                       m_sci->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, start);
    m_sci->SendScintilla(Sci::SCI_SETSCROLLWIDTH, std::max(1L, width));
}

void SourceText::CheckStatus() {
    if (m_sci->SendScintilla(Sci::SCI_GETSTATUS) == Sci::SC_STATUS_BADALLOC) {
        m_sci->SendScintilla(Sci::SCI_SETSTATUS, 0L);
        QMetaObject::invokeMethod(this, &SourceText::errSpace, Qt::QueuedConnection);
    }
}

}  // namespace plc
