// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MarkedText.h"

#include <Qsci/qsciscintilla.h>

#include <QEvent>
#include <QFont>
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace plc {

namespace {

// Margins, markers, indicators and the annotations' styles.
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
constexpr int kAnnotationStyle = 40;
constexpr int kWarningAnnotationStyle = 41;
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

MarkedText::MarkedText(QWidget* parent) : SourceText(parent) {
    // No margin until its marks ask for one; the error marker margin.
    for (int margin = 0; margin < 5; ++margin) m_sci->setMarginWidth(margin, 0);
    m_sci->setMarginType(kMarkerMargin, QsciScintilla::SymbolMargin);
    m_sci->setMarginMarkerMask(kMarkerMargin, 1 << kErrorMarker);
    m_sci->setMarginWidth(kMarkerMargin, 14);
    m_sci->markerDefine(QsciScintilla::Circle, kErrorMarker);
    m_sci->setMarkerBackgroundColor(QColor(0xd0, 0x20, 0x20), kErrorMarker);
    m_sci->setMarkerForegroundColor(QColor(0x90, 0x10, 0x10), kErrorMarker);

    // Annotations of faulty lines (their styles: StyleAnnotations) and the
    // squiggle under them.
    m_sci->setAnnotationDisplay(QsciScintilla::AnnotationBoxed);
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

    // Annotations wrap to the view's width.
    m_sci->viewport()->installEventFilter(this);
}

MarkedText::~MarkedText() = default;

bool MarkedText::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_sci->viewport() && event->type() == QEvent::Resize) RewrapAnnotations();
    return SourceText::eventFilter(watched, event);
}

void MarkedText::StyleAnnotations(const QFont& font) {
    m_sci->SendScintilla(Sci::SCI_STYLESETFORE, kAnnotationStyle, QColor(0x90, 0x10, 0x10));
    m_sci->SendScintilla(Sci::SCI_STYLESETBACK, kAnnotationStyle, QColor(0xfd, 0xec, 0xec));
    m_sci->SendScintilla(Sci::SCI_STYLESETFORE, kWarningAnnotationStyle, QColor(0x6e, 0x48, 0x00));
    m_sci->SendScintilla(Sci::SCI_STYLESETBACK, kWarningAnnotationStyle, QColor(0xff, 0xf4, 0xd6));
    const QByteArray family = font.family().toLatin1();
    m_sci->SendScintilla(Sci::SCI_STYLESETFONT, kAnnotationStyle, family.constData());
    m_sci->SendScintilla(Sci::SCI_STYLESETSIZEFRACTIONAL, kAnnotationStyle,
                         static_cast<long>(font.pointSizeF() * static_cast<int>(Sci::SC_FONT_SIZE_MULTIPLIER)));
}

// ---------------------------------------------------------------- markers

void MarkedText::SetErrorMarks(const std::vector<LineMark>& marks) {
    m_errorMarks = marks;
    ApplyMarks();
}

void MarkedText::ClearErrorMarks() {
    m_errorMarks.clear();
    ApplyMarks();
}

void MarkedText::SetWarningMarks(const std::vector<LineMark>& marks) {
    m_warningMarks = marks;
    ApplyMarks();
}

void MarkedText::ClearWarningMarks() {
    m_warningMarks.clear();
    ApplyMarks();
}

void MarkedText::TextReplacing() {
    m_errorMarks.clear();
    m_warningMarks.clear();
    ApplyMarks();
    ClearSearchMarks();
    SetRunLine(-1);
}

MarkedText::MarksUpdate::MarksUpdate(MarkedText& text) : m_text(text) { ++m_text.m_updateDepth; }

MarkedText::MarksUpdate::~MarksUpdate() {
    if (--m_text.m_updateDepth == 0 && m_text.m_marksPending) m_text.ApplyMarks();
}

void MarkedText::HoldAnnotation(int32_t line) {
    if (line == m_heldLine) return;
    m_heldLine = line;
    ApplyMarks();
}

bool MarkedText::LineInView(int32_t line) const {
    const long row = m_sci->SendScintilla(Sci::SCI_VISIBLEFROMDOCLINE, static_cast<unsigned long>(line)) -
                     m_sci->SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE);
    return line >= 0 && line < GetLineCount() && row >= 0 && row < m_sci->SendScintilla(Sci::SCI_LINESONSCREEN);
}

