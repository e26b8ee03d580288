// SPDX-License-Identifier: GPL-3.0-or-later
// The instruction set as data.
//
// Every opcode is one row: its record kind, the operands it carries (which
// record field, what kind of value), and its canonical text as format
// strings — a label form and, for control flow, an END form — with the error
// lines it renders when its bytes cannot be shown as a statement. The decoder
// renders from these rows with one generic printer; the compiler's statement
// compilers read a form's operands and the row places them (operand fields,
// selector, fixed bytes, record kind); the tests iterate over them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "image/Opcodes.h"
#include "image/OperandDomains.h"
#include "image/PlcInstr.h"

namespace plc {

// Where an operand sits in the record.
enum class Src : uint8_t {
    None,
    Label,   // the record's own index
    Mode,    // byte 1
    B4, B5, B6, B7,
    Target,  // bytes 4-5, 16 bits
    W67,     // bytes 6-7, 16 bits
    D4,      // bytes 4-7, 32 bits
};

// How the printer shows a value of a domain.
enum class Show : uint8_t {
    Number,    // the record's value plus the domain's bias
    Signed32,  // the 32-bit field as a signed number
    Float,     // a float constant, halves exchanged
    Name,      // its name from the domain's name table
    Letter,    // 'A' for 0, 'R' otherwise
};

// How the compiler reads a value of a domain.
enum class Scan : uint8_t {
    None,      // not read from source: fixed by the form
    Unsigned,  // decimal digits
    Signed,    // optional sign, decimal digits
    Float,     // optional sign, digits with one decimal point
    Name,      // a name of the domain's table (or its group letters and number)
};

// One operand domain: its range, conversion, name table, scanning and showing.
struct DomainInfo {
    Dom dom;
    char conversion;  // the format conversion its text uses: 'd', 'u', 'X', 'c', 's', 'f'
    Show show;
    Scan scan;
    double lo, hi;    // the values source text may write
    int8_t bias;      // written value minus stored value (CMn is stored as n - 1)
    const char* (*name)(uint8_t);  // its name table; nullptr when it has none
    bool unnamedShown;  // a number without a name prints "???ERR" (an error line), not the row's guard error
};

// The domain table; every Dom has its row.
const DomainInfo& DomainOf(Dom dom);

// Walks a canonical format string: `literal(c)` for every character of text
// ("%%" gives '%'), `conversion(flags, letter)` for every conversion in order,
// where `flags` holds its flags, width and precision ("03", ".10") and
// `letter` is d, u, X, c, s or f (a length "l" is dropped). Those are all
// the tables use. A conversion cut short by the string's end ends the walk.
template <class Literal, class Conversion>
void WalkFormat(const char* format, Literal&& literal, Conversion&& conversion) {
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') {
            literal(*p);
            continue;
        }
        ++p;
        if (*p == '%') {
            literal('%');
            continue;
        }
        const char* flagsStart = p;
        while (*p == '.' || (*p >= '0' && *p <= '9')) ++p;
        const std::string_view flags(flagsStart, static_cast<size_t>(p - flagsStart));
        if (*p == 'l') ++p;
        if (*p == '\0') return;
        conversion(flags, *p);
    }
}

struct Operand {
    Src src = Src::None;
    Dom dom = Dom::None;
};

inline constexpr int kMaxOperands = 5;
using Operands = std::array<Operand, kMaxOperands>;

// A fixed byte value that belongs to a form (a selector or marker byte).
struct FixedByte {
    int8_t at = -1;  // byte position 0 to 7; -1 marks an unused slot
    uint8_t value = 0;
};
inline constexpr int kMaxFixed = 4;
using FixedBytes = std::array<FixedByte, kMaxFixed>;

inline constexpr int16_t kAnyValue = -1;  // the variant matches every selector value
inline constexpr int16_t kNonZero = -2;   // the variant matches every nonzero value

// One canonical form of an opcode.
// What a statement computes when the drive runs it: the destination takes
// the source (Copy) or itself combined with the source (Add ... Shr), a
// conditional jump tests its left side against its right, a wait waits, a
// drive command hands the drive something to do.
enum class Calc : uint8_t {
    None,      // nothing beyond where control goes (JMP, CALL, RET, NOP)
    Copy,      // the destination takes the source
    Add, Sub, Mul, Div, Mod,  // destination op source; Div and Mod are ":" and "%"
    And, Or, Xor,             // bitwise on H, logical on flags; a jump tests "left op right" for nonzero
    Shl, Shr,
    Abs, Round,  // the destination takes |source|, the source rounded to a whole number
    Invert,      // INV: the destination is inverted in place
    Eq, Ne, Ge, Gt, Le, Lt,  // the test of a conditional jump: left op right (0 without a right side)
    Wait,        // waits the time its source gives
    WaitFor,     // waits until its place (REF, ROT_0) reads 1
    Setup,       // the drive takes a setting (ramp, receive message) that no statement reads back
    Drive,       // a command to the drive (motion, stop, parameter write, fieldbus); its outcome comes from outside
    Break,       // BRKPT
    Reserved,    // no meaning on record
};

