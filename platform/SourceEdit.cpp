// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SourceEdit.h"

#include <Qsci/qsciscintilla.h>

#include <QFontDatabase>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "platform/SourceLexer.h"
#include "platform/Text.h"

namespace plc {

namespace {

// Margins, marker, indicator and the annotations' style.
constexpr int kNumberMargin = 0;
constexpr int kMarkerMargin = 1;
constexpr int kBreakpointMargin = 2;
constexpr int kErrorMarker = 0;
constexpr int kWarningMarker = 1;
constexpr int kBreakpointMarker = 2;
constexpr int kRunArrowMarker = 3;
constexpr int kRunLineMarker = 4;
constexpr int kErrorIndicator = 8;
constexpr int kSearchIndicator = 9;
constexpr int kWarningIndicator = 10;
constexpr int kLinkIndicator = 11;
constexpr int kCompletionList = 1;  // the id of the completion list among Scintilla's user lists
constexpr int kAnnotationStyle = 40;
constexpr int kWarningAnnotationStyle = 41;
constexpr int kDwellMilliseconds = 500;
// What starts the continuation of an annotation line wrapped to the view.
constexpr std::string_view kWrapIndent = "\n    ";

// `text` with every line longer than `columns` broken at blanks, the
// continuations indented; a word longer than a line stays whole.
std::string WrapAnnotation(const std::string& text, size_t columns) {
    std::string wrapped;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + start, end - start);
        size_t width = columns;
        while (line.size() > width) {
            size_t cut = line.rfind(' ', width);
            if (cut == std::string_view::npos || cut == 0) cut = line.find(' ', width);
            if (cut == std::string_view::npos) break;
            wrapped += line.substr(0, cut);
            wrapped += kWrapIndent;
            line.remove_prefix(cut + 1);
            width = columns > kWrapIndent.size() ? columns - (kWrapIndent.size() - 1) : 1;
        }
        wrapped += line;
        if (end == text.size()) break;
        wrapped += '\n';
        start = end + 1;
    }
    return wrapped;
}

// The annotation text as it was set, without the breaks of wrapping.
std::string UnwrapAnnotation(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (size_t at = text.find(kWrapIndent); at != std::string_view::npos; at = text.find(kWrapIndent)) {
        plain += text.substr(0, at);
        plain += ' ';
        text.remove_prefix(at + kWrapIndent.size());
    }
    plain += text;
    return plain;
}

// The warnings' colour: amber, apart from the errors' red.
const QColor kWarningColour(0xd0, 0x8a, 0x00);

using Sci = QsciScintillaBase;

}  // namespace

