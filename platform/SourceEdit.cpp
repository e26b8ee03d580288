#include "platform/SourceEdit.h"

#include <Qsci/qsciscintilla.h>

#include <QCoreApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "platform/SourceLexer.h"

namespace plc {

namespace {

// Margins, marker, indicator and the annotations' style.
constexpr int kNumberMargin = 0;
constexpr int kMarkerMargin = 1;
constexpr int kErrorMarker = 0;
constexpr int kErrorIndicator = 8;
constexpr int kAnnotationStyle = 40;
constexpr int kDwellMilliseconds = 500;

using Sci = QsciScintillaBase;

}  // namespace

SourceEdit::SourceEdit(QWidget* parent) : QWidget(parent), m_sci(new QsciScintilla(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_sci);
    setFocusProxy(m_sci);
    // Hosts and their tests find the text widget under this name.
    m_sci->setObjectName("source");

    m_sci->setUtf8(false);  // 8-bit text: one byte is one character
    m_sci->SendScintilla(Sci::SCI_SETCODEPAGE, 0L);
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

    // The zoom commands of the window own the zoom keys: Scintilla's own
    // bindings for them are dropped so that a key never zooms twice.
    for (int key : {Sci::SCK_ADD, Sci::SCK_SUBTRACT, Sci::SCK_DIVIDE})
        m_sci->SendScintilla(Sci::SCI_CLEARCMDKEY, static_cast<unsigned long>(key + (Sci::SCMOD_CTRL << 16)));

    // Colouring of the programme language.
    m_lexer = new PlcLexer(this);
    m_sci->setLexer(m_lexer);

    // Current line, line numbers and the error marker margin.
    m_sci->setCaretLineVisible(true);
    m_sci->setCaretLineBackgroundColor(QColor(0xf2, 0xf6, 0xfc));
    for (int margin = 0; margin < 5; ++margin) m_sci->setMarginWidth(margin, 0);
    m_sci->setMarginType(kNumberMargin, QsciScintilla::NumberMargin);
    m_sci->setMarginMarkerMask(kNumberMargin, 0);
    m_sci->setMarginType(kMarkerMargin, QsciScintilla::SymbolMargin);
    m_sci->setMarginMarkerMask(kMarkerMargin, 1 << kErrorMarker);
    m_sci->setMarginWidth(kMarkerMargin, 14);
    m_sci->setMarginsForegroundColor(QColor(0x80, 0x80, 0x80));
    m_sci->setMarginsBackgroundColor(QColor(0xf4, 0xf4, 0xf4));
    m_sci->markerDefine(QsciScintilla::Circle, kErrorMarker);
    m_sci->setMarkerBackgroundColor(QColor(0xd0, 0x20, 0x20), kErrorMarker);
    m_sci->setMarkerForegroundColor(QColor(0x90, 0x10, 0x10), kErrorMarker);
    m_sci->SendScintilla(Sci::SCI_SETMARGINLEFT, 0UL, 2L);

    // Annotations of faulty lines and the squiggle under them.
    m_sci->setAnnotationDisplay(QsciScintilla::AnnotationBoxed);
    m_sci->SendScintilla(Sci::SCI_STYLESETFORE, kAnnotationStyle, QColor(0x90, 0x10, 0x10));
    m_sci->SendScintilla(Sci::SCI_STYLESETBACK, kAnnotationStyle, QColor(0xfd, 0xec, 0xec));
    m_sci->SendScintilla(Sci::SCI_INDICSETSTYLE, kErrorIndicator, Sci::INDIC_SQUIGGLE);
    m_sci->SendScintilla(Sci::SCI_INDICSETFORE, kErrorIndicator, QColor(0xd0, 0x20, 0x20));

    // Hover and Ctrl+click.
    m_sci->SendScintilla(Sci::SCI_SETMOUSEDWELLTIME, kDwellMilliseconds);
    connect(m_sci, &QsciScintillaBase::SCN_DWELLSTART, this, [this](int pos, int x, int y) {
        if (pos >= 0) emit hovered(pos, m_sci->viewport()->mapToGlobal(QPoint(x, y)));
    });
    connect(m_sci, &QsciScintillaBase::SCN_DWELLEND, this, [](int, int, int) { QToolTip::hideText(); });
    m_sci->viewport()->installEventFilter(this);
    connect(m_sci, &QsciScintillaBase::SCN_ZOOM, this, [this] {
        m_lineDigits = 0;
        UpdateMarginWidth();
    });

    // A monospaced face at the system's size until the editor sets its own.
    ApplyStyleFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_font = m_sci->font();
    UpdateMarginWidth();
    connect(m_sci, qOverload<int, int, const char*, int, int, int, int, int, int, int>(
                       &QsciScintillaBase::SCN_MODIFIED),
            this, &SourceEdit::OnModified);
}

SourceEdit::~SourceEdit() = default;

std::string SourceEdit::GetText() const {
    const int32_t length = GetTextLength();
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    m_sci->SendScintilla(Sci::SCI_GETTEXT, static_cast<unsigned long>(length + 1), buffer.data());
    return std::string(buffer.data(), static_cast<size_t>(length));
}

int32_t SourceEdit::GetTextLength() const {
    return static_cast<int32_t>(m_sci->SendScintilla(Sci::SCI_GETLENGTH));
}

void SourceEdit::SetText(std::string_view text) {
    m_settingText = true;
    ClearErrorMarks();
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
    UpdateMarginWidth();
    CheckStatus();
}

int32_t SourceEdit::GetLineCount() const {
    return static_cast<int32_t>(m_sci->SendScintilla(Sci::SCI_GETLINECOUNT));
}

int32_t SourceEdit::LineIndex(int32_t line) const {
    if (line < 0 || line >= GetLineCount()) return -1;
    return static_cast<int32_t>(
        m_sci->SendScintilla(Sci::SCI_POSITIONFROMLINE, static_cast<long>(line)));
}

int32_t SourceEdit::LineLength(int32_t line) const {
    if (line < 0 || line >= GetLineCount()) return -1;
    long start = m_sci->SendScintilla(Sci::SCI_POSITIONFROMLINE, static_cast<long>(line));
    long end = m_sci->SendScintilla(Sci::SCI_GETLINEENDPOSITION, static_cast<long>(line));
    return static_cast<int32_t>(end - start);
}

bool SourceEdit::GetLine(int32_t line, std::string& text) const {
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

int32_t SourceEdit::LineFromChar(int32_t pos) const {
    pos = std::clamp(pos, 0, GetTextLength());
    return static_cast<int32_t>(
        m_sci->SendScintilla(Sci::SCI_LINEFROMPOSITION, static_cast<long>(pos)));
}

int32_t SourceEdit::FirstVisibleLine() const {
    return static_cast<int32_t>(m_sci->SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE));
}

void SourceEdit::GetSel(int32_t& start, int32_t& end) const {
    start = static_cast<int32_t>(m_sci->SendScintilla(Sci::SCI_GETSELECTIONSTART));
    end = static_cast<int32_t>(m_sci->SendScintilla(Sci::SCI_GETSELECTIONEND));
}

void SourceEdit::SetSel(int32_t start, int32_t end) {
    const int32_t length = GetTextLength();
    start = std::clamp(start, 0, length);
    end = std::clamp(end, 0, length);
    m_sci->SendScintilla(Sci::SCI_SETSEL, static_cast<long>(start), static_cast<long>(end));
}

void SourceEdit::ScrollCaret() { m_sci->SendScintilla(Sci::SCI_SCROLLCARET); }

void SourceEdit::ReplaceSel(std::string_view text) {
    // SCI_REPLACESEL takes a NUL-terminated string: delete, then insert with
    // a length, in one undo step.
    UndoGroup group(*this);
    m_sci->SendScintilla(Sci::SCI_REPLACESEL, 0UL, "");
    // What does not fit under the text limit is cut off.
    const int32_t room = std::max(0, m_limit - GetTextLength());
    if (text.size() > static_cast<size_t>(room)) {
        text = text.substr(0, static_cast<size_t>(room));
        QMetaObject::invokeMethod(this, &SourceEdit::maxText, Qt::QueuedConnection);
    }
    if (!text.empty()) {
        m_sci->SendScintilla(Sci::SCI_ADDTEXT, static_cast<unsigned long>(text.size()),
                             text.data());
    }
    if (m_batchDepth > 0) m_batchChanged = true;
}

void SourceEdit::GotoLine(int32_t line) {
    line = std::clamp(line, 0, GetLineCount() - 1);
    m_sci->SendScintilla(Sci::SCI_GOTOLINE, static_cast<long>(line));
    m_sci->SendScintilla(Sci::SCI_ENSUREVISIBLEENFORCEPOLICY, static_cast<long>(line));
}

int32_t SourceEdit::PositionFromPoint(const QPoint& point) const {
    const QPoint inViewport = m_sci->viewport()->mapFrom(this, point);
    return static_cast<int32_t>(m_sci->SendScintilla(
        Sci::SCI_POSITIONFROMPOINTCLOSE, static_cast<unsigned long>(inViewport.x()),
        static_cast<long>(inViewport.y())));
}

bool SourceEdit::CanUndo() const { return m_sci->SendScintilla(Sci::SCI_CANUNDO) != 0; }

bool SourceEdit::Undo() {
    if (!CanUndo()) return false;
    m_sci->SendScintilla(Sci::SCI_UNDO);
    return true;
}

bool SourceEdit::CanRedo() const { return m_sci->SendScintilla(Sci::SCI_CANREDO) != 0; }

bool SourceEdit::Redo() {
    if (!CanRedo()) return false;
    m_sci->SendScintilla(Sci::SCI_REDO);
    return true;
}

void SourceEdit::Cut() { m_sci->SendScintilla(Sci::SCI_CUT); }
void SourceEdit::Copy() { m_sci->SendScintilla(Sci::SCI_COPY); }
void SourceEdit::Paste() { m_sci->SendScintilla(Sci::SCI_PASTE); }

void SourceEdit::SelectAllText() {
    SetSel(0, GetTextLength());
    ScrollCaret();
}

// ---------------------------------------------------------------- groups and batches

SourceEdit::UndoGroup::UndoGroup(SourceEdit& edit) : m_edit(edit) {
    m_edit.m_sci->SendScintilla(Sci::SCI_BEGINUNDOACTION);
}

SourceEdit::UndoGroup::~UndoGroup() { m_edit.m_sci->SendScintilla(Sci::SCI_ENDUNDOACTION); }

SourceEdit::Batch::Batch(SourceEdit& edit) : m_edit(edit) {
    if (m_edit.m_batchDepth++ == 0) {
        m_edit.m_batchChanged = false;
        // Only the insertion check stays: the text limit is kept.
        m_edit.m_sci->SendScintilla(Sci::SCI_SETMODEVENTMASK,
                                    static_cast<long>(Sci::SC_MOD_INSERTCHECK));
    }
}

SourceEdit::Batch::~Batch() {
    if (--m_edit.m_batchDepth != 0) return;
    m_edit.m_sci->SendScintilla(Sci::SCI_SETMODEVENTMASK,
                                static_cast<long>(Sci::SC_MODEVENTMASKALL));
    m_edit.UpdateMarginWidth();
    if (m_edit.m_batchChanged) emit m_edit.changed();
    m_edit.CheckStatus();
}

// ---------------------------------------------------------------- markers

void SourceEdit::SetErrorMarks(const std::vector<LineMark>& marks) {
    ClearErrorMarks();
    std::vector<std::pair<int32_t, std::string>> texts;
    for (const LineMark& mark : marks) {
        if (mark.line < 0 || mark.line >= GetLineCount()) continue;
        auto it = std::find_if(texts.begin(), texts.end(),
                               [&](const auto& t) { return t.first == mark.line; });
        if (it == texts.end()) {
            texts.emplace_back(mark.line, mark.text);
        } else {
            it->second += "\n" + mark.text;
        }
    }
    m_sci->SendScintilla(Sci::SCI_SETINDICATORCURRENT, kErrorIndicator);
    for (const auto& [line, text] : texts) {
        m_sci->SendScintilla(Sci::SCI_MARKERADD, static_cast<unsigned long>(line), kErrorMarker);
        m_sci->SendScintilla(Sci::SCI_ANNOTATIONSETTEXT, static_cast<unsigned long>(line),
                             text.c_str());
        m_sci->SendScintilla(Sci::SCI_ANNOTATIONSETSTYLE, static_cast<unsigned long>(line),
                             kAnnotationStyle);
        // The squiggle runs under the statement, without its comment.
        std::string content;
        GetLine(line, content);
        size_t end = content.find(';');
        if (end == std::string::npos) end = content.size();
        while (end > 0 && (content[end - 1] == ' ' || content[end - 1] == '\t')) --end;
        if (end > 0)
            m_sci->SendScintilla(Sci::SCI_INDICATORFILLRANGE,
                                 static_cast<unsigned long>(LineIndex(line)),
                                 static_cast<long>(end));
    }
}

void SourceEdit::ClearErrorMarks() {
    m_sci->SendScintilla(Sci::SCI_MARKERDELETEALL, kErrorMarker);
    m_sci->SendScintilla(Sci::SCI_ANNOTATIONCLEARALL);
    m_sci->SendScintilla(Sci::SCI_SETINDICATORCURRENT, kErrorIndicator);
    m_sci->SendScintilla(Sci::SCI_INDICATORCLEARRANGE, 0UL, static_cast<long>(GetTextLength()));
}

std::vector<int32_t> SourceEdit::ErrorLines() const {
    std::vector<int32_t> lines;
    for (long line = m_sci->SendScintilla(Sci::SCI_MARKERNEXT, 0L, 1L << kErrorMarker); line >= 0;
         line = m_sci->SendScintilla(Sci::SCI_MARKERNEXT, line + 1, 1L << kErrorMarker))
        lines.push_back(static_cast<int32_t>(line));
    return lines;
}

std::string SourceEdit::Annotation(int32_t line) const {
    if (line < 0 || line >= GetLineCount()) return {};
    const long length = m_sci->SendScintilla(Sci::SCI_ANNOTATIONGETTEXT,
                                             static_cast<unsigned long>(line), (const char*)nullptr);
    if (length <= 0) return {};
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    m_sci->SendScintilla(Sci::SCI_ANNOTATIONGETTEXT, static_cast<unsigned long>(line),
                         buffer.data());
    return std::string(buffer.data(), static_cast<size_t>(length));
}

int32_t SourceEdit::NextErrorLine(int32_t line) const {
    long next = m_sci->SendScintilla(Sci::SCI_MARKERNEXT, static_cast<long>(line + 1),
                                     1L << kErrorMarker);
    if (next < 0) next = m_sci->SendScintilla(Sci::SCI_MARKERNEXT, 0L, 1L << kErrorMarker);
    return static_cast<int32_t>(next);
}

int32_t SourceEdit::PreviousErrorLine(int32_t line) const {
    long previous = line > 0 ? m_sci->SendScintilla(Sci::SCI_MARKERPREVIOUS,
                                                    static_cast<long>(line - 1), 1L << kErrorMarker)
                             : -1;
    if (previous < 0)
        previous = m_sci->SendScintilla(Sci::SCI_MARKERPREVIOUS,
                                        static_cast<long>(GetLineCount() - 1), 1L << kErrorMarker);
    return static_cast<int32_t>(previous);
}

// ---------------------------------------------------------------- colouring

SourceStyle SourceEdit::StyleAt(int32_t pos) {
    pos = std::clamp(pos, 0, GetTextLength());
    m_sci->SendScintilla(Sci::SCI_COLOURISE, 0L, static_cast<long>(pos + 1));
    return static_cast<SourceStyle>(
        m_sci->SendScintilla(Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(pos)));
}

// ---------------------------------------------------------------- appearance

bool SourceEdit::FaceInstalled(const QString& family) {
    return !family.isEmpty() && QFontDatabase::hasFamily(family);
}

void SourceEdit::SetEditorFont(const QFont& font) {
    m_font = font;
    QFont face = font;
    if (!FaceInstalled(font.family())) {
        face = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        if (font.pixelSize() > 0) {
            face.setPixelSize(font.pixelSize());
        } else if (font.pointSizeF() > 0) {
            face.setPointSizeF(font.pointSizeF());
        }
        face.setBold(font.bold());
        face.setItalic(font.italic());
    }
    ApplyStyleFont(face);
}

void SourceEdit::ApplyStyleFont(const QFont& font) {
    // Scintilla sizes its styles in points: a font given in pixels is
    // converted at the widget's resolution.
    QFont styleFont = font;
    if (font.pixelSize() > 0)
        styleFont.setPointSizeF(font.pixelSize() * 72.0 / std::max(1, logicalDpiY()));
    m_sci->setFont(styleFont);
    m_lexer->setDefaultFont(styleFont);
    for (int style = 0; !m_lexer->description(style).isEmpty(); ++style) {
        QFont styled = styleFont;
        const QFont base = m_lexer->defaultFont(style);
        styled.setBold(base.bold());
        styled.setItalic(base.italic());
        m_lexer->setFont(styled, style);
    }
    m_sci->setMarginsFont(styleFont);
    const QByteArray family = styleFont.family().toLatin1();
    m_sci->SendScintilla(Sci::SCI_STYLESETFONT, kAnnotationStyle, family.constData());
    m_sci->SendScintilla(Sci::SCI_STYLESETSIZEFRACTIONAL, kAnnotationStyle,
                         static_cast<long>(styleFont.pointSizeF() * static_cast<int>(Sci::SC_FONT_SIZE_MULTIPLIER)));
    m_lineDigits = 0;
    UpdateMarginWidth();
}

void SourceEdit::UpdateMarginWidth() {
    int digits = 1;
    for (int32_t count = GetLineCount(); count >= 10; count /= 10) ++digits;
    digits = std::max(digits, 3);
    if (digits == m_lineDigits) return;
    m_lineDigits = digits;
    m_sci->setMarginWidth(kNumberMargin, QString(digits + 1, QChar('9')));
}

void SourceEdit::ZoomIn() { m_sci->zoomIn(); }
void SourceEdit::ZoomOut() { m_sci->zoomOut(); }
void SourceEdit::ZoomReset() { m_sci->zoomTo(0); }
int32_t SourceEdit::Zoom() const {
    return static_cast<int32_t>(m_sci->SendScintilla(Sci::SCI_GETZOOM));
}

void SourceEdit::ShowTip(const QPoint& globalPoint, const std::string& text) {
    QToolTip::showText(globalPoint, QString::fromLatin1(text.data(), static_cast<int>(text.size())),
                       m_sci->viewport());
}

// ---------------------------------------------------------------- events

bool SourceEdit::event(QEvent* event) {
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

bool SourceEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_sci->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier)) {
            const QPoint p = mouse->position().toPoint();
            const long pos = m_sci->SendScintilla(Sci::SCI_POSITIONFROMPOINTCLOSE,
                                                  static_cast<unsigned long>(p.x()),
                                                  static_cast<long>(p.y()));
            if (pos >= 0) {
                emit ctrlClicked(static_cast<int32_t>(pos));
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------- notifications

void SourceEdit::OnModified(int, int modificationType, const char*, int length, int linesAdded,
                            int, int, int, int, int) {
    if (modificationType & Sci::SC_MOD_INSERTCHECK) {
        if (m_settingText) return;
        if (length > std::max(0, m_limit - GetTextLength())) {
            // The notification does not carry the text, so an insertion
            // that does not fit is refused as a whole (ReplaceSel cuts its
            // text to fit beforehand).
            m_sci->SendScintilla(Sci::SCI_CHANGEINSERTION, 0UL, "");
            QMetaObject::invokeMethod(this, &SourceEdit::maxText, Qt::QueuedConnection);
        }
        return;
    }
    if (modificationType & (Sci::SC_MOD_INSERTTEXT | Sci::SC_MOD_DELETETEXT)) {
        if (linesAdded != 0) UpdateMarginWidth();
        if (!m_settingText) emit changed();
        CheckStatus();
    }
}

void SourceEdit::CheckStatus() {
    if (m_sci->SendScintilla(Sci::SCI_GETSTATUS) == Sci::SC_STATUS_BADALLOC) {
        m_sci->SendScintilla(Sci::SCI_SETSTATUS, 0L);
        QMetaObject::invokeMethod(this, &SourceEdit::errSpace, Qt::QueuedConnection);
    }
}

}  // namespace plc
