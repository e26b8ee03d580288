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
        return CPlcProgram::ScanFloat(cur, bits, 0, 0) ? kErrNone : kErrCompare;  // the zero alone
    }
    int32_t value = 0;
    return CPlcProgram::ScanInt(cur, value, 0, 0) ? kErrNone : kErrCompare;
}

// The right-hand side of a comparison after its operator: a variable of
// `kind` into byte 7.
int ScanRight(ParseCursor& cur, VarKind kind, PlcInstr& rec) {
    uint8_t y = 0;
    if (int err = ScanVar(cur, kind, y)) return err;
    rec.b[7] = y;
    return kErrNone;
}

}  // namespace

int CompileJmpLabel(ParseCursor& cur, PlcInstr& rec, int) {
    uint16_t target = 0;
    if (!ScanNumber(cur, Dom::LabelNo, target)) return kErrJumpTarget;
    rec.setOpcode(Op::Jmp);
    rec.setTarget(target);
    return ExpectEnd(cur);
}

int CompileJmpEnd(ParseCursor& cur, PlcInstr& rec, int) {
    rec.setOpcode(Op::JmpEnd);
    return ExpectEnd(cur);
}

// JMP(Fx op Fy), JMP(Fx = 0), and the same for H.
int CompileJmpVar(ParseCursor& cur, PlcInstr& rec, int letter) {
    const bool isF = letter == 'F';
    const VarKind kind = isF ? VarKind::F : VarKind::H;
    const std::string_view var = isF ? "F" : "H";
    uint8_t x = 0;
    if (int err = ScanVar(cur, kind, x)) return err;
    rec.setMode(0);
    rec.b[6] = x;
    int err = -1;
    for (const CompareOp& op : kCompareOps) {
        if (EatOp(cur, op.text, var)) {
            rec.setOpcode(static_cast<uint8_t>((isF ? kCompareF : kCompareH) + op.offset));
            err = ScanRight(cur, kind, rec);
            break;
        }
    }
    if (err < 0) {
        if (cur.Eat("=")) {
            rec.setOpcode(isF ? Op::JmpFEqZero : Op::JmpHEqZero);
        } else if (cur.Eat("!=")) {
            rec.setOpcode(isF ? Op::JmpFNeZero : Op::JmpHNeZero);
        } else {
            return kErrOperator;
        }
        err = ScanZero(cur, isF);
    }
    if (err != kErrNone) return err;
    return ScanTargetSuffix(cur, rec);
}

// JMP(ACTVAL op Fy / Hy / 0) and JMP(REFVAL ...): byte 1 = 1 or 2.
int CompileJmpActRef(ParseCursor& cur, PlcInstr& rec, int mode) {
    rec.setMode(static_cast<uint8_t>(mode));
    int err = -1;
    for (const CompareOp& op : kCompareOps) {
        if (EatOp(cur, op.text, "F")) {
            rec.setOpcode(static_cast<uint8_t>(kCompareF + op.offset));
            err = ScanRight(cur, VarKind::F, rec);
            break;
        }
        if (EatOp(cur, op.text, "H")) {
            rec.setOpcode(static_cast<uint8_t>(kCompareH + op.offset));
            err = ScanRight(cur, VarKind::H, rec);
            break;
        }
    }
    if (err < 0) {
        if (cur.Eat("=")) {
            rec.setOpcode(Op::JmpHEqZero);
        } else if (cur.Eat("!=")) {
            rec.setOpcode(Op::JmpHNeZero);
        } else {
            return kErrOperator;
        }
        err = ScanZero(cur, false);
    }
    if (err != kErrNone) return err;
    return ScanTargetSuffix(cur, rec);
}

// JMP(Mx = My), JMP(Mx & ISn) ..., JMP(Mx = v).
int CompileJmpFlag(ParseCursor& cur, PlcInstr& rec, int) {
    uint8_t x = 0;
    if (int err = ScanVar(cur, VarKind::M, x)) return err;
    rec.b[6] = x;
    static constexpr std::string_view kBitOps[] = {"&", "|", "^"};
    int err = -1;
    if (cur.Eat("=M")) {
        rec.setOpcode(Op::JmpMEqM);
        err = ScanRight(cur, VarKind::M, rec);
    } else if (cur.Eat("!=M")) {
        rec.setOpcode(Op::JmpMNeM);
        err = ScanRight(cur, VarKind::M, rec);
    }
    for (int io = 0; io < 2 && err < 0; ++io) {
        const auto groups = io == 0 ? InputGroups() : OutputGroups();
        for (uint8_t i = 0; i < 3 && err < 0; ++i) {
            for (const IoGroup& group : groups) {
                if (EatOp(cur, kBitOps[i], group.letters)) {
                    rec.setOpcode(static_cast<uint8_t>((io == 0 ? Op::JmpMAndIn : Op::JmpMAndOut) + i));
                    err = ScanIoNumber(cur, group, rec.b[7]);
                    break;
                }
            }
        }
    }
    if (err < 0) {
        if (!cur.Eat("=")) return kErrOperator;
        rec.setOpcode(Op::JmpMEqValue);
        err = ScanNumber(cur, Dom::Value01, rec.b[7]) ? kErrNone : kErrValue;
    }
    if (err != kErrNone) return err;
    return ScanTargetSuffix(cur, rec);
}