SourceEdit::SourceEdit(QWidget* parent) : SourceText(parent) {
    // The zoom commands of the window own the zoom keys: Scintilla's own
    // bindings for them are dropped so that a key never zooms twice.
    for (int key : {Sci::SCK_ADD, Sci::SCK_SUBTRACT, Sci::SCK_DIVIDE})
        m_sci->SendScintilla(Sci::SCI_CLEARCMDKEY, static_cast<unsigned long>(key + (Sci::SCMOD_CTRL << 16)));
    // Likewise the navigation keys of the window (Alt+Left, Alt+Right) and
    // its completion key (Ctrl+Space).
    for (int key : {Sci::SCK_LEFT, Sci::SCK_RIGHT})
        m_sci->SendScintilla(Sci::SCI_CLEARCMDKEY, static_cast<unsigned long>(key + (Sci::SCMOD_ALT << 16)));
    m_sci->SendScintilla(Sci::SCI_CLEARCMDKEY, static_cast<unsigned long>(' ' + (Sci::SCMOD_CTRL << 16)));

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

    // The hits of a search: a box under the text, drawn below the selection.
    m_sci->SendScintilla(Sci::SCI_INDICSETSTYLE, kSearchIndicator, Sci::INDIC_STRAIGHTBOX);
    m_sci->SendScintilla(Sci::SCI_INDICSETFORE, kSearchIndicator, QColor(0xf0, 0xb0, 0x00));
    m_sci->SendScintilla(Sci::SCI_INDICSETALPHA, kSearchIndicator, 90L);
    m_sci->SendScintilla(Sci::SCI_INDICSETOUTLINEALPHA, kSearchIndicator, 200L);
    m_sci->SendScintilla(Sci::SCI_INDICSETUNDER, kSearchIndicator, 1L);

    // Warnings: the same three marks in amber.
    m_sci->setMarginMarkerMask(kMarkerMargin, (1 << kErrorMarker) | (1 << kWarningMarker));
    m_sci->markerDefine(QsciScintilla::RightTriangle, kWarningMarker);
    m_sci->setMarkerBackgroundColor(kWarningColour, kWarningMarker);
    m_sci->setMarkerForegroundColor(kWarningColour.darker(150), kWarningMarker);
    m_sci->SendScintilla(Sci::SCI_STYLESETFORE, kWarningAnnotationStyle, QColor(0x6e, 0x48, 0x00));
    m_sci->SendScintilla(Sci::SCI_STYLESETBACK, kWarningAnnotationStyle, QColor(0xff, 0xf4, 0xd6));
    m_sci->SendScintilla(Sci::SCI_INDICSETSTYLE, kWarningIndicator, Sci::INDIC_SQUIGGLE);
    m_sci->SendScintilla(Sci::SCI_INDICSETFORE, kWarningIndicator, kWarningColour);

    // The dry run: breakpoints and the arrow of the next statement in a
    // margin of their own (shown while a dry run is open), the statement's
    // line with a background.
    m_sci->setMarginType(kBreakpointMargin, QsciScintilla::SymbolMargin);
    m_sci->setMarginMarkerMask(kBreakpointMargin, (1 << kBreakpointMarker) | (1 << kRunArrowMarker));
    m_sci->setMarginSensitivity(kBreakpointMargin, true);
    m_sci->markerDefine(QsciScintilla::Circle, kBreakpointMarker);
    m_sci->setMarkerBackgroundColor(QColor(0xb0, 0x10, 0x30), kBreakpointMarker);
    m_sci->setMarkerForegroundColor(QColor(0x70, 0x00, 0x10), kBreakpointMarker);
    m_sci->markerDefine(QsciScintilla::RightArrow, kRunArrowMarker);
    m_sci->setMarkerBackgroundColor(QColor(0xf0, 0xc0, 0x00), kRunArrowMarker);
    m_sci->setMarkerForegroundColor(QColor(0x70, 0x50, 0x00), kRunArrowMarker);
    m_sci->markerDefine(QsciScintilla::Background, kRunLineMarker);
    m_sci->setMarkerBackgroundColor(QColor(0xff, 0xef, 0x9e), kRunLineMarker);
    connect(m_sci, &QsciScintilla::marginClicked, this, [this](int margin, int line, Qt::KeyboardModifiers) {
        if (margin == kBreakpointMargin) emit breakpointClicked(line);
    });
    connect(m_sci, &QsciScintilla::cursorPositionChanged, this, [this](int line, int) {
        if (line == m_caretLine) return;
        m_caretLine = line;
        emit caretLineChanged(line);
    });

    // The link under a Ctrl+hover: a plain underline in the link colour.
    m_sci->SendScintilla(Sci::SCI_INDICSETSTYLE, kLinkIndicator, Sci::INDIC_PLAIN);
    m_sci->SendScintilla(Sci::SCI_INDICSETFORE, kLinkIndicator, QColor(0x10, 0x50, 0xc0));

    // The completion list keeps the order it is given; its entries hold blanks.
    m_sci->SendScintilla(Sci::SCI_AUTOCSETORDER, static_cast<unsigned long>(Sci::SC_ORDER_CUSTOM));
    m_sci->SendScintilla(Sci::SCI_AUTOCSETSEPARATOR, static_cast<unsigned long>('\n'));
    m_sci->SendScintilla(Sci::SCI_AUTOCSETIGNORECASE, 1UL);
    m_sci->SendScintilla(Sci::SCI_AUTOCSETMAXHEIGHT, 12UL);
    connect(m_sci, qOverload<const char*, int, int, int, int>(&QsciScintillaBase::SCN_USERLISTSELECTION), this,
            [this](const char* selection, int id, int, int, int) {
                if (id == kCompletionList && selection != nullptr) emit completionChosen(selection);
            });
    connect(m_sci, &QsciScintillaBase::SCN_CHARADDED, this, [this](int ch) { emit charTyped(ch); });

    // Hover and Ctrl+click.
    m_sci->SendScintilla(Sci::SCI_SETMOUSEDWELLTIME, kDwellMilliseconds);
    connect(m_sci, &QsciScintillaBase::SCN_DWELLSTART, this, [this](int pos, int x, int y) {
        if (pos >= 0) emit hovered(pos, m_sci->viewport()->mapToGlobal(QPoint(x, y)));
    });
    connect(m_sci, &QsciScintillaBase::SCN_DWELLEND, this, [](int, int, int) { QToolTip::hideText(); });
    m_sci->viewport()->installEventFilter(this);
    m_sci->installEventFilter(this);  // the Ctrl key itself
    connect(m_sci, &QsciScintillaBase::SCN_ZOOM, this, [this] {
        m_lineDigits = 0;
        UpdateMarginWidth();
    });

    // A monospaced face at the system's size until the editor sets its own.
    ApplyStyleFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_font = m_sci->font();
    UpdateMarginWidth();
}

