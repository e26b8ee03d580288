// SPDX-License-Identifier: GPL-3.0-or-later
#include "compiler/HelpPages.h"

#include <cstdio>

#include "compiler/CompileDriver.h"
#include "image/InstrSet.h"
#include "image/PlcInstr.h"

namespace plc {

namespace {

std::span<const OpcodeRow> FamilyRows(StatementFamily family) {
    switch (family) {
        case StatementFamily::Flow: return FlowRows();
        case StatementFamily::Assign: return AssignRows();
        case StatementFamily::Motion: return MotionRows();
    }
    return {};
}

// The label of a statement line ("N010 ..." gives 10); 0 when the line does
// not start with one.
int LineLabel(std::string_view line) {
    size_t i = line.find_first_not_of(" \t");
    if (i == std::string_view::npos || (line[i] != 'N' && line[i] != 'n')) return 0;
    int label = 0, digits = 0;
    for (++i; i < line.size() && line[i] >= '0' && line[i] <= '9' && digits < 4; ++i, ++digits)
        label = label * 10 + (line[i] - '0');
    return digits == 0 ? 0 : label;
}

}  // namespace

const char* FamilyPage(StatementFamily family) {
    switch (family) {
        case StatementFamily::Flow: return "flow.html";
        case StatementFamily::Assign: return "assign.html";
        case StatementFamily::Motion: return "motion.html";
    }
    return "language.html";
}

const char* FamilyTitle(StatementFamily family) {
    switch (family) {
        case StatementFamily::Flow: return "Jumps, calls, conditions and waits";
        case StatementFamily::Assign: return "Assignments, outputs and drive registers";
        case StatementFamily::Motion: return "Motion, ramps and fieldbus";
    }
    return "";
}

std::optional<StatementFamily> FamilyOfOpcode(uint8_t opcode) {
    for (StatementFamily family : kStatementFamilies)
        for (const OpcodeRow& row : FamilyRows(family))
            if (row.opcode == opcode) return family;
    return std::nullopt;
}

std::string OpcodeAnchor(uint8_t opcode) {
    char anchor[8];
    std::snprintf(anchor, sizeof anchor, "op%02X", opcode);
    return anchor;
}

std::string StatementHelpPage(std::string_view line) {
    const int label = LineLabel(line);
    if (label <= 0) return {};
    PlcInstr record;
    if (CompileLineInSection(line.substr(0, line.find(';')), label, record) != 0) return {};
    const std::optional<StatementFamily> family = FamilyOfOpcode(record.opcode());
    if (!family) return {};
    return std::string(FamilyPage(*family)) + "#" + OpcodeAnchor(record.opcode());
}

std::string ErrorHelpPage(int32_t code) { return "errors.html#error" + std::to_string(code); }

}  // namespace plc
