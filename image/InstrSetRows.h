// SPDX-License-Identifier: GPL-3.0-or-later
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

// The run-time part of a meaning: what it computes from which fields.
constexpr Meaning Does(Meaning m, Calc calc, Src from = Src::None, Src aux = Src::None) {
    m.calc = calc;
    m.from = from;
    m.aux = aux;
    return m;
}
// ... into a place that is no variable: the field `to`, and a place no field names.
constexpr Meaning Into(Meaning m, Src to, DrivePlace place = DrivePlace::None) {
    m.to = to;
    m.place = place;
    return m;
}
// ... reaching a place no field names (a drive value read, a parameter).
constexpr Meaning Reaching(Meaning m, DrivePlace place) {
    m.place = place;
    return m;
}
// A conditional jump on "left test right" (no right side: against 0).
constexpr Meaning Tests(Calc test, Src left, Src right = Src::None) {
    Meaning m{Flow::Branch};
    m.calc = test;
    m.left = left;
    m.from = right;
    return m;
}
// A command to the drive, reading the operands of its form.
constexpr Meaning kDriveCommand = Does(Meaning{}, Calc::Drive);

// Sets the meaning of a row written with one of the families' shorthands.
constexpr OpcodeRow Means(OpcodeRow row, Meaning meaning) {
    row.meaning = meaning;
    return row;
}

}  // namespace plc::rows
