// SPDX-License-Identifier: GPL-3.0-or-later
// The operand domains: for each, what source may write, how the compiler
// reads it and how the decoder shows it. The statement compilers and the
// record printer both take their ranges and names from here.
#include <iterator>

#include "image/InstrSet.h"
#include "image/PlcProgram.h"

namespace plc {

namespace {

constexpr double kIntLimit = 2147483647.0;  // -2^31 is refused: its text has no positive twin
constexpr double kFloatLimit = 3.37e38;
constexpr double kVarHi(int count) { return count - 1; }

// In the order of Dom.
constexpr DomainInfo kDomains[] = {
    {Dom::None, 'd', Show::Number, Scan::None, 0, 0, 0, nullptr, false},
    {Dom::LabelNo, 'd', Show::Number, Scan::Unsigned, kFirstLabel, kLastLabel, 0, nullptr, false},
    {Dom::FVar, 'd', Show::Number, Scan::Unsigned, 0, kVarHi(kCountF), 0, nullptr, false},
    {Dom::HVar, 'd', Show::Number, Scan::Unsigned, 0, kVarHi(kCountH), 0, nullptr, false},
    {Dom::MVar, 'd', Show::Number, Scan::Unsigned, 0, kVarHi(kCountM), 0, nullptr, false},
    {Dom::CVar, 'd', Show::Number, Scan::Unsigned, 0, kVarHi(kCountC), 0, nullptr, false},
    {Dom::ZVar, 'd', Show::Number, Scan::Unsigned, 0, kVarHi(kCountZ), 0, nullptr, false},
    {Dom::Value01, 'd', Show::Number, Scan::Unsigned, 0, 1, 0, nullptr, false},
    {Dom::Zero, 'd', Show::Number, Scan::Unsigned, 0, 0, 0, nullptr, false},
    {Dom::Byte, 'd', Show::Number, Scan::Unsigned, 0, 255, 0, nullptr, false},
    {Dom::Shift, 'd', Show::Number, Scan::Unsigned, 0, 32, 0, nullptr, false},
    {Dom::ParamNo, 'd', Show::Number, Scan::Unsigned, 1, 999, 0, nullptr, false},
    {Dom::SubIndex, 'd', Show::Number, Scan::Unsigned, 0, 255, 0, nullptr, false},
    {Dom::MsgNo, 'd', Show::Number, Scan::Unsigned, 0, 15, 0, nullptr, false},
    {Dom::Word, 'd', Show::Number, Scan::Unsigned, 0, 65535, 0, nullptr, false},
    {Dom::Percent, 'd', Show::Number, Scan::Unsigned, 0, 150, 0, nullptr, false},
    {Dom::NmtNode, 'd', Show::Number, Scan::Unsigned, 0, 127, 0, nullptr, false},
    {Dom::MsgLen, 'd', Show::Number, Scan::Unsigned, 0, 8, 0, nullptr, false},
    {Dom::CmIndex, 'd', Show::Number, Scan::Unsigned, 1, 16, 1, nullptr, false},
    {Dom::Int32, 'd', Show::Signed32, Scan::Signed, -kIntLimit, kIntLimit, 0, nullptr, false},
    {Dom::UInt32, 'u', Show::Number, Scan::Unsigned, 0, 4294967295.0, 0, nullptr, false},
    {Dom::Float, 'f', Show::Float, Scan::Float, -kFloatLimit, kFloatLimit, 0, nullptr, false},
    {Dom::Input, 's', Show::Name, Scan::Name, 0, 16, 0, InputName, true},
    {Dom::Output, 's', Show::Name, Scan::Name, 0, 11, 0, OutputName, true},
    {Dom::Status, 's', Show::Name, Scan::Name, 0, kStatusCount - 1, 0, StatusName, false},
    {Dom::Register, 's', Show::Name, Scan::Name, 0, 5, 0, RegisterName, false},
    {Dom::CtrlFlag, 's', Show::Name, Scan::Name, 0, 11, 0, CtrlFlagName, false},
    {Dom::DriveValF, 's', Show::Name, Scan::Name, 0, 5, 0, DriveValueFName, false},
    {Dom::DriveValH, 's', Show::Name, Scan::Name, 0, 13, 0, DriveValueHName, false},
    {Dom::LetterAR, 'c', Show::Letter, Scan::None, 0, 1, 0, nullptr, false},
    {Dom::Hex, 'X', Show::Number, Scan::None, 0, 255, 0, nullptr, false},
};
static_assert(std::size(kDomains) == static_cast<size_t>(Dom::Hex) + 1, "one row per domain");

constexpr bool InDomainOrder() {
    for (size_t i = 0; i < std::size(kDomains); ++i)
        if (static_cast<size_t>(kDomains[i].dom) != i) return false;
    return true;
}
static_assert(InDomainOrder(), "the domain rows stand in the order of Dom");

}  // namespace

const DomainInfo& DomainOf(Dom dom) {
    const auto i = static_cast<size_t>(dom);
    return kDomains[i < std::size(kDomains) ? i : 0];
}

}  // namespace plc
