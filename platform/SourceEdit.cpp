// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SourceEdit.h"

#include <Qsci/qsciscintilla.h>

#include <QFontDatabase>
#include <QGuiApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <algorithm>
#include <string>
#include <utility>

#include "platform/SourceLexer.h"
#include "platform/Text.h"

namespace plc {

namespace {

// The line-number margin, the link's indicator (those of the marks are
// MarkedText's), the completion list.
constexpr int kNumberMargin = 0;
constexpr int kLinkIndicator = 11;
constexpr int kCompletionList = 1;  // the id of the completion list among Scintilla's user lists
constexpr int kDwellMilliseconds = 500;

using Sci = QsciScintillaBase;

}  // namespace

SourceEdit::SourceEdit(QWidget* parent) : MarkedText(parent) {
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

    // Current line and line numbers; the marks' margins are MarkedText's.
    m_sci->setCaretLineVisible(true);
    m_sci->setCaretLineBackgroundColor(QColor(0xf2, 0xf6, 0xfc));
    m_sci->setMarginType(kNumberMargin, QsciScintilla::NumberMargin);
    m_sci->setMarginMarkerMask(kNumberMargin, 0);
    m_sci->setMarginsForegroundColor(QColor(0x80, 0x80, 0x80));
    m_sci->setMarginsBackgroundColor(QColor(0xf4, 0xf4, 0xf4));
    m_sci->SendScintilla(Sci::SCI_SETMARGINLEFT, 0UL, 2L);

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
    m_sci->SendScintilla(Sci::SCI_AUTOCSETMAXHEIGHT, static_cast<unsigned long>(kCompletionRows));
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

void SourceEdit::TextReplacing() {
    MarkedText::TextReplacing();
    // The new text is in place once control is back in the event loop.
    QMetaObject::invokeMethod(this, [this] { emit textReplaced(); }, Qt::QueuedConnection);
}

int32_t SourceEdit::CaretLine() const {
    int32_t s = 0, e = 0;
    GetSel(s, e);
    return LineFromChar(s);
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
    StyleAnnotations(styleFont);
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

bool SourceEdit::ShowCompletions(const std::vector<std::string>& entries) {
    if (entries.empty()) return false;
    // The edit control places the list by the screen under the caret and
    // takes for granted that there is one: a caret out of view or a window
    // off the screens would crash it.
    m_sci->SendScintilla(Sci::SCI_SCROLLCARET);
    const long pos = m_sci->SendScintilla(Sci::SCI_GETCURRENTPOS);
    const QPoint caret(static_cast<int>(m_sci->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, pos)),
                       static_cast<int>(m_sci->SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, pos)));
    if (QGuiApplication::screenAt(m_sci->viewport()->mapToGlobal(caret)) == nullptr) return false;
    std::string list;
    for (const std::string& entry : entries) {
        if (!list.empty()) list.push_back('\n');
        list += entry;
    }
    m_sci->SendScintilla(Sci::SCI_USERLISTSHOW, static_cast<unsigned long>(kCompletionList), list.c_str());
    return true;
}

bool SourceEdit::CompletionsShown() const { return m_sci->SendScintilla(Sci::SCI_AUTOCACTIVE) != 0; }

void SourceEdit::HideCompletions() { m_sci->SendScintilla(Sci::SCI_AUTOCCANCEL); }

// ---------------------------------------------------------------- events

bool SourceEdit::eventFilter(QObject* watched, QEvent* event) {
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
    return MarkedText::eventFilter(watched, event);
}

}  // namespace plc
