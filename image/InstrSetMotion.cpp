// Motion, waiting, drive and fieldbus commands, and the reserved opcodes.
#include "image/InstrSetRows.h"

namespace plc {

std::span<const OpcodeRow> MotionRows() { return {}; }

}  // namespace plc
