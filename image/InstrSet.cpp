// SPDX-License-Identifier: GPL-3.0-or-later
// The opcode look-up over all instruction families.
#include <array>

#include "image/InstrSet.h"

namespace plc {

namespace {

struct OpcodeIndex {
    std::array<const OpcodeRow*, 256> rows{};
    OpcodeIndex() {
        for (auto family : {FlowRows(), AssignRows(), MotionRows()}) {
            for (const OpcodeRow& row : family) {
                // The first row of an opcode wins; the tests check that no
                // opcode has two rows.
                if (rows[row.opcode] == nullptr) rows[row.opcode] = &row;
            }
        }
    }
};

}  // namespace

const OpcodeRow* FindOpcodeRow(uint8_t opcode) {
    static const OpcodeIndex index;
    return index.rows[opcode];
}

}  // namespace plc
