// Drive settings, assignments, arithmetic, parameter access and inversions.
#include "compiler/Statements.h"

namespace plc {

// Not yet built: every keyword of this family answers "unknown command".
int CompileSetRegister(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileSetRefVal(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileSetCtrlFlag(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileSetFIndexed(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileSetF(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileSetHIndexed(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileSetH(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileSetMIndexed(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileSetM(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileSetC(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileSetZ(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileSetOutput(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileSetPara(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileInvH(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileInvM(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }
int CompileInvOutput(ParseCursor&, PlcInstr&, int) { return kErrUnknownCommand; }

}  // namespace plc