namespace {

// Ranges [start, end) of positions, in order, touching ones joined: an
// indicator holds them that way.
using Ranges = std::vector<std::pair<int32_t, int32_t>>;

void Join(Ranges& ranges) {
    std::sort(ranges.begin(), ranges.end());
    Ranges joined;
    for (const auto& r : ranges) {
        if (!joined.empty() && r.first <= joined.back().second)
            joined.back().second = std::max(joined.back().second, r.second);
        else
            joined.push_back(r);
    }
    ranges = std::move(joined);
}

// What a line is to show: its markers, its annotation and the squiggles of
// errors and warnings.
struct LineLook {
    int markers = 0;  // bits by marker number
    std::string text;
    bool error = false;  // the annotation in the errors' colour
    Ranges squiggles[2];  // errors', warnings'
};

}  // namespace

void MarkedText::ApplyMarks() {
    if (m_updateDepth > 0) {
        m_marksPending = true;
        return;
    }
    m_marksPending = false;
    const int32_t lineCount = GetLineCount();
    const int indicators[2] = {kErrorIndicator, kWarningIndicator};
    const int markerBits = (1 << kErrorMarker) | (1 << kWarningMarker);

    // What each marked line is to show; a line named twice shows both texts,
    // errors first, in the error colour when it has one.
    std::map<int32_t, LineLook> wanted;
    std::string content;
    auto mark = [&](const LineMark& m, bool error) {
        if (m.line < 0 || m.line >= lineCount) return;
        LineLook& look = wanted[m.line];
        look.markers |= 1 << (error ? kErrorMarker : kWarningMarker);
        look.text += (look.text.empty() ? "" : "\n") + m.text;
        look.error = look.error || error;
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
        const int32_t at = LineIndex(m.line);
        look.squiggles[error ? 0 : 1].emplace_back(at + from, at + end);
    };
    for (const LineMark& m : m_errorMarks) mark(m, true);
    for (const LineMark& m : m_warningMarks) mark(m, false);

    // The lines that show marks now: those with a marker (an annotation is
    // only ever set on them, and moves with them) and those a squiggle
    // reaches (a squiggle moves with its characters, also onto another line
    // when its line is split).
    std::set<int32_t> lines;
    for (const auto& [line, look] : wanted) lines.insert(line);
    for (long line = m_sci->SendScintilla(Sci::SCI_MARKERNEXT, 0UL, static_cast<long>(markerBits)); line >= 0;
         line = m_sci->SendScintilla(Sci::SCI_MARKERNEXT, static_cast<unsigned long>(line + 1), static_cast<long>(markerBits)))
        lines.insert(static_cast<int32_t>(line));
    for (const int indicator : indicators) {
        for (const auto& [from, end] : RangesOf(indicator)) {
            for (int32_t line = LineFromChar(from), last = LineFromChar(std::max(from, end - 1)); line <= last; ++line)
                lines.insert(line);
        }
    }
    const int32_t length = GetTextLength();

    // The line the view holds on to: the caret's while it is in view (it
    // stays at its row of the view), else the first line in view.
    const long firstShown = m_sci->SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE);
    const long caretLine = m_sci->SendScintilla(Sci::SCI_LINEFROMPOSITION,
                                                static_cast<unsigned long>(m_sci->SendScintilla(Sci::SCI_GETCURRENTPOS)));
    long anchorLine = caretLine;
    long anchorRow = m_sci->SendScintilla(Sci::SCI_VISIBLEFROMDOCLINE, static_cast<unsigned long>(caretLine)) - firstShown;
    if (anchorRow < 0 || anchorRow >= m_sci->SendScintilla(Sci::SCI_LINESONSCREEN)) {
        anchorLine = m_sci->SendScintilla(Sci::SCI_DOCLINEFROMVISIBLE, static_cast<unsigned long>(firstShown));
        anchorRow = m_sci->SendScintilla(Sci::SCI_VISIBLEFROMDOCLINE, static_cast<unsigned long>(anchorLine)) - firstShown;
    }
    bool rowsChanged = false;

    const LineLook none;
    std::string shown;
    size_t columns = 0;  // the annotations' width, measured once
    for (const int32_t line : lines) {
        auto it = wanted.find(line);
        const LineLook& look = it == wanted.end() ? none : it->second;
        const auto sciLine = static_cast<unsigned long>(line);

        const long has = m_sci->SendScintilla(Sci::SCI_MARKERGET, sciLine);
        for (const int marker : {kErrorMarker, kWarningMarker}) {
            const bool want = (look.markers & (1 << marker)) != 0;
            if (want && (has & (1L << marker)) == 0) m_sci->SendScintilla(Sci::SCI_MARKERADD, sciLine, static_cast<long>(marker));
            // A line that took the markers of a line joined to it may hold one twice.
            while (!want && (m_sci->SendScintilla(Sci::SCI_MARKERGET, sciLine) & (1L << marker)) != 0)
                m_sci->SendScintilla(Sci::SCI_MARKERDELETE, sciLine, static_cast<long>(marker));
        }

        shown = RawAnnotation(line);
        if (!look.text.empty() && columns == 0) columns = AnnotationColumns();
        std::string text = look.text.empty() ? std::string() : WrapAnnotation(look.text, columns);
        if (line == m_heldLine && shown.empty()) text.clear();  // no new rows under the line being edited
        const long style = look.error ? kAnnotationStyle : kWarningAnnotationStyle;
        if (text != shown) {
            rowsChanged = true;
            m_sci->SendScintilla(Sci::SCI_ANNOTATIONSETTEXT, sciLine, text.empty() ? nullptr : text.c_str());
        }
        if (!text.empty() && m_sci->SendScintilla(Sci::SCI_ANNOTATIONGETSTYLE, sciLine) != style)
            m_sci->SendScintilla(Sci::SCI_ANNOTATIONSETSTYLE, sciLine, style);

        const int32_t lineStart = LineIndex(line);
        const int32_t lineEnd = line + 1 < lineCount ? LineIndex(line + 1) : length;
        for (int kind = 0; kind < 2; ++kind) {
            Ranges want = look.squiggles[kind];
            Join(want);
            const int indicator = indicators[kind];
            Ranges have;
            for (int32_t pos = lineStart; pos < lineEnd;) {
                const auto end = static_cast<int32_t>(m_sci->SendScintilla(Sci::SCI_INDICATOREND, static_cast<unsigned long>(indicator), static_cast<long>(pos)));
                if (m_sci->SendScintilla(Sci::SCI_INDICATORVALUEAT, static_cast<unsigned long>(indicator), static_cast<long>(pos)) != 0)
                    have.emplace_back(pos, std::min(std::max(end, pos + 1), lineEnd));
                if (end <= pos) break;
                pos = end;
            }
            if (have == want) continue;
            m_sci->SendScintilla(Sci::SCI_SETINDICATORCURRENT, static_cast<unsigned long>(indicator));
            m_sci->SendScintilla(Sci::SCI_INDICATORCLEARRANGE, static_cast<unsigned long>(lineStart),
                                 static_cast<long>(lineEnd - lineStart));
            for (const auto& [from, end] : want)
                m_sci->SendScintilla(Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(from),
                                     static_cast<long>(end - from));
        }
    }

    if (rowsChanged) {
        const long top = std::max(
            0L, m_sci->SendScintilla(Sci::SCI_VISIBLEFROMDOCLINE, static_cast<unsigned long>(anchorLine)) - anchorRow);
        if (top != m_sci->SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE))
            m_sci->SendScintilla(Sci::SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(top));
    }
}

