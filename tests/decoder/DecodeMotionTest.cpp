// Decoding the motion, waiting, ramp, fieldbus and reserved records.
#include <gtest/gtest.h>

#include <array>

#include "image/InstrSet.h"
#include "tests/TestUtil.h"

namespace plc::test {
namespace {

struct RenderCase {
    const char* bytes;  // bytes 0 to 7, hexadecimal
    int index;
    const char* text;
    int result;
};

class MotionRender : public ::testing::TestWithParam<RenderCase> {};

TEST_P(MotionRender, RendersItsCanonicalText) {
    const RenderCase& c = GetParam();
    int result = -1;
    EXPECT_EQ(Render(FromHex8(c.bytes), c.index, &result), c.text) << c.bytes;
    EXPECT_EQ(result, c.result) << c.bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Go, MotionRender,
    ::testing::Values(
        // The letter comes from byte 5 whatever the opcode; byte 4 shows only
        // with the speed part (byte 7 = 0).
        RenderCase{"8204000006010000", 30, "N030 GO W R H004 V H006", 1},
        RenderCase{"8204000006010001", 30, "N030 GO W R H004", 1},
        RenderCase{"8104000000010001", 30, "N030 GO W R H004", 1},
        RenderCase{"8204000000000001", 30, "N030 GO W A H004", 1},
        RenderCase{"8304000000000005", 30, "N030 GO A H004", 1},
        RenderCase{"84040000000900ff", 30, "N030 GO R H004", 1},
        RenderCase{"8404000005000000", 30, "N030 GO A H004 V H005", 1},
        RenderCase{"a703000009010000", 1, "N001 GO W RT H003 V H009", 1},
        RenderCase{"a803000009000001", 1, "N001 GO RT H003", 1},
        RenderCase{"85050000ffffffff", 1, "N001 GO 0 + H005", 1},
        RenderCase{"8609000001020304", 1, "N001 GO 0", 1},
        // The marker bytes of GO V Hx do not show.
        RenderCase{"a600000007010100", 1, "N001 GO V H007", 1},
        RenderCase{"a6ff000007000000", 1, "N001 GO V H007", 1},
        RenderCase{"aa07000000000000", 30, "N030 GO T[H007]", 1},
        RenderCase{"aa07000000000001", 30, "N030 GO T[C007]", 1},
        RenderCase{"aa07000000000002", 30, "N030 GO T[007]", 1},
        RenderCase{"a907000000000000", 30, "N030 GO W T[H007]", 1},
        RenderCase{"a907000000000001", 30, "N030 GO W T[C007]", 1},
        RenderCase{"a907000000000002", 30, "N030 GO W T[007]", 1},
        RenderCase{"a907000000000003", 30, "; ERROR: GO W T[???]", 0},
        // The time-based form without W shares the error line of the W form.
        RenderCase{"aa070000000000ff", 30, "; ERROR: GO W T[???]", 0},
        RenderCase{"ab01000000000000", 5, "N005 GO SYN 1", 1},
        RenderCase{"ab00000000000000", 5, "N005 GO SYN 0", 1}));

INSTANTIATE_TEST_SUITE_P(
    WaitStopInvert, MotionRender,
    ::testing::Values(
        RenderCase{"7b05000000000000", 1, "N001 INV H005", 1},
        RenderCase{"7cff000000000000", 1, "N001 INV M255", 1},
        RenderCase{"7d03000000000000", 1, "N001 INV OE00", 1},
        RenderCase{"7d0b000000000000", 1, "N001 INV OS05", 1},
        RenderCase{"7d0c000000000000", 1, "ERROR: N001 INV ???ERR", 0},
        RenderCase{"7e05000000000000", 254, "N254 WAIT H005", 1},
        RenderCase{"7f000000ffffffff", 2, "N002 WAIT 4294967295", 1},
        RenderCase{"7f000000e8030000", 2, "N002 WAIT 1000", 1},
        RenderCase{"8000000000000000", 2, "N002 WAIT PAR", 1},
        RenderCase{"a300000000000000", 2, "N002 WAIT REF", 1},
        RenderCase{"a400000000000000", 2, "N002 WAIT ROT_0", 1},
        RenderCase{"a500000000000000", 3, "N003 STOP B", 1},
        RenderCase{"a501000000000000", 3, "N003 STOP M", 1},
        RenderCase{"a502000000000000", 3, "N003 STOP 0", 1},
        RenderCase{"a503000000000000", 3, "; ERROR: STOP x", 0},
        RenderCase{"a5ff000000000000", 3, "; ERROR: STOP x", 0}));

INSTANTIATE_TEST_SUITE_P(
    RampsAndFieldbus, MotionRender,
    ::testing::Values(
        RenderCase{"9f96000001000000", 5, "N005 SET ACCR = 150%", 1},
        RenderCase{"9f05000000000000", 5, "N005 SET ACCR = H005", 1},
        RenderCase{"9f05000002000000", 5, "; ERROR: SET ACCR = ???", 0},
        RenderCase{"a000000001000000", 5, "N005 SET DECR = 0%", 1},
        RenderCase{"a07f000000000000", 5, "N005 SET DECR = H127", 1},
        RenderCase{"a000000007000000", 5, "; ERROR: SET DECR = ???", 0},
        // Byte 4, then bytes 6-7, then byte 5.
        RenderCase{"8900000003088001", 1, "N001 SET RXMSG[3, 384, 8]", 1},
        RenderCase{"890000000f08ffff", 1, "N001 SET RXMSG[15, 65535, 8]", 1},
        RenderCase{"8a000000017f0000", 1, "N001 SEND NMTCMD[1, 127]", 1},
        // Bytes 6-7 before byte 4.
        RenderCase{"8b03000008008001", 1, "N001 SEND TXMSG[384, 8] = H003", 1},
        RenderCase{"8c7f00000000ffff", 1, "N001 SEND TXMSG[65535, 0] = F127", 1}));

INSTANTIATE_TEST_SUITE_P(
    ReservedAndUnknown, MotionRender,
    ::testing::Values(
        // The first three reserved comments end in a blank.
        RenderCase{"8d00000000000000", 1, "; PLC: Reserved Command - 01 ", 1},
        RenderCase{"8e00000000000000", 1, "; PLC: Reserved Command - 02 ", 1},
        RenderCase{"8f00000000000000", 1, "; PLC: Reserved Command - 03 ", 1},
        RenderCase{"9000000000000000", 1, "; PLC: Reserved Command - 04", 1},
        RenderCase{"96ffffffffffffff", 1, "; PLC: Reserved Command - 10", 1},
        RenderCase{"9b00000000000000", 1, "; PLC: Reserved Command - 15", 1},
        RenderCase{"0000000000000000", 7, "N007 (!) ERROR: NO CODE FOUND", 0},
        RenderCase{"00ff000000000000", 254, "N254 (!) ERROR: NO CODE FOUND", 0},
        RenderCase{"ae00000000000000", 1, "; ERROR: UNKOWN OPCODE.", 0},
        RenderCase{"c800000000000000", 1, "; ERROR: UNKOWN OPCODE.", 0},
        RenderCase{"ff00000000000000", 1, "; ERROR: UNKOWN OPCODE.", 0}));

// The opcodes of this family, each with exactly one row, and the record
// kind the compiler stores for them.
TEST(MotionTable, CoversItsOpcodesOnce) {
    std::array<int, 256> count{};
    for (const OpcodeRow& row : MotionRows()) ++count[row.opcode];
    for (int op = 0; op < 256; ++op) {
        const bool motion = (op >= 123 && op <= 134) || (op >= 137 && op <= 155) ||
                            op == 159 || op == 160 || (op >= 163 && op <= 171);
        EXPECT_EQ(count[static_cast<size_t>(op)], motion ? 1 : 0) << op;
        if (!motion) continue;
        const bool bus = op == 126 || op == 138 || op == 139 || op == 140;
        EXPECT_EQ(FindOpcodeRow(static_cast<uint8_t>(op))->kind, bus ? kKindFieldbus : kKindAssign)
            << op;
    }
}

}  // namespace
}  // namespace plc::test
