// SPDX-License-Identifier: GPL-3.0-or-later
// Drive settings, assignments, arithmetic, parameter access and inversions.
//
// Each family tries its operators in a fixed order and the first that matches
// decides, so a variable form ("+F") stands before the constant form that
// begins the same way ("+"), and "=F[C" before "=F". Byte 1 holds the
// destination, byte 4 the operand; constants take bytes 4 to 7.
#include "compiler/Statements.h"

namespace plc {

namespace {

// A constant of `dom` (bytes 4 to 7), else code 26.
int ScanDwordConstant(ParseCursor& cur, Dom dom, uint32_t& stored) {
    return ScanConstant(cur, dom, stored) ? kErrNone : kErrValue;
}

// Reads the source variable of `kind`, then the end of the line, and fills
// the record with the destination `x` and the source.
int Finish(ParseCursor& cur, PlcInstr& rec, uint8_t opcode, uint8_t x, VarKind kind) {
    uint8_t y = 0;
    if (int err = ScanVar(cur, kind, y)) return err;
    return EmitAtEnd(cur, rec, opcode, {x, y});
}

// A constant of `dom` after destination `x`: a 32-bit one (Int32, Float) or
// a byte (else `error`), then the end of the line.
int FinishConstant(ParseCursor& cur, PlcInstr& rec, uint8_t opcode, uint8_t x, Dom dom, int error = kErrValue) {
    uint32_t value = 0;
    if (dom == Dom::Int32 || dom == Dom::Float) {
        if (int err = ScanDwordConstant(cur, dom, value)) return err;
    } else {
        uint8_t small = 0;
        if (!ScanNumber(cur, dom, small)) return error;
        value = small;
    }
    return EmitAtEnd(cur, rec, opcode, {x, value});
}

// "Cy" then "]" of the indexed reads F[Cy], H[Cy], M[Cy] (the "[C" is read).
int FinishIndexedRead(ParseCursor& cur, PlcInstr& rec, uint8_t opcode, uint8_t x) {
    uint8_t c = 0;
    if (int err = ScanVar(cur, VarKind::C, c)) return err;
    if (!cur.Eat("]")) return kErrBracket;
    return EmitAtEnd(cur, rec, opcode, {x, c});
}

// ---- the PARA operand, shared by the reads (SETF, SETH) and the writes ----

struct ParaOperand {
    bool variable = false;  // [Hy] or [Hy,Hz]; otherwise [p] or [p,s]
    bool subIndex = false;  // the two-part forms
    uint8_t first = 0;      // y
    uint8_t second = 0;     // z or s
    uint16_t number = 0;    // p
};

// Reads what follows "PARA[" (and its "H" when `variable`) up to and with
// `close`: "]" in the reads, where a missing one is code 27, or "]=" in the
// writes, where it is code 21.
int ScanPara(ParseCursor& cur, bool variable, std::string_view close, int closeError, ParaOperand& para) {
    para.variable = variable;
    if (variable) {
        if (int err = ScanVar(cur, VarKind::H, para.first)) return err;
    } else if (!ScanNumber(cur, Dom::ParamNo, para.number)) {
        return kErrValue;
    }
    if (cur.Eat(",")) {
        para.subIndex = true;
        if (variable) {
            if (!cur.Eat("H")) return kErrOperator;
            if (int err = ScanVar(cur, VarKind::H, para.second)) return err;
        } else if (!ScanNumber(cur, Dom::SubIndex, para.second)) {
            return kErrValue;
        }
        return cur.Eat(close) ? kErrNone : closeError;
    }
    return cur.Eat(close) ? kErrNone : kErrOperator;
}

// SETFx=PARA[...] and SETHx=PARA[...] ("=PARA[" is read): opcodes base to
// base + 3 for [Hy,Hz], [Hy], [p,s], [p].
int CompileParaRead(ParseCursor& cur, PlcInstr& rec, uint8_t base, uint8_t x) {
    ParaOperand para;
    if (int err = ScanPara(cur, cur.Eat("H"), "]", kErrBracket, para)) return err;
    if (para.variable) {
        return para.subIndex ? EmitAtEnd(cur, rec, base, {x, para.first, para.second})
                             : EmitAtEnd(cur, rec, static_cast<uint8_t>(base + 1), {x, para.first});
    }
    return para.subIndex ? EmitAtEnd(cur, rec, static_cast<uint8_t>(base + 2), {x, para.number, para.second})
                         : EmitAtEnd(cur, rec, static_cast<uint8_t>(base + 3), {x, para.number});
}

// The PARA forms are numbered in runs: [Hy,Hz], [Hy], [p,s], [p] for the
// reads, and each write's F form directly before its H form.
static_assert(Op::SetFParaP == Op::SetFParaHH + 3 && Op::SetHParaP == Op::SetHParaHH + 3);
static_assert(Op::SetParaHHH == Op::SetParaHHF + 1 && Op::SetParaHH == Op::SetParaHF + 1 &&
              Op::SetParaPSH == Op::SetParaPSF + 1 && Op::SetParaPH == Op::SetParaPF + 1);

// Binary operators with a variable form and a constant form.
struct ArithOp {
    std::string_view op;
    uint8_t variableOpcode;
    uint8_t constantOpcode;
};

// The operators of `ops` after destination `x`, in order, each with its
// variable form (the operator, then the letter of `kind`) tried before its
// constant form of `constant`; -1 when none of them follows.
int CompileArith(ParseCursor& cur, PlcInstr& rec, std::span<const ArithOp> ops, uint8_t x, VarKind kind, Dom constant) {
    const std::string_view letter = LetterOf(kind);
    for (const ArithOp& op : ops) {
        if (EatOp(cur, op.op, letter)) return Finish(cur, rec, op.variableOpcode, x, kind);
        if (cur.Eat(op.op)) return FinishConstant(cur, rec, op.constantOpcode, x, constant);
    }
    return -1;
}

// SETF[Cx]=..., SETH[Cx]=..., SETM[Cx]=... (the "[C" is read): the variable
// of `kind` (`fromVar`) or a constant of `constant` (`fromConstant`); a
// missing "]=" is `bracketError`.
int CompileIndexedWrite(ParseCursor& cur, PlcInstr& rec, VarKind kind, uint8_t fromVar, uint8_t fromConstant,
                        Dom constant, int bracketError) {
    uint8_t c = 0;
    if (int err = ScanVar(cur, VarKind::C, c)) return err;
    if (!cur.Eat("]=")) return bracketError;
    if (cur.Eat(LetterOf(kind))) return Finish(cur, rec, fromVar, c, kind);
    return FinishConstant(cur, rec, fromConstant, c, constant);
}

}  // namespace

// ---- drive settings ----

// SETOUTPUT=Hx, SETOSA0=Hx, SETINPOSWINDOW=Hx ... ("=H" is read): opcode 39.
int CompileSetRegister(ParseCursor& cur, PlcInstr& rec, int reg) {
    return Finish(cur, rec, Op::SetRegisterH, static_cast<uint8_t>(reg), VarKind::H);
}

// SETREFVAL= and SETREFFRQ=: Fx is opcode 38, Hx register 2 of opcode 39.
int CompileSetRefVal(ParseCursor& cur, PlcInstr& rec, int) {
    constexpr uint8_t kRefValRegister = 2;
    uint8_t x = 0;
    if (cur.Eat("F")) {
        if (int err = ScanVar(cur, VarKind::F, x)) return err;
        return EmitAtEnd(cur, rec, Op::SetRefValF, {x});
    }
    if (cur.Eat("H")) return Finish(cur, rec, Op::SetRegisterH, kRefValRegister, VarKind::H);
    return kErrValue;
}

// SETENCTRL= ... SETUSER3_M=: Mx is opcode 40, a value 0 or 1 opcode 41; a
// bad number is code 18 either way.
int CompileSetCtrlFlag(ParseCursor& cur, PlcInstr& rec, int flag) {
    const bool fromFlag = cur.Eat("M");
    return FinishConstant(cur, rec, fromFlag ? Op::SetCtrlFlagM : Op::SetCtrlFlagValue, static_cast<uint8_t>(flag),
                          fromFlag ? Dom::MVar : Dom::Value01, kErrFlag);
}

// ---- float variables ----

// SETF[Cx]=Fy (42) or SETF[Cx]=c (156).
int CompileSetFIndexed(ParseCursor& cur, PlcInstr& rec, int) {
    return CompileIndexedWrite(cur, rec, VarKind::F, Op::SetFIndexedF, Op::SetFIndexedConst, Dom::Float, kErrBracket);
}

namespace {

// "=name" of a drive value (F or H) after destination `x`; -1 when none follows.
int ScanDriveValue(ParseCursor& cur, PlcInstr& rec, uint8_t opcode, std::span<const std::string_view> names,
                   uint8_t x) {
    const size_t at = cur.Position();
    if (!cur.Eat("=")) return -1;
    for (size_t value = 0; value < names.size(); ++value) {
        if (cur.Eat(names[value])) return EmitAtEnd(cur, rec, opcode, {x, static_cast<uint8_t>(value)});
    }
    cur.SetPosition(at);
    return -1;
}

// The reads SETF and SETH share after the destination `x`, in this order: an
// indexed read, a drive value by name, a drive parameter.
struct ReadForms {
    std::string_view indexed;  // "=F[C" or "=H[C"
    uint8_t fromIndexed;
    uint8_t driveValue;
    std::span<const std::string_view> (*driveNames)();
    uint8_t paraBase;
};

// -1 when none of the shared reads follows.
int CompileReads(ParseCursor& cur, PlcInstr& rec, uint8_t x, const ReadForms& forms) {
    if (cur.Eat(forms.indexed)) return FinishIndexedRead(cur, rec, forms.fromIndexed, x);
    if (int done = ScanDriveValue(cur, rec, forms.driveValue, forms.driveNames(), x); done >= 0) return done;
    if (cur.Eat("=PARA[")) return CompileParaRead(cur, rec, forms.paraBase, x);
    return -1;
}

}  // namespace

int CompileSetF(ParseCursor& cur, PlcInstr& rec, int) {
    uint8_t x = 0;
    if (int err = ScanVar(cur, VarKind::F, x)) return err;
    static constexpr ReadForms kReads{"=F[C", Op::SetFFromIndexed, Op::SetFDriveValue, DriveValueFNames,
                                      Op::SetFParaHH};
    if (int done = CompileReads(cur, rec, x, kReads); done >= 0) return done;
    if (cur.Eat("=F")) return Finish(cur, rec, Op::SetFF, x, VarKind::F);
    if (cur.Eat("=H")) return Finish(cur, rec, Op::SetFH, x, VarKind::H);
    static constexpr ArithOp kOps[] = {{"+", Op::AddFF, Op::AddFConst}, {"-", Op::SubFF, Op::SubFConst}, {"*", Op::MulFF, Op::MulFConst}, {":", Op::DivFF, Op::DivFConst}};
    if (int done = CompileArith(cur, rec, kOps, x, VarKind::F, Dom::Float); done >= 0) return done;
    if (cur.Eat("=ROUNDF")) return Finish(cur, rec, Op::RoundF, x, VarKind::F);
    if (cur.Eat("=ABSF")) return Finish(cur, rec, Op::AbsF, x, VarKind::F);
    if (cur.Eat("=")) return FinishConstant(cur, rec, Op::SetFConst, x, Dom::Float);
    return kErrOperator;
}

// ---- integer variables ----

// SETH[Cx]=Hy (62) or SETH[Cx]=c (157).
int CompileSetHIndexed(ParseCursor& cur, PlcInstr& rec, int) {
    return CompileIndexedWrite(cur, rec, VarKind::H, Op::SetHIndexedH, Op::SetHIndexedConst, Dom::Int32, kErrOperator);
}

int CompileSetH(ParseCursor& cur, PlcInstr& rec, int) {
    uint8_t x = 0;
    if (int err = ScanVar(cur, VarKind::H, x)) return err;
    static constexpr ReadForms kReads{"=H[C", Op::SetHFromIndexed, Op::SetHDriveValue, DriveValueHNames,
                                      Op::SetHParaHH};
    if (int done = CompileReads(cur, rec, x, kReads); done >= 0) return done;
    static constexpr struct {
        std::string_view op;
        uint8_t opcode;
        VarKind kind;
    } kMoves[] = {{"=F", Op::SetHF, VarKind::F}, {"=H", Op::SetHH, VarKind::H}, {"=C", Op::SetHC, VarKind::C},
                  {"=M", Op::SetHM, VarKind::M}, {"=Z", Op::SetHZ, VarKind::Z}, {"&H", Op::AndHH, VarKind::H},
                  {"|H", Op::OrHH, VarKind::H}, {"^H", Op::XorHH, VarKind::H}};
    for (const auto& move : kMoves) {
        if (cur.Eat(move.op)) return Finish(cur, rec, move.opcode, x, move.kind);
    }
    static constexpr ArithOp kShifts[] = {{"<<", Op::ShlHH, Op::ShlHConst}, {">>", Op::ShrHH, Op::ShrHConst}};
    if (int done = CompileArith(cur, rec, kShifts, x, VarKind::H, Dom::Shift); done >= 0) return done;
    static constexpr ArithOp kOps[] = {
        {"+", Op::AddHH, Op::AddHConst}, {"-", Op::SubHH, Op::SubHConst}, {"*", Op::MulHH, Op::MulHConst}, {":", Op::DivHH, Op::DivHConst}, {"%", Op::ModHH, Op::ModHConst}};
    if (int done = CompileArith(cur, rec, kOps, x, VarKind::H, Dom::Int32); done >= 0) return done;
    if (cur.Eat("=ABSH")) return Finish(cur, rec, Op::AbsH, x, VarKind::H);
    if (cur.Eat("=")) return FinishConstant(cur, rec, Op::SetHConst, x, Dom::Int32);
    return kErrOperator;
}

// ---- flags ----

// SETM[Cx]=My (93) or SETM[Cx]=v (158).
int CompileSetMIndexed(ParseCursor& cur, PlcInstr& rec, int) {
    return CompileIndexedWrite(cur, rec, VarKind::M, Op::SetMIndexedM, Op::SetMIndexedValue, Dom::Value01, kErrOperator);
}

int CompileSetM(ParseCursor& cur, PlcInstr& rec, int) {
    uint8_t x = 0;
    if (int err = ScanVar(cur, VarKind::M, x)) return err;
    if (cur.Eat("=M[C")) return FinishIndexedRead(cur, rec, Op::SetMFromIndexed, x);
    // A status name that matches none is not an error here: the text goes on
    // through the forms below and ends as a bad value.
    const size_t beforeStatus = cur.Position();
    if (cur.Eat("=STA_")) {
        uint8_t status = 0;
        if (ScanStatusName(cur, true, status)) return EmitAtEnd(cur, rec, Op::SetMStatus, {x, status});
        cur.SetPosition(beforeStatus);
    }
    if (cur.Eat("=M")) return Finish(cur, rec, Op::SetMM, x, VarKind::M);
    if (cur.Eat("=H")) return Finish(cur, rec, Op::SetMH, x, VarKind::H);
    for (int io = 0; io < 2; ++io) {
        for (const IoGroup& group : io == 0 ? InputGroups() : OutputGroups()) {
            if (EatOp(cur, "=", group.letters)) {
                uint8_t bit = 0;
                if (int err = ScanIoNumber(cur, group, bit)) return err;
                return EmitAtEnd(cur, rec, io == 0 ? Op::SetMInput : Op::SetMOutput, {x, bit});
            }
        }
    }
    static constexpr struct {
        std::string_view op;
        uint8_t opcode;
    } kBitOps[] = {{"&M", Op::AndMM}, {"|M", Op::OrMM}, {"^M", Op::XorMM}};
    for (const auto& op : kBitOps) {
        if (cur.Eat(op.op)) return Finish(cur, rec, op.opcode, x, VarKind::M);
    }
    if (cur.Eat("=CM")) return FinishConstant(cur, rec, Op::SetMCm, x, Dom::CmIndex, kErrFlag);
    if (cur.Eat("=")) return FinishConstant(cur, rec, Op::SetMValue, x, Dom::Value01);
    return kErrOperator;
}

// ---- counters and timers ----

int CompileSetC(ParseCursor& cur, PlcInstr& rec, int) {
    uint8_t x = 0;
    if (int err = ScanVar(cur, VarKind::C, x)) return err;
    if (cur.Eat("=C")) return Finish(cur, rec, Op::SetCC, x, VarKind::C);
    if (cur.Eat("=H")) return Finish(cur, rec, Op::SetCH, x, VarKind::H);
    static constexpr ArithOp kOps[] = {{"+", Op::AddCH, Op::AddCConst}, {"-", Op::SubCH, Op::SubCConst}};
    if (int done = CompileArith(cur, rec, kOps, x, VarKind::H, Dom::Byte); done >= 0) return done;
    if (cur.Eat("=")) return FinishConstant(cur, rec, Op::SetCConst, x, Dom::Byte);
    return kErrOperator;
}

int CompileSetZ(ParseCursor& cur, PlcInstr& rec, int) {
    uint8_t x = 0;
    if (int err = ScanVar(cur, VarKind::Z, x)) return err;
    if (cur.Eat("=H")) return Finish(cur, rec, Op::SetZH, x, VarKind::H);
    if (cur.Eat("=")) return FinishConstant(cur, rec, Op::SetZConst, x, Dom::Int32);
    return kErrOperator;
}

// ---- outputs ----

// SETOSn, SETOEn, SETOVn (the group letters are read) =Mx (113) or =v (114).
int CompileSetOutput(ParseCursor& cur, PlcInstr& rec, int group) {
    uint8_t bit = 0;
    if (int err = ScanIoNumber(cur, OutputGroups()[static_cast<size_t>(group)], bit)) return err;
    if (cur.Eat("=M")) return Finish(cur, rec, Op::SetOutputM, bit, VarKind::M);
    if (cur.Eat("=")) return FinishConstant(cur, rec, Op::SetOutputValue, bit, Dom::Value01);
    return kErrOperator;
}

// ---- drive parameter writes ----

// SETPARA[...]=Fz / =Hz; `variable` is 1 when the chain has read "SETPARA[H".
// Each F form stands directly before its H form.
int CompileSetPara(ParseCursor& cur, PlcInstr& rec, int variable) {
    ParaOperand para;
    if (int err = ScanPara(cur, variable != 0, "]=", kErrOperator, para)) return err;
    uint8_t opcode = 0;
    if (para.variable)
        opcode = para.subIndex ? Op::SetParaHHF : Op::SetParaHF;
    else
        opcode = para.subIndex ? Op::SetParaPSF : Op::SetParaPF;
    VarKind kind;
    if (cur.Eat("F")) {
        kind = VarKind::F;
    } else if (cur.Eat("H")) {
        kind = VarKind::H;
        ++opcode;
    } else {
        return kErrOperator;
    }
    uint8_t z = 0;
    if (int err = ScanVar(cur, kind, z)) return err;
    if (para.variable) {
        return para.subIndex ? EmitAtEnd(cur, rec, opcode, {para.first, para.second, z})
                             : EmitAtEnd(cur, rec, opcode, {para.first, z});
    }
    return para.subIndex ? EmitAtEnd(cur, rec, opcode, {para.number, para.second, z})
                         : EmitAtEnd(cur, rec, opcode, {para.number, z});
}

// ---- inversions ----

namespace {

int CompileInv(ParseCursor& cur, PlcInstr& rec, uint8_t opcode, VarKind kind) {
    uint8_t x = 0;
    if (int err = ScanVar(cur, kind, x)) return err;
    return EmitAtEnd(cur, rec, opcode, {x});
}

}  // namespace

int CompileInvH(ParseCursor& cur, PlcInstr& rec, int) { return CompileInv(cur, rec, Op::InvH, VarKind::H); }

int CompileInvM(ParseCursor& cur, PlcInstr& rec, int) { return CompileInv(cur, rec, Op::InvM, VarKind::M); }

int CompileInvOutput(ParseCursor& cur, PlcInstr& rec, int group) {
    uint8_t bit = 0;
    if (int err = ScanIoNumber(cur, OutputGroups()[static_cast<size_t>(group)], bit)) return err;
    return EmitAtEnd(cur, rec, Op::InvOutput, {bit});
}

}  // namespace plc
