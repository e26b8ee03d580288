// SPDX-License-Identifier: GPL-3.0-or-later
// Fieldbus receive set-up, ramps, waiting, stopping, motion and sending.
#include "compiler/Statements.h"

namespace plc {

namespace {

// What the brackets of the time-based GO forms hold: the form of the row.
constexpr int kTimeH = 0, kTimeC = 1, kTimeConstant = 2;

// An H index for the GO forms and ramps: 0 to 127, else code 17.
int ScanH(ParseCursor& cur, uint8_t& index) { return ScanVar(cur, VarKind::H, index); }

// The positioning forms "Hx" with the optional speed part "VHy" (the "H" of
// the position is already read): the form with the speed part, or without.
int CompilePosition(ParseCursor& cur, PlcInstr& rec, uint8_t opcode) {
    constexpr int kWithSpeed = 0, kWithoutSpeed = 1;
    uint8_t x = 0, v = 0;
    if (int err = ScanH(cur, x)) return err;
    if (cur.AtEnd()) return Emit(rec, opcode, {x}, kWithoutSpeed);
    if (!cur.Eat("VH")) return kErrGo;
    if (int err = ScanH(cur, v)) return err;
    return EmitAtEnd(cur, rec, opcode, {x, v}, kWithSpeed);
}

// The bracket operand of "WT[...]" and "T[...]": Hx, Cx or a constant.
int CompileTimed(ParseCursor& cur, PlcInstr& rec, uint8_t opcode) {
    int form = kTimeConstant;
    Dom dom = Dom::Byte;
    if (cur.Eat("H")) {
        form = kTimeH;
        dom = Dom::HVar;
    } else if (cur.Eat("C")) {
        form = kTimeC;
        dom = Dom::CVar;
    }
    uint8_t value = 0;
    if (!ScanNumber(cur, dom, value)) return kErrInteger;
    if (!cur.Eat("]")) return kErrBracket;
    return EmitAtEnd(cur, rec, opcode, {value}, form);
}

// The GO forms that begin with a fixed prefix and end in the positioning
// operands. The prefixes do not overlap: "WRH" and "RH" need the H right
// after the R, "WRTH" and "RTH" a T; so the order among them does not matter.
struct PositionForm {
    std::string_view prefix;
    uint8_t opcode;
};
constexpr PositionForm kPositionForms[] = {
    {"WAH", Op::GoWA}, {"WRH", Op::GoWR}, {"AH", Op::GoA}, {"RH", Op::GoR},
};
constexpr PositionForm kRotateForms[] = {{"WRTH", Op::GoWRt}, {"RTH", Op::GoRt}};

}  // namespace

// SETRXMSG[n,m,k]: message n 0 to 15, identifier m, length k 0 to 8.
int CompileSetRxMsg(ParseCursor& cur, PlcInstr& rec, int) {
    uint8_t n = 0, k = 0;
    uint16_t m = 0;
    if (!ScanNumber(cur, Dom::MsgNo, n) || !cur.Eat(",")) return kErrValue;
    if (!ScanNumber(cur, Dom::Word, m) || !cur.Eat(",")) return kErrValue;
    if (!ScanNumber(cur, Dom::MsgLen, k)) return kErrValue;
    if (!cur.Eat("]")) return kErrBracket;
    return EmitAtEnd(cur, rec, Op::SetRxMsg, {n, m, k});
}

// SETACCR=Hx / SETACCR=r% and the same for SETDECR: the form with a
// variable, or with a percentage 0 to 150.
int CompileSetRamp(ParseCursor& cur, PlcInstr& rec, int opcode) {
    constexpr int kVariable = 0, kPercentage = 1;
    uint8_t value = 0;
    int form = kVariable;
    if (cur.Eat("H")) {
        if (int err = ScanH(cur, value)) return err;
    } else {
        if (!ScanNumber(cur, Dom::Percent, value)) return kErrInteger;
        if (!cur.Eat("%")) return kErrOperator;
        form = kPercentage;
    }
    return EmitAtEnd(cur, rec, static_cast<uint8_t>(opcode), {value}, form);
}

int CompileWaitH(ParseCursor& cur, PlcInstr& rec, int) {
    uint8_t x = 0;
    if (int err = ScanH(cur, x)) return err;
    return EmitAtEnd(cur, rec, Op::WaitH, {x});
}

// WAITPAR, WAITREF, WAITROT_0: the keyword is the whole statement.
int CompileWaitBare(ParseCursor& cur, PlcInstr& rec, int opcode) {
    return EmitAtEnd(cur, rec, static_cast<uint8_t>(opcode), {});
}

// WAITt: an unsigned 32-bit time.
int CompileWaitTime(ParseCursor& cur, PlcInstr& rec, int) {
    uint32_t t = 0;
    if (!ScanConstant(cur, Dom::UInt32, t)) return kErrInteger;
    return EmitAtEnd(cur, rec, Op::WaitTime, {t});
}

// STOPB, STOPM, STOP0: the forms 0, 1, 2.
int CompileStop(ParseCursor& cur, PlcInstr& rec, int) {
    int form = 0;
    switch (cur.Peek()) {
        case 'B': form = 0; break;
        case 'M': form = 1; break;
        case '0': form = 2; break;
        default: return kErrOperator;
    }
    cur.Advance();
    return EmitAtEnd(cur, rec, Op::Stop, {}, form);
}

int CompileGo(ParseCursor& cur, PlcInstr& rec, int) {
    for (const PositionForm& form : kPositionForms) {
        if (cur.Eat(form.prefix)) return CompilePosition(cur, rec, form.opcode);
    }
    uint8_t x = 0;
    if (cur.Eat("0+H")) {
        if (int err = ScanH(cur, x)) return err;
        return EmitAtEnd(cur, rec, Op::GoZeroPlusH, {x});
    }
    if (cur.Eat("0")) return EmitAtEnd(cur, rec, Op::GoZero, {});
    if (cur.Eat("VH")) {
        if (int err = ScanH(cur, x)) return err;
        return EmitAtEnd(cur, rec, Op::GoSpeed, {x});
    }
    for (const PositionForm& form : kRotateForms) {
        if (cur.Eat(form.prefix)) return CompilePosition(cur, rec, form.opcode);
    }
    if (cur.Eat("WT[")) return CompileTimed(cur, rec, Op::GoWTime);
    if (cur.Eat("T[")) return CompileTimed(cur, rec, Op::GoTime);
    if (cur.Eat("SYN")) {
        if (!ScanNumber(cur, Dom::Value01, x)) return kErrGo;
        return EmitAtEnd(cur, rec, Op::GoSyn, {x});
    }
    return kErrGo;
}

// SENDNMTCMD[a,b]: a 0 to 255, b 0 to 127.
int CompileSendNmt(ParseCursor& cur, PlcInstr& rec, int) {
    uint8_t a = 0, b = 0;
    if (!ScanNumber(cur, Dom::Byte, a) || !cur.Eat(",")) return kErrValue;
    if (!ScanNumber(cur, Dom::NmtNode, b)) return kErrValue;
    if (!cur.Eat("]")) return kErrBracket;
    return EmitAtEnd(cur, rec, Op::SendNmtCmd, {a, b});
}

// SENDTXMSG[m,k]=Hx / =Fx: identifier m, length k 0 to 8, then the variable.
int CompileSendTx(ParseCursor& cur, PlcInstr& rec, int) {
    uint16_t m = 0;
    uint8_t k = 0;
    if (!ScanNumber(cur, Dom::Word, m) || !cur.Eat(",")) return kErrValue;
    if (!ScanNumber(cur, Dom::MsgLen, k)) return kErrValue;
    uint8_t opcode = 0;
    if (cur.Eat("]=H")) {
        opcode = Op::SendTxMsgH;
    } else if (cur.Eat("]=F")) {
        opcode = Op::SendTxMsgF;
    } else {
        return kErrValue;
    }
    uint8_t x = 0;
    if (!ScanNumber(cur, Dom::HVar, x)) return kErrValue;
    return EmitAtEnd(cur, rec, opcode, {m, k, x});
}

}  // namespace plc
