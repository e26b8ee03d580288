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

constexpr Operand kModeH = Op(Src::Mode, Dom::HVar);
constexpr Operand kSpeedH = Op(Src::B4, Dom::HVar);

// ---- inversions ----
constexpr Variant kInvH[] = {{kAnyValue, "N%03d INV H%03d", {kLabel, kModeH}}};
constexpr Variant kInvM[] = {{kAnyValue, "N%03d INV M%03d", {kLabel, Op(Src::Mode, Dom::MVar)}}};
constexpr Variant kInvOut[] = {{kAnyValue, "N%03d INV %s", {kLabel, Op(Src::Mode, Dom::Output)}}};

// ---- waiting ----
constexpr Variant kWaitH[] = {{kAnyValue, "N%03d WAIT H%03d", {kLabel, kModeH}}};
constexpr Variant kWaitTime[] = {{kAnyValue, "N%03d WAIT %lu", {kLabel, Op(Src::D4, Dom::UInt32)}}};
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
         {kLabel, Op(Src::B5, Dom::LetterAR), kModeH, kSpeedH}, nullptr, {}, {Fix(5, LETTER)}}, \
        {kNonZero, "N%03d GO " PREFIX "%c H%03d", {kLabel, Op(Src::B5, Dom::LetterAR), kModeH}, \
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
constexpr Variant kGoSyn[] = {{kAnyValue, "N%03d GO SYN %01d", {kLabel, Op(Src::Mode, Dom::Value01)}}};

// ---- time-based motion: byte 7 says what the brackets hold ----
#define PLC_TIMED(name, PREFIX)                                                                \
    constexpr Variant name[] = {                                                               \
        {0, "N%03d GO " PREFIX "T[H%03d]", {kLabel, kModeH}},                                  \
        {1, "N%03d GO " PREFIX "T[C%03d]", {kLabel, Op(Src::Mode, Dom::CVar)}},                \
        {2, "N%03d GO " PREFIX "T[%03d]", {kLabel, Op(Src::Mode, Dom::Byte)}},                 \
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
        {1, "N%03d SET " RAMP " = %d%%", {kLabel, Op(Src::Mode, Dom::Percent)}},               \
    };
PLC_RAMP(kAccr, "ACCR")
PLC_RAMP(kDecr, "DECR")
#undef PLC_RAMP

// ---- fieldbus: the texts show the fields in another order than the bytes ----
constexpr Variant kSetRxMsg[] = {{kAnyValue, "N%03d SET RXMSG[%d, %d, %d]",
                                  {kLabel, Op(Src::B4, Dom::MsgNo), Op(Src::W67, Dom::Word),
                                   Op(Src::B5, Dom::MsgLen)}}};
constexpr Variant kSendNmt[] = {{kAnyValue, "N%03d SEND NMTCMD[%d, %d]",
                                 {kLabel, Op(Src::B4, Dom::Byte), Op(Src::B5, Dom::NmtNode)}}};
constexpr Variant kSendTxH[] = {{kAnyValue, "N%03d SEND TXMSG[%d, %d] = H%03d",
                                 {kLabel, Op(Src::W67, Dom::Word), Op(Src::B4, Dom::MsgLen), kModeH}}};
constexpr Variant kSendTxF[] = {{kAnyValue, "N%03d SEND TXMSG[%d, %d] = F%03d",
                                 {kLabel, Op(Src::W67, Dom::Word), Op(Src::B4, Dom::MsgLen),
                                  Op(Src::Mode, Dom::FVar)}}};

// ---- reserved opcodes 141 to 155: comments without a label ----
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
constexpr uint8_t kFirstReserved = 141;

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
    return row;
}

constexpr OpcodeRow kRows[] = {
    Row(123, kPlain, kInvH),
    Row(124, kPlain, kInvM),
    Row(125, kPlain, kInvOut),
    Row(126, kBus, kWaitH),
    Row(127, kPlain, kWaitTime),
    Row(128, kPlain, kWaitPar),
    SelectRow(129, Src::B7, kGoWA, nullptr),
    SelectRow(130, Src::B7, kGoWR, nullptr),
    SelectRow(131, Src::B7, kGoA, nullptr),
    SelectRow(132, Src::B7, kGoR, nullptr),
    Row(133, kPlain, kGoZeroPlusH),
    Row(134, kPlain, kGoZero),
    Row(137, kPlain, kSetRxMsg),
    Row(138, kBus, kSendNmt),
    Row(139, kBus, kSendTxH),
    Row(140, kBus, kSendTxF),
    Reserved(0), Reserved(1), Reserved(2), Reserved(3), Reserved(4),
    Reserved(5), Reserved(6), Reserved(7), Reserved(8), Reserved(9),
    Reserved(10), Reserved(11), Reserved(12), Reserved(13), Reserved(14),
    SelectRow(159, Src::B4, kAccr, "; ERROR: SET ACCR = ???"),
    SelectRow(160, Src::B4, kDecr, "; ERROR: SET DECR = ???"),
    Row(163, kPlain, kWaitRef),
    Row(164, kPlain, kWaitRot0),
    SelectRow(165, Src::Mode, kStop, "; ERROR: STOP x"),
    Row(166, kPlain, kGoSpeed),
    SelectRow(167, Src::B7, kGoWRt, nullptr),
    SelectRow(168, Src::B7, kGoRt, nullptr),
    SelectRow(169, Src::B7, kGoWTime, kGoTimeError),
    SelectRow(170, Src::B7, kGoTime, kGoTimeError),
    Row(171, kPlain, kGoSyn),
};

static_assert(kFirstReserved + std::size(kReserved) - 1 == 155, "reserved opcodes end at 155");

}  // namespace

std::span<const OpcodeRow> MotionRows() { return kRows; }

}  // namespace plc
