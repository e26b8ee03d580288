// The colouring of the programme language, in two parts: SourceLexer is the
// plain scanner that gives each character of a line its style class, with
// its word lists taken from the compiler's own tables (keyword chain, name
// tables of inputs, outputs, status flags and drive values), so that a new
// keyword is coloured without touching this file; PlcLexer hands its result
// to the edit control.
#pragma once

#include <Qsci/qscilexercustom.h>

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "platform/SourceStyle.h"

namespace plc {

class SourceLexer {
public:
    SourceLexer();

    // The names declared with DEF in `text` (upper case), as its compile
    // finds them.
    static std::set<std::string> DefNames(std::string_view text);
    void SetDefNames(std::set<std::string> names) { m_defNames = std::move(names); }
    const std::set<std::string>& DefNamesInUse() const { return m_defNames; }

    // One style class per character of `line` (without its line break),
    // appended to `styles`.
    void StyleLine(std::string_view line, std::string& styles) const;

    // The class of one word (any case) outside comments and section lines.
    SourceStyle WordStyle(std::string_view word) const;

private:
    std::set<std::string> m_keywords;
    std::set<std::string> m_driveNames;
    std::set<std::string> m_ioLetters;
    std::string m_varLetters;
    std::set<std::string> m_defNames;
};

class PlcLexer : public QsciLexerCustom {
    Q_OBJECT
public:
    explicit PlcLexer(QObject* parent = nullptr);

    const char* language() const override { return "PLC"; }
    QString description(int style) const override;
    QColor defaultColor(int style) const override;
    QFont defaultFont(int style) const override;
    void styleText(int start, int end) override;

private:
    SourceLexer m_lexer;
    std::string m_styles;
};

}  // namespace plc
