// SPDX-License-Identifier: GPL-3.0-or-later
// Motion, waiting, drive and fieldbus commands, the inversions, and the
// reserved opcodes.
//
// The positioning GO forms keep the letter in byte 5 (0 'A', otherwise 'R')
// whatever the opcode, and byte 7 tells the forms without a speed part
// (nonzero) from those with one (0). The time-based GO forms select by byte 7
// what the brackets hold. The compiler writes some marker bytes into GO
// records that the texts never show; they are listed as the forms' fixed bytes.
#include <iterator>

#include "image/InstrSetRows.h"

namespace plc {

using namespace rows;

namespace {

constexpr uint8_t kPlain = kKindAssign;
constexpr uint8_t kBus = kKindFieldbus;

constexpr Operand kModeH = Arg(Src::Mode, Dom::HVar);
constexpr Operand kSpeedH = Arg(Src::B4, Dom::HVar);

// ---- inversions ----
constexpr Variant kInvH[] = {{kAnyValue, "N%03d INV H%03d", {kLabel, kModeH}}};
constexpr Variant kInvM[] = {{kAnyValue, "N%03d INV M%03d", {kLabel, Arg(Src::Mode, Dom::MVar)}}};
constexpr Variant kInvOut[] = {{kAnyValue, "N%03d INV %s", {kLabel, Arg(Src::Mode, Dom::Output)}}};

// ---- waiting ----
constexpr Variant kWaitH[] = {{kAnyValue, "N%03d WAIT H%03d", {kLabel, kModeH}}};
constexpr Variant kWaitTime[] = {{kAnyValue, "N%03d WAIT %lu", {kLabel, Arg(Src::D4, Dom::UInt32)}}};
constexpr Variant kWaitPar[] = {{kAnyValue, "N%03d WAIT PAR", {kLabel}}};
constexpr Variant kWaitRef[] = {{kAnyValue, "N%03d WAIT REF", {kLabel}}};
constexpr Variant kWaitRot0[] = {{kAnyValue, "N%03d WAIT ROT_0", {kLabel}}};

// ---- stopping: byte 1 is the stop kind ----
constexpr Variant kStop[] = {
    {0, "N%03d STOP B", {kLabel}},
    {1, "N%03d STOP M", {kLabel}},
    {2, "N%03d STOP 0", {kLabel}},
};

// ---- positioning: byte 7 = 0 with the speed part, nonzero without ----
// The compiler writes byte 5 = 0 for the A opcodes and 1 for the R opcodes,
// and byte 7 = 1 for the form without speed.
#define PLC_POSITION(name, PREFIX, LETTER)                                                     \
    constexpr Variant name[] = {                                                               \
        {0, "N%03d GO " PREFIX "%c H%03d V H%03d",                                             \
         {kLabel, Arg(Src::B5, Dom::LetterAR), kModeH, kSpeedH}, nullptr, {}, {Fix(5, LETTER)}}, \
        {kNonZero, "N%03d GO " PREFIX "%c H%03d", {kLabel, Arg(Src::B5, Dom::LetterAR), kModeH}, \
         nullptr, {}, {Fix(5, LETTER), Fix(7, 1)}},                                            \
    };
PLC_POSITION(kGoWA, "W ", 0)
PLC_POSITION(kGoWR, "W ", 1)
PLC_POSITION(kGoA, "", 0)
PLC_POSITION(kGoR, "", 1)
#undef PLC_POSITION

// The RT forms carry no letter in their text; the compiler writes byte 5 = 1.
#define PLC_ROTATE(name, PREFIX)                                                               \
    constexpr Variant name[] = {                                                               \
        {0, "N%03d GO " PREFIX "RT H%03d V H%03d", {kLabel, kModeH, kSpeedH}, nullptr, {},     \
         {Fix(5, 1)}},                                                                         \
        {kNonZero, "N%03d GO " PREFIX "RT H%03d", {kLabel, kModeH}, nullptr, {},               \
         {Fix(5, 1), Fix(7, 1)}},                                                              \
    };
PLC_ROTATE(kGoWRt, "W ")
PLC_ROTATE(kGoRt, "")
#undef PLC_ROTATE

constexpr Variant kGoZeroPlusH[] = {{kAnyValue, "N%03d GO 0 + H%03d", {kLabel, kModeH}}};
constexpr Variant kGoZero[] = {{kAnyValue, "N%03d GO 0", {kLabel}}};
// GO V Hx: bytes 5 and 6 are markers the compiler writes as 1.
constexpr Variant kGoSpeed[] = {
    {kAnyValue, "N%03d GO V H%03d", {kLabel, kSpeedH}, nullptr, {}, {Fix(5, 1), Fix(6, 1)}}};
constexpr Variant kGoSyn[] = {{kAnyValue, "N%03d GO SYN %01d", {kLabel, Arg(Src::Mode, Dom::Value01)}}};

// ---- time-based motion: byte 7 says what the brackets hold ----
#define PLC_TIMED(name, PREFIX)                                                                \
    constexpr Variant name[] = {                                                               \
        {0, "N%03d GO " PREFIX "T[H%03d]", {kLabel, kModeH}},                                  \
        {1, "N%03d GO " PREFIX "T[C%03d]", {kLabel, Arg(Src::Mode, Dom::CVar)}},                \
        {2, "N%03d GO " PREFIX "T[%03d]", {kLabel, Arg(Src::Mode, Dom::Byte)}},                 \
    };
PLC_TIMED(kGoWTime, "W ")
PLC_TIMED(kGoTime, "")
#undef PLC_TIMED
// Both time-based opcodes share the error line that names the W form.
constexpr const char* kGoTimeError = "; ERROR: GO W T[???]";

// ---- ramps: byte 4 = 0 a variable, 1 a percentage ----
#define PLC_RAMP(name, RAMP)                                                                   \
    constexpr Variant name[] = {                                                               \
        {0, "N%03d SET " RAMP " = H%03d", {kLabel, kModeH}},                                   \
        {1, "N%03d SET " RAMP " = %d%%", {kLabel, Arg(Src::Mode, Dom::Percent)}},               \
    };
PLC_RAMP(kAccr, "ACCR")
PLC_RAMP(kDecr, "DECR")
#undef PLC_RAMP

// ---- fieldbus: the texts show the fields in another order than the bytes ----
constexpr Variant kSetRxMsg[] = {{kAnyValue, "N%03d SET RXMSG[%d, %d, %d]",
                                  {kLabel, Arg(Src::B4, Dom::MsgNo), Arg(Src::W67, Dom::Word),
                                   Arg(Src::B5, Dom::MsgLen)}}};
constexpr Variant kSendNmt[] = {{kAnyValue, "N%03d SEND NMTCMD[%d, %d]",
                                 {kLabel, Arg(Src::B4, Dom::Byte), Arg(Src::B5, Dom::NmtNode)}}};
constexpr Variant kSendTxH[] = {{kAnyValue, "N%03d SEND TXMSG[%d, %d] = H%03d",
                                 {kLabel, Arg(Src::W67, Dom::Word), Arg(Src::B4, Dom::MsgLen), kModeH}}};
constexpr Variant kSendTxF[] = {{kAnyValue, "N%03d SEND TXMSG[%d, %d] = F%03d",
                                 {kLabel, Arg(Src::W67, Dom::Word), Arg(Src::B4, Dom::MsgLen),
                                  Arg(Src::Mode, Dom::FVar)}}};

// ---- reserved opcodes: comments without a label ----
// The first three comments end in a blank, the others do not.
constexpr Variant kReserved[15][1] = {
    {{kAnyValue, "; PLC: Reserved Command - 01 "}}, {{kAnyValue, "; PLC: Reserved Command - 02 "}},
    {{kAnyValue, "; PLC: Reserved Command - 03 "}}, {{kAnyValue, "; PLC: Reserved Command - 04"}},
    {{kAnyValue, "; PLC: Reserved Command - 05"}},  {{kAnyValue, "; PLC: Reserved Command - 06"}},
    {{kAnyValue, "; PLC: Reserved Command - 07"}},  {{kAnyValue, "; PLC: Reserved Command - 08"}},
    {{kAnyValue, "; PLC: Reserved Command - 09"}},  {{kAnyValue, "; PLC: Reserved Command - 10"}},
    {{kAnyValue, "; PLC: Reserved Command - 11"}},  {{kAnyValue, "; PLC: Reserved Command - 12"}},
    {{kAnyValue, "; PLC: Reserved Command - 13"}},  {{kAnyValue, "; PLC: Reserved Command - 14"}},
    {{kAnyValue, "; PLC: Reserved Command - 15"}},
};
constexpr uint8_t kFirstReserved = Op::Reserved01;

constexpr OpcodeRow Row(uint8_t opcode, uint8_t kind, std::span<const Variant> variants) {
    return OpcodeRow{opcode, kind, Src::None, variants};
}
constexpr OpcodeRow SelectRow(uint8_t opcode, Src selector, std::span<const Variant> variants,
                              const char* error) {
    return OpcodeRow{opcode, kPlain, selector, variants, ErrorLine{error}};
}
constexpr OpcodeRow Reserved(int n) {
    OpcodeRow row{static_cast<uint8_t>(kFirstReserved + n), kPlain, Src::None, kReserved[n]};
    row.compiles = false;
    row.meaning = Does(kGoesOn, Calc::Reserved);
    return row;
}

// Waits on a time, on a state of the drive; settings the drive takes.
constexpr Meaning WaitsFor(DrivePlace state) { return Reaching(Does(kGoesOn, Calc::WaitFor), state); }
constexpr Meaning SetsRamp(DrivePlace ramp) { return Into(Does(kGoesOn, Calc::Setup, Src::Mode), Src::None, ramp); }
constexpr Meaning kSetsRxMsg = Into(Does(kGoesOn, Calc::Setup, Src::W67, Src::B5), Src::B4, DrivePlace::RxMsg);
constexpr Meaning kDrive = kDriveCommand;

constexpr OpcodeRow kRows[] = {
    // The other rows assign no variable and go on with the next record.
    Means(Row(Op::InvH, kPlain, kInvH), Does(Updates(Src::Mode), Calc::Invert)),
    Means(Row(Op::InvM, kPlain, kInvM), Does(Updates(Src::Mode), Calc::Invert)),
    Means(Row(Op::InvOutput, kPlain, kInvOut), Into(Does(kGoesOn, Calc::Invert), Src::Mode)),
    Means(Row(Op::WaitH, kBus, kWaitH), Does(kGoesOn, Calc::Wait, Src::Mode)),
    Means(Row(Op::WaitTime, kPlain, kWaitTime), Does(kGoesOn, Calc::Wait, Src::D4)),
    Means(Row(Op::WaitPar, kPlain, kWaitPar), kDrive),
    Means(SelectRow(Op::GoWA, Src::B7, kGoWA, nullptr), kDrive),
    Means(SelectRow(Op::GoWR, Src::B7, kGoWR, nullptr), kDrive),
    Means(SelectRow(Op::GoA, Src::B7, kGoA, nullptr), kDrive),
    Means(SelectRow(Op::GoR, Src::B7, kGoR, nullptr), kDrive),
    Means(Row(Op::GoZeroPlusH, kPlain, kGoZeroPlusH), kDrive),
    Means(Row(Op::GoZero, kPlain, kGoZero), kDrive),
    Means(Row(Op::SetRxMsg, kPlain, kSetRxMsg), kSetsRxMsg),
    Means(Row(Op::SendNmtCmd, kBus, kSendNmt), kDrive),
    Means(Row(Op::SendTxMsgH, kBus, kSendTxH), kDrive),
    Means(Row(Op::SendTxMsgF, kBus, kSendTxF), kDrive),
    Reserved(0), Reserved(1), Reserved(2), Reserved(3), Reserved(4),
    Reserved(5), Reserved(6), Reserved(7), Reserved(8), Reserved(9),
    Reserved(10), Reserved(11), Reserved(12), Reserved(13), Reserved(14),
    Means(SelectRow(Op::SetAccr, Src::B4, kAccr, "; ERROR: SET ACCR = ???"), SetsRamp(DrivePlace::Accr)),
    Means(SelectRow(Op::SetDecr, Src::B4, kDecr, "; ERROR: SET DECR = ???"), SetsRamp(DrivePlace::Decr)),
    Means(Row(Op::WaitRef, kPlain, kWaitRef), WaitsFor(DrivePlace::Ref)),
    Means(Row(Op::WaitRot0, kPlain, kWaitRot0), WaitsFor(DrivePlace::Rot0)),
    Means(SelectRow(Op::Stop, Src::Mode, kStop, "; ERROR: STOP x"), kDrive),
    Means(Row(Op::GoSpeed, kPlain, kGoSpeed), kDrive),
    Means(SelectRow(Op::GoWRt, Src::B7, kGoWRt, nullptr), kDrive),
    Means(SelectRow(Op::GoRt, Src::B7, kGoRt, nullptr), kDrive),
    Means(SelectRow(Op::GoWTime, Src::B7, kGoWTime, kGoTimeError), kDrive),
    Means(SelectRow(Op::GoTime, Src::B7, kGoTime, kGoTimeError), kDrive),
    Means(Row(Op::GoSyn, kPlain, kGoSyn), kDrive),
};

static_assert(kFirstReserved + std::size(kReserved) - 1 == Op::Reserved15, "one row per reserved opcode");

}  // namespace

std::span<const OpcodeRow> MotionRows() { return kRows; }

}  // namespace plc
