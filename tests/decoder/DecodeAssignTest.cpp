// SPDX-License-Identifier: GPL-3.0-or-later
// Rendering assignment records: canonical texts, and the error lines of
// selectors, drive values, status numbers, inputs and outputs out of range.
#include <gtest/gtest.h>

#include <cstdio>

#include "decoder/DecodeRecord.h"
#include "tests/TestUtil.h"
#include "tests/decoder/RenderCase.h"

namespace plc::test {
namespace {

INSTANTIATE_TEST_SUITE_P(
    AssignDriveSettings, RendersRecord,
    ::testing::Values(
        RenderCase{10, "2600000005000000", "N010 SET REFVAL = F005", 1},
        RenderCase{10, "2601000005000000", "ERROR: N010 SET UNKNOWN VALUE NR(001) = F005", 0},
        RenderCase{10, "26ff000005000000", "ERROR: N010 SET UNKNOWN VALUE NR(255) = F005", 0},
        RenderCase{10, "2700000003000000", "N010 SET OUTPUT = H003", 1},
        RenderCase{10, "2701000003000000", "N010 SET OSA0 = H003", 1},
        RenderCase{10, "2702000003000000", "N010 SET REFVAL = H003", 1},
        RenderCase{10, "2703000003000000", "N010 SET INPOSWINDOW = H003", 1},
        RenderCase{10, "2704000003000000", "N010 SET INPOSTIME = H003", 1},
        RenderCase{10, "2705000003000000", "N010 SET EGEARPOS = H003", 1},
        RenderCase{10, "2709000003000000", "ERROR: N010 SET UNKNOWN VALUE NR(009) = H003", 0},
        RenderCase{10, "28000000ff000000", "N010 SET ENCTRL = M255", 1},
        RenderCase{10, "280b000001000000", "N010 SET USER3_M = M001", 1},
        RenderCase{10, "280c000001000000", "ERROR: N010 SET UNKNOWN VALUE NR(012) = M001", 0},
        RenderCase{10, "2906000001000000", "N010 SET ERRRQ = 1", 1},
        // A value assignment out of range shows the flag assignment's text.
        RenderCase{10, "290c000001000000", "ERROR: N010 SET UNKNOWN VALUE NR(012) = M001", 0}));

INSTANTIATE_TEST_SUITE_P(
    AssignFloats, RendersRecord,
    ::testing::Values(
        RenderCase{12, "3d030000803f0000", "N012 SET F003 = 1.0000000000", 1},
        RenderCase{12, "3d03000020c00000", "N012 SET F003 = -2.5000000000", 1},
        RenderCase{10, "3d0100002f2dffeb", "N010 SET F001 = 0.00000000001", 1},
        RenderCase{10, "9c0a0000cc3dcdcc", "N010 SET F[C010] = 0.1000000015", 1},
        RenderCase{10, "2a0a00007f000000", "N010 SET F[C010] = F127", 1},
        RenderCase{10, "2b0100000a000000", "N010 SET F001 = F[C010]", 1},
        RenderCase{10, "2c01000000000000", "N010 SET F001 = ACTFRQ", 1},
        RenderCase{10, "2c01000005000000", "N010 SET F001 = REFPOS", 1},
        RenderCase{10, "2d01000005060000", "N010 SET F001 = PARA[H005, H006]", 1},
        RenderCase{10, "2e01000005000000", "N010 SET F001 = PARA[H005]", 1},
        RenderCase{8, "2f0200000100d204", "N008 SET F002 = PARA[1234, 001]", 1},
        RenderCase{10, "3002000000006400", "N010 SET F002 = PARA[100]", 1},
        RenderCase{10, "3301000002000000", "N010 SET F001 + F002", 1},
        RenderCase{10, "3601000020400000", "N010 SET F001 - 2.5000000000", 1},
        RenderCase{10, "38010000cc3dcdcc", "N010 SET F001 * 0.1000000015", 1},
        RenderCase{10, "3a010000c0bf0000", "N010 SET F001 : -1.5000000000", 1},
        RenderCase{10, "3b01000002000000", "N010 SET F001 = ROUND F002", 1},
        RenderCase{10, "3c01000002000000", "N010 SET F001 = ABS F002", 1}));

INSTANTIATE_TEST_SUITE_P(
    AssignIntegers, RendersRecord,
    ::testing::Values(
        RenderCase{12, "5c010000fbffffff", "N012 SET H001 = -5", 1},
        RenderCase{12, "70010000fbffffff", "N012 SET Z001 = -5", 1},
        RenderCase{12, "4e01000003000000", "N012 SET H001 << 03", 1},
        RenderCase{12, "4e0100000c000000", "N012 SET H001 << 12", 1},
        RenderCase{10, "5001000020000000", "N010 SET H001 >> 32", 1},
        RenderCase{10, "3e03000007000000", "N010 SET H[C003] = H007", 1},
        RenderCase{10, "9d030000ffffff7f", "N010 SET H[C003] = 2147483647", 1},
        RenderCase{10, "9d03000000000080", "N010 SET H[C003] = -2147483648", 1},  // 32 bits, signed
        RenderCase{10, "3f01000003000000", "N010 SET H001 = H[C003]", 1},
        RenderCase{10, "400100000b000000", "N010 SET H001 = CANSTAT", 1},
        RenderCase{10, "400100000d000000", "N010 SET H001 = EGEARPOS", 1},
        RenderCase{10, "43010000ff000700", "N010 SET H001 = PARA[007, 255]", 1},
        RenderCase{10, "4401000000000f27", "N010 SET H001 = PARA[9999]", 1},
        RenderCase{10, "4701000002000000", "N010 SET H001 = C002", 1},
        RenderCase{10, "4901000002000000", "N010 SET H001 = Z002", 1},
        RenderCase{10, "4a01000002000000", "N010 SET H001 & H002", 1},
        RenderCase{10, "4b01000002000000", "N010 SET H001 | H002", 1},
        RenderCase{10, "4c01000002000000", "N010 SET H001 ^ H002", 1},
        RenderCase{10, "52010000e8030000", "N010 SET H001 + 1000", 1},
        RenderCase{10, "5901000002000000", "N010 SET H001 % H002", 1},
        RenderCase{10, "5a010000fbffffff", "N010 SET H001 % -5", 1},
        RenderCase{10, "5b01000002000000", "N010 SET H001 = ABS H002", 1}));

INSTANTIATE_TEST_SUITE_P(
    AssignFlagsCountersTimers, RendersRecord,
    ::testing::Values(
        RenderCase{10, "5d030000ff000000", "N010 SET M[C003] = M255", 1},
        RenderCase{10, "9e03000001000000", "N010 SET M[C003] = 1", 1},
        RenderCase{10, "5e01000003000000", "N010 SET M001 = M[C003]", 1},
        RenderCase{10, "5f01000000000000", "N010 SET M001 = STA_ERR", 1},
        RenderCase{10, "5f01000010000000", "N010 SET M001 = STA_WOTI", 1},
        RenderCase{10, "5f0100001e000000", "N010 SET M001 = STA_USER3", 1},
        RenderCase{10, "6201000010000000", "N010 SET M001 = IS06", 1},
        RenderCase{10, "620100000c000000", "N010 SET M001 = IA0", 1},
        RenderCase{10, "630100000b000000", "N010 SET M001 = OS05", 1},
        RenderCase{10, "6501000002000000", "N010 SET M001 | M002", 1},
        RenderCase{10, "6701000001000000", "N010 SET M001 = 1", 1},
        RenderCase{12, "ac07000000000000", "N012 SET M007 = CM01", 1},
        RenderCase{12, "ac0700000f000000", "N012 SET M007 = CM16", 1},
        RenderCase{10, "6801000002000000", "N010 SET C001 = C002", 1},
        RenderCase{10, "6b010000ff000000", "N010 SET C001 + 255", 1},
        RenderCase{10, "6d01000000000000", "N010 SET C001 - 0", 1},
        RenderCase{10, "6e01000007000000", "N010 SET C001 = 7", 1},
        RenderCase{10, "6f01000002000000", "N010 SET Z001 = H002", 1},
        RenderCase{10, "70010000ffffff7f", "N010 SET Z001 = 2147483647", 1}));

// The sub-index of a read is byte 4, of a write byte 5; the other byte is not shown.
INSTANTIATE_TEST_SUITE_P(
    AssignOutputsAndParameters, RendersRecord,
    ::testing::Values(
        RenderCase{10, "7108000003000000", "N010 SET OV01 = M003", 1},
        RenderCase{10, "7200000001000000", "N010 SET OS00 = 1", 1},
        RenderCase{10, "7303000001020000", "N010 SET PARA[H001, H002] = F003", 1},
        RenderCase{10, "7403000001020000", "N010 SET PARA[H001, H002] = H003", 1},
        RenderCase{10, "7503000001000000", "N010 SET PARA[H001] = F003", 1},
        RenderCase{10, "7603000001000000", "N010 SET PARA[H001] = H003", 1},
        RenderCase{10, "7707000000026400", "N010 SET PARA[100, 002] = F007", 1},
        RenderCase{10, "7807000000026400", "N010 SET PARA[100, 002] = H007", 1},
        RenderCase{10, "7900000000000100", "N010 SET PARA[001] = F000", 1},
        RenderCase{10, "7a00000000000fff", "N010 SET PARA[65295] = H000", 1},
        RenderCase{10, "2f02000001056400", "N010 SET F002 = PARA[100, 001]", 1},
        RenderCase{10, "7707000001056400", "N010 SET PARA[100, 005] = F007", 1}));

// Every value of every named field: inside its table the record renders as a
// statement; outside, as the row's error line with result 0.
struct SelectorCase {
    uint8_t opcode;
    bool inMode;          // the named field is byte 1 (else byte 4; the other is 1)
    int count;            // values 0 to count-1 have names
    const char* errorLine;  // with %03d for the value where the line shows it
};

void PrintTo(const SelectorCase& c, std::ostream* os) { *os << "opcode " << int(c.opcode); }

class AssignSelectors : public ::testing::TestWithParam<SelectorCase> {};

TEST_P(AssignSelectors, OutOfTableGivesTheErrorLine) {
    const SelectorCase& c = GetParam();
    for (int value = 0; value < 256; ++value) {
        PlcInstr rec;
        rec.setOpcode(c.opcode);
        rec.b[1] = static_cast<uint8_t>(c.inMode ? value : 1);
        rec.b[4] = static_cast<uint8_t>(c.inMode ? 1 : value);
        int result = -1;
        const std::string text = Render(rec, 10, &result);
        if (value < c.count) {
            EXPECT_EQ(result, 1) << text;
            EXPECT_FALSE(text.starts_with("ERROR")) << text;
            EXPECT_TRUE(text.starts_with("N010 SET ")) << text;
        } else {
            char expected[96];
            std::snprintf(expected, sizeof expected, c.errorLine, value);
            EXPECT_EQ(result, 0) << text;
            EXPECT_EQ(text, expected);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    NamedFields, AssignSelectors,
    ::testing::Values(
        SelectorCase{38, true, 1, "ERROR: N010 SET UNKNOWN VALUE NR(%03d) = F001"},
        SelectorCase{39, true, 6, "ERROR: N010 SET UNKNOWN VALUE NR(%03d) = H001"},
        SelectorCase{40, true, 12, "ERROR: N010 SET UNKNOWN VALUE NR(%03d) = M001"},
        SelectorCase{41, true, 12, "ERROR: N010 SET UNKNOWN VALUE NR(%03d) = M001"},
        SelectorCase{44, false, 6, "ERROR: N010 SET F001 = UNKNOWN VALUE NR(%03d)"},
        SelectorCase{64, false, 14, "ERROR: N010 SET H001 = UNKNOWN VALUE NR(%03d)"},
        SelectorCase{95, false, 31, "ERROR: N010 SET M001 = UNKNOWN VALUE NR(%03d)"},
        SelectorCase{98, false, 17, "ERROR: N010 SET M001 = ???ERR"},
        SelectorCase{99, false, 12, "ERROR: N010 SET M001 = ???ERR"},
        SelectorCase{113, true, 12, "ERROR: N010 SET ???ERR = M001"},
        SelectorCase{114, true, 12, "ERROR: N010 SET ???ERR = 1"}));

// An undecodable record reaches the listing as code 33, and the pass goes on.
TEST(AssignListing, UndecodableRecordsReportTextCodingErrors) {
    CPlcProgram program;
    program.Clear();
    program.Record(5) = FromHex8("2709000003000000");
    program.Record(5).setUsed(1);
    program.Record(6) = FromHex8("5c010000fbffffff");
    program.Record(6).setUsed(1);
    std::string text;
    int32_t line = 0, error = 0;
    ASSERT_EQ(DecodeNextRecord(program, text, line, error), 1);
    EXPECT_EQ(text, "ERROR: N005 SET UNKNOWN VALUE NR(009) = H003");
    EXPECT_EQ(error, 33);
    ASSERT_EQ(DecodeNextRecord(program, text, line, error), 1);
    EXPECT_EQ(text, "N006 SET H001 = -5");
    EXPECT_EQ(error, 0);
}

}  // namespace
}  // namespace plc::test