SourceEdit::~SourceEdit() = default;

// ---------------------------------------------------------------- markers

void SourceEdit::SetErrorMarks(const std::vector<LineMark>& marks) {
    m_errorMarks = marks;
    ApplyMarks();
}

void SourceEdit::ClearErrorMarks() {
    m_errorMarks.clear();
    ApplyMarks();
}

void SourceEdit::SetWarningMarks(const std::vector<LineMark>& marks) {
    m_warningMarks = marks;
    ApplyMarks();
}

void SourceEdit::ClearWarningMarks() {
    m_warningMarks.clear();
    ApplyMarks();
}

void SourceEdit::TextReplacing() {
    m_errorMarks.clear();
    m_warningMarks.clear();
    ApplyMarks();
    ClearSearchMarks();
    SetRunLine(-1);
    // The new text is in place once control is back in the event loop.
    QMetaObject::invokeMethod(this, [this] { emit textReplaced(); }, Qt::QueuedConnection);
}

void SourceEdit::ApplyMarks() {
    for (int marker : {kErrorMarker, kWarningMarker}) m_sci->SendScintilla(Sci::SCI_MARKERDELETEALL, marker);
    m_sci->SendScintilla(Sci::SCI_ANNOTATIONCLEARALL);
    for (int indicator : {kErrorIndicator, kWarningIndicator}) {
        m_sci->SendScintilla(Sci::SCI_SETINDICATORCURRENT, indicator);
        m_sci->SendScintilla(Sci::SCI_INDICATORCLEARRANGE, 0UL, static_cast<long>(GetTextLength()));
    }
    // Each line's texts, errors first; a line with an error takes its colour.
    struct Texts {
        std::string text;
        bool error = false;
    };
    std::map<int32_t, Texts> texts;
    auto mark = [&](const LineMark& m, bool error) {
        if (m.line < 0 || m.line >= GetLineCount()) return;
        m_sci->SendScintilla(Sci::SCI_MARKERADD, static_cast<unsigned long>(m.line), error ? kErrorMarker : kWarningMarker);
        Texts& t = texts[m.line];
        t.text += (t.text.empty() ? "" : "\n") + m.text;
        t.error = t.error || error;
        std::string content;
        GetLine(m.line, content);
        int32_t from = 0, end = 0;
        if (m.length < 0) {
            // The squiggle runs under the statement, without its comment.
            size_t stop = content.find(';');
            if (stop == std::string::npos) stop = content.size();
            while (stop > 0 && (content[stop - 1] == ' ' || content[stop - 1] == '\t')) --stop;
            end = static_cast<int32_t>(stop);
        } else {
            from = std::clamp(m.column, 0, static_cast<int32_t>(content.size()));
            end = std::clamp(m.column + m.length, from, static_cast<int32_t>(content.size()));
        }
        if (end <= from) return;
        m_sci->SendScintilla(Sci::SCI_SETINDICATORCURRENT, error ? kErrorIndicator : kWarningIndicator);
        m_sci->SendScintilla(Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(LineIndex(m.line) + from),
                             static_cast<long>(end - from));
    };
    for (const LineMark& m : m_errorMarks) mark(m, true);
    for (const LineMark& m : m_warningMarks) mark(m, false);
    for (const auto& [line, t] : texts) {
        m_sci->SendScintilla(Sci::SCI_ANNOTATIONSETTEXT, static_cast<unsigned long>(line),
                             WrapAnnotation(t.text, AnnotationColumns()).c_str());
        m_sci->SendScintilla(Sci::SCI_ANNOTATIONSETSTYLE, static_cast<unsigned long>(line),
                             t.error ? kAnnotationStyle : kWarningAnnotationStyle);
    }
}

