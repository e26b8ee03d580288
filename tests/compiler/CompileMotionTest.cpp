// SPDX-License-Identifier: GPL-3.0-or-later
// Motion, waiting, ramp and fieldbus statements: source text to record bytes
// and kind, and faults to codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "compiler/Statements.h"
#include "tests/TestUtil.h"
#include "tests/compiler/StatementCases.h"

namespace plc::test {
namespace {

constexpr int k2 = kKindAssign, k4 = kKindFieldbus;

// Byte order: opcode, mode, next (2), byte 4, byte 5, byte 6, byte 7.
INSTANTIATE_TEST_SUITE_P(
    MotionFieldbusAndRamps, CompilesStatement,
    ::testing::Values(
        BytesCase{"SET RXMSG[15, 65535, 8]", "890000000f08ffff", k2},
        BytesCase{"setrxmsg[0,384,0]", "8900000000008001", k2},
        BytesCase{"SET RXMSG[007, 00001, 3]", "8900000007030100", k2},
        BytesCase{"SET ACCR = H5", "9f05000000000000", k2},
        BytesCase{"SET ACCR = 150%", "9f96000001000000", k2},
        BytesCase{"SETDECR=0%", "a000000001000000", k2},
        BytesCase{"SET DECR = H127", "a07f000000000000", k2},
        BytesCase{"SEND NMTCMD[1, 127]", "8a000000017f0000", k4},
        BytesCase{"SENDNMTCMD[255,0]", "8a000000ff000000", k4},
        BytesCase{"SEND TXMSG[384, 8] = F3", "8c03000008008001", k4},
        BytesCase{"SEND TXMSG[65535, 0] = H127", "8b7f00000000ffff", k4},
        BytesCase{"send txmsg[0,1]=h0", "8b00000001000000", k4}));

INSTANTIATE_TEST_SUITE_P(
    MotionWaitAndStop, CompilesStatement,
    ::testing::Values(
        BytesCase{"WAIT H5", "7e05000000000000", k4},
        BytesCase{"WAIT PAR", "8000000000000000", k2},
        BytesCase{"WAIT REF", "a300000000000000", k2},
        BytesCase{"WAIT ROT_0", "a400000000000000", k2},
        BytesCase{"WAIT 1000", "7f000000e8030000", k2},
        BytesCase{"WAIT 0", "7f00000000000000", k2},
        BytesCase{"WAIT 4294967295", "7f000000ffffffff", k2},
        BytesCase{"STOP B", "a500000000000000", k2},
        BytesCase{"stop m", "a501000000000000", k2},
        BytesCase{"STOP 0", "a502000000000000", k2}));

INSTANTIATE_TEST_SUITE_P(
    MotionGo, CompilesStatement,
    ::testing::Values(
        // Positioning: byte 5 the letter, byte 7 = 1 without the speed part.
        BytesCase{"GO W A H10", "810a000000000001", k2},
        BytesCase{"GO W A H10 V H11", "810a00000b000000", k2},
        BytesCase{"GO W R H4 V H6", "8204000006010000", k2},
        BytesCase{"GO W R H4", "8204000000010001", k2},
        BytesCase{"GO A H127", "837f000000000001", k2},
        BytesCase{"GO R H3 V H4", "8403000004010000", k2},
        BytesCase{"go r h0 v h127", "840000007f010000", k2},
        // The RT forms write byte 5 = 1 as well.
        BytesCase{"GO W RT H3", "a703000000010001", k2},
        BytesCase{"GO W RT H3 V H9", "a703000009010000", k2},
        BytesCase{"GO RT H3", "a803000000010001", k2},
        BytesCase{"GO RT H3 V H0", "a803000000010000", k2},
        BytesCase{"GO 0 + H5", "8505000000000000", k2},
        BytesCase{"GO 0", "8600000000000000", k2},
        // GO V Hx: bytes 5 and 6 are markers.
        BytesCase{"GO V H7", "a600000007010100", k2},
        // Time-based: byte 7 says what the brackets hold.
        BytesCase{"GO W T[H5]", "a905000000000000", k2},
        BytesCase{"GO WT[C3]", "a903000000000001", k2},
        BytesCase{"GO W T[255]", "a9ff000000000002", k2},
        BytesCase{"GO T[200]", "aac8000000000002", k2},
        BytesCase{"GO T[H127]", "aa7f000000000000", k2},
        BytesCase{"GO T[C10]", "aa0a000000000001", k2},
        BytesCase{"GO T[007]", "aa07000000000002", k2},
        BytesCase{"GO SYN 1", "ab01000000000000", k2},
        BytesCase{"GO SYN 0", "ab00000000000000", k2}));

INSTANTIATE_TEST_SUITE_P(
    MotionGo, RefusesStatement,
    ::testing::Values(
        FaultCase{"GO W A H10 X", 34}, FaultCase{"GO W A H10 V H200", 17},
        FaultCase{"GO W A H128", 17}, FaultCase{"GO W A H", 17},
        FaultCase{"GO W A H10 V H11 X", 2}, FaultCase{"GO W A H10 V 11", 34},
        FaultCase{"GO R H3 V", 34}, FaultCase{"GO A 5", 34}, FaultCase{"GO W X H1", 34},
        FaultCase{"GO 1", 34}, FaultCase{"GO", 34}, FaultCase{"GOTO N5", 34},
        FaultCase{"GO 0 X", 2}, FaultCase{"GO 0 + H", 17}, FaultCase{"GO 0 + H128", 17},
        FaultCase{"GO 0 + 5", 2}, FaultCase{"GO V H128", 17}, FaultCase{"GO V 5", 34},
        FaultCase{"GO V H5 X", 2}, FaultCase{"GO W RT H", 17}, FaultCase{"GO RT H3 V H4 X", 2},
        FaultCase{"GO RT H3 X", 34}, FaultCase{"GO T[300]", 17}, FaultCase{"GO T[H5", 27},
        FaultCase{"GO T[H128]", 17}, FaultCase{"GO T[C11]", 17}, FaultCase{"GO W T[]", 17},
        FaultCase{"GO W T[M1]", 17}, FaultCase{"GO T[5]X", 2}, FaultCase{"GO T 5", 34},
        FaultCase{"GO SYN 2", 34}, FaultCase{"GO SYN", 34}, FaultCase{"GO SYN 1 X", 2}));

INSTANTIATE_TEST_SUITE_P(
    MotionWaitAndStop, RefusesStatement,
    ::testing::Values(
        FaultCase{"WAIT", 17}, FaultCase{"WAIT 4294967296", 17}, FaultCase{"WAIT -1", 17},
        FaultCase{"WAIT X", 17}, FaultCase{"WAIT 10 X", 2}, FaultCase{"WAIT H128", 17},
        FaultCase{"WAIT H", 17}, FaultCase{"WAIT H5 X", 2}, FaultCase{"WAIT PAR X", 2},
        FaultCase{"WAIT REF 1", 2}, FaultCase{"WAIT ROT_0 0", 2}, FaultCase{"WAIT ROT_1", 17},
        FaultCase{"STOP BB", 2}, FaultCase{"STOP X", 21}, FaultCase{"STOP", 21},
        FaultCase{"STOP 1", 21}));

INSTANTIATE_TEST_SUITE_P(
    MotionFieldbusAndRamps, RefusesStatement,
    ::testing::Values(
        FaultCase{"SETACCR=151%", 17}, FaultCase{"SETACCR=50", 21}, FaultCase{"SET ACCR = H128", 17},
        FaultCase{"SET ACCR = X", 17}, FaultCase{"SET ACCR = -5%", 17},
        FaultCase{"SET ACCR = 50%X", 2}, FaultCase{"SET DECR = H", 17},
        FaultCase{"SET DECR = H5 %", 2}, FaultCase{"SET DECR = 5.5%", 21},
        FaultCase{"SETRXMSG[16,1,1]", 26}, FaultCase{"SETRXMSG[1,1,1", 27},
        FaultCase{"SETRXMSG[1;1,1]", 26}, FaultCase{"SETRXMSG[1,65536,1]", 26},
        FaultCase{"SETRXMSG[1,1,9]", 26}, FaultCase{"SETRXMSG[1,1]", 26},
        FaultCase{"SETRXMSG[]", 26}, FaultCase{"SETRXMSG[1,1,1]X", 2},
        FaultCase{"SENDNMTCMD[1,128]", 26}, FaultCase{"SENDNMTCMD[256,1]", 26},
        FaultCase{"SENDNMTCMD[1;1]", 26}, FaultCase{"SENDNMTCMD[1,1", 27},
        FaultCase{"SENDNMTCMD[1,1]X", 2}, FaultCase{"SENDTXMSG[384,9]=F3", 26},
        FaultCase{"SENDTXMSG[384,8]=M3", 26}, FaultCase{"SENDTXMSG[384,8]=F128", 26},
        FaultCase{"SENDTXMSG[65536,8]=F1", 26}, FaultCase{"SENDTXMSG[384,8]F3", 26},
        FaultCase{"SENDTXMSG[384;8]=F3", 26}, FaultCase{"SENDTXMSG[384,8]=H1X", 2},
        // No keyword of the chain: unknown command.
        FaultCase{"SEND NMT[1,2]", 5}, FaultCase{"SENDTXMSG(1,2)=H1", 5}, FaultCase{"WAT 5", 5},
        FaultCase{"SET ACCR 50%", 5}, FaultCase{"SEND RXMSG[1,2]", 5}));

// Every keyword of this family leads to its own compiler: the keyword alone
// answers that form's fault or succeeds, never "unknown command".
TEST(MotionChain, NoKeywordOfTheFamilyIsUnknown) {
    const StatementCompiler family[] = {CompileSetRxMsg, CompileSetRamp, CompileWaitH,
                                        CompileWaitBare, CompileWaitTime, CompileStop,
                                        CompileGo,       CompileSendNmt, CompileSendTx};
    int seen = 0;
    for (const KeywordRow& row : KeywordChain()) {
        if (std::find(std::begin(family), std::end(family), row.compile) == std::end(family)) continue;
        ++seen;
        const LineResult r = CompileStatementLine(row.keyword);
        EXPECT_NE(r.code, kErrUnknownCommand) << row.keyword;
    }
    EXPECT_EQ(seen, 12);
}

}  // namespace
}  // namespace plc::test
