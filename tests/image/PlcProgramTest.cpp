// SPDX-License-Identifier: GPL-3.0-or-later
// The programme image: clearing, checksum and the programme head.
#include <gtest/gtest.h>

#include "tests/TestUtil.h"

namespace plc::test {
namespace {

TEST(Image, ClearEmptiesEverything) {
    CPlcProgram p;
    CompileProgramText(p, {"%TEXT(Name)", "DEF H1 = x", "END", "%P00", "N010 NOP", "END"});
    ASSERT_EQ(p.GetProgramName(), "Name");
    p.Clear();
    for (int i = 0; i < kRecordCount; ++i) EXPECT_EQ(p.Record(i), PlcInstr{}) << i;
    EXPECT_EQ(p.Name(VarKind::H, 1), "");
    EXPECT_EQ(p.GetProgramName(), "");
    EXPECT_EQ(p.IsProgramEnded(), 0);
    EXPECT_EQ(p.IsTextDeclared(), 0);
    EXPECT_EQ(p.SectionState(), 0);
    std::string head = "x";
    EXPECT_FALSE(p.HasProgramHead(head));
    EXPECT_EQ(head, "");
    uint32_t x = 1, a = 1;
    p.ComputeChecksum(x, a);
    EXPECT_EQ(x, 0u);
    EXPECT_EQ(a, 0u);
}

TEST(Image, ChecksumOfTheSmallestProgramme) {
    CPlcProgram p;
    ASSERT_TRUE(CompileProgramText(p, {"%P00", "N010 NOP", "END"}).success);
    EXPECT_EQ(Hex8(p.Record(0)), "01000a000a000000");
    EXPECT_EQ(Hex8(p.Record(10)), "2500ff0000000000");
    EXPECT_EQ(Hex8(p.Record(255)), "0200ff00ff000000");
    uint32_t x = 0, a = 0;
    p.ComputeChecksum(x, a);
    EXPECT_EQ(a, 0x339u);
    EXPECT_EQ(x, 0xD9u);
}

TEST(Image, ChecksumCoversBytesZeroToSevenOfEveryRecordOnly) {
    CPlcProgram p;
    p.Clear();
    for (int i = 0; i < kRecordCount; ++i) {
        PlcInstr& r = p.Record(i);
        r.setDword0(0xFFFFFFFF);
        r.setDword4(0xFFFFFFFF);
        r.setUsed(1);
        r.setKind(3);
        r.setLine(0xFFFF);
    }
    uint32_t x = 0, a = 0;
    p.ComputeChecksum(x, a);
    EXPECT_EQ(a, 1024u * 0xFFFFu);  // the full sum, not cut to 16 bits
    EXPECT_EQ(x, 0u);               // an even number of equal words
}

struct HeadCase {
    const char* entry;   // bytes 0 to 7 of record 0
    int targetUsed;      // index of a record marked used, -1 for none
    bool head;
};

class ProgramHead : public ::testing::TestWithParam<HeadCase> {};

TEST_P(ProgramHead, NeedsAJumpToAUsedRecord) {
    CPlcProgram p;
    p.Clear();
    p.Record(0) = FromHex8(GetParam().entry);
    if (GetParam().targetUsed >= 0) p.Record(GetParam().targetUsed).setUsed(1);
    std::string text;
    EXPECT_EQ(p.HasProgramHead(text), GetParam().head);
    EXPECT_EQ(text, GetParam().head ? "%P00" : "");
}

INSTANTIATE_TEST_SUITE_P(
    EntryRecord, ProgramHead,
    ::testing::Values(HeadCase{"01000a000a000000", 10, true}, HeadCase{"01000a000a000000", -1, false},
                      HeadCase{"02000a000a000000", 10, false}, HeadCase{"0100ff00ff000000", 255, true},
                      // Targets beyond the image come only from foreign files: no head,
                      // and nothing outside the 256 records is read.
                      HeadCase{"0100000000010000", -1, false}, HeadCase{"01000000ffff0000", -1, false}));

}  // namespace
}  // namespace plc::test