std::vector<int32_t> SourceEdit::LinesWith(int marker) const {
    std::vector<int32_t> lines;
    for (long line = m_sci->SendScintilla(Sci::SCI_MARKERNEXT, 0L, 1L << marker); line >= 0;
         line = m_sci->SendScintilla(Sci::SCI_MARKERNEXT, line + 1, 1L << marker))
        lines.push_back(static_cast<int32_t>(line));
    return lines;
}

std::vector<int32_t> SourceEdit::ErrorLines() const { return LinesWith(kErrorMarker); }

std::vector<int32_t> SourceEdit::WarningLines() const { return LinesWith(kWarningMarker); }

size_t SourceEdit::AnnotationColumns() const {
    // The average width of a message's characters (the annotation style may
    // be proportional), from a sample of capitals, digits and small letters.
    static constexpr char kSample[] = "LINE(019): ERR(01) - Unknown command or missing comment";
    const long charWidth =
        (m_sci->SendScintilla(Sci::SCI_TEXTWIDTH, kAnnotationStyle, kSample) + sizeof kSample - 2) /
        static_cast<long>(sizeof kSample - 1);
    long margins = 0;
    for (int margin = 0; margin < 5; ++margin)
        margins += m_sci->SendScintilla(Sci::SCI_GETMARGINWIDTHN, static_cast<unsigned long>(margin));
    const long width = m_sci->viewport()->width() - margins;
    // A few characters are left for the annotation's box and the scroll bar.
    return static_cast<size_t>(std::max(20L, charWidth > 0 ? width / charWidth - 4 : 80L));
}

void SourceEdit::RewrapAnnotations() {
    const size_t columns = AnnotationColumns();
    if (columns == m_annotationColumns) return;
    m_annotationColumns = columns;
    for (int32_t line = 0; line < GetLineCount(); ++line) {
        if (m_sci->SendScintilla(Sci::SCI_ANNOTATIONGETLINES, static_cast<unsigned long>(line)) == 0) continue;
        m_sci->SendScintilla(Sci::SCI_ANNOTATIONSETTEXT, static_cast<unsigned long>(line),
                             WrapAnnotation(Annotation(line), columns).c_str());
    }
}

