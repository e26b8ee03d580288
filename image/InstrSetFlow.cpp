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
         "N%03d JMP (ACTVAL " OPTEXT " " L "%03d) END", {kLabel, Arg(Src::B7, DOM)}},            \
        {2, "N%03d JMP (REFVAL " OPTEXT " " L "%03d) N%03d", {kLabel, Arg(Src::B7, DOM), kTarget}, \
         "N%03d JMP (REFVAL " OPTEXT " " L "%03d) END", {kLabel, Arg(Src::B7, DOM)}},            \
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
         "N%03d JMP (ACTVAL " OPTEXT " 0) END", {kLabel}},                                      \
        {2, "N%03d JMP (REFVAL " OPTEXT " 0) N%03d", {kLabel, kTarget},                         \
         "N%03d JMP (REFVAL " OPTEXT " 0) END", {kLabel}},                                      \
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
constexpr Operand kStatusOp = Arg(Src::B6, Dom::Status);
#define PLC_STATUS(MODE, COND, RDOM)                                                           \
    {MODE, "N%03d JMP (%s " COND ") N%03d", {kLabel, kStatusOp, Arg(Src::B7, RDOM), kTarget},   \
     "N%03d JMP (%s " COND ") END", {kLabel, kStatusOp, Arg(Src::B7, RDOM)}}
constexpr Variant kStatus[] = {
    PLC_STATUS(0x00, "!= M%03d", Dom::MVar),
    PLC_STATUS(0x01, "= M%03d", Dom::MVar),
    PLC_STATUS(0x10, "!= %d", Dom::Value01),
    PLC_STATUS(0x11, "= %d", Dom::Value01),
};
#undef PLC_STATUS

constexpr OpcodeRow Row(uint8_t opcode, std::span<const Variant> variants, Meaning meaning) {
    return Means(OpcodeRow{opcode, kFlow, Src::None, variants}, meaning);
}
constexpr OpcodeRow ModeRow(uint8_t opcode, std::span<const Variant> variants, const char* error,
                            Meaning meaning) {
    return Means(OpcodeRow{opcode, kFlow, Src::Mode, variants, ErrorLine{error}}, meaning);
}

constexpr Meaning kBranch = Goes(Flow::Branch);

constexpr OpcodeRow kRows[] = {
    Row(Op::Jmp, kJmp, Goes(Flow::Jump)),
    Row(Op::JmpEnd, kJmpEnd, Goes(Flow::End)),
    ModeRow(Op::JmpFEqF, kCmpFEq, kCmpFEqError, kBranch),
    ModeRow(Op::JmpFNeF, kCmpFNe, kCmpFNeError, kBranch),
    ModeRow(Op::JmpFGeF, kCmpFGe, kCmpFGeError, kBranch),
    ModeRow(Op::JmpFGtF, kCmpFGt, kCmpFGtError, kBranch),
    ModeRow(Op::JmpFLeF, kCmpFLe, kCmpFLeError, kBranch),
    ModeRow(Op::JmpFLtF, kCmpFLt, kCmpFLtError, kBranch),
    ModeRow(Op::JmpFEqZero, kZeroFEq, kZeroFError, kBranch),
    ModeRow(Op::JmpFNeZero, kZeroFNe, kZeroFError, kBranch),
    ModeRow(Op::JmpHEqH, kCmpHEq, kCmpHEqError, kBranch),
    ModeRow(Op::JmpHNeH, kCmpHNe, kCmpHNeError, kBranch),
    ModeRow(Op::JmpHGeH, kCmpHGe, kCmpHGeError, kBranch),
    ModeRow(Op::JmpHGtH, kCmpHGt, kCmpHGtError, kBranch),
    ModeRow(Op::JmpHLeH, kCmpHLe, kCmpHLeError, kBranch),
    ModeRow(Op::JmpHLtH, kCmpHLt, kCmpHLtError, kBranch),
    ModeRow(Op::JmpHEqZero, kZeroHEq, "; ERROR: JMP (Hxx/ACTVAL/REFVAL = 0) Nxx/END", kBranch),
    ModeRow(Op::JmpHNeZero, kZeroHNe, "; ERROR: JMP (Hxx/ACTVAL/REFVAL != 0) Nxx/END", kBranch),
    Row(Op::JmpMEqM, kFlagEq, kBranch),
    Row(Op::JmpMNeM, kFlagNe, kBranch),
    Row(Op::JmpMAndIn, kFlagAndIn, kBranch),
    Row(Op::JmpMOrIn, kFlagOrIn, kBranch),
    Row(Op::JmpMXorIn, kFlagXorIn, kBranch),
    Row(Op::JmpMAndOut, kFlagAndOut, kBranch),
    Row(Op::JmpMOrOut, kFlagOrOut, kBranch),
    Row(Op::JmpMXorOut, kFlagXorOut, kBranch),
    Row(Op::JmpMEqValue, kFlagValue, kBranch),
    Row(Op::JmpInEqValue, kInputValue, kBranch),
    Row(Op::JmpOutEqValue, kOutputValue, kBranch),
    Row(Op::JmpCEq, kCounterEq, kBranch),
    Row(Op::JmpCNe, kCounterNe, kBranch),
    Row(Op::JmpZEq, kTimerEq, kBranch),
    Row(Op::JmpZNe, kTimerNe, kBranch),
    Row(Op::Call, kCall, Goes(Flow::Call)),
    Row(Op::Ret, kRet, Goes(Flow::Return)),
    Row(Op::Brkpt, kBrkpt, kGoesOn),
    Row(Op::Nop, kNop, kGoesOn),
    // The jump on a received message stores its value in the variable.
    Row(Op::JmpRxMsgH, kRxMsgH, Goes(Flow::Branch, Src::B7)),
    Row(Op::JmpRxMsgF, kRxMsgF, Goes(Flow::Branch, Src::B7)),
    Means(OpcodeRow{Op::JmpRef, kFlow, Src::B6, kStateRef}, kBranch),
    Means(OpcodeRow{Op::JmpRot0, kFlow, Src::B6, kStateRot0}, kBranch),
    Means(OpcodeRow{Op::JmpStatus, kFlow, Src::Mode, kStatus,
                    ErrorLine{"; ERROR: JMP(%s ??? [%X] M/Val", {kStatusOp, Arg(Src::Mode, Dom::Hex)}},
                    kStatusOp, ErrorLine{"; ERROR: SET STA_??? =/!= M/Val"}},
          kBranch),
};

}  // namespace

std::span<const OpcodeRow> FlowRows() { return kRows; }

}  // namespace plc