std::vector<int32_t> MarkedText::LinesWith(int marker) const {
    std::vector<int32_t> lines;
    for (long line = m_sci->SendScintilla(Sci::SCI_MARKERNEXT, 0L, 1L << marker); line >= 0;
         line = m_sci->SendScintilla(Sci::SCI_MARKERNEXT, line + 1, 1L << marker))
        lines.push_back(static_cast<int32_t>(line));
    return lines;
}

std::vector<int32_t> MarkedText::ErrorLines() const { return LinesWith(kErrorMarker); }

std::vector<int32_t> MarkedText::WarningLines() const { return LinesWith(kWarningMarker); }

size_t MarkedText::AnnotationColumns() const {
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

void MarkedText::RewrapAnnotations() {
    const size_t columns = AnnotationColumns();
    if (columns == m_annotationColumns) return;
    m_annotationColumns = columns;
    for (int32_t line = 0; line < GetLineCount(); ++line) {
        if (m_sci->SendScintilla(Sci::SCI_ANNOTATIONGETLINES, static_cast<unsigned long>(line)) == 0) continue;
        m_sci->SendScintilla(Sci::SCI_ANNOTATIONSETTEXT, static_cast<unsigned long>(line),
                             WrapAnnotation(Annotation(line), columns).c_str());
    }
}

std::string MarkedText::RawAnnotation(int32_t line) const {
    if (line < 0 || line >= GetLineCount()) return {};
    const long length = m_sci->SendScintilla(Sci::SCI_ANNOTATIONGETTEXT,
                                             static_cast<unsigned long>(line), (const char*)nullptr);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    m_sci->SendScintilla(Sci::SCI_ANNOTATIONGETTEXT, static_cast<unsigned long>(line), text.data());
    text.resize(static_cast<size_t>(length));
    return text;
}

std::string MarkedText::Annotation(int32_t line) const { return UnwrapAnnotation(RawAnnotation(line)); }

int32_t MarkedText::NextErrorLine(int32_t line) const {
    long next = m_sci->SendScintilla(Sci::SCI_MARKERNEXT, static_cast<long>(line + 1),
                                     1L << kErrorMarker);
    if (next < 0) next = m_sci->SendScintilla(Sci::SCI_MARKERNEXT, 0L, 1L << kErrorMarker);
    return static_cast<int32_t>(next);
}

int32_t MarkedText::PreviousErrorLine(int32_t line) const {
    long previous = line > 0 ? m_sci->SendScintilla(Sci::SCI_MARKERPREVIOUS,
                                                    static_cast<long>(line - 1), 1L << kErrorMarker)
                             : -1;
    if (previous < 0)
        previous = m_sci->SendScintilla(Sci::SCI_MARKERPREVIOUS,
                                        static_cast<long>(GetLineCount() - 1), 1L << kErrorMarker);
    return static_cast<int32_t>(previous);
}

// ---------------------------------------------------------------- search hits

void MarkedText::SetSearchMarks(const std::vector<std::pair<int32_t, int32_t>>& hits) {
    ClearSearchMarks();
    m_sci->SendScintilla(Sci::SCI_SETINDICATORCURRENT, kSearchIndicator);
    const int32_t length = GetTextLength();
    for (const auto& [start, end] : hits) {
        if (start < 0 || end <= start || end > length) continue;
        m_sci->SendScintilla(Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(start),
                             static_cast<long>(end - start));
    }
}

void MarkedText::ClearSearchMarks() {
    m_sci->SendScintilla(Sci::SCI_SETINDICATORCURRENT, kSearchIndicator);
    m_sci->SendScintilla(Sci::SCI_INDICATORCLEARRANGE, 0UL, static_cast<long>(GetTextLength()));
}

std::vector<std::pair<int32_t, int32_t>> MarkedText::SearchMarks() const { return RangesOf(kSearchIndicator); }

std::vector<std::pair<int32_t, int32_t>> MarkedText::ErrorSquiggles() const { return RangesOf(kErrorIndicator); }

std::vector<std::pair<int32_t, int32_t>> MarkedText::RangesOf(int indicator) const {
    std::vector<std::pair<int32_t, int32_t>> marks;
    const long length = GetTextLength();
    for (long pos = 0; pos < length;) {
        const long end = m_sci->SendScintilla(Sci::SCI_INDICATOREND, static_cast<unsigned long>(indicator), pos);
        if (m_sci->SendScintilla(Sci::SCI_INDICATORVALUEAT, static_cast<unsigned long>(indicator), pos) != 0)
            marks.emplace_back(static_cast<int32_t>(pos), static_cast<int32_t>(end));
        if (end <= pos) break;
        pos = end;
    }
    return marks;
}

// ---------------------------------------------------------------- dry run

void MarkedText::ShowBreakpointMargin(bool show) { m_sci->setMarginWidth(kBreakpointMargin, show ? 14 : 0); }

void MarkedText::SetBreakpoint(int32_t line, bool on) {
    if (line < 0 || line >= GetLineCount() || HasBreakpoint(line) == on) return;
    m_sci->SendScintilla(on ? Sci::SCI_MARKERADD : Sci::SCI_MARKERDELETE, static_cast<unsigned long>(line),
                         kBreakpointMarker);
}

bool MarkedText::HasBreakpoint(int32_t line) const {
    if (line < 0 || line >= GetLineCount()) return false;
    return (m_sci->SendScintilla(Sci::SCI_MARKERGET, static_cast<unsigned long>(line)) & (1L << kBreakpointMarker)) != 0;
}

std::vector<int32_t> MarkedText::BreakpointLines() const { return LinesWith(kBreakpointMarker); }

void MarkedText::SetRunLine(int32_t line) {
    for (int marker : {kRunArrowMarker, kRunLineMarker}) m_sci->SendScintilla(Sci::SCI_MARKERDELETEALL, marker);
    if (line < 0 || line >= GetLineCount()) return;
    for (int marker : {kRunArrowMarker, kRunLineMarker})
        m_sci->SendScintilla(Sci::SCI_MARKERADD, static_cast<unsigned long>(line), marker);
    m_sci->SendScintilla(Sci::SCI_ENSUREVISIBLEENFORCEPOLICY, static_cast<unsigned long>(line));
}

int32_t MarkedText::RunLine() const {
    const auto lines = LinesWith(kRunArrowMarker);
    return lines.empty() ? -1 : lines.front();
}

}  // namespace plc
