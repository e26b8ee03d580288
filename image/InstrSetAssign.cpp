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

constexpr OpcodeRow Row(uint8_t opcode, std::span<const Variant> variants, uint8_t kind = kAssign) {
    return OpcodeRow{opcode, kind, Src::None, variants};
}
// A row whose named operand has a table: outside it the row shows `error`.
constexpr OpcodeRow NamedRow(uint8_t opcode, std::span<const Variant> variants, Operand guard,
                             ErrorLine error) {
    return OpcodeRow{opcode, kAssign, Src::None, variants, ErrorLine{}, guard, error};
}

constexpr OpcodeRow kRows[] = {
    OpcodeRow{Op::SetRefValF, kAssign, Src::Mode, kRefValF, kUnknownF},
    NamedRow(Op::SetRegisterH, kRegister, M(Dom::Register), kUnknownH),
    NamedRow(Op::SetCtrlFlagM, kCtrlFlagM, M(Dom::CtrlFlag), kUnknownM),
    NamedRow(Op::SetCtrlFlagValue, kCtrlFlagV, M(Dom::CtrlFlag), kUnknownM),

    Row(Op::SetFIndexedF, kFIdxSetF),
    Row(Op::SetFIndexedConst, kFIdxSetC, kConst),
    Row(Op::SetFFromIndexed, kFGetIdx),
    NamedRow(Op::SetFDriveValue, kFDrive, B4(Dom::DriveValF),
             ErrorLine{"ERROR: N%03d SET F%03d = UNKNOWN VALUE NR(%03d)", {kLabel, M(Dom::FVar), kB4Selector}}),
    Row(Op::SetFParaHH, kFParaHH),
    Row(Op::SetFParaH, kFParaH),
    Row(Op::SetFParaPS, kFParaPS),
    Row(Op::SetFParaP, kFParaP),
    Row(Op::SetFF, kFSetF),
    Row(Op::SetFH, kFSetH),
    Row(Op::AddFF, kFAddF),
    Row(Op::AddFConst, kFAddC, kConst),
    Row(Op::SubFF, kFSubF),
    Row(Op::SubFConst, kFSubC, kConst),
    Row(Op::MulFF, kFMulF),
    Row(Op::MulFConst, kFMulC, kConst),
    Row(Op::DivFF, kFDivF),
    Row(Op::DivFConst, kFDivC, kConst),
    Row(Op::RoundF, kFRound),
    Row(Op::AbsF, kFAbs),
    Row(Op::SetFConst, kFSetC, kConst),

    Row(Op::SetHIndexedH, kHIdxSetH),
    Row(Op::SetHIndexedConst, kHIdxSetC, kConst),
    Row(Op::SetHFromIndexed, kHGetIdx),
    NamedRow(Op::SetHDriveValue, kHDrive, B4(Dom::DriveValH),
             ErrorLine{"ERROR: N%03d SET H%03d = UNKNOWN VALUE NR(%03d)", {kLabel, M(Dom::HVar), kB4Selector}}),
    Row(Op::SetHParaHH, kHParaHH),
    Row(Op::SetHParaH, kHParaH),
    Row(Op::SetHParaPS, kHParaPS),
    Row(Op::SetHParaP, kHParaP),
    Row(Op::SetHF, kHSetF),
    Row(Op::SetHH, kHSetH),
    Row(Op::SetHC, kHSetCnt),
    Row(Op::SetHM, kHSetM),
    Row(Op::SetHZ, kHSetZ),
    Row(Op::AndHH, kHAnd),
    Row(Op::OrHH, kHOr),
    Row(Op::XorHH, kHXor),
    Row(Op::ShlHH, kHShlH),
    Row(Op::ShlHConst, kHShlC, kConst),  // a shift by a constant is kind 3 though it fills only byte 4
    Row(Op::ShrHH, kHShrH),
    Row(Op::ShrHConst, kHShrC, kConst),
    Row(Op::AddHH, kHAddH),
    Row(Op::AddHConst, kHAddC, kConst),
    Row(Op::SubHH, kHSubH),
    Row(Op::SubHConst, kHSubC, kConst),
    Row(Op::MulHH, kHMulH),
    Row(Op::MulHConst, kHMulC, kConst),
    Row(Op::DivHH, kHDivH),
    Row(Op::DivHConst, kHDivC, kConst),
    Row(Op::ModHH, kHModH),
    Row(Op::ModHConst, kHModC, kConst),
    Row(Op::AbsH, kHAbs),
    Row(Op::SetHConst, kHSetC, kConst),

    Row(Op::SetMIndexedM, kMIdxSetM),
    Row(Op::SetMIndexedValue, kMIdxSetV),
    Row(Op::SetMFromIndexed, kMGetIdx),
    NamedRow(Op::SetMStatus, kMStatus, B4(Dom::Status),
             ErrorLine{"ERROR: N%03d SET M%03d = UNKNOWN VALUE NR(%03d)", {kLabel, M(Dom::MVar), kB4Selector}}),
    Row(Op::SetMM, kMSetM),
    Row(Op::SetMH, kMSetH),
    Row(Op::SetMInput, kMSetIn),
    Row(Op::SetMOutput, kMSetOut),
    Row(Op::AndMM, kMAnd),
    Row(Op::OrMM, kMOr),
    Row(Op::XorMM, kMXor),
    Row(Op::SetMValue, kMSetV),
    Row(Op::SetMCm, kMSetCm),

    Row(Op::SetCC, kCSetC),
    Row(Op::SetCH, kCSetH),
    Row(Op::AddCH, kCAddH),
    Row(Op::AddCConst, kCAddC),
    Row(Op::SubCH, kCSubH),
    Row(Op::SubCConst, kCSubC),
    Row(Op::SetCConst, kCSetV),
    Row(Op::SetZH, kZSetH),
    Row(Op::SetZConst, kZSetC, kConst),

    Row(Op::SetOutputM, kOutSetM),
    Row(Op::SetOutputValue, kOutSetV),

    Row(Op::SetParaHHF, kParaHHF),
    Row(Op::SetParaHHH, kParaHHH),
    Row(Op::SetParaHF, kParaHF),
    Row(Op::SetParaHH, kParaHH),
    Row(Op::SetParaPSF, kParaPSF),
    Row(Op::SetParaPSH, kParaPSH),
    Row(Op::SetParaPF, kParaPF),
    Row(Op::SetParaPH, kParaPH),
};

// SetRefValF to SetParaPH in one run, then the indexed constant forms and CMn.
static_assert(std::size(kRows) == (Op::SetParaPH - Op::SetRefValF + 1) + 4, "one row per assignment opcode");

}  // namespace

std::span<const OpcodeRow> AssignRows() { return kRows; }

}  // namespace plc
