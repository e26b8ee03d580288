// SPDX-License-Identifier: GPL-3.0-or-later
// The record decoder: records of the programme image as canonical source
// text, and the iterator that walks the image for a listing.
#pragma once

#include <cstdint>
#include <string>

#include "image/PlcProgram.h"

namespace plc {

// Renders record `index` of `program` as canonical text; nonzero when it is
// a valid statement or a reserved-command comment, 0 when undecodable.
int DecodeRecord(const CPlcProgram& program, std::string& text, int index);

// The record iterator for listings: nonzero while it delivers a record (its
// text, its source line, and code 33 when it does not decode).
int DecodeNextRecord(CPlcProgram& program, std::string& text, int32_t& line, int32_t& error);

// Name of an input (isInput) or output number; "???ERR" and 0 when unnamed.
int GetIoName(bool isInput, uint8_t number, std::string& name);

}  // namespace plc
