// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SourceLexer.h"

#include <Qsci/qsciscintilla.h>

#include <QColor>
#include <QMetaObject>
#include <algorithm>

namespace plc {

PlcLexer::PlcLexer(QObject* parent) : QsciLexerCustom(parent) {}

QString PlcLexer::description(int style) const {
    switch (static_cast<SourceStyle>(style)) {
        case SourceStyle::Default: return "Default";
        case SourceStyle::Comment: return "Comment";
        case SourceStyle::Section: return "Section";
        case SourceStyle::Label: return "Label";
        case SourceStyle::Keyword: return "Keyword";
        case SourceStyle::Variable: return "Variable";
        case SourceStyle::DefName: return "DEF name";
        case SourceStyle::InOut: return "Input or output";
        case SourceStyle::Number: return "Number";
        case SourceStyle::DriveName: return "Drive name";
    }
    return {};
}

QColor PlcLexer::defaultColor(int style) const {
    switch (static_cast<SourceStyle>(style)) {
        case SourceStyle::Comment: return QColor(0x6a, 0x8a, 0x35);
        case SourceStyle::Section: return QColor(0x80, 0x00, 0x80);
        case SourceStyle::Label: return QColor(0xa0, 0x52, 0x00);
        case SourceStyle::Keyword: return QColor(0x00, 0x33, 0xb3);
        case SourceStyle::Variable: return QColor(0x87, 0x10, 0x94);
        case SourceStyle::DefName: return QColor(0x00, 0x80, 0x80);
        case SourceStyle::InOut: return QColor(0xb0, 0x30, 0x30);
        case SourceStyle::Number: return QColor(0x17, 0x50, 0xeb);
        case SourceStyle::DriveName: return QColor(0x00, 0x62, 0x7a);
        case SourceStyle::Default: break;
    }
    return QColor(Qt::black);
}

QFont PlcLexer::defaultFont(int style) const {
    QFont font = QsciLexerCustom::defaultFont(style);
    if (style == static_cast<int>(SourceStyle::Keyword) ||
        style == static_cast<int>(SourceStyle::Section))
        font.setBold(true);
    if (style == static_cast<int>(SourceStyle::Comment)) font.setItalic(true);
    return font;
}

void PlcLexer::styleText(int start, int end) {
    QsciScintilla* sci = editor();
    if (!sci) return;
    const long length = sci->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    const char* text = reinterpret_cast<const char*>(
        sci->SendScintilla(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
    if (!text) return;
    const std::string_view all(text, static_cast<size_t>(length));

    // A changed DEF name changes the colour of its uses anywhere: the whole
    // text is coloured again.
    std::set<std::string> names = SourceClassifier::DeclaredNames(all);
    if (names != m_classifier.DefNamesInUse()) {
        m_classifier.SetDefNames(std::move(names));
        start = 0;
        end = static_cast<int>(length);
    }
    const long firstLine = sci->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, start);
    start = static_cast<int>(sci->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, firstLine));
    end = std::clamp(end, start, static_cast<int>(length));

    m_styles.clear();
    size_t pos = static_cast<size_t>(start);
    while (pos < static_cast<size_t>(end)) {
        size_t lineEnd = all.find('\n', pos);
        const size_t next = lineEnd == std::string_view::npos ? all.size() : lineEnd + 1;
        if (lineEnd == std::string_view::npos) lineEnd = all.size();
        size_t contentEnd = lineEnd;
        if (contentEnd > pos && all[contentEnd - 1] == '\r') --contentEnd;
        m_classifier.ClassifyLine(all.substr(pos, contentEnd - pos), m_styles);
        m_styles.append(next - contentEnd, static_cast<char>(SourceStyle::Default));
        pos = next;
    }
    startStyling(start);
    sci->SendScintilla(QsciScintillaBase::SCI_SETSTYLINGEX, m_styles.size(), m_styles.data());
}

}  // namespace plc
