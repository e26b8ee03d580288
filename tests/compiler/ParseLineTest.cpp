// SPDX-License-Identifier: GPL-3.0-or-later
// The line compiler: sections, labels, declarations and the finalisation of
// the image at the programme's END line.
#include <gtest/gtest.h>

#include "compiler/LineCompiler.h"
#include "tests/TestUtil.h"

namespace plc::test {
namespace {

// Compiles the lines one by one; returns the code of each line.
std::vector<int> CompileEach(CPlcProgram& p, const std::vector<std::string>& lines,
                             std::vector<int32_t>* reported = nullptr) {
    p.Clear();
    std::vector<int> codes;
    for (size_t i = 0; i < lines.size(); ++i) {
        int32_t line = static_cast<int32_t>(i), err = 0;
        CompileLine(p, lines[i], line, err);
        codes.push_back(err);
        if (reported != nullptr) reported->push_back(line);
    }
    return codes;
}

struct SectionCase {
    std::vector<std::string> lines;
    std::vector<int> codes;  // one per line
};

class Sections : public ::testing::TestWithParam<SectionCase> {};

TEST_P(Sections, EachLineGetsItsCode) {
    CPlcProgram p;
    EXPECT_EQ(CompileEach(p, GetParam().lines), GetParam().codes);
}

INSTANTIATE_TEST_SUITE_P(
    StateMachine, Sections,
    ::testing::Values(
        // Labels.
        SectionCase{{"%P00", "N000 NOP", "N255 NOP", "N1 NOP", "N001 NOP", "N0010 NOP", "END"},
                    {0, 4, 4, 0, 7, 0, 0}},
        SectionCase{{"%P00", "N NOP", "NOP", "X10 NOP", "N10", "END"}, {0, 4, 4, 1, 5, 0}},
        // Heads and ends.
        SectionCase{{"N10 NOP"}, {12}},
        SectionCase{{"%P00X"}, {2}},
        SectionCase{{"%p00", "n10 nop", "end", "%P00"}, {0, 0, 0, 22}},
        SectionCase{{"%P00", "ENDX", "N10 NOP"}, {0, 2, 12}},  // END with trailing text still ends
        SectionCase{{"%TEXT(ab_1)", "END", "%TEXT(X)"}, {0, 0, 14}},
        SectionCase{{"%TEXT()", "DEF H1 = A", "END"}, {10, 0, 0}},  // a faulty head still enters
        SectionCase{{"%TEXT(a-b)"}, {10}},
        SectionCase{{"%TEXT ab"}, {10}},
        SectionCase{{"%TEXT(abcdefghijklmnopqrstuvwxyzABCDEFG)"}, {11}},
        SectionCase{{"%TEXT(abcdefghijklmnopqrstuvwxyzABCDEF)"}, {0}},
        SectionCase{{"%TEXT(ab)x"}, {2}},
        SectionCase{{"%TEXT(ab", "END"}, {11, 0}},
        // Declarations.
        SectionCase{{"%TEXT(T)", "DEF H5 = Speed", "DEF H128 = X", "DEF X5 = Y", "DEF H5 Speed",
                     "DEF = Y", "DEFC10=c", "DEFC11=c", "DEF F127 = f", "DEF M255 = m",
                     "DEF Z10 = z", "DEF Z11 = z", "DEF M256 = m", "DEF F128 = f", "END"},
                    {0, 0, 17, 20, 21, 20, 0, 15, 0, 0, 0, 19, 18, 16, 0}},
        SectionCase{{"%TEXT(T)", "DEF H1 = a.b", "DEF H1 = ", "DEF H1 = x)", "NOP", "ENDX", "END"},
                    {0, 10, 10, 2, 13, 2, 0}},
        SectionCase{{"%TEXT(T)", "DEF H1 = abcdefghijklmnopqrstuvwxyzABCDEFG", "END"}, {0, 2, 0}},
        // Both sections, text after the programme.
        SectionCase{{"%P00", "N10 NOP", "END", "%TEXT(T)", "DEF M1 = a", "END"},
                    {0, 0, 0, 0, 0, 0}}));

TEST(Declarations, KeepTheirCaseAndTheLastOneWins) {
    CPlcProgram p;
    CompileEach(p, {"%TEXT(Axis_1)", "DEF H5 = Speed", "def h5 = SpeedToo", "DEF M10 = Ready",
                    "DEF C0 = c0", "DEF Z10 = tz", "DEF F0 = f_0", "END"});
    EXPECT_EQ(p.GetProgramName(), "Axis_1");
    EXPECT_EQ(p.Name(VarKind::H, 5), "SpeedToo");
    EXPECT_EQ(p.Name(VarKind::M, 10), "Ready");
    EXPECT_EQ(p.Name(VarKind::C, 0), "c0");
    EXPECT_EQ(p.Name(VarKind::Z, 10), "tz");
    EXPECT_EQ(p.Name(VarKind::F, 0), "f_0");
    EXPECT_EQ(p.Name(VarKind::F, 1), "");
    EXPECT_TRUE(p.IsTextDeclared());
    EXPECT_FALSE(p.IsInTextSection());
}

TEST(Finalisation, BuildsEntryEndAndLinkChain) {
    CPlcProgram p;
    const auto codes = CompileEach(p, {"%P00", "N010 NOP", "N020 JMP N040", "N040 JMP END", "END"});
    ASSERT_EQ(codes, (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_EQ(Hex8(p.Record(0)), "01000a000a000000");
    EXPECT_EQ(Hex8(p.Record(10)), "2500140000000000");
    EXPECT_EQ(Hex8(p.Record(20)), "0100280028000000");
    EXPECT_EQ(Hex8(p.Record(40)), "0200ff0000000000");
    EXPECT_EQ(Hex8(p.Record(255)), "0200ff00ff000000");
    EXPECT_EQ(p.Record(0).used(), 1);
    EXPECT_EQ(p.Record(0).kind(), 1);
    EXPECT_EQ(p.Record(255).kind(), 1);
    EXPECT_TRUE(p.IsProgramEnded());
    EXPECT_FALSE(p.IsInProgramSection());
}

TEST(Finalisation, EmptyProgrammeJumpsToEnd) {
    CPlcProgram p;
    ASSERT_EQ(CompileEach(p, {"%P00", "END"}), (std::vector<int>{0, 0}));
    EXPECT_EQ(Hex8(p.Record(0)), "0100ff00ff000000");
    std::string head;
    EXPECT_TRUE(p.HasProgramHead(head));
}

struct FinalCase {
    std::vector<std::string> lines;
    int code;           // of the END line
    int32_t reported;   // line reported for it
};

class FinalChecks : public ::testing::TestWithParam<FinalCase> {};

TEST_P(FinalChecks, ReportOnTheOffendingStatementsLine) {
    CPlcProgram p;
    std::vector<int32_t> reported;
    const auto codes = CompileEach(p, GetParam().lines, &reported);
    EXPECT_EQ(codes.back(), GetParam().code);
    EXPECT_EQ(reported.back(), GetParam().reported);
}

INSTANTIATE_TEST_SUITE_P(
    EndLine, FinalChecks,
    ::testing::Values(
        FinalCase{{"%P00", "N010 NOP", "N020 JMP N050", "END"}, 30, 2},
        FinalCase{{"%P00", "N010 CALL N011", "END"}, 30, 1},
        FinalCase{{"%P00", "N010 JMP (H1 = 0) N005", "N020 NOP", "END"}, 30, 1},
        FinalCase{{"%P00", "N020 NOP", "N010 NOP", "END"}, 31, 2},  // the lower label's line
        FinalCase{{"%P00", "N010 NOP", "N030 NOP", "N020 NOP", "END"}, 31, 3},
        // Comments and blank lines between statements do not matter.
        FinalCase{{"%P00", "N010 JMP N254", "", "N254 JMP N010", "END"}, 0, 4},
        // A jump target error is found before an order error.
        FinalCase{{"%P00", "N020 NOP", "N010 JMP N099", "END"}, 30, 2},
        FinalCase{{"%P00", "N030 NOP", "N010 NOP", "N040 JMP N099", "END"}, 30, 3}));

TEST(CompileLine, LengthAndBlanks) {
    CPlcProgram p;
    p.Clear();
    int32_t line = 0, err = 0;
    ASSERT_TRUE(CompileLine(p, "%P00", line, err));
    const std::string padded79 = "N010 NOP" + std::string(71, ' ');
    const std::string padded80 = "N010 NOP" + std::string(72, ' ');
    line = 1;
    EXPECT_FALSE(CompileLine(p, padded80, line, err));
    EXPECT_EQ(err, 2);
    EXPECT_TRUE(CompileLine(p, padded79, line, err));
    EXPECT_EQ(err, 0);
    EXPECT_TRUE(CompileLine(p, " \t \t", line, err));  // only blanks: nothing
    EXPECT_FALSE(CompileLine(p, "", line, err));       // the driver never passes it
    EXPECT_EQ(err, 2);
}

}  // namespace
}  // namespace plc::test
