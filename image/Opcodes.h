// SPDX-License-Identifier: GPL-3.0-or-later
// The opcodes of the drive's instruction set: one line each, name and number.
//
// This list is the only place an opcode number is written. It expands into
// the Op enum, the name look-up and the list the tests walk; the instruction
// tables name their rows by it, the statement compilers write it. An opcode
// added here without a row in the instruction tables fails the table test.
#pragma once

#include <cstdint>
#include <span>

namespace plc {

// X(name, number) for every defined opcode, in the order of their numbers.
#define PLC_OPCODES(X) \
    X(Jmp, 1) \
    X(JmpEnd, 2) \
    X(JmpFEqF, 3) \
    X(JmpFNeF, 4) \
    X(JmpFGeF, 5) \
    X(JmpFGtF, 6) \
    X(JmpFLeF, 7) \
    X(JmpFLtF, 8) \
    X(JmpFEqZero, 9) \
    X(JmpFNeZero, 10) \
    X(JmpHEqH, 11) \
    X(JmpHNeH, 12) \
    X(JmpHGeH, 13) \
    X(JmpHGtH, 14) \
    X(JmpHLeH, 15) \
    X(JmpHLtH, 16) \
    X(JmpHEqZero, 17) \
    X(JmpHNeZero, 18) \
    X(JmpMEqM, 19) \
    X(JmpMNeM, 20) \
    X(JmpMAndIn, 21) \
    X(JmpMOrIn, 22) \
    X(JmpMXorIn, 23) \
    X(JmpMAndOut, 24) \
    X(JmpMOrOut, 25) \
    X(JmpMXorOut, 26) \
    X(JmpMEqValue, 27) \
    X(JmpInEqValue, 28) \
    X(JmpOutEqValue, 29) \
    X(JmpCEq, 30) \
    X(JmpCNe, 31) \
    X(JmpZEq, 32) \
    X(JmpZNe, 33) \
    X(Call, 34) \
    X(Ret, 35) \
    X(Brkpt, 36) \
    X(Nop, 37) \
    X(SetRefValF, 38) \
    X(SetRegisterH, 39) \
    X(SetCtrlFlagM, 40) \
    X(SetCtrlFlagValue, 41) \
    X(SetFIndexedF, 42) \
    X(SetFFromIndexed, 43) \
    X(SetFDriveValue, 44) \
    X(SetFParaHH, 45) \
    X(SetFParaH, 46) \
    X(SetFParaPS, 47) \
    X(SetFParaP, 48) \
    X(SetFF, 49) \
    X(SetFH, 50) \
    X(AddFF, 51) \
    X(AddFConst, 52) \
    X(SubFF, 53) \
    X(SubFConst, 54) \
    X(MulFF, 55) \
    X(MulFConst, 56) \
    X(DivFF, 57) \
    X(DivFConst, 58) \
    X(RoundF, 59) \
    X(AbsF, 60) \
    X(SetFConst, 61) \
    X(SetHIndexedH, 62) \
    X(SetHFromIndexed, 63) \
    X(SetHDriveValue, 64) \
    X(SetHParaHH, 65) \
    X(SetHParaH, 66) \
    X(SetHParaPS, 67) \
    X(SetHParaP, 68) \
    X(SetHF, 69) \
    X(SetHH, 70) \
    X(SetHC, 71) \
    X(SetHM, 72) \
    X(SetHZ, 73) \
    X(AndHH, 74) \
    X(OrHH, 75) \
    X(XorHH, 76) \
    X(ShlHH, 77) \
    X(ShlHConst, 78) \
    X(ShrHH, 79) \
    X(ShrHConst, 80) \
    X(AddHH, 81) \
    X(AddHConst, 82) \
    X(SubHH, 83) \
    X(SubHConst, 84) \
    X(MulHH, 85) \
    X(MulHConst, 86) \
    X(DivHH, 87) \
    X(DivHConst, 88) \
    X(ModHH, 89) \
    X(ModHConst, 90) \
    X(AbsH, 91) \
    X(SetHConst, 92) \
    X(SetMIndexedM, 93) \
    X(SetMFromIndexed, 94) \
    X(SetMStatus, 95) \
    X(SetMM, 96) \
    X(SetMH, 97) \
    X(SetMInput, 98) \
    X(SetMOutput, 99) \
    X(AndMM, 100) \
    X(OrMM, 101) \
    X(XorMM, 102) \
    X(SetMValue, 103) \
    X(SetCC, 104) \
    X(SetCH, 105) \
    X(AddCH, 106) \
    X(AddCConst, 107) \
    X(SubCH, 108) \
    X(SubCConst, 109) \
    X(SetCConst, 110) \
    X(SetZH, 111) \
    X(SetZConst, 112) \
    X(SetOutputM, 113) \
    X(SetOutputValue, 114) \
    X(SetParaHHF, 115) \
    X(SetParaHHH, 116) \
    X(SetParaHF, 117) \
    X(SetParaHH, 118) \
    X(SetParaPSF, 119) \
    X(SetParaPSH, 120) \
    X(SetParaPF, 121) \
    X(SetParaPH, 122) \
    X(InvH, 123) \
    X(InvM, 124) \
    X(InvOutput, 125) \
    X(WaitH, 126) \
    X(WaitTime, 127) \
    X(WaitPar, 128) \
    X(GoWA, 129) \
    X(GoWR, 130) \
    X(GoA, 131) \
    X(GoR, 132) \
    X(GoZeroPlusH, 133) \
    X(GoZero, 134) \
    X(JmpRxMsgH, 135) \
    X(JmpRxMsgF, 136) \
    X(SetRxMsg, 137) \
    X(SendNmtCmd, 138) \
    X(SendTxMsgH, 139) \
    X(SendTxMsgF, 140) \
    X(Reserved01, 141) \
    X(Reserved02, 142) \
    X(Reserved03, 143) \
    X(Reserved04, 144) \
    X(Reserved05, 145) \
    X(Reserved06, 146) \
    X(Reserved07, 147) \
    X(Reserved08, 148) \
    X(Reserved09, 149) \
    X(Reserved10, 150) \
    X(Reserved11, 151) \
    X(Reserved12, 152) \
    X(Reserved13, 153) \
    X(Reserved14, 154) \
    X(Reserved15, 155) \
    X(SetFIndexedConst, 156) \
    X(SetHIndexedConst, 157) \
    X(SetMIndexedValue, 158) \
    X(SetAccr, 159) \
    X(SetDecr, 160) \
    X(JmpRef, 161) \
    X(JmpRot0, 162) \
    X(WaitRef, 163) \
    X(WaitRot0, 164) \
    X(Stop, 165) \
    X(GoSpeed, 166) \
    X(GoWRt, 167) \
    X(GoRt, 168) \
    X(GoWTime, 169) \
    X(GoTime, 170) \
    X(GoSyn, 171) \
    X(SetMCm, 172) \
    X(JmpStatus, 173)

// Opcodes by name: Op::Jmp, Op::SetFConst ... An unscoped enum in its own
// namespace, so that a value is written as a record byte without a cast.
namespace Op {
enum Opcode : uint8_t {
#define PLC_OPCODE_ENUM(name, number) name = number,
    PLC_OPCODES(PLC_OPCODE_ENUM)
#undef PLC_OPCODE_ENUM
};
}  // namespace Op

// Every defined opcode, in the order of their numbers.
std::span<const uint8_t> DefinedOpcodes();

// The name of an opcode in the list ("Jmp", "SetFConst"); nullptr when the
// opcode is not defined.
const char* OpcodeName(uint8_t opcode);

}  // namespace plc
