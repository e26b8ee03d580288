// SPDX-License-Identifier: GPL-3.0-or-later
// Every error code the system reports, in the entries "LINE(nnn): ERR(nn)"
// of the message list: the line compiler's, renumbering's and the text
// coding's. The message of code n is string kIdsErrorBase + n. Nothing else
// writes an error number.
#pragma once

namespace plc {

enum ErrorCode : int {
    kErrNone = 0,
    kErrNoLabelOrEnd = 1,
    kErrTooLong = 2,
    kErrInternal = 3,
    kErrLabel = 4,
    kErrUnknownCommand = 5,
    kErrJumpTarget = 6,
    kErrLabelUsed = 7,
    kErrReadLine = 8,
    kErrMissingProgramEnd = 9,
    kErrName = 10,
    kErrNameTooLong = 11,
    kErrNoHead = 12,
    kErrTextCommand = 13,
    kErrTextDeclared = 14,
    kErrCounter = 15,
    kErrFloat = 16,
    kErrInteger = 17,
    kErrFlag = 18,
    kErrTimer = 19,
    kErrVariable = 20,
    kErrOperator = 21,
    kErrProgramDefined = 22,
    kErrMissingTextEnd = 23,
    kErrNoProgram = 24,
    kErrIoNumber = 25,
    kErrValue = 26,
    kErrBracket = 27,
    kErrCompare = 28,
    kErrNoFollowing = 29,
    kErrTargetMissing = 30,
    kErrOrder = 31,
    kErrRenumber = 32,       // the statements do not fit the labels 1 to 254
    kErrTextCoding = 33,     // a record that does not decode, or whose text does not compile back to it
    kErrGo = 34,
    kErrLineNotReplaced = 52,  // renumbering: a record's source line is not in the text
};

// Every error code above, in order, for the tables that list them all.
inline constexpr ErrorCode kErrorCodes[] = {
    kErrNoLabelOrEnd, kErrTooLong,        kErrInternal,     kErrLabel,          kErrUnknownCommand,
    kErrJumpTarget,   kErrLabelUsed,      kErrReadLine,     kErrMissingProgramEnd, kErrName,
    kErrNameTooLong,  kErrNoHead,         kErrTextCommand,  kErrTextDeclared,   kErrCounter,
    kErrFloat,        kErrInteger,        kErrFlag,         kErrTimer,          kErrVariable,
    kErrOperator,     kErrProgramDefined, kErrMissingTextEnd, kErrNoProgram,    kErrIoNumber,
    kErrValue,        kErrBracket,        kErrCompare,      kErrNoFollowing,    kErrTargetMissing,
    kErrOrder,        kErrRenumber,       kErrTextCoding,   kErrGo,             kErrLineNotReplaced,
};

}  // namespace plc
