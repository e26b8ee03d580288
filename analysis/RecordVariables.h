// SPDX-License-Identifier: GPL-3.0-or-later
// The variables a statement record reads and assigns, from its instruction
// row: the variable operands of the form it stands for and the row's meaning.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "image/InstrSet.h"
#include "image/PlcProgram.h"

namespace plc {

struct VariableAccess {
    VarKind var = VarKind::H;
    int index = 0;
    bool read = false;
    bool written = false;
};

struct RecordVariables {
    std::array<VariableAccess, kMaxOperands> vars{};
    int count = 0;
    // Tables of which the statement assigns or reads an element that a
    // counter picks at run time.
    std::optional<VarKind> setsElement, readsElement;
};

// The variable family of an operand domain; none for anything else.
std::optional<VarKind> VarKindOfDom(Dom dom);

// The variables of `rec`; none for a record without a row or whose selector
// picks no form.
RecordVariables VariablesOf(const PlcInstr& rec);

}  // namespace plc
