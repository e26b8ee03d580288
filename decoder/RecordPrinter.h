// SPDX-License-Identifier: GPL-3.0-or-later
// The generic printer behind the record decoder: fills an opcode row's format
// strings from the record's fields.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "image/InstrSet.h"
#include "image/PlcInstr.h"
#include "image/RecordLayout.h"

namespace plc {

// Renders `rec` (record `index`) by its opcode row; nonzero when it is shown
// as a valid statement (or a reserved comment), 0 for an error line.
int RenderRecord(const OpcodeRow& row, const PlcInstr& rec, int index, std::string& text);

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
