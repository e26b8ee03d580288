// Assignments and arithmetic: SET on F, H, M, C, Z, drive registers, control
// flags, outputs and drive parameters.
#include "image/InstrSetRows.h"

namespace plc {

std::span<const OpcodeRow> AssignRows() { return {}; }

}  // namespace plc
