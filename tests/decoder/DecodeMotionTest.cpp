// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding the motion, waiting, ramp, fieldbus and reserved records.
#include <gtest/gtest.h>

#include <array>

#include "image/InstrSet.h"
#include "tests/TestUtil.h"
#include "tests/decoder/RenderCase.h"

namespace plc::test {
namespace {

INSTANTIATE_TEST_SUITE_P(
    MotionGo, RendersRecord,
    ::testing::Values(
        // The letter comes from byte 5 whatever the opcode; byte 4 shows only
        // with the speed part (byte 7 = 0).
        RenderCase{30, "8204000006010000", "N030 GO W R H004 V H006", 1},
        RenderCase{30, "8204000006010001", "N030 GO W R H004", 1},
        RenderCase{30, "8104000000010001", "N030 GO W R H004", 1},
        RenderCase{30, "8204000000000001", "N030 GO W A H004", 1},
        RenderCase{30, "8304000000000005", "N030 GO A H004", 1},
        RenderCase{30, "84040000000900ff", "N030 GO R H004", 1},
        RenderCase{30, "8404000005000000", "N030 GO A H004 V H005", 1},
        RenderCase{1, "a703000009010000", "N001 GO W RT H003 V H009", 1},
        RenderCase{1, "a803000009000001", "N001 GO RT H003", 1},
        RenderCase{1, "85050000ffffffff", "N001 GO 0 + H005", 1},
        RenderCase{1, "8609000001020304", "N001 GO 0", 1},
        // The marker bytes of GO V Hx do not show.
        RenderCase{1, "a600000007010100", "N001 GO V H007", 1},
        RenderCase{1, "a6ff000007000000", "N001 GO V H007", 1},
        RenderCase{30, "aa07000000000000", "N030 GO T[H007]", 1},
        RenderCase{30, "aa07000000000001", "N030 GO T[C007]", 1},
        RenderCase{30, "aa07000000000002", "N030 GO T[007]", 1},
        RenderCase{30, "a907000000000000", "N030 GO W T[H007]", 1},
        RenderCase{30, "a907000000000001", "N030 GO W T[C007]", 1},
        RenderCase{30, "a907000000000002", "N030 GO W T[007]", 1},
        RenderCase{30, "a907000000000003", "; ERROR: GO W T[???]", 0},
        // The time-based form without W shares the error line of the W form.
        RenderCase{30, "aa070000000000ff", "; ERROR: GO W T[???]", 0},
        RenderCase{5, "ab01000000000000", "N005 GO SYN 1", 1},
        RenderCase{5, "ab00000000000000", "N005 GO SYN 0", 1}));

INSTANTIATE_TEST_SUITE_P(
    MotionWaitStopInvert, RendersRecord,
    ::testing::Values(
        RenderCase{1, "7b05000000000000", "N001 INV H005", 1},
        RenderCase{1, "7cff000000000000", "N001 INV M255", 1},
        RenderCase{1, "7d03000000000000", "N001 INV OE00", 1},
        RenderCase{1, "7d0b000000000000", "N001 INV OS05", 1},
        RenderCase{1, "7d0c000000000000", "ERROR: N001 INV ???ERR", 0},
        RenderCase{254, "7e05000000000000", "N254 WAIT H005", 1},
        RenderCase{2, "7f000000ffffffff", "N002 WAIT 4294967295", 1},
        RenderCase{2, "7f000000e8030000", "N002 WAIT 1000", 1},
        RenderCase{2, "8000000000000000", "N002 WAIT PAR", 1},
        RenderCase{2, "a300000000000000", "N002 WAIT REF", 1},
        RenderCase{2, "a400000000000000", "N002 WAIT ROT_0", 1},
        RenderCase{3, "a500000000000000", "N003 STOP B", 1},
        RenderCase{3, "a501000000000000", "N003 STOP M", 1},
        RenderCase{3, "a502000000000000", "N003 STOP 0", 1},
        RenderCase{3, "a503000000000000", "; ERROR: STOP x", 0},
        RenderCase{3, "a5ff000000000000", "; ERROR: STOP x", 0}));

INSTANTIATE_TEST_SUITE_P(
    MotionRampsAndFieldbus, RendersRecord,
    ::testing::Values(
        RenderCase{5, "9f96000001000000", "N005 SET ACCR = 150%", 1},
        RenderCase{5, "9f05000000000000", "N005 SET ACCR = H005", 1},
        RenderCase{5, "9f05000002000000", "; ERROR: SET ACCR = ???", 0},
        RenderCase{5, "a000000001000000", "N005 SET DECR = 0%", 1},
        RenderCase{5, "a07f000000000000", "N005 SET DECR = H127", 1},
        RenderCase{5, "a000000007000000", "; ERROR: SET DECR = ???", 0},
        // Byte 4, then bytes 6-7, then byte 5.
        RenderCase{1, "8900000003088001", "N001 SET RXMSG[3, 384, 8]", 1},
        RenderCase{1, "890000000f08ffff", "N001 SET RXMSG[15, 65535, 8]", 1},
        RenderCase{1, "8a000000017f0000", "N001 SEND NMTCMD[1, 127]", 1},
        // Bytes 6-7 before byte 4.
        RenderCase{1, "8b03000008008001", "N001 SEND TXMSG[384, 8] = H003", 1},
        RenderCase{1, "8c7f00000000ffff", "N001 SEND TXMSG[65535, 0] = F127", 1}));

INSTANTIATE_TEST_SUITE_P(
    MotionReservedAndUnknown, RendersRecord,
    ::testing::Values(
        // The first three reserved comments end in a blank.
        RenderCase{1, "8d00000000000000", "; PLC: Reserved Command - 01 ", 1},
        RenderCase{1, "8e00000000000000", "; PLC: Reserved Command - 02 ", 1},
        RenderCase{1, "8f00000000000000", "; PLC: Reserved Command - 03 ", 1},
        RenderCase{1, "9000000000000000", "; PLC: Reserved Command - 04", 1},
        RenderCase{1, "96ffffffffffffff", "; PLC: Reserved Command - 10", 1},
        RenderCase{1, "9b00000000000000", "; PLC: Reserved Command - 15", 1},
        RenderCase{7, "0000000000000000", "N007 (!) ERROR: NO CODE FOUND", 0},
        RenderCase{254, "00ff000000000000", "N254 (!) ERROR: NO CODE FOUND", 0},
        RenderCase{1, "ae00000000000000", "; ERROR: UNKOWN OPCODE.", 0},
        RenderCase{1, "c800000000000000", "; ERROR: UNKOWN OPCODE.", 0},
        RenderCase{1, "ff00000000000000", "; ERROR: UNKOWN OPCODE.", 0}));

}  // namespace
}  // namespace plc::test
