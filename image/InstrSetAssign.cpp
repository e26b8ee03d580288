// SPDX-License-Identifier: GPL-3.0-or-later
// Assignments and arithmetic: SET on F, H, M, C, Z, drive registers, control
// flags, outputs and drive parameters. Byte 1 holds the destination (the
// parameter writes keep their source variable there); byte 4 the source or a
// small constant; bytes 4-7 a 32-bit constant (kind 3); bytes 6-7 the number
// of a drive parameter.
#include <iterator>

#include "image/InstrSetRows.h"

namespace plc {

using namespace rows;

namespace {

constexpr uint8_t kAssign = kKindAssign;
constexpr uint8_t kConst = kKindConstant;

constexpr Operand M(Dom dom) { return Arg(Src::Mode, dom); }
constexpr Operand B4(Dom dom) { return Arg(Src::B4, dom); }
constexpr Operand B5(Dom dom) { return Arg(Src::B5, dom); }
constexpr Operand kParamNo = Arg(Src::W67, Dom::ParamNo);
constexpr Operand kInt = Arg(Src::D4, Dom::Int32);
constexpr Operand kFloat = Arg(Src::D4, Dom::Float);
constexpr Operand kSelector = Arg(Src::Mode, Dom::Byte);  // a selector shown as a number
constexpr Operand kB4Selector = Arg(Src::B4, Dom::Byte);

// ---- drive registers and control flags ----
constexpr Variant kRefValF[] = {{0, "N%03d SET REFVAL = F%03d", {kLabel, B4(Dom::FVar)}}};
constexpr Variant kRegister[] = {{kAnyValue, "N%03d SET %s = H%03d", {kLabel, M(Dom::Register), B4(Dom::HVar)}}};
constexpr Variant kCtrlFlagM[] = {{kAnyValue, "N%03d SET %s = M%03d", {kLabel, M(Dom::CtrlFlag), B4(Dom::MVar)}}};
constexpr Variant kCtrlFlagV[] = {{kAnyValue, "N%03d SET %s = %d", {kLabel, M(Dom::CtrlFlag), B4(Dom::Value01)}}};

constexpr ErrorLine kUnknownF{"ERROR: N%03d SET UNKNOWN VALUE NR(%03d) = F%03d", {kLabel, kSelector, B4(Dom::FVar)}};
constexpr ErrorLine kUnknownH{"ERROR: N%03d SET UNKNOWN VALUE NR(%03d) = H%03d", {kLabel, kSelector, B4(Dom::HVar)}};
// SetCtrlFlagValue shows the same text as SetCtrlFlagM.
constexpr ErrorLine kUnknownM{"ERROR: N%03d SET UNKNOWN VALUE NR(%03d) = M%03d", {kLabel, kSelector, B4(Dom::MVar)}};

// A row with a single form: byte 1, byte 4 and so on as the operands say.
#define PLC_FORM(name, TEXT, ...) \
    constexpr Variant name[] = {{kAnyValue, TEXT, {kLabel, __VA_ARGS__}}};

// ---- float variables ----
PLC_FORM(kFIdxSetF, "N%03d SET F[C%03d] = F%03d", M(Dom::CVar), B4(Dom::FVar))
PLC_FORM(kFIdxSetC, "N%03d SET F[C%03d] = %.10f", M(Dom::CVar), kFloat)
PLC_FORM(kFGetIdx, "N%03d SET F%03d = F[C%03d]", M(Dom::FVar), B4(Dom::CVar))
PLC_FORM(kFDrive, "N%03d SET F%03d = %s", M(Dom::FVar), B4(Dom::DriveValF))
PLC_FORM(kFParaHH, "N%03d SET F%03d = PARA[H%03d, H%03d]", M(Dom::FVar), B4(Dom::HVar), B5(Dom::HVar))
PLC_FORM(kFParaH, "N%03d SET F%03d = PARA[H%03d]", M(Dom::FVar), B4(Dom::HVar))
PLC_FORM(kFParaPS, "N%03d SET F%03d = PARA[%03d, %03d]", M(Dom::FVar), kParamNo, B4(Dom::SubIndex))
PLC_FORM(kFParaP, "N%03d SET F%03d = PARA[%03d]", M(Dom::FVar), kParamNo)
PLC_FORM(kFSetF, "N%03d SET F%03d = F%03d", M(Dom::FVar), B4(Dom::FVar))
PLC_FORM(kFSetH, "N%03d SET F%03d = H%03d", M(Dom::FVar), B4(Dom::HVar))
PLC_FORM(kFAddF, "N%03d SET F%03d + F%03d", M(Dom::FVar), B4(Dom::FVar))
PLC_FORM(kFAddC, "N%03d SET F%03d + %.10f", M(Dom::FVar), kFloat)
PLC_FORM(kFSubF, "N%03d SET F%03d - F%03d", M(Dom::FVar), B4(Dom::FVar))
PLC_FORM(kFSubC, "N%03d SET F%03d - %.10f", M(Dom::FVar), kFloat)
PLC_FORM(kFMulF, "N%03d SET F%03d * F%03d", M(Dom::FVar), B4(Dom::FVar))
PLC_FORM(kFMulC, "N%03d SET F%03d * %.10f", M(Dom::FVar), kFloat)
PLC_FORM(kFDivF, "N%03d SET F%03d : F%03d", M(Dom::FVar), B4(Dom::FVar))
PLC_FORM(kFDivC, "N%03d SET F%03d : %.10f", M(Dom::FVar), kFloat)
PLC_FORM(kFRound, "N%03d SET F%03d = ROUND F%03d", M(Dom::FVar), B4(Dom::FVar))
PLC_FORM(kFAbs, "N%03d SET F%03d = ABS F%03d", M(Dom::FVar), B4(Dom::FVar))
PLC_FORM(kFSetC, "N%03d SET F%03d = %.10f", M(Dom::FVar), kFloat)

// ---- integer variables ----
PLC_FORM(kHIdxSetH, "N%03d SET H[C%03d] = H%03d", M(Dom::CVar), B4(Dom::HVar))
PLC_FORM(kHIdxSetC, "N%03d SET H[C%03d] = %ld", M(Dom::CVar), kInt)
PLC_FORM(kHGetIdx, "N%03d SET H%03d = H[C%03d]", M(Dom::HVar), B4(Dom::CVar))
PLC_FORM(kHDrive, "N%03d SET H%03d = %s", M(Dom::HVar), B4(Dom::DriveValH))
PLC_FORM(kHParaHH, "N%03d SET H%03d = PARA[H%03d, H%03d]", M(Dom::HVar), B4(Dom::HVar), B5(Dom::HVar))
PLC_FORM(kHParaH, "N%03d SET H%03d = PARA[H%03d]", M(Dom::HVar), B4(Dom::HVar))
PLC_FORM(kHParaPS, "N%03d SET H%03d = PARA[%03d, %03d]", M(Dom::HVar), kParamNo, B4(Dom::SubIndex))
PLC_FORM(kHParaP, "N%03d SET H%03d = PARA[%03d]", M(Dom::HVar), kParamNo)
PLC_FORM(kHSetF, "N%03d SET H%03d = F%03d", M(Dom::HVar), B4(Dom::FVar))
PLC_FORM(kHSetH, "N%03d SET H%03d = H%03d", M(Dom::HVar), B4(Dom::HVar))
PLC_FORM(kHSetCnt, "N%03d SET H%03d = C%03d", M(Dom::HVar), B4(Dom::CVar))
PLC_FORM(kHSetM, "N%03d SET H%03d = M%03d", M(Dom::HVar), B4(Dom::MVar))
PLC_FORM(kHSetZ, "N%03d SET H%03d = Z%03d", M(Dom::HVar), B4(Dom::ZVar))
PLC_FORM(kHAnd, "N%03d SET H%03d & H%03d", M(Dom::HVar), B4(Dom::HVar))
PLC_FORM(kHOr, "N%03d SET H%03d | H%03d", M(Dom::HVar), B4(Dom::HVar))
PLC_FORM(kHXor, "N%03d SET H%03d ^ H%03d", M(Dom::HVar), B4(Dom::HVar))
PLC_FORM(kHShlH, "N%03d SET H%03d << H%03d", M(Dom::HVar), B4(Dom::HVar))
PLC_FORM(kHShlC, "N%03d SET H%03d << %02d", M(Dom::HVar), B4(Dom::Shift))
PLC_FORM(kHShrH, "N%03d SET H%03d >> H%03d", M(Dom::HVar), B4(Dom::HVar))
PLC_FORM(kHShrC, "N%03d SET H%03d >> %02d", M(Dom::HVar), B4(Dom::Shift))
PLC_FORM(kHAddH, "N%03d SET H%03d + H%03d", M(Dom::HVar), B4(Dom::HVar))
PLC_FORM(kHAddC, "N%03d SET H%03d + %ld", M(Dom::HVar), kInt)
PLC_FORM(kHSubH, "N%03d SET H%03d - H%03d", M(Dom::HVar), B4(Dom::HVar))
PLC_FORM(kHSubC, "N%03d SET H%03d - %ld", M(Dom::HVar), kInt)
PLC_FORM(kHMulH, "N%03d SET H%03d * H%03d", M(Dom::HVar), B4(Dom::HVar))
PLC_FORM(kHMulC, "N%03d SET H%03d * %ld", M(Dom::HVar), kInt)
PLC_FORM(kHDivH, "N%03d SET H%03d : H%03d", M(Dom::HVar), B4(Dom::HVar))
PLC_FORM(kHDivC, "N%03d SET H%03d : %ld", M(Dom::HVar), kInt)
PLC_FORM(kHModH, "N%03d SET H%03d %% H%03d", M(Dom::HVar), B4(Dom::HVar))
PLC_FORM(kHModC, "N%03d SET H%03d %% %ld", M(Dom::HVar), kInt)
PLC_FORM(kHAbs, "N%03d SET H%03d = ABS H%03d", M(Dom::HVar), B4(Dom::HVar))
PLC_FORM(kHSetC, "N%03d SET H%03d = %ld", M(Dom::HVar), kInt)

// ---- flags ----
PLC_FORM(kMIdxSetM, "N%03d SET M[C%03d] = M%03d", M(Dom::CVar), B4(Dom::MVar))
PLC_FORM(kMIdxSetV, "N%03d SET M[C%03d] = %d", M(Dom::CVar), B4(Dom::Value01))
PLC_FORM(kMGetIdx, "N%03d SET M%03d = M[C%03d]", M(Dom::MVar), B4(Dom::CVar))
PLC_FORM(kMStatus, "N%03d SET M%03d = %s", M(Dom::MVar), B4(Dom::Status))
PLC_FORM(kMSetM, "N%03d SET M%03d = M%03d", M(Dom::MVar), B4(Dom::MVar))
PLC_FORM(kMSetH, "N%03d SET M%03d = H%03d", M(Dom::MVar), B4(Dom::HVar))
PLC_FORM(kMSetIn, "N%03d SET M%03d = %s", M(Dom::MVar), B4(Dom::Input))
PLC_FORM(kMSetOut, "N%03d SET M%03d = %s", M(Dom::MVar), B4(Dom::Output))
PLC_FORM(kMAnd, "N%03d SET M%03d & M%03d", M(Dom::MVar), B4(Dom::MVar))
PLC_FORM(kMOr, "N%03d SET M%03d | M%03d", M(Dom::MVar), B4(Dom::MVar))
PLC_FORM(kMXor, "N%03d SET M%03d ^ M%03d", M(Dom::MVar), B4(Dom::MVar))
PLC_FORM(kMSetV, "N%03d SET M%03d = %d", M(Dom::MVar), B4(Dom::Value01))
PLC_FORM(kMSetCm, "N%03d SET M%03d = CM%02d", M(Dom::MVar), B4(Dom::CmIndex))

// ---- counters and timers ----
PLC_FORM(kCSetC, "N%03d SET C%03d = C%03d", M(Dom::CVar), B4(Dom::CVar))
PLC_FORM(kCSetH, "N%03d SET C%03d = H%03d", M(Dom::CVar), B4(Dom::HVar))
PLC_FORM(kCAddH, "N%03d SET C%03d + H%03d", M(Dom::CVar), B4(Dom::HVar))
PLC_FORM(kCAddC, "N%03d SET C%03d + %d", M(Dom::CVar), B4(Dom::Byte))
PLC_FORM(kCSubH, "N%03d SET C%03d - H%03d", M(Dom::CVar), B4(Dom::HVar))
PLC_FORM(kCSubC, "N%03d SET C%03d - %d", M(Dom::CVar), B4(Dom::Byte))
PLC_FORM(kCSetV, "N%03d SET C%03d = %d", M(Dom::CVar), B4(Dom::Byte))
PLC_FORM(kZSetH, "N%03d SET Z%03d = H%03d", M(Dom::ZVar), B4(Dom::HVar))
PLC_FORM(kZSetC, "N%03d SET Z%03d = %ld", M(Dom::ZVar), kInt)

// ---- digital outputs ----
PLC_FORM(kOutSetM, "N%03d SET %s = M%03d", M(Dom::Output), B4(Dom::MVar))
PLC_FORM(kOutSetV, "N%03d SET %s = %d", M(Dom::Output), B4(Dom::Value01))

// ---- drive parameter writes: byte 1 is the source variable ----
PLC_FORM(kParaHHF, "N%03d SET PARA[H%03d, H%03d] = F%03d", B4(Dom::HVar), B5(Dom::HVar), M(Dom::FVar))
PLC_FORM(kParaHHH, "N%03d SET PARA[H%03d, H%03d] = H%03d", B4(Dom::HVar), B5(Dom::HVar), M(Dom::HVar))
PLC_FORM(kParaHF, "N%03d SET PARA[H%03d] = F%03d", B4(Dom::HVar), M(Dom::FVar))
PLC_FORM(kParaHH, "N%03d SET PARA[H%03d] = H%03d", B4(Dom::HVar), M(Dom::HVar))
PLC_FORM(kParaPSF, "N%03d SET PARA[%03d, %03d] = F%03d", kParamNo, B5(Dom::SubIndex), M(Dom::FVar))
PLC_FORM(kParaPSH, "N%03d SET PARA[%03d, %03d] = H%03d", kParamNo, B5(Dom::SubIndex), M(Dom::HVar))
PLC_FORM(kParaPF, "N%03d SET PARA[%03d] = F%03d", kParamNo, M(Dom::FVar))
PLC_FORM(kParaPH, "N%03d SET PARA[%03d] = H%03d", kParamNo, M(Dom::HVar))

#undef PLC_FORM

constexpr OpcodeRow Row(uint8_t opcode, std::span<const Variant> variants, Meaning meaning,
                        uint8_t kind = kAssign) {
    return Means(OpcodeRow{opcode, kind, Src::None, variants}, meaning);
}
// A row whose named operand has a table: outside it the row shows `error`.
constexpr OpcodeRow NamedRow(uint8_t opcode, std::span<const Variant> variants, Operand guard,
                             ErrorLine error, Meaning meaning) {
    return Means(OpcodeRow{opcode, kAssign, Src::None, variants, ErrorLine{}, guard, error}, meaning);
}

// Byte 1 holds the variable assigned, or the one computed on; byte 4 (or
// bytes 4-7) the source.
constexpr Meaning Assigns(Src from) { return Does(Sets(Src::Mode), Calc::Copy, from); }
constexpr Meaning Computes(Calc calc, Src from) { return Does(Updates(Src::Mode), calc, from); }
constexpr Meaning Takes(Calc calc, Src from) { return Does(Sets(Src::Mode), calc, from); }
// The element of a table that the counter in byte 1 picks takes the source;
// the variable in byte 1 takes the element the counter in byte 4 picks.
constexpr Meaning AssignsElement(Dom table, Src from) {
    return Into(Does(SetsElement(table), Calc::Copy, from), Src::Mode);
}
constexpr Meaning AssignsFromElement(Dom table) {
    return Does(SetsFromElement(Src::Mode, table), Calc::Copy, Src::B4);
}
// A place of the drive named in byte 1 (register, control flag, output)
// takes byte 4.
constexpr Meaning kWritesPlace = Into(Does(kGoesOn, Calc::Copy, Src::B4), Src::Mode);
constexpr Meaning kWritesRefVal = Into(Does(kGoesOn, Calc::Copy, Src::B4), Src::None, DrivePlace::RefVal);
// A parameter read into the variable in byte 1, and a parameter write of the
// variable in byte 1, which is a command to the drive.
constexpr Meaning ReadsParam(Src number, Src sub = Src::None) {
    return Reaching(Does(Sets(Src::Mode), Calc::Copy, number, sub), DrivePlace::Param);
}
constexpr Meaning WritesParam(Src number, Src sub = Src::None) {
    return Into(Does(kGoesOn, Calc::Drive, Src::Mode, sub), number, DrivePlace::Param);
}

constexpr OpcodeRow kRows[] = {
    Means(OpcodeRow{Op::SetRefValF, kAssign, Src::Mode, kRefValF, kUnknownF}, kWritesRefVal),
    NamedRow(Op::SetRegisterH, kRegister, M(Dom::Register), kUnknownH, kWritesPlace),
    NamedRow(Op::SetCtrlFlagM, kCtrlFlagM, M(Dom::CtrlFlag), kUnknownM, kWritesPlace),
    NamedRow(Op::SetCtrlFlagValue, kCtrlFlagV, M(Dom::CtrlFlag), kUnknownM, kWritesPlace),

    Row(Op::SetFIndexedF, kFIdxSetF, AssignsElement(Dom::FVar, Src::B4)),
    Row(Op::SetFIndexedConst, kFIdxSetC, AssignsElement(Dom::FVar, Src::D4), kConst),
    Row(Op::SetFFromIndexed, kFGetIdx, AssignsFromElement(Dom::FVar)),
    NamedRow(Op::SetFDriveValue, kFDrive, B4(Dom::DriveValF),
             ErrorLine{"ERROR: N%03d SET F%03d = UNKNOWN VALUE NR(%03d)", {kLabel, M(Dom::FVar), kB4Selector}},
             Assigns(Src::B4)),
    Row(Op::SetFParaHH, kFParaHH, ReadsParam(Src::B4, Src::B5)),
    Row(Op::SetFParaH, kFParaH, ReadsParam(Src::B4)),
    Row(Op::SetFParaPS, kFParaPS, ReadsParam(Src::W67, Src::B4)),
    Row(Op::SetFParaP, kFParaP, ReadsParam(Src::W67)),
    Row(Op::SetFF, kFSetF, Assigns(Src::B4)),
    Row(Op::SetFH, kFSetH, Assigns(Src::B4)),
    Row(Op::AddFF, kFAddF, Computes(Calc::Add, Src::B4)),
    Row(Op::AddFConst, kFAddC, Computes(Calc::Add, Src::D4), kConst),
    Row(Op::SubFF, kFSubF, Computes(Calc::Sub, Src::B4)),
    Row(Op::SubFConst, kFSubC, Computes(Calc::Sub, Src::D4), kConst),
    Row(Op::MulFF, kFMulF, Computes(Calc::Mul, Src::B4)),
    Row(Op::MulFConst, kFMulC, Computes(Calc::Mul, Src::D4), kConst),
    Row(Op::DivFF, kFDivF, Computes(Calc::Div, Src::B4)),
    Row(Op::DivFConst, kFDivC, Computes(Calc::Div, Src::D4), kConst),
    Row(Op::RoundF, kFRound, Takes(Calc::Round, Src::B4)),
    Row(Op::AbsF, kFAbs, Takes(Calc::Abs, Src::B4)),
    Row(Op::SetFConst, kFSetC, Assigns(Src::D4), kConst),

    Row(Op::SetHIndexedH, kHIdxSetH, AssignsElement(Dom::HVar, Src::B4)),
    Row(Op::SetHIndexedConst, kHIdxSetC, AssignsElement(Dom::HVar, Src::D4), kConst),
    Row(Op::SetHFromIndexed, kHGetIdx, AssignsFromElement(Dom::HVar)),
    NamedRow(Op::SetHDriveValue, kHDrive, B4(Dom::DriveValH),
             ErrorLine{"ERROR: N%03d SET H%03d = UNKNOWN VALUE NR(%03d)", {kLabel, M(Dom::HVar), kB4Selector}},
             Assigns(Src::B4)),
    Row(Op::SetHParaHH, kHParaHH, ReadsParam(Src::B4, Src::B5)),
    Row(Op::SetHParaH, kHParaH, ReadsParam(Src::B4)),
    Row(Op::SetHParaPS, kHParaPS, ReadsParam(Src::W67, Src::B4)),
    Row(Op::SetHParaP, kHParaP, ReadsParam(Src::W67)),
    Row(Op::SetHF, kHSetF, Assigns(Src::B4)),
    Row(Op::SetHH, kHSetH, Assigns(Src::B4)),
    Row(Op::SetHC, kHSetCnt, Assigns(Src::B4)),
    Row(Op::SetHM, kHSetM, Assigns(Src::B4)),
    Row(Op::SetHZ, kHSetZ, Assigns(Src::B4)),
    Row(Op::AndHH, kHAnd, Computes(Calc::And, Src::B4)),
    Row(Op::OrHH, kHOr, Computes(Calc::Or, Src::B4)),
    Row(Op::XorHH, kHXor, Computes(Calc::Xor, Src::B4)),
    Row(Op::ShlHH, kHShlH, Computes(Calc::Shl, Src::B4)),
    // A shift by a constant is kind 3 though it fills only byte 4.
    Row(Op::ShlHConst, kHShlC, Computes(Calc::Shl, Src::B4), kConst),
    Row(Op::ShrHH, kHShrH, Computes(Calc::Shr, Src::B4)),
    Row(Op::ShrHConst, kHShrC, Computes(Calc::Shr, Src::B4), kConst),
    Row(Op::AddHH, kHAddH, Computes(Calc::Add, Src::B4)),
    Row(Op::AddHConst, kHAddC, Computes(Calc::Add, Src::D4), kConst),
    Row(Op::SubHH, kHSubH, Computes(Calc::Sub, Src::B4)),
    Row(Op::SubHConst, kHSubC, Computes(Calc::Sub, Src::D4), kConst),
    Row(Op::MulHH, kHMulH, Computes(Calc::Mul, Src::B4)),
    Row(Op::MulHConst, kHMulC, Computes(Calc::Mul, Src::D4), kConst),
    Row(Op::DivHH, kHDivH, Computes(Calc::Div, Src::B4)),
    Row(Op::DivHConst, kHDivC, Computes(Calc::Div, Src::D4), kConst),
    Row(Op::ModHH, kHModH, Computes(Calc::Mod, Src::B4)),
    Row(Op::ModHConst, kHModC, Computes(Calc::Mod, Src::D4), kConst),
    Row(Op::AbsH, kHAbs, Takes(Calc::Abs, Src::B4)),
    Row(Op::SetHConst, kHSetC, Assigns(Src::D4), kConst),

    Row(Op::SetMIndexedM, kMIdxSetM, AssignsElement(Dom::MVar, Src::B4)),
    Row(Op::SetMIndexedValue, kMIdxSetV, AssignsElement(Dom::MVar, Src::B4)),
    Row(Op::SetMFromIndexed, kMGetIdx, AssignsFromElement(Dom::MVar)),
    NamedRow(Op::SetMStatus, kMStatus, B4(Dom::Status),
             ErrorLine{"ERROR: N%03d SET M%03d = UNKNOWN VALUE NR(%03d)", {kLabel, M(Dom::MVar), kB4Selector}},
             Assigns(Src::B4)),
    Row(Op::SetMM, kMSetM, Assigns(Src::B4)),
    Row(Op::SetMH, kMSetH, Assigns(Src::B4)),
    Row(Op::SetMInput, kMSetIn, Assigns(Src::B4)),
    Row(Op::SetMOutput, kMSetOut, Assigns(Src::B4)),
    Row(Op::AndMM, kMAnd, Computes(Calc::And, Src::B4)),
    Row(Op::OrMM, kMOr, Computes(Calc::Or, Src::B4)),
    Row(Op::XorMM, kMXor, Computes(Calc::Xor, Src::B4)),
    Row(Op::SetMValue, kMSetV, Assigns(Src::B4)),
    Row(Op::SetMCm, kMSetCm, Assigns(Src::B4)),

    Row(Op::SetCC, kCSetC, Assigns(Src::B4)),
    Row(Op::SetCH, kCSetH, Assigns(Src::B4)),
    Row(Op::AddCH, kCAddH, Computes(Calc::Add, Src::B4)),
    Row(Op::AddCConst, kCAddC, Computes(Calc::Add, Src::B4)),
    Row(Op::SubCH, kCSubH, Computes(Calc::Sub, Src::B4)),
    Row(Op::SubCConst, kCSubC, Computes(Calc::Sub, Src::B4)),
    Row(Op::SetCConst, kCSetV, Assigns(Src::B4)),
    Row(Op::SetZH, kZSetH, Assigns(Src::B4)),
    Row(Op::SetZConst, kZSetC, Assigns(Src::D4), kConst),

    Row(Op::SetOutputM, kOutSetM, kWritesPlace),
    Row(Op::SetOutputValue, kOutSetV, kWritesPlace),

    Row(Op::SetParaHHF, kParaHHF, WritesParam(Src::B4, Src::B5)),
    Row(Op::SetParaHHH, kParaHHH, WritesParam(Src::B4, Src::B5)),
    Row(Op::SetParaHF, kParaHF, WritesParam(Src::B4)),
    Row(Op::SetParaHH, kParaHH, WritesParam(Src::B4)),
    Row(Op::SetParaPSF, kParaPSF, WritesParam(Src::W67, Src::B5)),
    Row(Op::SetParaPSH, kParaPSH, WritesParam(Src::W67, Src::B5)),
    Row(Op::SetParaPF, kParaPF, WritesParam(Src::W67)),
    Row(Op::SetParaPH, kParaPH, WritesParam(Src::W67)),
};

// SetRefValF to SetParaPH in one run, then the indexed constant forms and CMn.
static_assert(std::size(kRows) == (Op::SetParaPH - Op::SetRefValF + 1) + 4, "one row per assignment opcode");

}  // namespace

std::span<const OpcodeRow> AssignRows() { return kRows; }

}  // namespace plc
