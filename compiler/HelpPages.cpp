// SPDX-License-Identifier: GPL-3.0-or-later
#include "compiler/HelpPages.h"

#include <cstdio>

#include "base/Ascii.h"
#include "compiler/Assist.h"
#include "compiler/CompileDriver.h"
#include "compiler/StatementForms.h"
#include "compiler/Statements.h"
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

// "SETH", "SETH[C", "INVM": a keyword that names a variable family right
// after its verb, as against "SETHALT=" (a control flag) or "INVOS".
bool NamesVariable(std::string_view keyword, std::string_view verb) {
    if (!keyword.starts_with(verb) || keyword.size() <= verb.size()) return false;
    if (std::string_view("FHMCZ").find(keyword[verb.size()]) == std::string_view::npos) return false;
    return keyword.size() == verb.size() + 1 || keyword[verb.size() + 1] == '[';
}

}  // namespace

const char* FamilyPage(StatementFamily family) {
    switch (family) {
        case StatementFamily::Jumps: return "flow.html";
        case StatementFamily::Calls: return "calls.html";
        case StatementFamily::Assignments: return "assign.html";
        case StatementFamily::Outputs: return "outputs.html";
        case StatementFamily::Waits: return "waits.html";
        case StatementFamily::Motion: return "motion.html";
        case StatementFamily::Ramps: return "ramps.html";
        case StatementFamily::Fieldbus: return "fieldbus.html";
    }
    return "language.html";
}

const char* FamilyTitle(StatementFamily family) {
    switch (family) {
        case StatementFamily::Jumps: return "Jumps and conditions";
        case StatementFamily::Calls: return "Calls, returns, NOP and breakpoints";
        case StatementFamily::Assignments: return "F, H, M, C and Z assignments";
        case StatementFamily::Outputs: return "Outputs, drive registers, control flags and parameters";
        case StatementFamily::Waits: return "Waits";
        case StatementFamily::Motion: return "Motion";
        case StatementFamily::Ramps: return "Ramps";
        case StatementFamily::Fieldbus: return "Fieldbus";
    }
    return "";
}

StatementFamily FamilyOfKeyword(size_t keywordRow) {
    const std::span<const KeywordRow> chain = KeywordChain();
    const std::string_view k = keywordRow < chain.size() ? chain[keywordRow].keyword : std::string_view();
    if (k.starts_with("JMP(RXMSG") || k.starts_with("SETRXMSG") || k.starts_with("SEND")) return StatementFamily::Fieldbus;
    if (k.starts_with("JMP")) return StatementFamily::Jumps;
    if (k.starts_with("CALL") || k == "RET" || k == "BRKPT" || k == "NOP") return StatementFamily::Calls;
    if (k.starts_with("SETACCR") || k.starts_with("SETDECR")) return StatementFamily::Ramps;
    if (k.starts_with("WAIT")) return StatementFamily::Waits;
    if (k.starts_with("GO") || k.starts_with("STOP")) return StatementFamily::Motion;
    if (NamesVariable(k, "SET") || NamesVariable(k, "INV")) return StatementFamily::Assignments;
    return StatementFamily::Outputs;
}

std::optional<StatementFamily> FamilyOfOpcode(uint8_t opcode) {
    for (size_t r = 0; r < KeywordChain().size(); ++r)
        for (const StatementForm& form : KeywordForms(r))
            if (form.row->opcode == opcode) return FamilyOfKeyword(r);
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
    return std::string(FamilyPage(FamilyOfKeyword(static_cast<size_t>(row)))) + "#" + OpcodeAnchor(record.opcode());
}

std::string ErrorHelpPage(int32_t code) { return "errors.html#error" + std::to_string(code); }

std::string TopicHelpPage(const Topic& topic) {
    switch (topic.kind) {
        case TopicKind::Statement: {
            const int row = MatchKeyword(AsciiUpperWithoutBlanks(topic.name));
            if (row < 0) return "language.html#keywords";
            return std::string(FamilyPage(FamilyOfKeyword(static_cast<size_t>(row)))) + "#" +
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
