// SPDX-License-Identifier: GPL-3.0-or-later
// Renumbering: spreads the labels of a compiled programme evenly over 1 to
// 254 and rewrites the jump and call targets to match.
#include <array>

#include "image/ErrorCodes.h"
#include "image/PlcProgram.h"

namespace plc {

namespace {

// The widest step of 10, 5, 2 and 1 that still fits `count` statements.
int StepFor(int count) {
    if (count == 0) return 10;
    const int room = kLastLabel / count;
    if (room >= 10) return 10;
    if (room >= 5) return 5;
    if (room >= 2) return 2;
    return 1;
}

}  // namespace

int CPlcProgram::Renumber(int32_t& error) {
    int count = 0;
    for (int j = kFirstLabel; j <= kLastLabel; ++j) {
        if (m_records[static_cast<size_t>(j)].used() == 1) ++count;
    }
    const int step = StepFor(count);

    // Records 0 and 255 stay zero: the next compilation rebuilds the entry
    // record, the END record and the link chain.
    std::array<PlcInstr, kRecordCount> renumbered{};
    std::array<uint16_t, kRecordCount> newLabel{};  // 0: no statement there
    int label = 0;
    for (int j = kFirstLabel; j <= kLastLabel; ++j) {
        const PlcInstr& rec = m_records[static_cast<size_t>(j)];
        if (rec.used() != 1) continue;
        label += step;
        if (label > kLastLabel) {
            error = kErrRenumber;
            return 0;
        }
        renumbered[static_cast<size_t>(label)] = rec;
        newLabel[static_cast<size_t>(j)] = static_cast<uint16_t>(label);
    }

    // Only the targets of control-flow records are labels. A target that is
    // no statement's label (0 for RET, BRKPT, NOP and JMP END) becomes 0.
    for (int r = kFirstLabel; r <= kLastLabel; ++r) {
        PlcInstr& rec = renumbered[static_cast<size_t>(r)];
        if (rec.kind() != kKindControlFlow) continue;
        const uint16_t target = rec.target();
        rec.setTarget(target > kLastLabel ? static_cast<uint16_t>(kEndRecord) : newLabel[target]);
    }

    m_records = renumbered;
    error = 0;
    return 1;
}

}  // namespace plc
