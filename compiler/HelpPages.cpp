// SPDX-License-Identifier: GPL-3.0-or-later
#include "compiler/HelpPages.h"

#include "image/ErrorCodes.h"

#include <cstdio>

#include "base/Ascii.h"
#include "compiler/Assist.h"
#include "compiler/CompileDriver.h"
#include "compiler/StatementForms.h"
#include "compiler/Statements.h"
#include "image/ErrorCodes.h"
#include "image/InstrSet.h"
#include "image/PlcInstr.h"
#include "resources/ErrorTable.h"

namespace plc {

namespace {

// The label of a statement line ("N010 ..." gives 10) and where the
// statement after it starts; label 0 when the line does not start with one.
int LineLabel(std::string_view line, size_t& statement) {
    size_t i = line.find_first_not_of(" \t");
    if (i == std::string_view::npos || (line[i] != 'N' && line[i] != 'n')) return 0;
    int label = 0, digits = 0;
    for (++i; i < line.size() && AsciiDigit(line[i]) && digits < 4; ++i, ++digits) label = label * 10 + (line[i] - '0');
    statement = i;
    return digits == 0 ? 0 : label;
}

}  // namespace

std::optional<StatementFamily> FamilyOfOpcode(uint8_t opcode) {
    for (size_t r = 0; r < KeywordChain().size(); ++r)
        for (const StatementForm& form : KeywordForms(r))
            if (form.row->opcode == opcode) return KeywordChain()[r].family;
    return std::nullopt;
}

std::string OpcodeAnchor(uint8_t opcode) {
    char anchor[8];
    std::snprintf(anchor, sizeof anchor, "op%02X", opcode);
    return anchor;
}

std::string KeywordAnchor(size_t keywordRow) { return "kw" + std::to_string(keywordRow); }

std::string StatementHelpPage(std::string_view line) {
    size_t statement = 0;
    const int label = LineLabel(line, statement);
    if (label <= 0) return {};
    const std::string_view text = line.substr(0, line.find(';'));
    PlcInstr record;
    if (CompileLineInSection(text, label, record) != 0) return {};
    const int row = MatchKeyword(AsciiUpperWithoutBlanks(text.substr(statement)));
    if (row < 0) return {};
    return std::string(HelpOf(KeywordChain()[static_cast<size_t>(row)].family).page) + "#" + OpcodeAnchor(record.opcode());
}

std::string ErrorHelpPage(int32_t code) { return "errors.html#error" + std::to_string(code); }

// A switch without a default: a new code in the enum does not build until
// it has its line.
const char* ErrorAdvice(int32_t code) {
    switch (code) {
#define PLC_ERROR_ADVICE(name, number, message, advice) \
    case number: return advice;
        PLC_ERROR_CODES(PLC_ERROR_ADVICE)
#undef PLC_ERROR_ADVICE
    }
    return "";
}

std::string TopicHelpPage(const Topic& topic) {
    switch (topic.kind) {
        case TopicKind::Statement: {
            const int row = MatchKeyword(AsciiUpperWithoutBlanks(topic.name));
            if (row < 0) return "language.html#keywords";
            return std::string(HelpOf(KeywordChain()[static_cast<size_t>(row)].family).page) + "#" +
                   KeywordAnchor(static_cast<size_t>(row));
        }
        case TopicKind::Variable: return "language.html#variables";
        case TopicKind::Input:
        case TopicKind::Output: return "names.html#io";
        case TopicKind::Status: return "names.html#status";
        case TopicKind::Register: return "names.html#registers";
        case TopicKind::CtrlFlag: return "names.html#ctrlflags";
        case TopicKind::DriveValue: return "names.html#values";
        case TopicKind::Section:
        case TopicKind::Label:
        case TopicKind::Programme: return "index.html#language";  // the programme text's layout
    }
    return "language.html";
}

}  // namespace plc
