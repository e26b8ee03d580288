// SPDX-License-Identifier: GPL-3.0-or-later
// Rendering control-flow records: canonical texts, END forms, error lines.
#include <gtest/gtest.h>

#include "decoder/DecodeRecord.h"
#include "tests/TestUtil.h"
#include "tests/decoder/RenderCase.h"

namespace plc::test {
namespace {

TEST_P(RendersRecord, CanonicalTextAndResult) {
    const RenderCase& c = GetParam();
    int result = -1;
    EXPECT_EQ(Render(FromHex8(c.bytes), c.index, &result), c.text) << c.bytes;
    EXPECT_EQ(result, c.result) << c.bytes;
}

INSTANTIATE_TEST_SUITE_P(
    ControlFlow, RendersRecord,
    ::testing::Values(
        RenderCase{5, "0100000007000000", "N005 JMP N007", 1},
        RenderCase{10, "01000000ff000000", "N010 JMP N255", 1},  // no END form
        RenderCase{10, "0200000000000000", "N010 JMP END", 1},
        RenderCase{10, "22000000ff000000", "N010 CALL N255", 1},
        RenderCase{254, "2300000000000000", "N254 RET", 1},
        RenderCase{1, "2400000000000000", "N001 BRKPT", 1},
        RenderCase{1, "2500ff0000000000", "N001 NOP", 1},
        RenderCase{20, "050000001e000102", "N020 JMP (F001 >= F002) N030", 1},
        RenderCase{40, "10020000ff000005", "N040 JMP (REFVAL < H005) END", 1},
        RenderCase{40, "0e010000ff000005", "N040 JMP (ACTVAL > H005) END", 1},
        RenderCase{40, "0c0700000a000000", "; ERROR: JMP (Hxx/ACTVAL/REFVAL != Hxx) Nxx/END", 0},
        RenderCase{40, "030300000a000000", "; ERROR: JMP (Fxx/ACTVAL/REFVAL = Fxx) Nxx/END", 0},
        RenderCase{40, "090000000a000400", "N040 JMP (F004 = 0) N010", 1},
        RenderCase{40, "0a000000ff000400", "N040 JMP (F004 != 0) END", 1},
        RenderCase{40, "0901000000000000", "; ERROR: JMP (Fxx/ACTVAL/REFVAL != 0) Nxx/END", 0},
        RenderCase{40, "0a02000000000000", "; ERROR: JMP (Fxx/ACTVAL/REFVAL != 0) Nxx/END", 0},
        RenderCase{40, "110100000a000000", "N040 JMP (ACTVAL = 0) N010", 1},
        RenderCase{40, "12020000ff000000", "N040 JMP (REFVAL != 0) END", 1},
        RenderCase{40, "1103000000000000", "; ERROR: JMP (Hxx/ACTVAL/REFVAL = 0) Nxx/END", 0},
        RenderCase{40, "1203000000000000", "; ERROR: JMP (Hxx/ACTVAL/REFVAL != 0) Nxx/END", 0},
        RenderCase{40, "160000003200050d", "N040 JMP (M005 | IA1) N050", 1},
        RenderCase{40, "1600000032000514", "ERROR: N040 JMP (M005 | ???ERR) N050", 0},
        RenderCase{40, "16000000ff000514", "ERROR: N040 JMP (M005 | ???ERR) END", 0},
        RenderCase{40, "1a000000ff00050b", "N040 JMP (M005 ^ OS05) END", 1},
        RenderCase{40, "1b000000ff000501", "N040 JMP (M005 = 1) END", 1},
        RenderCase{40, "1c0000000a001001", "N040 JMP (IS06 = 1) N010", 1},
        RenderCase{40, "1d0000000a000c01", "ERROR: N040 JMP (???ERR = 1) N010", 0},
        RenderCase{40, "1d000000ff000c01", "ERROR: N040 JMP (???ERR = 1) END", 0},
        RenderCase{40, "1e0000000a0003ff", "N040 JMP (C003 = 255) N010", 1},
        RenderCase{70, "21000000ff000304", "N070 JMP (Z003 != 0) END", 1},
        RenderCase{70, "2100000050000304", "N070 JMP (Z003 != 4) N080", 1},
        RenderCase{70, "20000000ff000304", "N070 JMP (Z003 = 4) END", 1},
        RenderCase{70, "87000000ff000f7f", "N070 JMP(RXMSG, 15, H127) END", 1},
        RenderCase{70, "880000000a000001", "N070 JMP(RXMSG, 0, F001) N010", 1},
        RenderCase{70, "a10000000a000009", "N070 JMP (REF = M009) N010", 1},
        RenderCase{70, "a10000000a000701", "N070 JMP (REF = 1) N010", 1},  // any nonzero byte 6
        RenderCase{70, "a2000000ff000100", "N070 JMP (ROT_0 = 0) END", 1},
        RenderCase{60, "ad110000ff001701", "N060 JMP (STA_INPOS = 1) END", 1},
        RenderCase{60, "ad0000000a001003", "N060 JMP (STA_WOTI != M003) N010", 1},
        RenderCase{60, "ad10000000001e01", "N060 JMP (STA_USER3 != 1) N000", 1},
        RenderCase{60, "ad02000000000000", "; ERROR: JMP(STA_ERR ??? [2] M/Val", 0},
        RenderCase{60, "ad20000000000100", "; ERROR: JMP(STA_WRN ??? [20] M/Val", 0},
        RenderCase{60, "adff000000000100", "; ERROR: JMP(STA_WRN ??? [FF] M/Val", 0},
        RenderCase{60, "ad01000000001f00", "; ERROR: SET STA_??? =/!= M/Val", 0},
        RenderCase{60, "ad02000000001f00", "; ERROR: SET STA_??? =/!= M/Val", 0},
        // Opcode 0, and an opcode no family defines.
        RenderCase{7, "0000000000000000", "N007 (!) ERROR: NO CODE FOUND", 0},
        RenderCase{7, "c800000000000000", "; ERROR: UNKOWN OPCODE.", 0},
        RenderCase{7, "ff00000000000000", "; ERROR: UNKOWN OPCODE.", 0}));

TEST(IoNames, LookUpBothTables) {
    std::string name;
    EXPECT_EQ(GetIoName(true, 13, name), 1);
    EXPECT_EQ(name, "IA1");
    EXPECT_EQ(GetIoName(true, 14, name), 1);
    EXPECT_EQ(name, "IS04");
    EXPECT_EQ(GetIoName(true, 17, name), 0);
    EXPECT_EQ(name, "???ERR");
    EXPECT_EQ(GetIoName(false, 9, name), 1);
    EXPECT_EQ(name, "OS03");
    EXPECT_EQ(GetIoName(false, 12, name), 0);
    EXPECT_EQ(name, "???ERR");
    EXPECT_EQ(GetIoName(false, 255, name), 0);
}

}  // namespace
}  // namespace plc::test
