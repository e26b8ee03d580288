// SPDX-License-Identifier: GPL-3.0-or-later
// Every error code the system reports, in the entries "LINE(nnn): ERR(nn)"
// of the message list: the line compiler's, renumbering's and the text
// coding's. The codes are the rows of the error table
// (resources/ErrorTable.h), which also holds each one's message and what to
// check; nothing else writes an error number.
#pragma once

#include <array>
#include <cstddef>
#include <iterator>

#include "resources/ErrorTable.h"

namespace plc {

enum ErrorCode : int {
#define PLC_ERROR_ENUMERATOR(name, number, message, check) name = number,
    PLC_ERROR_CODES(PLC_ERROR_ENUMERATOR)
#undef PLC_ERROR_ENUMERATOR
};

// An error code with what to look at when the compiler gives it.
struct ErrorCheck {
    ErrorCode code;
    const char* whatToCheck;
};

inline constexpr ErrorCheck kErrorChecks[] = {
#define PLC_ERROR_CHECK(name, number, message, check) {name, check},
    PLC_ERROR_CODES(PLC_ERROR_CHECK)
#undef PLC_ERROR_CHECK
};
static_assert(kErrorChecks[0].code == kErrNone, "the table starts with the code of no error");

// Every error code, in order, for the tables that list them all (no error,
// code 0, left out).
inline constexpr auto kErrorCodes = [] {
    std::array<ErrorCode, std::size(kErrorChecks) - 1> codes{};
    for (size_t i = 1; i < std::size(kErrorChecks); ++i) codes[i - 1] = kErrorChecks[i].code;
    return codes;
}();

// What to look at when the compiler gives `code`; empty for a code the
// table does not hold.
constexpr const char* WhatToCheck(int code) {
    for (const ErrorCheck& row : kErrorChecks)
        if (row.code == code) return row.whatToCheck;
    return "";
}

}  // namespace plc
