// The generic printer behind the record decoder: fills an opcode row's format
// strings from the record's fields.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "image/InstrSet.h"
#include "image/PlcInstr.h"

namespace plc {

// Renders `rec` (record `index`) by its opcode row; nonzero when it is shown
// as a valid statement (or a reserved comment), 0 for an error line.
int RenderRecord(const OpcodeRow& row, const PlcInstr& rec, int index, std::string& text);

// The value of a record field (`index` is the record's own label).
uint32_t FieldValue(Src src, const PlcInstr& rec, int index);

// Writes `value` into a record field, truncated to the field's width (the
// label and no field at all take nothing).
void SetFieldValue(Src src, PlcInstr& rec, uint32_t value);

// Whether a variant written for selector value `when` stands for `selector`.
bool SelectsVariant(int16_t when, uint32_t selector);

// The form of `row` that `rec` stands for: the first variant its selector
// picks; nullptr when it picks none.
const Variant* SelectVariant(const OpcodeRow& row, const PlcInstr& rec);

// A float constant (halves exchanged) as canonical text: "%.10f" when that
// text reads back to the same single-precision value, otherwise with the
// fewest decimals above ten that do.
std::string FormatFloatConstant(uint32_t swappedBits);

// The conversion characters of a format string in order ('d', 's', 'f', 'X',
// 'c', 'u'); "%%" is not a conversion. For checking tables against operands.
std::vector<char> FormatConversions(std::string_view format);

// The conversion an operand's domain prints with ('d', 's', 'f', 'X', 'c', 'u').
char ConversionOf(Dom dom, Src src);

}  // namespace plc