// Places of the drive that a statement reaches without a record field naming
// them, and the drive parameters, which two fields address.
enum class DrivePlace : uint8_t {
    None,
    ActVal,  // the actual value of the comparison jumps
    RefVal,  // the reference value (also the register REFVAL)
    Ref,     // the homing reference state
    Rot0,    // the standstill state
    Accr, Decr,  // the ramps
    RxMsg,   // the receive-message set-up the field `to` numbers
    Param,   // the drive parameter numbered by `from` (reads) or `to` (writes), sub-index `aux`
};

struct Variant {
    int16_t when = kAnyValue;     // selector value this form stands for
    const char* text = nullptr;   // label form (or the only form)
    Operands args{};
    const char* endText = nullptr;  // END form when the target is 255; nullptr: none
    Operands endArgs{};
    FixedBytes fixed{};  // bytes the compiler writes for this form besides the operands
    // Where the form itself decides part of the run-time meaning: its own
    // test (the status jump's "=" or "!="), its own left side (ACTVAL,
    // REFVAL). None: the row's.
    Calc calc = Calc::None;
    DrivePlace place = DrivePlace::None;
};

struct ErrorLine {
    const char* text = nullptr;
    Operands args{};
};

// Where control goes after a record, as the drive runs it.
enum class Flow : uint8_t {
    Next,    // on to the record its `next` link names
    Jump,    // always to its target
    Branch,  // to its target when its condition holds, else on to `next`
    Call,    // into the subroutine at its target; a RET there comes back to `next`
    Return,  // back to the `next` of the latest CALL
    End,     // to the programme's END
};

// What a record means when the drive runs it, as far as the tools that read
// a programme without running it need to know. One value per opcode row;
// further meanings (what a dry run computes) join here.
struct Meaning {
    Flow flow = Flow::Next;
    // The field of the variable the statement assigns; every other variable
    // operand of the form is read.
    Src sets = Src::None;
    bool readsSet = false;        // the assigned variable is read first (SET H001 + H002, INV M003)
    Dom setsElement = Dom::None;  // assigns the element of this table a counter picks (SET F[C001] = F002)
    Dom readsElement = Dom::None; // reads the element of this table a counter picks (SET F001 = F[C002])

    // What a dry run computes. Every field names where an operand sits; its
    // domain (what it is) comes from the form's operands.
    Calc calc = Calc::None;
    Src left = Src::None;  // the left side of a test
    Src from = Src::None;  // the source, the right side of a test, the time of a wait
    Src aux = Src::None;   // a second source: the sub-index of a parameter
    Src to = Src::None;    // a destination that is no variable (an output, a register, a
                           // control flag, a parameter), or the counter that picks the element set
    DrivePlace place = DrivePlace::None;  // a place no field names (see DrivePlace)
};

struct OpcodeRow {
    uint8_t opcode = 0;
    uint8_t kind = 0;           // record kind the compiler writes
    Src selector = Src::None;   // field that picks the variant
    std::span<const Variant> variants;
    ErrorLine selectorError{};  // no variant matches the selector
    Operand guard{};            // a named selector checked before anything else
    ErrorLine guardError{};     // the guard's value has no name
    bool compiles = true;       // false: no source statement produces it (reserved)
    Meaning meaning{};
};

// The families, each one table; together they cover every defined opcode.
std::span<const OpcodeRow> FlowRows();
std::span<const OpcodeRow> AssignRows();
std::span<const OpcodeRow> MotionRows();

// The row of an opcode, nullptr when the opcode is not defined.
const OpcodeRow* FindOpcodeRow(uint8_t opcode);

// ---- shared name tables ----

// Inputs and outputs by group, as written in source (IS0, OE3, ...): the
// record stores the bit number of a single numbering of all inputs or outputs.
struct IoGroup {
    std::string_view letters;  // "IS", "IE", "IA", "OS", "OE", "OV"
    bool isInput;
    uint8_t count;        // numbers 0 to count-1 are accepted
    std::array<uint8_t, 8> bit;  // bit number of each accepted number
};
std::span<const IoGroup> InputGroups();
std::span<const IoGroup> OutputGroups();

// Names of input and output bit numbers ("IS00", ...); nullptr when unnamed.
const char* InputName(uint8_t number);
const char* OutputName(uint8_t number);

inline constexpr int kStatusCount = 31;
inline constexpr uint8_t kStatusWoti = 16;
// "STA_ERR" ... "STA_USER3"; nullptr above 30.
const char* StatusName(uint8_t number);
// Status numbers in the order the compiler tests their names: longer names
// before the shorter ones they begin with.
std::span<const uint8_t> StatusMatchOrder();

// Name tables of the assignment family (nullptr outside the table).
const char* RegisterName(uint8_t number);
const char* CtrlFlagName(uint8_t number);
const char* DriveValueFName(uint8_t number);
const char* DriveValueHName(uint8_t number);
// The same drive-value names, indexed by number.
std::span<const std::string_view> DriveValueFNames();
std::span<const std::string_view> DriveValueHNames();

// The label opcode 0 renders, the reserved comments and the unknown opcode line.
inline constexpr const char* kNoCodeText = "N%03d (!) ERROR: NO CODE FOUND";
inline constexpr const char* kUnknownOpcodeText = "; ERROR: UNKOWN OPCODE.";

}  // namespace plc
