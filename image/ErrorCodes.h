// SPDX-License-Identifier: GPL-3.0-or-later
// Every error code the system reports, in the entries "LINE(nnn): ERR(nn)"
// of the message list: the line compiler's, renumbering's and the text
// coding's. The codes are the rows of the error table
// (resources/ErrorTable.h), which also holds each one's message and the
// advice of what to check; nothing else writes an error number.
#pragma once

#include <array>
#include <cstddef>
#include <iterator>

#include "resources/ErrorTable.h"

namespace plc {

enum ErrorCode : int {
#define PLC_ERROR_ENUMERATOR(name, number, message, advice) name = number,
    PLC_ERROR_CODES(PLC_ERROR_ENUMERATOR)
#undef PLC_ERROR_ENUMERATOR
};

// Every error code, in order, the code of no error first.
inline constexpr ErrorCode kEveryErrorCode[] = {
#define PLC_ERROR_LISTED(name, number, message, advice) name,
    PLC_ERROR_CODES(PLC_ERROR_LISTED)
#undef PLC_ERROR_LISTED
};
static_assert(kEveryErrorCode[0] == kErrNone, "the table starts with the code of no error");

// Every error code, in order, for the tables that list them all (no error,
// code 0, left out).
inline constexpr auto kErrorCodes = [] {
    std::array<ErrorCode, std::size(kEveryErrorCode) - 1> codes{};
    for (size_t i = 1; i < std::size(kEveryErrorCode); ++i) codes[i - 1] = kEveryErrorCode[i];
    return codes;
}();

}  // namespace plc
