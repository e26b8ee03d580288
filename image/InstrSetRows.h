// Shorthands for writing the opcode tables of the instruction families.
#pragma once

#include "image/InstrSet.h"

namespace plc::rows {

constexpr Operand kLabel{Src::Label, Dom::None};
constexpr Operand kTarget{Src::Target, Dom::LabelNo};
constexpr Operand Arg(Src src, Dom dom) { return Operand{src, dom}; }
constexpr FixedByte Fix(int at, uint8_t value) { return FixedByte{static_cast<int8_t>(at), value}; }

// The meanings of a row.
constexpr Meaning Goes(Flow flow, Src sets = Src::None) { return Meaning{flow, sets}; }
constexpr Meaning Sets(Src field) { return Meaning{Flow::Next, field}; }
constexpr Meaning Updates(Src field) { return Meaning{Flow::Next, field, true}; }
constexpr Meaning SetsElement(Dom table) { return Meaning{Flow::Next, Src::None, false, table}; }
constexpr Meaning SetsFromElement(Src field, Dom table) {
    return Meaning{Flow::Next, field, false, Dom::None, table};
}
// A statement that assigns no variable and goes on with the next record.
constexpr Meaning kGoesOn{};

// Sets the meaning of a row written with one of the families' shorthands.
constexpr OpcodeRow Means(OpcodeRow row, Meaning meaning) {
    row.meaning = meaning;
    return row;
}

}  // namespace plc::rows
