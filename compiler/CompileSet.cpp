// Drive settings, assignments, arithmetic, parameter access and inversions.
//
// Each family tries its operators in a fixed order and the first that matches
// decides, so a variable form ("+F") stands before the constant form that
// begins the same way ("+"), and "=F[C" before "=F". Byte 1 holds the
// destination, byte 4 the operand; constants take bytes 4 to 7.
#include "compiler/Statements.h"

namespace plc {

namespace {

// A constant of `dom` into bytes 4 to 7, else code 26.
int ScanDwordConstant(ParseCursor& cur, PlcInstr& rec, Dom dom) {
    uint32_t stored = 0;
    if (!ScanConstant(cur, dom, stored)) return kErrValue;
    rec.setDword4(stored);
    return kErrNone;
}
int ScanIntConstant(ParseCursor& cur, PlcInstr& rec) { return ScanDwordConstant(cur, rec, Dom::Int32); }
int ScanFloatConstant(ParseCursor& cur, PlcInstr& rec) { return ScanDwordConstant(cur, rec, Dom::Float); }

// A byte constant of `dom` into byte 4, else `error`.
int ScanByteConstant(ParseCursor& cur, PlcInstr& rec, Dom dom, int error) {
    return ScanNumber(cur, dom, rec.b[4]) ? kErrNone : error;
}

// A variable of `kind` into byte 4.
int ScanSource(ParseCursor& cur, VarKind kind, PlcInstr& rec) { return ScanVar(cur, kind, rec.b[4]); }

// Sets the opcode and reads the source variable, then the end of the line.
int Finish(ParseCursor& cur, PlcInstr& rec, uint8_t opcode, VarKind kind) {
    rec.setOpcode(opcode);
    if (int err = ScanSource(cur, kind, rec)) return err;
    return ExpectEnd(cur);
}

// "Cy" then "]" of the indexed reads F[Cy], H[Cy], M[Cy] (the "[C" is read).
int FinishIndexedRead(ParseCursor& cur, PlcInstr& rec, uint8_t opcode) {
    rec.setOpcode(opcode);
    if (int err = ScanSource(cur, VarKind::C, rec)) return err;
    if (!cur.Eat("]")) return kErrBracket;
    return ExpectEnd(cur);
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
// base + 3 for [Hy,Hz], [Hy], [p,s], [p]. The constant sub-index goes to byte 4.
int CompileParaRead(ParseCursor& cur, PlcInstr& rec, uint8_t base) {
    ParaOperand para;
    if (int err = ScanPara(cur, cur.Eat("H"), "]", kErrBracket, para)) return err;
    uint8_t offset = 0;
    if (para.variable) {
        rec.b[4] = para.first;
        rec.b[5] = para.second;
        offset = para.subIndex ? 0 : 1;
    } else {
        rec.setWord67(para.number);
        rec.b[4] = para.second;
        offset = para.subIndex ? 2 : 3;
    }
    rec.setOpcode(static_cast<uint8_t>(base + offset));
    return ExpectEnd(cur);
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

}  // namespace

// ---- drive settings ----

// SETOUTPUT=Hx, SETOSA0=Hx, SETINPOSWINDOW=Hx ... ("=H" is read): opcode 39.
int CompileSetRegister(ParseCursor& cur, PlcInstr& rec, int reg) {
    rec.setMode(static_cast<uint8_t>(reg));
    return Finish(cur, rec, Op::SetRegisterH, VarKind::H);
}

// SETREFVAL= and SETREFFRQ=: Fx is opcode 38, Hx register 2 of opcode 39.
int CompileSetRefVal(ParseCursor& cur, PlcInstr& rec, int) {
    constexpr uint8_t kRefValRegister = 2;
    if (cur.Eat("F")) {
        rec.setMode(0);
        return Finish(cur, rec, Op::SetRefValF, VarKind::F);
    }
    if (cur.Eat("H")) {
        rec.setMode(kRefValRegister);
        return Finish(cur, rec, Op::SetRegisterH, VarKind::H);
    }
    return kErrValue;
}

// SETENCTRL= ... SETUSER3_M=: Mx is opcode 40, a value 0 or 1 opcode 41; a
// bad number is code 18 either way.
int CompileSetCtrlFlag(ParseCursor& cur, PlcInstr& rec, int flag) {
    rec.setMode(static_cast<uint8_t>(flag));
    const bool fromFlag = cur.Eat("M");
    rec.setOpcode(fromFlag ? Op::SetCtrlFlagM : Op::SetCtrlFlagValue);
    if (int err = ScanByteConstant(cur, rec, fromFlag ? Dom::MVar : Dom::Value01, kErrFlag)) return err;
    return ExpectEnd(cur);
}

// ---- float variables ----

// SETF[Cx]=Fy (42) or SETF[Cx]=c (156).
int CompileSetFIndexed(ParseCursor& cur, PlcInstr& rec, int) {
    if (int err = ScanVar(cur, VarKind::C, rec.b[1])) return err;
    if (!cur.Eat("]=")) return kErrBracket;
    if (cur.Eat("F")) return Finish(cur, rec, Op::SetFIndexedF, VarKind::F);
    rec.setOpcode(Op::SetFIndexedConst);
    if (int err = ScanFloatConstant(cur, rec)) return err;
    return ExpectEnd(cur);
}

int CompileSetF(ParseCursor& cur, PlcInstr& rec, int) {
    if (int err = ScanVar(cur, VarKind::F, rec.b[1])) return err;
    if (cur.Eat("=F[C")) return FinishIndexedRead(cur, rec, Op::SetFFromIndexed);
    for (uint8_t value = 0; const char* name = DriveValueFName(value); ++value) {
        if (EatOp(cur, "=", name)) {
            rec.setOpcode(Op::SetFDriveValue);
            rec.b[4] = value;
            return ExpectEnd(cur);
        }
    }
    if (cur.Eat("=PARA[")) return CompileParaRead(cur, rec, Op::SetFParaHH);
    if (cur.Eat("=F")) return Finish(cur, rec, Op::SetFF, VarKind::F);
    if (cur.Eat("=H")) return Finish(cur, rec, Op::SetFH, VarKind::H);
    static constexpr ArithOp kOps[] = {{"+", Op::AddFF, Op::AddFConst}, {"-", Op::SubFF, Op::SubFConst}, {"*", Op::MulFF, Op::MulFConst}, {":", Op::DivFF, Op::DivFConst}};
    for (const ArithOp& op : kOps) {
        if (EatOp(cur, op.op, "F")) return Finish(cur, rec, op.variableOpcode, VarKind::F);
        if (cur.Eat(op.op)) {
            rec.setOpcode(op.constantOpcode);
            if (int err = ScanFloatConstant(cur, rec)) return err;
            return ExpectEnd(cur);
        }
    }
    if (cur.Eat("=ROUNDF")) return Finish(cur, rec, Op::RoundF, VarKind::F);
    if (cur.Eat("=ABSF")) return Finish(cur, rec, Op::AbsF, VarKind::F);
    if (cur.Eat("=")) {
        rec.setOpcode(Op::SetFConst);
        if (int err = ScanFloatConstant(cur, rec)) return err;
        return ExpectEnd(cur);
    }
    return kErrOperator;
}

// ---- integer variables ----

// SETH[Cx]=Hy (62) or SETH[Cx]=c (157).
int CompileSetHIndexed(ParseCursor& cur, PlcInstr& rec, int) {
    if (int err = ScanVar(cur, VarKind::C, rec.b[1])) return err;
    if (!cur.Eat("]=")) return kErrOperator;
    if (cur.Eat("H")) return Finish(cur, rec, Op::SetHIndexedH, VarKind::H);
    rec.setOpcode(Op::SetHIndexedConst);
    if (int err = ScanIntConstant(cur, rec)) return err;
    return ExpectEnd(cur);
}

int CompileSetH(ParseCursor& cur, PlcInstr& rec, int) {
    if (int err = ScanVar(cur, VarKind::H, rec.b[1])) return err;
    if (cur.Eat("=H[C")) return FinishIndexedRead(cur, rec, Op::SetHFromIndexed);
    for (uint8_t value = 0; const char* name = DriveValueHName(value); ++value) {
        if (EatOp(cur, "=", name)) {
            rec.setOpcode(Op::SetHDriveValue);
            rec.b[4] = value;
            return ExpectEnd(cur);
        }
    }
    if (cur.Eat("=PARA[")) return CompileParaRead(cur, rec, Op::SetHParaHH);
    static constexpr struct {
        std::string_view op;
        uint8_t opcode;
        VarKind kind;
    } kMoves[] = {{"=F", Op::SetHF, VarKind::F}, {"=H", Op::SetHH, VarKind::H}, {"=C", Op::SetHC, VarKind::C},
                  {"=M", Op::SetHM, VarKind::M}, {"=Z", Op::SetHZ, VarKind::Z}, {"&H", Op::AndHH, VarKind::H},
                  {"|H", Op::OrHH, VarKind::H}, {"^H", Op::XorHH, VarKind::H}};
    for (const auto& move : kMoves) {
        if (cur.Eat(move.op)) return Finish(cur, rec, move.opcode, move.kind);
    }
    static constexpr ArithOp kShifts[] = {{"<<", Op::ShlHH, Op::ShlHConst}, {">>", Op::ShrHH, Op::ShrHConst}};
    for (const ArithOp& op : kShifts) {
        if (EatOp(cur, op.op, "H")) return Finish(cur, rec, op.variableOpcode, VarKind::H);
        if (cur.Eat(op.op)) {
            rec.setOpcode(op.constantOpcode);
            if (int err = ScanByteConstant(cur, rec, Dom::Shift, kErrValue)) return err;
            return ExpectEnd(cur);
        }
    }
    static constexpr ArithOp kOps[] = {
        {"+", Op::AddHH, Op::AddHConst}, {"-", Op::SubHH, Op::SubHConst}, {"*", Op::MulHH, Op::MulHConst}, {":", Op::DivHH, Op::DivHConst}, {"%", Op::ModHH, Op::ModHConst}};
    for (const ArithOp& op : kOps) {
        if (EatOp(cur, op.op, "H")) return Finish(cur, rec, op.variableOpcode, VarKind::H);
        if (cur.Eat(op.op)) {
            rec.setOpcode(op.constantOpcode);
            if (int err = ScanIntConstant(cur, rec)) return err;
            return ExpectEnd(cur);
        }
    }
    if (cur.Eat("=ABSH")) return Finish(cur, rec, Op::AbsH, VarKind::H);
    if (cur.Eat("=")) {
        rec.setOpcode(Op::SetHConst);
        if (int err = ScanIntConstant(cur, rec)) return err;
        return ExpectEnd(cur);
    }
    return kErrOperator;
}

// ---- flags ----

// SETM[Cx]=My (93) or SETM[Cx]=v (158).
int CompileSetMIndexed(ParseCursor& cur, PlcInstr& rec, int) {
    if (int err = ScanVar(cur, VarKind::C, rec.b[1])) return err;
    if (!cur.Eat("]=")) return kErrOperator;
    if (cur.Eat("M")) return Finish(cur, rec, Op::SetMIndexedM, VarKind::M);
    rec.setOpcode(Op::SetMIndexedValue);
    if (int err = ScanByteConstant(cur, rec, Dom::Value01, kErrValue)) return err;
    return ExpectEnd(cur);
}

int CompileSetM(ParseCursor& cur, PlcInstr& rec, int) {
    if (int err = ScanVar(cur, VarKind::M, rec.b[1])) return err;
    if (cur.Eat("=M[C")) return FinishIndexedRead(cur, rec, Op::SetMFromIndexed);
    // A status name that matches none is not an error here: the text goes on
    // through the forms below and ends as a bad value.
    const size_t beforeStatus = cur.Position();
    if (cur.Eat("=STA_")) {
        if (ScanStatusName(cur, true, rec.b[4])) {
            rec.setOpcode(Op::SetMStatus);
            return ExpectEnd(cur);
        }
        cur.SetPosition(beforeStatus);
    }
    if (cur.Eat("=M")) return Finish(cur, rec, Op::SetMM, VarKind::M);
    if (cur.Eat("=H")) return Finish(cur, rec, Op::SetMH, VarKind::H);
    for (int io = 0; io < 2; ++io) {
        for (const IoGroup& group : io == 0 ? InputGroups() : OutputGroups()) {
            if (EatOp(cur, "=", group.letters)) {
                rec.setOpcode(io == 0 ? Op::SetMInput : Op::SetMOutput);
                if (int err = ScanIoNumber(cur, group, rec.b[4])) return err;
                return ExpectEnd(cur);
            }
        }
    }
    static constexpr struct {
        std::string_view op;
        uint8_t opcode;
    } kBitOps[] = {{"&M", Op::AndMM}, {"|M", Op::OrMM}, {"^M", Op::XorMM}};
    for (const auto& op : kBitOps) {
        if (cur.Eat(op.op)) return Finish(cur, rec, op.opcode, VarKind::M);
    }
    if (cur.Eat("=CM")) {
        if (!ScanNumber(cur, Dom::CmIndex, rec.b[4])) return kErrFlag;
        rec.setOpcode(Op::SetMCm);
        return ExpectEnd(cur);
    }
    if (cur.Eat("=")) {
        rec.setOpcode(Op::SetMValue);
        if (int err = ScanByteConstant(cur, rec, Dom::Value01, kErrValue)) return err;
        return ExpectEnd(cur);
    }
    return kErrOperator;
}

// ---- counters and timers ----

int CompileSetC(ParseCursor& cur, PlcInstr& rec, int) {
    if (int err = ScanVar(cur, VarKind::C, rec.b[1])) return err;
    if (cur.Eat("=C")) return Finish(cur, rec, Op::SetCC, VarKind::C);
    if (cur.Eat("=H")) return Finish(cur, rec, Op::SetCH, VarKind::H);
    static constexpr ArithOp kOps[] = {{"+", Op::AddCH, Op::AddCConst}, {"-", Op::SubCH, Op::SubCConst}};
    for (const ArithOp& op : kOps) {
        if (EatOp(cur, op.op, "H")) return Finish(cur, rec, op.variableOpcode, VarKind::H);
        if (cur.Eat(op.op)) {
            rec.setOpcode(op.constantOpcode);
            if (int err = ScanByteConstant(cur, rec, Dom::Byte, kErrValue)) return err;
            return ExpectEnd(cur);
        }
    }
    if (cur.Eat("=")) {
        rec.setOpcode(Op::SetCConst);
        if (int err = ScanByteConstant(cur, rec, Dom::Byte, kErrValue)) return err;
        return ExpectEnd(cur);
    }
    return kErrOperator;
}

int CompileSetZ(ParseCursor& cur, PlcInstr& rec, int) {
    if (int err = ScanVar(cur, VarKind::Z, rec.b[1])) return err;
    if (cur.Eat("=H")) return Finish(cur, rec, Op::SetZH, VarKind::H);
    if (cur.Eat("=")) {
        rec.setOpcode(Op::SetZConst);
        if (int err = ScanIntConstant(cur, rec)) return err;
        return ExpectEnd(cur);
    }
    return kErrOperator;
}

// ---- outputs ----

// SETOSn, SETOEn, SETOVn (the group letters are read) =Mx (113) or =v (114).
int CompileSetOutput(ParseCursor& cur, PlcInstr& rec, int group) {
    if (int err = ScanIoNumber(cur, OutputGroups()[static_cast<size_t>(group)], rec.b[1])) return err;
    if (cur.Eat("=M")) return Finish(cur, rec, Op::SetOutputM, VarKind::M);
    if (cur.Eat("=")) {
        rec.setOpcode(Op::SetOutputValue);
        if (int err = ScanByteConstant(cur, rec, Dom::Value01, kErrValue)) return err;
        return ExpectEnd(cur);
    }
    return kErrOperator;
}

// ---- drive parameter writes ----

// SETPARA[...]=Fz / =Hz; `variable` is 1 when the chain has read "SETPARA[H".
// Byte 1 is the source z; the constant sub-index goes to byte 5.
int CompileSetPara(ParseCursor& cur, PlcInstr& rec, int variable) {
    ParaOperand para;
    if (int err = ScanPara(cur, variable != 0, "]=", kErrOperator, para)) return err;
    uint8_t opcode = 0;
    if (para.variable) {
        rec.b[4] = para.first;
        rec.b[5] = para.second;
        opcode = para.subIndex ? Op::SetParaHHF : Op::SetParaHF;
    } else {
        rec.setWord67(para.number);
        rec.b[5] = para.second;
        opcode = para.subIndex ? Op::SetParaPSF : Op::SetParaPF;
    }
    VarKind kind;
    if (cur.Eat("F")) {
        kind = VarKind::F;
    } else if (cur.Eat("H")) {
        kind = VarKind::H;
        ++opcode;
    } else {
        return kErrOperator;
    }
    rec.setOpcode(opcode);
    if (int err = ScanVar(cur, kind, rec.b[1])) return err;
    return ExpectEnd(cur);
}

// ---- inversions ----

int CompileInvH(ParseCursor& cur, PlcInstr& rec, int) {
    rec.setOpcode(Op::InvH);
    if (int err = ScanVar(cur, VarKind::H, rec.b[1])) return err;
    return ExpectEnd(cur);
}

int CompileInvM(ParseCursor& cur, PlcInstr& rec, int) {
    rec.setOpcode(Op::InvM);
    if (int err = ScanVar(cur, VarKind::M, rec.b[1])) return err;
    return ExpectEnd(cur);
}

int CompileInvOutput(ParseCursor& cur, PlcInstr& rec, int group) {
    rec.setOpcode(Op::InvOutput);
    if (int err = ScanIoNumber(cur, OutputGroups()[static_cast<size_t>(group)], rec.b[1])) return err;
    return ExpectEnd(cur);
}

}  // namespace plc
