// Fieldbus receive set-up, ramps, waiting, stopping, motion and sending.
#include "compiler/Statements.h"

namespace plc {

// Not yet built: every keyword of this family answers "unknown command".
int CompileSetRxMsg(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileSetRamp(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileWaitH(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileWaitBare(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileWaitTime(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileStop(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileGo(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileSendNmt(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileSendTx(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }

}  // namespace plc
