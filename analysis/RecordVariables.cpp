// SPDX-License-Identifier: GPL-3.0-or-later
// Variables of a record: every variable operand of its form is read, but the
// one its row says the statement assigns, which is read too when the row says
// so (SET H001 + H002).
#include "analysis/RecordVariables.h"

#include <cstdio>

#include "compiler/ProgramIndex.h"
#include "decoder/RecordPrinter.h"

namespace plc {

std::optional<VarKind> VarKindOfDom(Dom dom) {
    switch (dom) {
        case Dom::CVar: return VarKind::C;
        case Dom::FVar: return VarKind::F;
        case Dom::HVar: return VarKind::H;
        case Dom::MVar: return VarKind::M;
        case Dom::ZVar: return VarKind::Z;
        default: return std::nullopt;
    }
}

RecordVariables VariablesOf(const PlcInstr& rec) {
    RecordVariables out;
    const OpcodeRow* row = rec.opcode() != 0 ? FindOpcodeRow(rec.opcode()) : nullptr;
    const Variant* form = row != nullptr ? SelectVariant(*row, rec, 0) : nullptr;
    if (form == nullptr) return out;
    const Meaning& meaning = row->meaning;
    for (const Operand& op : form->args) {
        const std::optional<VarKind> var = VarKindOfDom(op.dom);
        if (!var || op.src == Src::None) continue;
        VariableAccess& access = out.vars[static_cast<size_t>(out.count++)];
        access.var = *var;
        access.index = static_cast<int>(FieldValue(op.src, rec, 0));
        access.written = op.src == meaning.sets;
        access.read = !access.written || meaning.readsSet;
    }
    out.setsElement = VarKindOfDom(meaning.setsElement);
    out.readsElement = VarKindOfDom(meaning.readsElement);
    return out;
}

}  // namespace plc
