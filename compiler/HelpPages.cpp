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
    switch (static_cast<ErrorCode>(code)) {
        case kErrNone: return "";
        case kErrNoLabelOrEnd: return "Each statement line starts with its label N001 to N254 (or is END); a comment needs its ';'.";
        case kErrTooLong: return "The line or the name is too long; a comment without its ';' makes the line run on.";
        case kErrInternal: return "The compiler met a state it does not expect: keep the programme and report it with the line.";
        case kErrLabel: return "The label: N followed by 1 to 254, nothing else before the statement.";
        case kErrUnknownCommand: return "The keyword after the label, and the form of the statement, against the statement pages.";
        case kErrJumpTarget: return "The jump's target: a label Nxxx or END after the condition.";
        case kErrLabelUsed: return "Two statements carry the same label: renumber, or change one of them.";
        case kErrReadLine: return "The line could not be read from the text: check the file for stray control characters.";
        case kErrMissingProgramEnd: return "The programme section %P00 needs END as its last line.";
        case kErrName: return "The name in %TEXT(NAME) or DEF ... = NAME: letters, digits and '_' only, not empty.";
        case kErrNameTooLong: return "The name has more than 32 characters.";
        case kErrNoHead: return "The programme starts with %P00 (and the names with %TEXT(NAME)); check the head line's spelling.";
        case kErrTextCommand: return "Between %TEXT(NAME) and its END only DEF lines: DEF Hxx = Name.";
        case kErrTextDeclared: return "There is one %TEXT(NAME) section; join the two.";
        case kErrCounter: return "The counter number Cxxx: its range is on the names and statement pages.";
        case kErrFloat: return "The float variable number Fxxx.";
        case kErrInteger: return "The integer variable number Hxxx.";
        case kErrFlag: return "The flag number Mxxx.";
        case kErrTimer: return "The timer number Zxxx.";
        case kErrVariable: return "The operand must be a variable H, F, M, Z or C with its number, or a name given by DEF.";
        case kErrOperator: return "The operator of the assignment (=, +, -, ...) and what may stand on its two sides.";
        case kErrProgramDefined: return "There is one %P00 section.";
        case kErrMissingTextEnd: return "The %TEXT(NAME) section needs its END before %P00.";
        case kErrNoProgram: return "The text holds no %P00 ... END section.";
        case kErrIoNumber: return "The input or output: group letters and number as on the names page (IS0, OE3, ...).";
        case kErrValue: return "The value: its type and range for this operand, on the statement page.";
        case kErrBracket: return "The closing ']' at the end of the print statement.";
        case kErrCompare: return "The condition compares with 0 only: (Hxxx = 0), (Fxxx != 0.0).";
        case kErrNoFollowing: return "The compiler found no statement to follow this one: keep the programme and report it.";
        case kErrTargetMissing: return "The label the jump or call names is not on any statement.";
        case kErrOrder: return "The labels must rise from line to line; Renum puts them in order.";
        case kErrRenumber: return "Renum needs the statements to fit the labels 1 to 254: fewer statements.";
        case kErrTextCoding: return "A record of the programme file does not turn back into a statement: the file is damaged or from another version.";
        case kErrGo: return "The GO statement's form: GO W A/R Hxx, GO A/R Hxx, GO 0+Hxx or GO 0.";
        case kErrLineNotReplaced: return "Renum could not find a statement's line in the text any more: check the text for changes made meanwhile.";
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
