// SPDX-License-Identifier: GPL-3.0-or-later
// The operand domains by name: what kind of value an operand is. Their
// table (range, conversion, names) is DomainOf in image/InstrSet.h.
#pragma once

#include <cstdint>

namespace plc {

// What an operand is: decides how it prints and which values are legal.
enum class Dom : uint8_t {
    None,
    LabelNo,     // a label 1 to 254, or 255 for END (control-flow target)
    FVar, HVar, MVar, CVar, ZVar,  // variable indices
    Value01,     // 0 or 1
    Zero,        // a byte the compiler always writes as 0 (printed as a number)
    Byte,        // any 8-bit value (counter constants, NMT first value, time constants)
    Shift,       // shift count 0 to 32
    ParamNo,     // drive parameter number 1 to 999
    SubIndex,    // parameter sub-index 0 to 255
    MsgNo,       // fieldbus message number 0 to 15
    Word,        // any 16-bit value
    Percent,     // ramp percentage 0 to 150
    NmtNode,     // 0 to 127
    MsgLen,      // 0 to 8
    CmIndex,     // b4 = n - 1, printed as n (1 to 16)
    Int32,       // signed 32-bit constant
    UInt32,      // unsigned 32-bit constant
    Float,       // float constant, halves exchanged
    Input,       // input number, printed as its name ("???ERR" makes the line an error)
    Output,      // output number, printed as its name
    Status,      // status flag number 0 to 30, printed as its name
    Register,    // opcode 39 register 0 to 5, printed as its name
    CtrlFlag,    // opcodes 40/41 control flag 0 to 11
    DriveValF,   // opcode 44 drive value 0 to 5
    DriveValH,   // opcode 64 drive value 0 to 13
    LetterAR,    // 'A' for 0, 'R' otherwise
    Hex,         // printed in upper-case hexadecimal (error lines)
};

}  // namespace plc