std::string SourceEdit::Annotation(int32_t line) const {
    if (line < 0 || line >= GetLineCount()) return {};
    const long length = m_sci->SendScintilla(Sci::SCI_ANNOTATIONGETTEXT,
                                             static_cast<unsigned long>(line), (const char*)nullptr);
    if (length <= 0) return {};
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    m_sci->SendScintilla(Sci::SCI_ANNOTATIONGETTEXT, static_cast<unsigned long>(line),
                         buffer.data());
    return UnwrapAnnotation(std::string(buffer.data(), static_cast<size_t>(length)));
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

// ---------------------------------------------------------------- search hits

void SourceEdit::SetSearchMarks(const std::vector<std::pair<int32_t, int32_t>>& hits) {
    ClearSearchMarks();
    m_sci->SendScintilla(Sci::SCI_SETINDICATORCURRENT, kSearchIndicator);
    const int32_t length = GetTextLength();
    for (const auto& [start, end] : hits) {
        if (start < 0 || end <= start || end > length) continue;
        m_sci->SendScintilla(Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(start),
                             static_cast<long>(end - start));
    }
}

void SourceEdit::ClearSearchMarks() {
    m_sci->SendScintilla(Sci::SCI_SETINDICATORCURRENT, kSearchIndicator);
    m_sci->SendScintilla(Sci::SCI_INDICATORCLEARRANGE, 0UL, static_cast<long>(GetTextLength()));
}

std::vector<std::pair<int32_t, int32_t>> SourceEdit::SearchMarks() const {
    std::vector<std::pair<int32_t, int32_t>> marks;
    const long length = GetTextLength();
    for (long pos = 0; pos < length;) {
        const long end = m_sci->SendScintilla(Sci::SCI_INDICATOREND, kSearchIndicator, pos);
        if (m_sci->SendScintilla(Sci::SCI_INDICATORVALUEAT, kSearchIndicator, pos) != 0)
            marks.emplace_back(static_cast<int32_t>(pos), static_cast<int32_t>(end));
        if (end <= pos) break;
        pos = end;
    }
    return marks;
}

// ---------------------------------------------------------------- dry run

void SourceEdit::ShowBreakpointMargin(bool show) { m_sci->setMarginWidth(kBreakpointMargin, show ? 14 : 0); }

void SourceEdit::SetBreakpoint(int32_t line, bool on) {
    if (line < 0 || line >= GetLineCount() || HasBreakpoint(line) == on) return;
    m_sci->SendScintilla(on ? Sci::SCI_MARKERADD : Sci::SCI_MARKERDELETE, static_cast<unsigned long>(line),
                         kBreakpointMarker);
}

bool SourceEdit::HasBreakpoint(int32_t line) const {
    if (line < 0 || line >= GetLineCount()) return false;
    return (m_sci->SendScintilla(Sci::SCI_MARKERGET, static_cast<unsigned long>(line)) & (1L << kBreakpointMarker)) != 0;
}

std::vector<int32_t> SourceEdit::BreakpointLines() const { return LinesWith(kBreakpointMarker); }

void SourceEdit::SetRunLine(int32_t line) {
    for (int marker : {kRunArrowMarker, kRunLineMarker}) m_sci->SendScintilla(Sci::SCI_MARKERDELETEALL, marker);
    if (line < 0 || line >= GetLineCount()) return;
    for (int marker : {kRunArrowMarker, kRunLineMarker})
        m_sci->SendScintilla(Sci::SCI_MARKERADD, static_cast<unsigned long>(line), marker);
    m_sci->SendScintilla(Sci::SCI_ENSUREVISIBLEENFORCEPOLICY, static_cast<unsigned long>(line));
}

int32_t SourceEdit::CaretLine() const {
    int32_t s = 0, e = 0;
    GetSel(s, e);
    return LineFromChar(s);
}

int32_t SourceEdit::RunLine() const {
    const auto lines = LinesWith(kRunArrowMarker);
    return lines.empty() ? -1 : lines.front();
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

QFont SourceEdit::ShownFont(const QFont& font) {
    if (FaceInstalled(font.family())) return font;
    QFont face = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (font.pixelSize() > 0) {
        face.setPixelSize(font.pixelSize());
    } else if (font.pointSizeF() > 0) {
        face.setPointSizeF(font.pointSizeF());
    }
    face.setBold(font.bold());
    face.setItalic(font.italic());
    return face;
}

void SourceEdit::SetEditorFont(const QFont& font) {
    m_font = font;
    ApplyStyleFont(ShownFont(font));
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

void SourceEdit::ShowTip(const QPoint& globalPoint, const std::string& text, bool rich) {
    QString tip = ToQString(text);
    if (!rich) tip = "<p style='white-space:pre'>" + tip.toHtmlEscaped() + "</p>";
    QToolTip::showText(globalPoint, tip, m_sci->viewport());
}

void SourceEdit::ShowLink(int32_t pos, int32_t length) {
    if (m_link == std::pair{pos, length} || (length <= 0 && m_link.second <= 0)) return;
    m_sci->SendScintilla(Sci::SCI_SETINDICATORCURRENT, static_cast<unsigned long>(kLinkIndicator));
    if (m_link.second > 0) {
        m_sci->SendScintilla(Sci::SCI_INDICATORCLEARRANGE, static_cast<unsigned long>(m_link.first),
                             static_cast<long>(m_link.second));
    }
    m_link = length > 0 ? std::pair{pos, length} : std::pair{0, 0};
    if (length > 0) {
        m_sci->SendScintilla(Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(pos), static_cast<long>(length));
        m_sci->viewport()->setCursor(Qt::PointingHandCursor);
    } else {
        m_sci->viewport()->setCursor(Qt::IBeamCursor);
    }
}

void SourceEdit::ShowCompletions(const std::vector<std::string>& entries) {
    if (entries.empty()) return;
    std::string list;
    for (const std::string& entry : entries) {
        if (!list.empty()) list.push_back('\n');
        list += entry;
    }
    m_sci->SendScintilla(Sci::SCI_USERLISTSHOW, static_cast<unsigned long>(kCompletionList), list.c_str());
}

bool SourceEdit::CompletionsShown() const { return m_sci->SendScintilla(Sci::SCI_AUTOCACTIVE) != 0; }

void SourceEdit::HideCompletions() { m_sci->SendScintilla(Sci::SCI_AUTOCCANCEL); }

// ---------------------------------------------------------------- events

bool SourceEdit::eventFilter(QObject* watched, QEvent* event) {
    // Annotations wrap to the view's width.
    if (watched == m_sci->viewport() && event->type() == QEvent::Resize) RewrapAnnotations();
    // Ctrl+hover: the word under the mouse while Ctrl is held.
    const auto ctrlHover = [this](QPoint inViewport) {
        emit ctrlHovered(static_cast<int32_t>(m_sci->SendScintilla(Sci::SCI_POSITIONFROMPOINTCLOSE,
                                                                   static_cast<unsigned long>(inViewport.x()),
                                                                   static_cast<long>(inViewport.y()))));
    };
    if (watched == m_sci->viewport() && event->type() == QEvent::MouseMove) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->modifiers() & Qt::ControlModifier) {
            ctrlHover(mouse->position().toPoint());
        } else if (m_link.second > 0) {
            emit ctrlHovered(-1);
        }
    } else if (watched == m_sci->viewport() && event->type() == QEvent::Leave && m_link.second > 0) {
        emit ctrlHovered(-1);
    } else if (watched == m_sci && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Control) {
        if (event->type() == QEvent::KeyPress) {
            ctrlHover(m_sci->viewport()->mapFromGlobal(QCursor::pos()));
        } else {
            emit ctrlHovered(-1);
        }
    }
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
    return SourceText::eventFilter(watched, event);
}

}  // namespace plc
