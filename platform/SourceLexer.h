// SPDX-License-Identifier: GPL-3.0-or-later
// The colouring of the programme language in the window: PlcLexer runs the
// compiler's classifier of source words (compiler/SourceClassifier.h), with
// the DEF names read from the whole text, and hands its classes to the edit
// control as style numbers.
#pragma once

#include <Qsci/qscilexercustom.h>

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "compiler/SourceClassifier.h"
#include "platform/SourceStyle.h"

namespace plc {

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
    SourceClassifier m_classifier;
    std::string m_styles;
};

}  // namespace plc
