// SPDX-License-Identifier: GPL-3.0-or-later
// The statement compilers behind the keyword chain, and the operand helpers
// they share. A statement compiler reads the rest of the line after its
// keyword, chooses the form of an opcode's row and hands it the operand
// values; the row places them in the record (Emit). It returns 0 or the error
// code of the first fault. The line compiler marks the record used and stores
// it only on success, so a faulty line leaves nothing behind.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

#include "compiler/ParseCursor.h"
#include "compiler/Scanners.h"
#include "compiler/StatementFamilies.h"
#include "image/ErrorCodes.h"
#include "image/InstrSet.h"
#include "image/PlcProgram.h"

namespace plc {

using StatementCompiler = int (*)(ParseCursor& cur, PlcInstr& rec, int arg);

struct KeywordRow {
    std::string_view keyword;   // prefix of the upper-case rest after the label
    StatementCompiler compile;  // reads what follows the keyword
    int arg;                    // passed to the compiler (a code, opcode, group or name number)
    StatementFamily family;     // the family whose help page shows its forms
    bool labelFollows;          // its last letter is the N of the label it takes ("JMPN", "CALLN")
};

// The keyword chain: tested in order, the first prefix that matches decides.
std::span<const KeywordRow> KeywordChain();

// The row of the keyword chain that decides for the upper-case text `rest`:
// the first whose keyword begins it; -1 when none does.
int MatchKeyword(std::string_view rest);

// Compiles the statement after a label through the keyword chain; code 5 when
// no keyword matches.
int CompileStatement(ParseCursor& cur, PlcInstr& rec);

// ---- filling a record from its row ----

// The operand values of one statement in the order its canonical form shows
// them, the label left out, each as the record stores it (a jump target is
// 255 for END). An operand whose byte the form fixes takes no value.
using FormValues = std::initializer_list<uint32_t>;

// Fills `rec` as the opcode's row says: the opcode and record kind, the form's
// selector value, every value at the bytes its operand names, and the form's
// fixed bytes. `selector` picks the form of a row with several (the value of
// its selector field); kAnyValue takes the first form. Gives 0, or code 3 when
// the row and the values disagree: no row, no such form, another count.
int Emit(PlcInstr& rec, uint8_t opcode, FormValues values, int selector = kAnyValue);

// ---- shared operand helpers ----

// A number written in the text in [lo, hi]: the common short number read
// here (inline, so that each caller's digit loop is predicted on its own),
// anything else by the full scanner, which notes where a failed one began.
inline bool ScanWritten(ParseCursor& cur, double lo, double hi, uint16_t& written) {
    if (uint32_t number = 0; cur.TakeShortUnsigned(number, lo, hi)) {
        written = static_cast<uint16_t>(number);
        return true;
    }
    return ScanWord(cur, written, lo, hi);
}

// Reads a number of domain `dom` within the domain's range and gives it as
// the record stores it; false (nothing stored) when there is none in range.
inline bool ScanNumber(ParseCursor& cur, Dom dom, uint8_t& stored) {
    const DomainInfo& domain = DomainOf(dom);
    uint16_t written = 0;
    if (!ScanWritten(cur, domain.lo, domain.hi > 255 ? 255 : domain.hi, written)) return false;
    stored = static_cast<uint8_t>(written - domain.bias);
    return true;
}
inline bool ScanNumber(ParseCursor& cur, Dom dom, uint16_t& stored) {
    const DomainInfo& domain = DomainOf(dom);
    uint16_t written = 0;
    if (!ScanWritten(cur, domain.lo, domain.hi, written)) return false;
    stored = static_cast<uint16_t>(written - domain.bias);
    return true;
}
// A 32-bit constant of domain `dom` (Int32, UInt32, Float) as bytes 4 to 7 store it.
bool ScanConstant(ParseCursor& cur, Dom dom, uint32_t& stored);

// Reads a variable index of the given family in its range; 0, or the
// family's error code.
inline int ScanVar(ParseCursor& cur, VarKind kind, uint8_t& index) {
    const VarFamily& family = FamilyOf(kind);
    return ScanNumber(cur, family.dom, index) ? kErrNone : family.error;
}

// Consumes `op` directly followed by `letters` (both or nothing).
inline bool EatOp(ParseCursor& cur, std::string_view op, std::string_view letters) {
    if (!cur.StartsWith(op)) return false;
    const size_t at = cur.Position();
    cur.Advance(op.size());
    if (cur.Eat(letters)) return true;
    cur.SetPosition(at);
    return false;
}

// Reads the number of an input or output of `group` and gives its bit
// number; 0 or code 25.
int ScanIoNumber(ParseCursor& cur, const IoGroup& group, uint8_t& bit);

// Tries the groups in order ("IS", "IE", "IA" or "OS", "OE", "OV"); -1 when
// none of their letters follows, else 0 or code 25 as ScanIoNumber.
int ScanIoOperand(ParseCursor& cur, std::span<const IoGroup> groups, uint8_t& bit);

// Reads a status flag name (after "STA_") in the compiler's test order;
// false when none matches. `withWoti` admits STA_WOTI.
bool ScanStatusName(ParseCursor& cur, bool withWoti, uint8_t& number);

// The jump target suffix ")Nt" or ")END" (target 255), then the end of the line.
int ScanTargetSuffix(ParseCursor& cur, uint16_t& target);

// 0 at the end of the line, else code 2.
inline int ExpectEnd(const ParseCursor& cur) { return cur.AtEnd() ? kErrNone : kErrTooLong; }

// Emit once the line has ended; code 2 when something follows.
inline int EmitAtEnd(const ParseCursor& cur, PlcInstr& rec, uint8_t opcode, FormValues values,
                     int selector = kAnyValue) {
    if (int err = ExpectEnd(cur)) return err;
    return Emit(rec, opcode, values, selector);
}

// ---- control flow ----
int CompileJmpLabel(ParseCursor&, PlcInstr&, int);
int CompileJmpEnd(ParseCursor&, PlcInstr&, int);
int CompileJmpVar(ParseCursor&, PlcInstr&, int letter);
int CompileJmpActRef(ParseCursor&, PlcInstr&, int mode);
int CompileJmpFlag(ParseCursor&, PlcInstr&, int);
int CompileJmpInput(ParseCursor&, PlcInstr&, int group);
int CompileJmpOutput(ParseCursor&, PlcInstr&, int group);
int CompileJmpCounter(ParseCursor&, PlcInstr&, int);
int CompileJmpTimer(ParseCursor&, PlcInstr&, int);
int CompileJmpRxMsg(ParseCursor&, PlcInstr&, int);
int CompileJmpState(ParseCursor&, PlcInstr&, int opcode);
int CompileJmpStatus(ParseCursor&, PlcInstr&, int);
int CompileCall(ParseCursor&, PlcInstr&, int);
int CompileBare(ParseCursor&, PlcInstr&, int opcode);

// ---- drive settings and assignments ----
int CompileSetRegister(ParseCursor&, PlcInstr&, int reg);
int CompileSetRefVal(ParseCursor&, PlcInstr&, int);
int CompileSetCtrlFlag(ParseCursor&, PlcInstr&, int flag);
int CompileSetFIndexed(ParseCursor&, PlcInstr&, int);
int CompileSetF(ParseCursor&, PlcInstr&, int);
int CompileSetHIndexed(ParseCursor&, PlcInstr&, int);
int CompileSetH(ParseCursor&, PlcInstr&, int);
int CompileSetMIndexed(ParseCursor&, PlcInstr&, int);
int CompileSetM(ParseCursor&, PlcInstr&, int);
int CompileSetC(ParseCursor&, PlcInstr&, int);
int CompileSetZ(ParseCursor&, PlcInstr&, int);
int CompileSetOutput(ParseCursor&, PlcInstr&, int group);
int CompileSetPara(ParseCursor&, PlcInstr&, int variable);

// ---- inversions ----
int CompileInvH(ParseCursor&, PlcInstr&, int);
int CompileInvM(ParseCursor&, PlcInstr&, int);
int CompileInvOutput(ParseCursor&, PlcInstr&, int group);

// ---- fieldbus receive set-up, ramps, waiting, stopping, motion, sending ----
int CompileSetRxMsg(ParseCursor&, PlcInstr&, int);
int CompileSetRamp(ParseCursor&, PlcInstr&, int opcode);
int CompileWaitH(ParseCursor&, PlcInstr&, int);
int CompileWaitBare(ParseCursor&, PlcInstr&, int opcode);
int CompileWaitTime(ParseCursor&, PlcInstr&, int);
int CompileStop(ParseCursor&, PlcInstr&, int);
int CompileGo(ParseCursor&, PlcInstr&, int);
int CompileSendNmt(ParseCursor&, PlcInstr&, int);
int CompileSendTx(ParseCursor&, PlcInstr&, int);

}  // namespace plc
