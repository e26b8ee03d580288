// Fieldbus receive set-up, ramps, waiting, stopping, motion and sending.
#include "compiler/Statements.h"

namespace plc {

namespace {

// Byte 7 of the time-based GO forms: what the brackets hold.
constexpr uint8_t kTimeH = 0, kTimeC = 1, kTimeConstant = 2;

// An H index for the GO forms and ramps: 0 to 127, else code 17.
int ScanH(ParseCursor& cur, uint8_t& index) { return ScanVar(cur, VarKind::H, index); }

// The positioning forms "Hx" with the optional speed part "VHy" (the "H" of
// the position is already read). Byte 7 = 1 marks the form without speed.
int CompilePosition(ParseCursor& cur, PlcInstr& rec, uint8_t opcode, uint8_t letter) {
    rec.setOpcode(opcode);
    rec.b[5] = letter;
    if (int err = ScanH(cur, rec.b[1])) return err;
    if (cur.AtEnd()) {
        rec.b[7] = 1;
        return kErrNone;
    }
    if (!cur.Eat("VH")) return kErrGo;
    if (int err = ScanH(cur, rec.b[4])) return err;
    rec.b[7] = 0;
    return ExpectEnd(cur);
}

// The bracket operand of "WT[...]" and "T[...]": Hx, Cx or a constant.
int CompileTimed(ParseCursor& cur, PlcInstr& rec, uint8_t opcode) {
    rec.setOpcode(opcode);
    bool ok = false;
    if (cur.Eat("H")) {
        rec.b[7] = kTimeH;
        ok = ScanNumber(cur, Dom::HVar, rec.b[1]);
    } else if (cur.Eat("C")) {
        rec.b[7] = kTimeC;
        ok = ScanNumber(cur, Dom::CVar, rec.b[1]);
    } else {
        rec.b[7] = kTimeConstant;
        ok = ScanNumber(cur, Dom::Byte, rec.b[1]);
    }
    if (!ok) return kErrInteger;
    if (!cur.Eat("]")) return kErrBracket;
    return ExpectEnd(cur);
}

// The GO forms that begin with a fixed prefix and end in the positioning
// operands: opcode and the letter byte each writes.
struct PositionForm {
    std::string_view prefix;
    uint8_t opcode;
    uint8_t letter;  // byte 5: 0 for A, 1 for R (the RT forms write 1 as well)
};
// The prefixes do not overlap: "WRH" and "RH" need the H right after the R,
// "WRTH" and "RTH" a T; so the order among them does not matter.
constexpr PositionForm kPositionForms[] = {
    {"WAH", Op::GoWA, 0}, {"WRH", Op::GoWR, 1}, {"AH", Op::GoA, 0}, {"RH", Op::GoR, 1},
};
constexpr PositionForm kRotateForms[] = {{"WRTH", Op::GoWRt, 1}, {"RTH", Op::GoRt, 1}};

}  // namespace

// SETRXMSG[n,m,k]: message n 0 to 15, identifier m, length k 0 to 8.
int CompileSetRxMsg(ParseCursor& cur, PlcInstr& rec, int) {
    uint8_t n = 0, k = 0;
    uint16_t m = 0;
    if (!ScanNumber(cur, Dom::MsgNo, n) || !cur.Eat(",")) return kErrValue;
    if (!ScanNumber(cur, Dom::Word, m) || !cur.Eat(",")) return kErrValue;
    if (!ScanNumber(cur, Dom::MsgLen, k)) return kErrValue;
    if (!cur.Eat("]")) return kErrBracket;
    rec.setOpcode(Op::SetRxMsg);
    rec.b[4] = n;
    rec.b[5] = k;
    rec.setWord67(m);
    return ExpectEnd(cur);
}

// SETACCR=Hx / SETACCR=r% and the same for SETDECR: byte 4 = 0 for the
// variable, 1 for the percentage 0 to 150.
int CompileSetRamp(ParseCursor& cur, PlcInstr& rec, int opcode) {
    rec.setOpcode(static_cast<uint8_t>(opcode));
    if (cur.Eat("H")) {
        if (int err = ScanH(cur, rec.b[1])) return err;
        rec.b[4] = 0;
    } else {
        if (!ScanNumber(cur, Dom::Percent, rec.b[1])) return kErrInteger;
        if (!cur.Eat("%")) return kErrOperator;
        rec.b[4] = 1;
    }
    return ExpectEnd(cur);
}

int CompileWaitH(ParseCursor& cur, PlcInstr& rec, int) {
    rec.setOpcode(Op::WaitH);
    if (int err = ScanH(cur, rec.b[1])) return err;
    return ExpectEnd(cur);
}

// WAITPAR, WAITREF, WAITROT_0: the keyword is the whole statement.
int CompileWaitBare(ParseCursor& cur, PlcInstr& rec, int opcode) {
    rec.setOpcode(static_cast<uint8_t>(opcode));
    return ExpectEnd(cur);
}

// WAITt: an unsigned 32-bit time in bytes 4 to 7.
int CompileWaitTime(ParseCursor& cur, PlcInstr& rec, int) {
    uint32_t t = 0;
    if (!ScanConstant(cur, Dom::UInt32, t)) return kErrInteger;
    rec.setOpcode(Op::WaitTime);
    rec.setDword4(t);
    return ExpectEnd(cur);
}

// STOPB, STOPM, STOP0: byte 1 = 0, 1, 2.
int CompileStop(ParseCursor& cur, PlcInstr& rec, int) {
    switch (cur.Peek()) {
        case 'B': rec.b[1] = 0; break;
        case 'M': rec.b[1] = 1; break;
        case '0': rec.b[1] = 2; break;
        default: return kErrOperator;
    }
    cur.Advance();
    rec.setOpcode(Op::Stop);
    return ExpectEnd(cur);
}

int CompileGo(ParseCursor& cur, PlcInstr& rec, int) {
    for (const PositionForm& form : kPositionForms) {
        if (cur.Eat(form.prefix)) return CompilePosition(cur, rec, form.opcode, form.letter);
    }
    if (cur.Eat("0+H")) {
        rec.setOpcode(Op::GoZeroPlusH);
        if (int err = ScanH(cur, rec.b[1])) return err;
        return ExpectEnd(cur);
    }
    if (cur.Eat("0")) {
        rec.setOpcode(Op::GoZero);
        return ExpectEnd(cur);
    }
    if (cur.Eat("VH")) {
        // Bytes 5 and 6 are markers of this form.
        rec.setOpcode(Op::GoSpeed);
        if (int err = ScanH(cur, rec.b[4])) return err;
        rec.b[5] = 1;
        rec.b[6] = 1;
        return ExpectEnd(cur);
    }
    for (const PositionForm& form : kRotateForms) {
        if (cur.Eat(form.prefix)) return CompilePosition(cur, rec, form.opcode, form.letter);
    }
    if (cur.Eat("WT[")) return CompileTimed(cur, rec, Op::GoWTime);
    if (cur.Eat("T[")) return CompileTimed(cur, rec, Op::GoTime);
    if (cur.Eat("SYN")) {
        rec.setOpcode(Op::GoSyn);
        if (!ScanNumber(cur, Dom::Value01, rec.b[1])) return kErrGo;
        return ExpectEnd(cur);
    }
    return kErrGo;
}

// SENDNMTCMD[a,b]: a 0 to 255, b 0 to 127.
int CompileSendNmt(ParseCursor& cur, PlcInstr& rec, int) {
    uint8_t a = 0, b = 0;
    if (!ScanNumber(cur, Dom::Byte, a) || !cur.Eat(",")) return kErrValue;
    if (!ScanNumber(cur, Dom::NmtNode, b)) return kErrValue;
    if (!cur.Eat("]")) return kErrBracket;
    rec.setOpcode(Op::SendNmtCmd);
    rec.b[4] = a;
    rec.b[5] = b;
    return ExpectEnd(cur);
}

// SENDTXMSG[m,k]=Hx / =Fx: identifier m, length k 0 to 8, the variable in byte 1.
int CompileSendTx(ParseCursor& cur, PlcInstr& rec, int) {
    uint16_t m = 0;
    uint8_t k = 0;
    if (!ScanNumber(cur, Dom::Word, m) || !cur.Eat(",")) return kErrValue;
    if (!ScanNumber(cur, Dom::MsgLen, k)) return kErrValue;
    if (cur.Eat("]=H")) {
        rec.setOpcode(Op::SendTxMsgH);
    } else if (cur.Eat("]=F")) {
        rec.setOpcode(Op::SendTxMsgF);
    } else {
        return kErrValue;
    }
    if (!ScanNumber(cur, Dom::HVar, rec.b[1])) return kErrValue;
    rec.b[4] = k;
    rec.setWord67(m);
    return ExpectEnd(cur);
}

}  // namespace plc