namespace {

// JMP(ISn = v) and JMP(OSn = v).
int CompileJmpIo(ParseCursor& cur, PlcInstr& rec, const IoGroup& group, uint8_t opcode) {
    if (int err = ScanIoNumber(cur, group, rec.b[6])) return err;
    if (!cur.Eat("=")) return kErrOperator;
    if (!ScanNumber(cur, Dom::Value01, rec.b[7])) return kErrValue;
    rec.setOpcode(opcode);
    return ScanTargetSuffix(cur, rec);
}

}  // namespace

int CompileJmpInput(ParseCursor& cur, PlcInstr& rec, int group) {
    return CompileJmpIo(cur, rec, InputGroups()[static_cast<size_t>(group)], Op::JmpInEqValue);
}

int CompileJmpOutput(ParseCursor& cur, PlcInstr& rec, int group) {
    return CompileJmpIo(cur, rec, OutputGroups()[static_cast<size_t>(group)], Op::JmpOutEqValue);
}

int CompileJmpCounter(ParseCursor& cur, PlcInstr& rec, int) {
    if (int err = ScanVar(cur, VarKind::C, rec.b[6])) return err;
    if (cur.Eat("=")) {
        rec.setOpcode(Op::JmpCEq);
    } else if (cur.Eat("!=")) {
        rec.setOpcode(Op::JmpCNe);
    } else {
        return kErrOperator;
    }
    if (!ScanNumber(cur, Dom::Byte, rec.b[7])) return kErrValue;
    return ScanTargetSuffix(cur, rec);
}

int CompileJmpTimer(ParseCursor& cur, PlcInstr& rec, int) {
    if (int err = ScanVar(cur, VarKind::Z, rec.b[6])) return err;
    if (cur.Eat("=")) {
        rec.setOpcode(Op::JmpZEq);
    } else if (cur.Eat("!=")) {
        rec.setOpcode(Op::JmpZNe);
    } else {
        return kErrOperator;
    }
    uint16_t zero = 0;
    if (!ScanNumber(cur, Dom::Zero, zero)) return kErrCompare;
    return ScanTargetSuffix(cur, rec);
}

int CompileJmpRxMsg(ParseCursor& cur, PlcInstr& rec, int) {
    if (!ScanNumber(cur, Dom::MsgNo, rec.b[6])) return kErrValue;
    if (cur.Eat(",H")) {
        rec.setOpcode(Op::JmpRxMsgH);
    } else if (cur.Eat(",F")) {
        rec.setOpcode(Op::JmpRxMsgF);
    } else {
        return kErrValue;
    }
    if (!ScanNumber(cur, Dom::HVar, rec.b[7])) return kErrValue;
    return ScanTargetSuffix(cur, rec);
}

// JMP(REF = Mx / v) and JMP(ROT_0 = Mx / v): byte 6 = 0 for a flag, 1 for a value.
int CompileJmpState(ParseCursor& cur, PlcInstr& rec, int opcode) {
    rec.setOpcode(static_cast<uint8_t>(opcode));
    bool ok = false;
    if (cur.Eat("M")) {
        rec.b[6] = 0;
        ok = ScanNumber(cur, Dom::MVar, rec.b[7]);
    } else {
        rec.b[6] = 1;
        ok = ScanNumber(cur, Dom::Value01, rec.b[7]);
    }
    if (!ok) return kErrFlag;
    return ScanTargetSuffix(cur, rec);
}

// JMP(STA_flag != / = Mx or v): byte 1 bit 0 means "=", bit 4 a constant.
int CompileJmpStatus(ParseCursor& cur, PlcInstr& rec, int) {
    uint8_t status = 0;
    if (!ScanStatusName(cur, false, status)) return kErrCompare;
    uint8_t compare = 0;
    if (cur.Eat("!=")) {
        compare = 0;
    } else if (cur.Eat("=")) {
        compare = 1;
    } else {
        return kErrOperator;
    }
    bool ok = false;
    if (cur.Eat("M")) {
        ok = ScanNumber(cur, Dom::MVar, rec.b[7]);
    } else {
        ok = ScanNumber(cur, Dom::Value01, rec.b[7]);
        compare = static_cast<uint8_t>(compare + 16);
    }
    if (!ok) return kErrFlag;
    rec.setOpcode(Op::JmpStatus);
    rec.setMode(compare);
    rec.b[6] = status;
    return ScanTargetSuffix(cur, rec);
}

int CompileCall(ParseCursor& cur, PlcInstr& rec, int) {
    uint16_t target = 0;
    if (!ScanNumber(cur, Dom::LabelNo, target)) return kErrJumpTarget;
    rec.setOpcode(Op::Call);
    rec.setTarget(target);
    return ExpectEnd(cur);
}

// RET, BRKPT, NOP: the keyword is the whole statement.
int CompileBare(ParseCursor& cur, PlcInstr& rec, int opcode) {
    rec.setOpcode(static_cast<uint8_t>(opcode));
    return ExpectEnd(cur);
}

}  // namespace plc
