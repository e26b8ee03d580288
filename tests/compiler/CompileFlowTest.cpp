// SPDX-License-Identifier: GPL-3.0-or-later
// Control-flow statements: source text to record bytes, and faults to codes.
#include <gtest/gtest.h>

#include "compiler/LineCompiler.h"
#include "tests/TestUtil.h"
#include "tests/compiler/StatementCases.h"

namespace plc::test {
namespace {

TEST_P(CompilesStatement, ToTheDrivesBytesAndKind) {
    const BytesCase& c = GetParam();
    const LineResult r = CompileStatementLine(c.source);
    ASSERT_EQ(r.code, 0) << c.source;
    EXPECT_EQ(Hex8(r.rec), c.bytes) << c.source;
    EXPECT_EQ(r.rec.kind(), c.kind) << c.source;
    EXPECT_EQ(r.rec.used(), 1);
    EXPECT_EQ(r.rec.line(), 1);
}

// Byte order: opcode, mode, next (2), target (2), byte 6, byte 7.
INSTANTIATE_TEST_SUITE_P(
    FlowJumps, CompilesStatement,
    ::testing::Values(
        BytesCase{"JMP N20", "0100000014000000"},
        BytesCase{"jmp n0007", "0100000007000000"},
        BytesCase{"JMP END", "0200000000000000"},
        BytesCase{"CALL N254", "22000000fe000000"},
        BytesCase{"RET", "2300000000000000"},
        BytesCase{"BRKPT", "2400000000000000"},
        BytesCase{"NOP", "2500000000000000"},
        // Two variables, each operator, F and H.
        BytesCase{"JMP (F1 = F2) N30", "030000001e000102"},
        BytesCase{"JMP (F1 != F2) N30", "040000001e000102"},
        BytesCase{"JMP (F1 >= F2) N30", "050000001e000102"},
        BytesCase{"JMP (F1 > F2) N30", "060000001e000102"},
        BytesCase{"JMP (F1 <= F2) N30", "070000001e000102"},
        BytesCase{"JMP (F127 < F0) END", "08000000ff007f00"},
        BytesCase{"JMP (H1 = H2) N30", "0b0000001e000102"},
        BytesCase{"JMP (H1 != H2) N30", "0c0000001e000102"},
        BytesCase{"JMP (H1 >= H2) N30", "0d0000001e000102"},
        BytesCase{"JMP (H1 > H2) N30", "0e0000001e000102"},
        BytesCase{"JMP (H1 <= H2) N30", "0f0000001e000102"},
        BytesCase{"JMP(H1<H2)END", "10000000ff000102"},
        // Comparison with zero.
        BytesCase{"JMP (F5 = 0.0) N010", "090000000a000500"},
        BytesCase{"JMP (F5 != -0) N010", "0a0000000a000500"},
        BytesCase{"JMP (F5 = .0) N010", "090000000a000500"},
        BytesCase{"JMP (H5 = 0) N010", "110000000a000500"},
        BytesCase{" JMP ( H5 =\t0 ) N 10 ", "110000000a000500"},
        BytesCase{"JMP (H5 != +0) N010", "120000000a000500"},
        // ACTVAL and REFVAL: byte 1 = 1 or 2, byte 6 = 0.
        BytesCase{"JMP (ACTVAL = F3) N10", "030100000a000003"},
        BytesCase{"JMP (ACTVAL = H3) N10", "0b0100000a000003"},
        BytesCase{"JMP (ACTVAL != F3) N10", "040100000a000003"},
        BytesCase{"JMP (ACTVAL != H3) N10", "0c0100000a000003"},
        BytesCase{"JMP (ACTVAL >= H3) N10", "0d0100000a000003"},
        BytesCase{"JMP (ACTVAL > F3) N10", "060100000a000003"},
        BytesCase{"JMP (ACTVAL <= F3) N10", "070100000a000003"},
        BytesCase{"JMP (REFVAL < H5) END", "10020000ff000005"},
        BytesCase{"JMP (REFVAL = 0) N10", "110200000a000000"},
        BytesCase{"JMP (ACTVAL != 0) END", "12010000ff000000"},
        // Flags, inputs and outputs.
        BytesCase{"JMP (M7 = M255) N20", "13000000140007ff"},
        BytesCase{"JMP (M7 != M8) N20", "1400000014000708"},
        BytesCase{"JMP (M7 & IE3) N20", "1500000014000707"},
        BytesCase{"JMP (M7 | IS4) N20", "160000001400070e"},
        BytesCase{"JMP (M7 ^ IA1) N20", "170000001400070d"},
        BytesCase{"JMP (M7 & OS3) N20", "1800000014000709"},
        BytesCase{"JMP (M7 | OE3) N20", "1900000014000706"},
        BytesCase{"JMP (M7 ^ OV1) N20", "1a00000014000708"},
        BytesCase{"JMP (M7 = 1) N20", "1b00000014000701"},
        BytesCase{"JMP (IS5 = 1) N30", "1c0000001e000f01"},
        BytesCase{"JMP (IE7 = 0) N30", "1c0000001e000b00"},
        BytesCase{"JMP (IA0 = 1) N30", "1c0000001e000c01"},
        BytesCase{"JMP (OS4 = 0) N30", "1d0000001e000a00"},
        BytesCase{"JMP (OE0 = 1) N30", "1d0000001e000301"},
        BytesCase{"JMP (OV1 = 1) N30", "1d0000001e000801"},
        // Counters and timers.
        BytesCase{"JMP (C10 = 255) N40", "1e00000028000aff"},
        BytesCase{"JMP (C0 != 3) N40", "1f00000028000003"},
        BytesCase{"JMP (Z3 = 0) END", "20000000ff000300"},
        BytesCase{"JMP (Z3 != 000) N40", "2100000028000300"},
        // Fieldbus messages and drive states.
        BytesCase{"JMP (RXMSG, 15, H127) N50", "8700000032000f7f"},
        BytesCase{"JMP(RXMSG,0,F1)END", "88000000ff000001"},
        BytesCase{"JMP (REF = M9) N50", "a100000032000009"},
        BytesCase{"JMP (REF = 1) N50", "a100000032000101"},
        BytesCase{"JMP (ROT_0 = 0) END", "a2000000ff000100"},
        BytesCase{"JMP (ROT_0 = M255) END", "a2000000ff0000ff"},
        // Status flags: byte 1 bit 0 "=", bit 4 a constant.
        BytesCase{"JMP (STA_INPOS != 1) N40", "ad10000028001701"},
        BytesCase{"JMP (STA_WOTM = M3) N40", "ad01000028000f03"},
        BytesCase{"JMP (STA_ERR_WRN = 1) N40", "ad11000028000201"},
        BytesCase{"JMP (STA_ERR != M0) N40", "ad00000028000000"},
        BytesCase{"JMP (STA_USER3 = 0) END", "ad110000ff001e00"},
        BytesCase{"JMP (STA_RAMP_CONST != M1) END", "ad000000ff001a01"}));

TEST_P(RefusesStatement, WithItsCodeAndLeavesTheLabelFree) {
    const FaultCase& c = GetParam();
    const LineResult r = CompileStatementLine(c.source);
    EXPECT_EQ(r.code, c.code) << c.source;
    EXPECT_EQ(r.rec, PlcInstr{}) << c.source;
}

INSTANTIATE_TEST_SUITE_P(
    FlowJumps, RefusesStatement,
    ::testing::Values(
        FaultCase{"JMP N000", 6}, FaultCase{"JMP N255", 6}, FaultCase{"JMP N", 6},
        FaultCase{"JMP N10 X", 2}, FaultCase{"JMP ENDX", 2}, FaultCase{"CALL N0", 6},
        FaultCase{"CALL N10;", 2}, FaultCase{"NOP5", 2}, FaultCase{"RET X", 2},
        FaultCase{"BRKPTX", 2},
        // Variables and operators.
        FaultCase{"JMP (F5 = 1.5) N010", 28}, FaultCase{"JMP (F5 = F200) N010", 16},
        FaultCase{"JMP (F128 = F1) N010", 16}, FaultCase{"JMP (H1 < H200) END", 17},
        FaultCase{"JMP (H1 = H2)", 6}, FaultCase{"JMP (H1 = H2) N255", 6},
        FaultCase{"JMP (H1 = H2) N010X", 2}, FaultCase{"JMP (H1 == H2) N10", 28},
        FaultCase{"JMP (H1 <> H2) N10", 21}, FaultCase{"JMP (H1 & H2) N10", 21},
        FaultCase{"JMP (H1 = 1) N10", 28}, FaultCase{"JMP (F1 = 0.01) N10", 28},
        FaultCase{"JMP (F1 = 1.2.3) N10", 28}, FaultCase{"JMP (ACTVAL = M1) N10", 28},
        FaultCase{"JMP (ACTVAL ~ H1) N10", 21}, FaultCase{"JMP (REFVAL = F200) N10", 16},
        // Flags, inputs, outputs.
        FaultCase{"JMP (M7 & IS7) N20", 25}, FaultCase{"JMP (M7 & IA1) N20X", 2},
        FaultCase{"JMP (M256 = 1) N20", 18}, FaultCase{"JMP (M7 = M256) N20", 18},
        FaultCase{"JMP (M7 = 2) N20", 26}, FaultCase{"JMP (M7 & IX1) N20", 21},
        FaultCase{"JMP (M7 | OS6) N20", 25}, FaultCase{"JMP (M7 ^ OV2) N20", 25},
        FaultCase{"JMP (IS7 = 1) N30", 25}, FaultCase{"JMP (IE8 = 1) N30", 25},
        FaultCase{"JMP (IA2 = 1) N30", 25}, FaultCase{"JMP (IS1 != 1) N30", 21},
        FaultCase{"JMP (IS1 = 2) N30", 26}, FaultCase{"JMP (OS6 = 1) N30", 25},
        FaultCase{"JMP (OE4 = 1) N30", 25}, FaultCase{"JMP (OV1 = 5) N30", 26},
        // Counters, timers, messages, states, status flags.
        FaultCase{"JMP (C11 = 1) N40", 15}, FaultCase{"JMP (C1 = 256) N40", 26},
        FaultCase{"JMP (C1 > 1) N40", 21}, FaultCase{"JMP (Z11 = 0) N40", 19},
        FaultCase{"JMP (Z3 = 5) END", 28}, FaultCase{"JMP (Z3 < 0) END", 21},
        FaultCase{"JMP (RXMSG, 16, H1) N50", 26}, FaultCase{"JMP (RXMSG, 1, M1) N50", 26},
        FaultCase{"JMP (RXMSG, 1, H128) N50", 26}, FaultCase{"JMP (REF = 2) N50", 18},
        FaultCase{"JMP (REF = M256) N50", 18}, FaultCase{"JMP (ROT_0 = X) N50", 18},
        FaultCase{"JMP (STA_WOTI = 1) N40", 28}, FaultCase{"JMP (STA_NONE = 1) N40", 28},
        FaultCase{"JMP (STA_ERR < 1) N40", 21}, FaultCase{"JMP (STA_ERR = 2) N40", 18},
        FaultCase{"JMP (STA_ERR = M256) N40", 18},
        // Not a jump at all: goes on through the chain.
        FaultCase{"JMP (X1 = 0) N10", 5}, FaultCase{"JMP(", 5}, FaultCase{"JUMP N10", 5},
        FaultCase{"FOO", 5}));

// A faulty line writes nothing: a later line with the same label starts from
// a clean record instead of inheriting operand bytes of the failed attempt.
TEST(FlowRecord, FaultyLineLeavesNoBytesBehind) {
    CPlcProgram p;
    p.Clear();
    int32_t line = 0, err = 0;
    ASSERT_TRUE(CompileLine(p, "%P00", line, err));
    line = 1;
    EXPECT_FALSE(CompileLine(p, "N10 JMP (H5 = H6) N255", line, err));
    EXPECT_EQ(err, 6);
    line = 2;
    ASSERT_TRUE(CompileLine(p, "N10 NOP", line, err));
    EXPECT_EQ(Hex8(p.Record(10)), "2500000000000000");
    EXPECT_EQ(p.Record(10).line(), 2);
}

}  // namespace
}  // namespace plc::test
