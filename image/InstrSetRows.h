// Shorthands for writing the opcode tables of the instruction families.
#pragma once

#include "image/InstrSet.h"

namespace plc::rows {

constexpr Operand kLabel{Src::Label, Dom::None};
constexpr Operand kTarget{Src::Target, Dom::LabelNo};
constexpr Operand Arg(Src src, Dom dom) { return Operand{src, dom}; }
constexpr FixedByte Fix(int at, uint8_t value) { return FixedByte{static_cast<int8_t>(at), value}; }

}  // namespace plc::rows
