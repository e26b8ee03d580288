// SPDX-License-Identifier: GPL-3.0-or-later
// The line compiler: one source line at a time into the programme image,
// through the section state machine (%TEXT(NAME) ... END, %P00 ... END),
// the name declarations, the labels and the keyword chain. The programme
// keeps the section state between lines; the compile driver runs a whole
// text through here.
#pragma once

#include <cstdint>
#include <string_view>

#include "image/PlcProgram.h"

namespace plc {

struct SourceFacts;

// Compiles one source line whose comment is already cut off. `lineIndex`
// is the 0-based line in the text; on failure it holds the line to report,
// `error` the code and the programme's ErrorColumn the column.
// With `facts`, the line's source facts are added to them.
bool CompileLine(CPlcProgram& program, std::string_view text, int32_t& lineIndex, int32_t& error,
                 SourceFacts* facts = nullptr);

// Clears `program` and opens its programme section as a "%P00" line does,
// so that a statement line compiled next stands alone.
void OpenProgramSection(CPlcProgram& program);

// Compiles one line stripped of blanks, tabs and line breaks; returns the
// error code (0 on success).
int ParseLine(CPlcProgram& program, std::string_view line, int32_t& lineIndex);

}  // namespace plc
