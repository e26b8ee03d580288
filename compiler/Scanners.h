// SPDX-License-Identifier: GPL-3.0-or-later
// The operand scanners: every number and name of a statement is read by one
// of these. Each advances the cursor over what it reads, checks the value
// against the caller's range and reports only success; the caller chooses
// the error code of its context.
#pragma once

#include <cstdint>
#include <string>

#include "compiler/ParseCursor.h"

namespace plc {

bool ScanByte(ParseCursor& cur, uint8_t& value, double lo, double hi);
bool ScanWord(ParseCursor& cur, uint16_t& value, double lo, double hi);
bool ScanDword(ParseCursor& cur, uint32_t& value, double lo, double hi);
bool ScanInt(ParseCursor& cur, int32_t& value, double lo, double hi);
// A float constant as the record stores it: its single-precision bits with
// the two halves exchanged.
bool ScanFloat(ParseCursor& cur, uint32_t& swappedBits, double lo, double hi);
// A name of 1 to 32 letters, digits and "_" in the case written; it ends at
// ")" or the line's end.
bool ScanName(ParseCursor& cur, std::string& name);

}  // namespace plc
