// SPDX-License-Identifier: GPL-3.0-or-later
// Two programme images compared record by record, as the drive holds them
// (bytes 0 to 7 of each record).
//
// The link chain (bytes 2 and 3) and the entry and END records follow from
// which records a programme uses; they count as different only where a side
// does not hold what its records imply (a binary programme file written by
// other means), so that one added statement is one difference.
#pragma once

#include <string>
#include <vector>

#include "image/PlcProgram.h"

namespace plc {

struct RecordSide {
    bool present = false;    // a statement there, the entry or END record, or bytes in an unused record
    bool statement = false;  // a statement, whose text shows what it does
    std::string text;      // its decoded text with its label ("N020 SET H001 = 5", "N000 ; programme head")
    std::string words;     // bytes 0 to 7 as the binary programme file's two lines: "00140025 00000000"
};

struct RecordDifference {
    int label = 0;
    RecordSide a, b;
    bool sameText = false;  // both sides show the same text: only their bytes tell them apart
};

// The records in which `a` and `b` differ, in label order.
std::vector<RecordDifference> CompareProgramImages(const CPlcProgram& a, const CPlcProgram& b);

}  // namespace plc
