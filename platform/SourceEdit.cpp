#include "platform/SourceEdit.h"

#include <QMetaObject>
#include <algorithm>
#include <vector>

namespace plc {

SourceEdit::SourceEdit(QWidget* parent) : QsciScintilla(parent) {
    setUtf8(false);  // 8-bit text: one byte is one character
    SendScintilla(SCI_SETCODEPAGE, 0L);
    setEolMode(EolWindows);
    setEolVisibility(false);
    SendScintilla(SCI_SETPASTECONVERTENDINGS, 1L);  // pasted line ends become CR LF
    setWrapMode(WrapNone);
    setIndentationsUseTabs(true);
    setTabWidth(8);
    setAutoIndent(false);
    setBraceMatching(NoBraceMatch);
    setCaretLineVisible(false);
    for (int margin = 0; margin < 5; ++margin) setMarginWidth(margin, 0);
    SendScintilla(SCI_SETMARGINLEFT, 0UL, 2L);
    SendScintilla(SCI_SETHSCROLLBAR, 1L);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1L);
    SendScintilla(SCI_SETSCROLLWIDTH, 1L);
    SendScintilla(SCI_SETMODEVENTMASK, static_cast<long>(SC_MODEVENTMASKALL));
    m_font = font();
    connect(this, qOverload<int, int, const char*, int, int, int, int, int, int, int>(
                      &QsciScintillaBase::SCN_MODIFIED),
            this, &SourceEdit::OnModified);
}

std::string SourceEdit::GetText() const {
    const int32_t length = GetTextLength();
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    SendScintilla(SCI_GETTEXT, static_cast<unsigned long>(length + 1), buffer.data());
    return std::string(buffer.data(), static_cast<size_t>(length));
}

int32_t SourceEdit::GetTextLength() const {
    return static_cast<int32_t>(SendScintilla(SCI_GETLENGTH));
}

void SourceEdit::SetText(std::string_view text) {
    m_settingText = true;
    SendScintilla(SCI_SETUNDOCOLLECTION, 0L);
    SendScintilla(SCI_CLEARALL);
    if (!text.empty())
        SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(text.size()), text.data());
    SendScintilla(SCI_SETUNDOCOLLECTION, 1L);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_SETSAVEPOINT);
    SendScintilla(SCI_GOTOPOS, 0L);
    m_settingText = false;
    CheckStatus();
}

int32_t SourceEdit::GetLineCount() const {
    return static_cast<int32_t>(SendScintilla(SCI_GETLINECOUNT));
}

int32_t SourceEdit::LineIndex(int32_t line) const {
    if (line < 0 || line >= GetLineCount()) return -1;
    return static_cast<int32_t>(SendScintilla(SCI_POSITIONFROMLINE, static_cast<long>(line)));
}

int32_t SourceEdit::LineLength(int32_t line) const {
    if (line < 0 || line >= GetLineCount()) return -1;
    long start = SendScintilla(SCI_POSITIONFROMLINE, static_cast<long>(line));
    long end = SendScintilla(SCI_GETLINEENDPOSITION, static_cast<long>(line));
    return static_cast<int32_t>(end - start);
}

bool SourceEdit::GetLine(int32_t line, std::string& text) const {
    text.clear();
    int32_t length = LineLength(line);
    if (length < 0) return false;
    if (length == 0) return true;
    int32_t start = LineIndex(line);
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    SendScintilla(SCI_GETTEXTRANGE, static_cast<long>(start), static_cast<long>(start + length),
                  buffer.data());
    text.assign(buffer.data(), static_cast<size_t>(length));
    return true;
}

int32_t SourceEdit::LineFromChar(int32_t pos) const {
    pos = std::clamp(pos, 0, GetTextLength());
    return static_cast<int32_t>(SendScintilla(SCI_LINEFROMPOSITION, static_cast<long>(pos)));
}

void SourceEdit::GetSel(int32_t& start, int32_t& end) const {
    start = static_cast<int32_t>(SendScintilla(SCI_GETSELECTIONSTART));
    end = static_cast<int32_t>(SendScintilla(SCI_GETSELECTIONEND));
}

void SourceEdit::SetSel(int32_t start, int32_t end) {
    const int32_t length = GetTextLength();
    start = std::clamp(start, 0, length);
    end = std::clamp(end, 0, length);
    SendScintilla(SCI_SETSEL, static_cast<long>(start), static_cast<long>(end));
}

void SourceEdit::ScrollCaret() { SendScintilla(SCI_SCROLLCARET); }

void SourceEdit::ReplaceSel(std::string_view text) {
    // SCI_REPLACESEL takes a NUL-terminated string: delete, then insert with
    // a length, in one undo step.
    SendScintilla(SCI_BEGINUNDOACTION);
    SendScintilla(SCI_REPLACESEL, 0UL, "");
    // What does not fit under the text limit is cut off.
    const int32_t room = std::max(0, m_limit - GetTextLength());
    if (text.size() > static_cast<size_t>(room)) {
        text = text.substr(0, static_cast<size_t>(room));
        QMetaObject::invokeMethod(this, &SourceEdit::maxText, Qt::QueuedConnection);
    }
    if (!text.empty()) {
        SendScintilla(SCI_ADDTEXT, static_cast<unsigned long>(text.size()), text.data());
    }
    SendScintilla(SCI_ENDUNDOACTION);
}

bool SourceEdit::CanUndo() const { return SendScintilla(SCI_CANUNDO) != 0; }

bool SourceEdit::Undo() {
    if (!CanUndo()) return false;
    SendScintilla(SCI_UNDO);
    return true;
}

bool SourceEdit::Redo() {
    if (SendScintilla(SCI_CANREDO) == 0) return false;
    SendScintilla(SCI_REDO);
    return true;
}

void SourceEdit::Cut() { SendScintilla(SCI_CUT); }
void SourceEdit::Copy() { SendScintilla(SCI_COPY); }
void SourceEdit::Paste() { SendScintilla(SCI_PASTE); }

void SourceEdit::SelectAllText() {
    SetSel(0, GetTextLength());
    ScrollCaret();
}

void SourceEdit::SetEditorFont(const QFont& font) {
    m_font = font;
    // Scintilla sizes its styles in points: a font given in pixels is
    // converted at the widget's resolution.
    QFont styleFont = font;
    if (font.pixelSize() > 0)
        styleFont.setPointSizeF(font.pixelSize() * 72.0 / std::max(1, logicalDpiY()));
    setFont(styleFont);
}

void SourceEdit::OnModified(int, int modificationType, const char*, int length, int, int, int,
                            int, int, int) {
    if (modificationType & SC_MOD_INSERTCHECK) {
        if (m_settingText) return;
        if (length > std::max(0, m_limit - GetTextLength())) {
            // The notification does not carry the text, so an insertion
            // that does not fit is refused as a whole (ReplaceSel cuts its
            // text to fit beforehand).
            SendScintilla(SCI_CHANGEINSERTION, 0UL, "");
            QMetaObject::invokeMethod(this, &SourceEdit::maxText, Qt::QueuedConnection);
        }
        return;
    }
    if (modificationType & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT)) {
        if (!m_settingText) emit changed();
        CheckStatus();
    }
}

void SourceEdit::CheckStatus() {
    if (SendScintilla(SCI_GETSTATUS) == SC_STATUS_BADALLOC) {
        SendScintilla(SCI_SETSTATUS, 0L);
        QMetaObject::invokeMethod(this, &SourceEdit::errSpace, Qt::QueuedConnection);
    }
}

}  // namespace plc
