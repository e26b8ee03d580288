// SPDX-License-Identifier: GPL-3.0-or-later
// Control flow: jumps, conditional jumps, CALL, RET, BRKPT and NOP. Every
// record of this family has kind 1 and keeps its jump target in bytes 4-5;
// a target of 255 selects the END form of the text.
#include "image/InstrSetRows.h"

namespace plc {

using namespace rows;

namespace {

constexpr uint8_t kFlow = kKindControlFlow;

// ---- unconditional flow ----
constexpr Variant kJmp[] = {{kAnyValue, "N%03d JMP N%03d", {kLabel, kTarget}}};
constexpr Variant kJmpEnd[] = {{kAnyValue, "N%03d JMP END", {kLabel}}};
constexpr Variant kCall[] = {{kAnyValue, "N%03d CALL N%03d", {kLabel, kTarget}}};
constexpr Variant kRet[] = {{kAnyValue, "N%03d RET", {kLabel}}};
constexpr Variant kBrkpt[] = {{kAnyValue, "N%03d BRKPT", {kLabel}}};
constexpr Variant kNop[] = {{kAnyValue, "N%03d NOP", {kLabel}}};

// ---- comparison of two variables, or of ACTVAL / REFVAL with a variable ----
// Byte 1 selects the left-hand side: 0 the variable in byte 6, 1 ACTVAL, 2 REFVAL.
#define PLC_COMPARE(name, L, OPTEXT, DOM)                                                       \
    constexpr Variant name[] = {                                                                \
        {0, "N%03d JMP (" L "%03d " OPTEXT " " L "%03d) N%03d",                                 \
         {kLabel, Arg(Src::B6, DOM), Arg(Src::B7, DOM), kTarget},                                 \
         "N%03d JMP (" L "%03d " OPTEXT " " L "%03d) END",                                      \
         {kLabel, Arg(Src::B6, DOM), Arg(Src::B7, DOM)}},                                         \
        {1, "N%03d JMP (ACTVAL " OPTEXT " " L "%03d) N%03d", {kLabel, Arg(Src::B7, DOM), kTarget}, \
         "N%03d JMP (ACTVAL " OPTEXT " " L "%03d) END", {kLabel, Arg(Src::B7, DOM)}, {},          \
         Calc::None, DrivePlace::ActVal},                                                            \
        {2, "N%03d JMP (REFVAL " OPTEXT " " L "%03d) N%03d", {kLabel, Arg(Src::B7, DOM), kTarget}, \
         "N%03d JMP (REFVAL " OPTEXT " " L "%03d) END", {kLabel, Arg(Src::B7, DOM)}, {},          \
         Calc::None, DrivePlace::RefVal},                                                            \
    };                                                                                          \
    constexpr const char* name##Error = "; ERROR: JMP (" L "xx/ACTVAL/REFVAL " OPTEXT " " L "xx) Nxx/END";

PLC_COMPARE(kCmpFEq, "F", "=", Dom::FVar)
PLC_COMPARE(kCmpFNe, "F", "!=", Dom::FVar)
PLC_COMPARE(kCmpFGe, "F", ">=", Dom::FVar)
PLC_COMPARE(kCmpFGt, "F", ">", Dom::FVar)
PLC_COMPARE(kCmpFLe, "F", "<=", Dom::FVar)
PLC_COMPARE(kCmpFLt, "F", "<", Dom::FVar)
PLC_COMPARE(kCmpHEq, "H", "=", Dom::HVar)
PLC_COMPARE(kCmpHNe, "H", "!=", Dom::HVar)
PLC_COMPARE(kCmpHGe, "H", ">=", Dom::HVar)
PLC_COMPARE(kCmpHGt, "H", ">", Dom::HVar)
PLC_COMPARE(kCmpHLe, "H", "<=", Dom::HVar)
PLC_COMPARE(kCmpHLt, "H", "<", Dom::HVar)
#undef PLC_COMPARE

// ---- comparison with zero ----
constexpr Variant kZeroFEq[] = {{0, "N%03d JMP (F%03d = 0) N%03d", {kLabel, Arg(Src::B6, Dom::FVar), kTarget},
                                 "N%03d JMP (F%03d = 0) END", {kLabel, Arg(Src::B6, Dom::FVar)}}};
constexpr Variant kZeroFNe[] = {{0, "N%03d JMP (F%03d != 0) N%03d", {kLabel, Arg(Src::B6, Dom::FVar), kTarget},
                                 "N%03d JMP (F%03d != 0) END", {kLabel, Arg(Src::B6, Dom::FVar)}}};
// JmpFEqZero and JmpFNeZero share one error text.
constexpr const char* kZeroFError = "; ERROR: JMP (Fxx/ACTVAL/REFVAL != 0) Nxx/END";

#define PLC_ZERO_H(name, OPTEXT)                                                                \
    constexpr Variant name[] = {                                                                \
        {0, "N%03d JMP (H%03d " OPTEXT " 0) N%03d", {kLabel, Arg(Src::B6, Dom::HVar), kTarget},  \
         "N%03d JMP (H%03d " OPTEXT " 0) END", {kLabel, Arg(Src::B6, Dom::HVar)}},               \
        {1, "N%03d JMP (ACTVAL " OPTEXT " 0) N%03d", {kLabel, kTarget},                         \
         "N%03d JMP (ACTVAL " OPTEXT " 0) END", {kLabel}, {}, Calc::None, DrivePlace::ActVal},       \
        {2, "N%03d JMP (REFVAL " OPTEXT " 0) N%03d", {kLabel, kTarget},                         \
         "N%03d JMP (REFVAL " OPTEXT " 0) END", {kLabel}, {}, Calc::None, DrivePlace::RefVal},       \
    };
PLC_ZERO_H(kZeroHEq, "=")
PLC_ZERO_H(kZeroHNe, "!=")
#undef PLC_ZERO_H

// ---- flags, inputs and outputs ----
#define PLC_BINARY(name, LEFT, LDOM, OPTEXT, RIGHT, RDOM)                                             \
    constexpr Variant name[] = {{kAnyValue, "N%03d JMP (" LEFT " " OPTEXT " " RIGHT ") N%03d",        \
                                 {kLabel, Arg(Src::B6, LDOM), Arg(Src::B7, RDOM), kTarget},             \
                                 "N%03d JMP (" LEFT " " OPTEXT " " RIGHT ") END",                     \
                                 {kLabel, Arg(Src::B6, LDOM), Arg(Src::B7, RDOM)}}};
PLC_BINARY(kFlagEq, "M%03d", Dom::MVar, "=", "M%03d", Dom::MVar)
PLC_BINARY(kFlagNe, "M%03d", Dom::MVar, "!=", "M%03d", Dom::MVar)
PLC_BINARY(kFlagAndIn, "M%03d", Dom::MVar, "&", "%s", Dom::Input)
PLC_BINARY(kFlagOrIn, "M%03d", Dom::MVar, "|", "%s", Dom::Input)
PLC_BINARY(kFlagXorIn, "M%03d", Dom::MVar, "^", "%s", Dom::Input)
PLC_BINARY(kFlagAndOut, "M%03d", Dom::MVar, "&", "%s", Dom::Output)
PLC_BINARY(kFlagOrOut, "M%03d", Dom::MVar, "|", "%s", Dom::Output)
PLC_BINARY(kFlagXorOut, "M%03d", Dom::MVar, "^", "%s", Dom::Output)
PLC_BINARY(kFlagValue, "M%03d", Dom::MVar, "=", "%d", Dom::Value01)
PLC_BINARY(kInputValue, "%s", Dom::Input, "=", "%d", Dom::Value01)
PLC_BINARY(kOutputValue, "%s", Dom::Output, "=", "%d", Dom::Value01)
PLC_BINARY(kCounterEq, "C%03d", Dom::CVar, "=", "%d", Dom::Byte)
PLC_BINARY(kCounterNe, "C%03d", Dom::CVar, "!=", "%d", Dom::Byte)
PLC_BINARY(kTimerEq, "Z%03d", Dom::ZVar, "=", "%d", Dom::Zero)
#undef PLC_BINARY

// The END form of the timer inequality shows a fixed 0, not byte 7.
constexpr Variant kTimerNe[] = {{kAnyValue, "N%03d JMP (Z%03d != %d) N%03d",
                                 {kLabel, Arg(Src::B6, Dom::ZVar), Arg(Src::B7, Dom::Zero), kTarget},
                                 "N%03d JMP (Z%03d != 0) END", {kLabel, Arg(Src::B6, Dom::ZVar)}}};

// ---- drive states: byte 6 = 0 compares with a flag, nonzero with a value ----
#define PLC_STATE(name, STATE)                                                                  \
    constexpr Variant name[] = {                                                                \
        {0, "N%03d JMP (" STATE " = M%03d) N%03d", {kLabel, Arg(Src::B7, Dom::MVar), kTarget},   \
         "N%03d JMP (" STATE " = M%03d) END", {kLabel, Arg(Src::B7, Dom::MVar)}},                \
        {kNonZero, "N%03d JMP (" STATE " = %d) N%03d", {kLabel, Arg(Src::B7, Dom::Value01), kTarget}, \
         "N%03d JMP (" STATE " = %d) END", {kLabel, Arg(Src::B7, Dom::Value01)}, {Fix(6, 1)}},   \
    };
PLC_STATE(kStateRef, "REF")
PLC_STATE(kStateRot0, "ROT_0")
#undef PLC_STATE

// ---- received fieldbus messages ----
constexpr Variant kRxMsgH[] = {{kAnyValue, "N%03d JMP(RXMSG, %d, H%03d) N%03d",
                                {kLabel, Arg(Src::B6, Dom::MsgNo), Arg(Src::B7, Dom::HVar), kTarget},
                                "N%03d JMP(RXMSG, %d, H%03d) END",
                                {kLabel, Arg(Src::B6, Dom::MsgNo), Arg(Src::B7, Dom::HVar)}}};
constexpr Variant kRxMsgF[] = {{kAnyValue, "N%03d JMP(RXMSG, %d, F%03d) N%03d",
                                {kLabel, Arg(Src::B6, Dom::MsgNo), Arg(Src::B7, Dom::FVar), kTarget},
                                "N%03d JMP(RXMSG, %d, F%03d) END",
                                {kLabel, Arg(Src::B6, Dom::MsgNo), Arg(Src::B7, Dom::FVar)}}};

// ---- drive status flags: bit 0 of byte 1 means "=", bit 4 a constant ----
// The form decides the test.
constexpr Operand kStatusOp = Arg(Src::B6, Dom::Status);
#define PLC_STATUS(MODE, COND, RDOM, TEST)                                                     \
    {MODE, "N%03d JMP (%s " COND ") N%03d", {kLabel, kStatusOp, Arg(Src::B7, RDOM), kTarget},   \
     "N%03d JMP (%s " COND ") END", {kLabel, kStatusOp, Arg(Src::B7, RDOM)}, {}, TEST}
constexpr Variant kStatus[] = {
    PLC_STATUS(0x00, "!= M%03d", Dom::MVar, Calc::Ne),
    PLC_STATUS(0x01, "= M%03d", Dom::MVar, Calc::Eq),
    PLC_STATUS(0x10, "!= %d", Dom::Value01, Calc::Ne),
    PLC_STATUS(0x11, "= %d", Dom::Value01, Calc::Eq),
};
#undef PLC_STATUS

constexpr OpcodeRow Row(uint8_t opcode, std::span<const Variant> variants, Meaning meaning) {
    return Means(OpcodeRow{opcode, kFlow, Src::None, variants}, meaning);
}
constexpr OpcodeRow ModeRow(uint8_t opcode, std::span<const Variant> variants, const char* error,
                            Meaning meaning) {
    return Means(OpcodeRow{opcode, kFlow, Src::Mode, variants, ErrorLine{error}}, meaning);
}

// The tests: byte 6 against byte 7, or byte 6 against 0.
constexpr Meaning Compares(Calc test) { return Tests(test, Src::B6, Src::B7); }
constexpr Meaning ComparesWithZero(Calc test) { return Tests(test, Src::B6); }
// REF and ROT_0 against the flag or value in byte 7.
constexpr Meaning StateIs(DrivePlace state) { return Reaching(Tests(Calc::Eq, Src::None, Src::B7), state); }

constexpr OpcodeRow kRows[] = {
    Row(Op::Jmp, kJmp, Goes(Flow::Jump)),
    Row(Op::JmpEnd, kJmpEnd, Goes(Flow::End)),
    ModeRow(Op::JmpFEqF, kCmpFEq, kCmpFEqError, Compares(Calc::Eq)),
    ModeRow(Op::JmpFNeF, kCmpFNe, kCmpFNeError, Compares(Calc::Ne)),
    ModeRow(Op::JmpFGeF, kCmpFGe, kCmpFGeError, Compares(Calc::Ge)),
    ModeRow(Op::JmpFGtF, kCmpFGt, kCmpFGtError, Compares(Calc::Gt)),
    ModeRow(Op::JmpFLeF, kCmpFLe, kCmpFLeError, Compares(Calc::Le)),
    ModeRow(Op::JmpFLtF, kCmpFLt, kCmpFLtError, Compares(Calc::Lt)),
    ModeRow(Op::JmpFEqZero, kZeroFEq, kZeroFError, ComparesWithZero(Calc::Eq)),
    ModeRow(Op::JmpFNeZero, kZeroFNe, kZeroFError, ComparesWithZero(Calc::Ne)),
    ModeRow(Op::JmpHEqH, kCmpHEq, kCmpHEqError, Compares(Calc::Eq)),
    ModeRow(Op::JmpHNeH, kCmpHNe, kCmpHNeError, Compares(Calc::Ne)),
    ModeRow(Op::JmpHGeH, kCmpHGe, kCmpHGeError, Compares(Calc::Ge)),
    ModeRow(Op::JmpHGtH, kCmpHGt, kCmpHGtError, Compares(Calc::Gt)),
    ModeRow(Op::JmpHLeH, kCmpHLe, kCmpHLeError, Compares(Calc::Le)),
    ModeRow(Op::JmpHLtH, kCmpHLt, kCmpHLtError, Compares(Calc::Lt)),
    ModeRow(Op::JmpHEqZero, kZeroHEq, "; ERROR: JMP (Hxx/ACTVAL/REFVAL = 0) Nxx/END",
            ComparesWithZero(Calc::Eq)),
    ModeRow(Op::JmpHNeZero, kZeroHNe, "; ERROR: JMP (Hxx/ACTVAL/REFVAL != 0) Nxx/END",
            ComparesWithZero(Calc::Ne)),
    Row(Op::JmpMEqM, kFlagEq, Compares(Calc::Eq)),
    Row(Op::JmpMNeM, kFlagNe, Compares(Calc::Ne)),
    Row(Op::JmpMAndIn, kFlagAndIn, Compares(Calc::And)),
    Row(Op::JmpMOrIn, kFlagOrIn, Compares(Calc::Or)),
    Row(Op::JmpMXorIn, kFlagXorIn, Compares(Calc::Xor)),
    Row(Op::JmpMAndOut, kFlagAndOut, Compares(Calc::And)),
    Row(Op::JmpMOrOut, kFlagOrOut, Compares(Calc::Or)),
    Row(Op::JmpMXorOut, kFlagXorOut, Compares(Calc::Xor)),
    Row(Op::JmpMEqValue, kFlagValue, Compares(Calc::Eq)),
    Row(Op::JmpInEqValue, kInputValue, Compares(Calc::Eq)),
    Row(Op::JmpOutEqValue, kOutputValue, Compares(Calc::Eq)),
    Row(Op::JmpCEq, kCounterEq, Compares(Calc::Eq)),
    Row(Op::JmpCNe, kCounterNe, Compares(Calc::Ne)),
    Row(Op::JmpZEq, kTimerEq, Compares(Calc::Eq)),
    Row(Op::JmpZNe, kTimerNe, Compares(Calc::Ne)),
    Row(Op::Call, kCall, Goes(Flow::Call)),
    Row(Op::Ret, kRet, Goes(Flow::Return)),
    Row(Op::Brkpt, kBrkpt, Does(kGoesOn, Calc::Break)),
    Row(Op::Nop, kNop, kGoesOn),
    // The jump on a received message stores its value in the variable.
    // Whether a message came is the drive's to say: a drive command.
    Row(Op::JmpRxMsgH, kRxMsgH, Does(Goes(Flow::Branch, Src::B7), Calc::Drive, Src::B6)),
    Row(Op::JmpRxMsgF, kRxMsgF, Does(Goes(Flow::Branch, Src::B7), Calc::Drive, Src::B6)),
    Means(OpcodeRow{Op::JmpRef, kFlow, Src::B6, kStateRef}, StateIs(DrivePlace::Ref)),
    Means(OpcodeRow{Op::JmpRot0, kFlow, Src::B6, kStateRot0}, StateIs(DrivePlace::Rot0)),
    Means(OpcodeRow{Op::JmpStatus, kFlow, Src::Mode, kStatus,
                    ErrorLine{"; ERROR: JMP(%s ??? [%X] M/Val", {kStatusOp, Arg(Src::Mode, Dom::Hex)}},
                    kStatusOp, ErrorLine{"; ERROR: SET STA_??? =/!= M/Val"}},
          Compares(Calc::Eq)),  // each form names its own test
};

}  // namespace

std::span<const OpcodeRow> FlowRows() { return kRows; }

}  // namespace plc
