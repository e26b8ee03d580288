// SPDX-License-Identifier: GPL-3.0-or-later
// Control-flow statements: jumps, conditional jumps, CALL, RET, BRKPT, NOP.
#include "compiler/Statements.h"

namespace plc {

namespace {

// The six comparison operators in the order they are tested; the opcode is
// the family's base opcode plus the offset.
struct CompareOp {
    std::string_view text;
    uint8_t offset;
};
constexpr CompareOp kCompareOps[] = {{"=", 0}, {"!=", 1}, {">=", 2}, {">", 3}, {"<=", 4}, {"<", 5}};

static_assert(Op::JmpMXorIn == Op::JmpMAndIn + 2 && Op::JmpMXorOut == Op::JmpMAndOut + 2);
constexpr uint8_t kCompareF = Op::JmpFEqF, kCompareH = Op::JmpHEqH;  // F = F ... F < F; H likewise
static_assert(Op::JmpFLtF == kCompareF + 5 && Op::JmpHLtH == kCompareH + 5);

// Reads the zero of a comparison with zero: a float zero for F, an integer
// zero otherwise.
int ScanZero(ParseCursor& cur, bool asFloat) {
    if (asFloat) {
        uint32_t bits = 0;
        return ScanFloat(cur, bits, 0, 0) ? kErrNone : kErrCompare;  // the zero alone
    }
    int32_t value = 0;
    return ScanInt(cur, value, 0, 0) ? kErrNone : kErrCompare;
}

// A comparison's operator and what follows it up to the jump target: one of
// the six operators before a variable, or "=" / "!=" before a zero.
struct Comparison {
    uint8_t opcode = 0;
    bool withZero = false;
    uint8_t right = 0;  // the right-hand variable
};

// The six operators before a variable of `kind`; -1 when none of them
// follows, else 0 or the variable's error code.
int ScanCompareVar(ParseCursor& cur, VarKind kind, Comparison& c) {
    const bool isF = kind == VarKind::F;
    for (const CompareOp& op : kCompareOps) {
        if (EatOp(cur, op.text, isF ? "F" : "H")) {
            c.opcode = static_cast<uint8_t>((isF ? kCompareF : kCompareH) + op.offset);
            return ScanVar(cur, kind, c.right);
        }
    }
    return -1;
}

// "=" or "!=" before a zero, for the opcodes `eq` and `ne`.
int ScanCompareZero(ParseCursor& cur, bool asFloat, uint8_t eq, uint8_t ne, Comparison& c) {
    c.withZero = true;
    if (cur.Eat("=")) {
        c.opcode = eq;
    } else if (cur.Eat("!=")) {
        c.opcode = ne;
    } else {
        return kErrOperator;
    }
    return ScanZero(cur, asFloat);
}

}  // namespace

int CompileJmpLabel(ParseCursor& cur, PlcInstr& rec, int) {
    uint16_t target = 0;
    if (!ScanNumber(cur, Dom::LabelNo, target)) return kErrJumpTarget;
    return EmitAtEnd(cur, rec, Op::Jmp, {target});
}

int CompileJmpEnd(ParseCursor& cur, PlcInstr& rec, int) { return EmitAtEnd(cur, rec, Op::JmpEnd, {}); }

// JMP(Fx op Fy), JMP(Fx = 0), and the same for H: byte 1 = 0.
int CompileJmpVar(ParseCursor& cur, PlcInstr& rec, int letter) {
    const bool isF = letter == 'F';
    const VarKind kind = isF ? VarKind::F : VarKind::H;
    uint8_t x = 0;
    if (int err = ScanVar(cur, kind, x)) return err;
    Comparison c;
    int err = ScanCompareVar(cur, kind, c);
    if (err < 0) {
        err = isF ? ScanCompareZero(cur, true, Op::JmpFEqZero, Op::JmpFNeZero, c)
                  : ScanCompareZero(cur, false, Op::JmpHEqZero, Op::JmpHNeZero, c);
    }
    if (err != kErrNone) return err;
    uint16_t target = 0;
    if (int e = ScanTargetSuffix(cur, target)) return e;
    constexpr int kVariable = 0;
    return c.withZero ? Emit(rec, c.opcode, {x, target}, kVariable) : Emit(rec, c.opcode, {x, c.right, target}, kVariable);
}

// JMP(ACTVAL op Fy / Hy / 0) and JMP(REFVAL ...): byte 1 = 1 or 2.
int CompileJmpActRef(ParseCursor& cur, PlcInstr& rec, int mode) {
    Comparison c;
    int err = -1;
    // Each operator is tried with F, then with H, before the next.
    for (const CompareOp& op : kCompareOps) {
        if (EatOp(cur, op.text, "F")) {
            c.opcode = static_cast<uint8_t>(kCompareF + op.offset);
            err = ScanVar(cur, VarKind::F, c.right);
            break;
        }
        if (EatOp(cur, op.text, "H")) {
            c.opcode = static_cast<uint8_t>(kCompareH + op.offset);
            err = ScanVar(cur, VarKind::H, c.right);
            break;
        }
    }
    if (err < 0) err = ScanCompareZero(cur, false, Op::JmpHEqZero, Op::JmpHNeZero, c);
    if (err != kErrNone) return err;
    uint16_t target = 0;
    if (int e = ScanTargetSuffix(cur, target)) return e;
    return c.withZero ? Emit(rec, c.opcode, {target}, mode) : Emit(rec, c.opcode, {c.right, target}, mode);
}
// JMP(Mx = My), JMP(Mx & ISn) ..., JMP(Mx = v).
int CompileJmpFlag(ParseCursor& cur, PlcInstr& rec, int) {
    uint8_t x = 0;
    if (int err = ScanVar(cur, VarKind::M, x)) return err;
    static constexpr std::string_view kBitOps[] = {"&", "|", "^"};
    uint8_t opcode = 0, y = 0;
    int err = -1;
    if (cur.Eat("=M")) {
        opcode = Op::JmpMEqM;
        err = ScanVar(cur, VarKind::M, y);
    } else if (cur.Eat("!=M")) {
        opcode = Op::JmpMNeM;
        err = ScanVar(cur, VarKind::M, y);
    }
    for (int io = 0; io < 2 && err < 0; ++io) {
        const auto groups = io == 0 ? InputGroups() : OutputGroups();
        for (uint8_t i = 0; i < 3 && err < 0; ++i) {
            for (const IoGroup& group : groups) {
                if (EatOp(cur, kBitOps[i], group.letters)) {
                    opcode = static_cast<uint8_t>((io == 0 ? Op::JmpMAndIn : Op::JmpMAndOut) + i);
                    err = ScanIoNumber(cur, group, y);
                    break;
                }
            }
        }
    }
    if (err < 0) {
        if (!cur.Eat("=")) return kErrOperator;
        opcode = Op::JmpMEqValue;
        err = ScanNumber(cur, Dom::Value01, y) ? kErrNone : kErrValue;
    }
    if (err != kErrNone) return err;
    uint16_t target = 0;
    if (int e = ScanTargetSuffix(cur, target)) return e;
    return Emit(rec, opcode, {x, y, target});
}

namespace {

// JMP(ISn = v) and JMP(OSn = v).
int CompileJmpIo(ParseCursor& cur, PlcInstr& rec, const IoGroup& group, uint8_t opcode) {
    uint8_t bit = 0, v = 0;
    if (int err = ScanIoNumber(cur, group, bit)) return err;
    if (!cur.Eat("=")) return kErrOperator;
    if (!ScanNumber(cur, Dom::Value01, v)) return kErrValue;
    uint16_t target = 0;
    if (int err = ScanTargetSuffix(cur, target)) return err;
    return Emit(rec, opcode, {bit, v, target});
}

// "=" or "!=" after the left-hand side of a counter or timer comparison.
int ScanEqNe(ParseCursor& cur, uint8_t eq, uint8_t ne, uint8_t& opcode) {
    if (cur.Eat("=")) {
        opcode = eq;
    } else if (cur.Eat("!=")) {
        opcode = ne;
    } else {
        return kErrOperator;
    }
    return kErrNone;
}

}  // namespace

int CompileJmpInput(ParseCursor& cur, PlcInstr& rec, int group) {
    return CompileJmpIo(cur, rec, InputGroups()[static_cast<size_t>(group)], Op::JmpInEqValue);
}

int CompileJmpOutput(ParseCursor& cur, PlcInstr& rec, int group) {
    return CompileJmpIo(cur, rec, OutputGroups()[static_cast<size_t>(group)], Op::JmpOutEqValue);
}

namespace {

// JMP(Cx = n), JMP(Cx != n) and the timer's JMP(Zx = 0), JMP(Zx != 0): the
// variable of `kind`, "=" or "!=", then a number of `dom` (else `valueError`).
int CompileJmpEqNe(ParseCursor& cur, PlcInstr& rec, VarKind kind, uint8_t eq, uint8_t ne, Dom dom, int valueError) {
    uint8_t x = 0, opcode = 0, value = 0;
    if (int err = ScanVar(cur, kind, x)) return err;
    if (int err = ScanEqNe(cur, eq, ne, opcode)) return err;
    if (!ScanNumber(cur, dom, value)) return valueError;
    uint16_t target = 0;
    if (int err = ScanTargetSuffix(cur, target)) return err;
    return Emit(rec, opcode, {x, value, target});
}

}  // namespace

int CompileJmpCounter(ParseCursor& cur, PlcInstr& rec, int) {
    return CompileJmpEqNe(cur, rec, VarKind::C, Op::JmpCEq, Op::JmpCNe, Dom::Byte, kErrValue);
}

// A timer compares with zero only.
int CompileJmpTimer(ParseCursor& cur, PlcInstr& rec, int) {
    return CompileJmpEqNe(cur, rec, VarKind::Z, Op::JmpZEq, Op::JmpZNe, Dom::Zero, kErrCompare);
}

int CompileJmpRxMsg(ParseCursor& cur, PlcInstr& rec, int) {
    uint8_t n = 0, x = 0, opcode = 0;
    if (!ScanNumber(cur, Dom::MsgNo, n)) return kErrValue;
    if (cur.Eat(",H")) {
        opcode = Op::JmpRxMsgH;
    } else if (cur.Eat(",F")) {
        opcode = Op::JmpRxMsgF;
    } else {
        return kErrValue;
    }
    if (!ScanNumber(cur, Dom::HVar, x)) return kErrValue;
    uint16_t target = 0;
    if (int err = ScanTargetSuffix(cur, target)) return err;
    return Emit(rec, opcode, {n, x, target});
}

// JMP(REF = Mx / v) and JMP(ROT_0 = Mx / v): the form with a flag, or with a value.
int CompileJmpState(ParseCursor& cur, PlcInstr& rec, int opcode) {
    constexpr int kWithFlag = 0, kWithValue = 1;
    const int form = cur.Eat("M") ? kWithFlag : kWithValue;
    uint8_t y = 0;
    if (!ScanNumber(cur, form == kWithFlag ? Dom::MVar : Dom::Value01, y)) return kErrFlag;
    uint16_t target = 0;
    if (int err = ScanTargetSuffix(cur, target)) return err;
    return Emit(rec, static_cast<uint8_t>(opcode), {y, target}, form);
}

// JMP(STA_flag != / = Mx or v): byte 1 bit 0 means "=", bit 4 a constant.
int CompileJmpStatus(ParseCursor& cur, PlcInstr& rec, int) {
    uint8_t status = 0;
    if (!ScanStatusName(cur, false, status)) return kErrCompare;
    int compare = 0;
    if (cur.Eat("!=")) {
        compare = 0;
    } else if (cur.Eat("=")) {
        compare = 1;
    } else {
        return kErrOperator;
    }
    uint8_t y = 0;
    bool ok = false;
    if (cur.Eat("M")) {
        ok = ScanNumber(cur, Dom::MVar, y);
    } else {
        ok = ScanNumber(cur, Dom::Value01, y);
        compare += 16;
    }
    if (!ok) return kErrFlag;
    uint16_t target = 0;
    if (int err = ScanTargetSuffix(cur, target)) return err;
    return Emit(rec, Op::JmpStatus, {status, y, target}, compare);
}

int CompileCall(ParseCursor& cur, PlcInstr& rec, int) {
    uint16_t target = 0;
    if (!ScanNumber(cur, Dom::LabelNo, target)) return kErrJumpTarget;
    return EmitAtEnd(cur, rec, Op::Call, {target});
}

// RET, BRKPT, NOP: the keyword is the whole statement.
int CompileBare(ParseCursor& cur, PlcInstr& rec, int opcode) {
    return EmitAtEnd(cur, rec, static_cast<uint8_t>(opcode), {});
}

}  // namespace plc
