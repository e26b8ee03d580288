// SPDX-License-Identifier: GPL-3.0-or-later
// The compile driver core: entries, error count, interruption and checksum.
#include <gtest/gtest.h>

#include "tests/LineEndCases.h"
#include "tests/TestUtil.h"

namespace plc::test {
namespace {

CompileOutcome Compile(const std::vector<std::string>& lines) {
    CPlcProgram p;
    return CompileProgramText(p, lines);
}

TEST(Driver, CleanRunEndsWithTheChecksum) {
    const auto out = Compile({"%P00", "N010 NOP", "END"});
    EXPECT_TRUE(out.success);
    EXPECT_EQ(out.entries, (std::vector<std::string>{
                               "PLC, compiling runs...", "", "",
                               "Sysntax check - 0 error (s), 0 warning(s). Calculated checksum: "
                               "0x0339 ADD, 0x00D9 XOR "}));
}

TEST(Driver, LargeAddSumShowsAllItsDigits) {
    std::vector<std::string> lines{"%P00"};
    for (int label = 1; label <= 254; ++label) lines.push_back("N" + std::to_string(label) + " JMP N254");
    lines.push_back("END");
    const auto out = Compile(lines);
    ASSERT_TRUE(out.success);
    EXPECT_GT(out.addSum, 0xFFFFu);
    char expected[128];
    std::snprintf(expected, sizeof expected,
                  "Sysntax check - 0 error (s), 0 warning(s). Calculated checksum: 0x%04X ADD, 0x%04X XOR ",
                  out.addSum, out.xorSum);
    EXPECT_EQ(out.entries.back(), expected);
    EXPECT_EQ(out.entries.back().find(" ADD") - out.entries.back().find("0x"), 7u);  // five digits
}

TEST(Driver, EmptyTextCompilesNothing) {
    EXPECT_TRUE(Compile({""}).emptyText);
    EXPECT_TRUE(Compile({}).emptyText);
    EXPECT_TRUE(Compile({""}).entries.empty());
    EXPECT_FALSE(Compile({"", ""}).emptyText);  // a line break is text
}

TEST(Driver, CommentsOnlyGiveNoProgramme) {
    const auto out = Compile({"; a comment", "", "   \t; another", "\t"});
    EXPECT_FALSE(out.success);
    EXPECT_EQ(out.entries, (std::vector<std::string>{
                               "PLC, compiling runs...", "",
                               "  LINE(004): ERR(24) - No programme % P00 ... END found.", "",
                               "1  Error. Syntax check ends with error."}));
}

struct EndCase {
    std::vector<std::string> lines;
    std::vector<CompileOutcome::Error> errors;
};

class EndOfText : public ::testing::TestWithParam<EndCase> {};

TEST_P(EndOfText, ReportsOnTheLastLine) {
    const auto out = Compile(GetParam().lines);
    ASSERT_EQ(out.errors.size(), GetParam().errors.size());
    for (size_t i = 0; i < out.errors.size(); ++i) {
        EXPECT_EQ(out.errors[i].line, GetParam().errors[i].line) << i;
        EXPECT_EQ(out.errors[i].code, GetParam().errors[i].code) << i;
    }
    EXPECT_EQ(out.errorCount, static_cast<int32_t>(GetParam().errors.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Checks, EndOfText,
    ::testing::Values(
        EndCase{{"%P00", "N010 NOP", ""}, {{3, 9}}},
        EndCase{{"%TEXT(X)", "DEF H1 = a"}, {{2, 23}, {2, 24}}},
        EndCase{{"%P00", "N010 NOP", "END", "%TEXT(X)"}, {{4, 23}}},
        EndCase{{"%P00", "N010 FOO", "N020 JMP N030", "END"}, {{2, 5}, {3, 30}}},
        EndCase{{"%P00", "N020 NOP", "N010 NOP ; late", "END"}, {{3, 31}}},
        EndCase{{"N010 NOP", "%P00", "N010 NOP", "END"}, {{1, 12}}}));

// The column of a fault: the start of the number that failed its scan, else
// where the compiler stopped; blanks count, faults found at END have none.
struct ColumnCase {
    std::vector<std::string> lines;
    int32_t code;
    int32_t column;
};

class FaultColumn : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(FaultColumn, PointsAtTheOffendingToken) {
    const auto out = Compile(GetParam().lines);
    ASSERT_FALSE(out.errors.empty());
    EXPECT_EQ(out.errors[0].code, GetParam().code);
    EXPECT_EQ(out.errors[0].column, GetParam().column);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultColumn,
    ::testing::Values(ColumnCase{{"%P00", "N010 SET H200 = 1", "END"}, 17, 11},
                      ColumnCase{{"%P00", "N010 FOO", "END"}, 5, 6},
                      ColumnCase{{"%P00", "N999 NOP", "END"}, 4, 2},
                      ColumnCase{{"%P00", "\tN010 JMP (F1 = F2) N2000 ; c", "END"}, 6, 22},
                      ColumnCase{{"%P00", "N010 NOP extra", "END"}, 2, 10},
                      ColumnCase{{"%P00", "N010 JMP N020", "END"}, 30, 0}));

// Compiling a text in place gives what compiling its split lines gives.
TEST(Driver, SourceInPlaceAgreesWithSplitLines) {
    const char* const texts[] = {
        "", "\r\n", "%P00\r\nN010 NOP\r\nEND\r\n", "%P00\nN010 NOP\nEND", "%P00\r\nN010 FOO\r\r\nEND",
        "%TEXT(A)\nDEF H1 = x\nEND\n%P00\nN1 SET H1 = -5 ; c\nN2 JMP N1\nEND\n", "%P00\rN010 NOP\rEND\r",
        // Line ends and ";" on both sides of sixteen-byte blocks: a ";" after
        // a line's end in the same block, CR LF split by a block's end, a
        // comment longer than a block, a last line without a line end.
        "%P00\nN1 NOP\nN2 NOP;x\nN3 JMP N1 ; a;b\r\nN010 NOP       \r\nN4 NOP ; a comment past sixteen bytes\r\n"
        "N5 NOP\t\t\t\t\t\t\t\t\t\t\t\t;x\rN6 FOO ; y\rEND ; the end without a line break ;"};
    for (const char* text : texts) {
        CPlcProgram a, b;
        const auto inPlace = CompileProgramSource(a, text);
        const auto split = CompileProgramText(b, SplitLines(text));
        EXPECT_EQ(inPlace.entries, split.entries) << text;
        EXPECT_EQ(inPlace.emptyText, split.emptyText) << text;
        ASSERT_EQ(inPlace.errors.size(), split.errors.size()) << text;
        for (size_t i = 0; i < split.errors.size(); ++i) EXPECT_EQ(inPlace.errors[i].column, split.errors[i].column);
        for (int r = 0; r < kRecordCount; ++r) EXPECT_EQ(a.Record(r), b.Record(r)) << text;
    }
}

TEST(Driver, ErrorEntryFormat) {
    EXPECT_EQ(FormatErrorEntry(12, 4), "  LINE(012): ERR(04) - Error at lable adressing (Nxxx).");
    EXPECT_EQ(FormatErrorEntry(1234, 31),
              "  LINE(1234): ERR(31) - Command sequence not in rising raw. Probably wrong name of lable.");
}

TEST(Driver, LinesOf79And80Characters) {
    const std::string c79 = "N010 NOP" + std::string(71, ' ') + "; the comment does not count";
    const std::string c80 = "N010 NOP" + std::string(72, ' ');
    EXPECT_TRUE(Compile({"%P00", c79, "END"}).success);
    const auto out = Compile({"%P00", c80, "END"});
    ASSERT_EQ(out.errors.size(), 1u);
    EXPECT_EQ(out.errors[0].code, 2);
    EXPECT_EQ(out.errors[0].line, 2);
}

TEST(Driver, ThirtyErrorsEndNormally) {
    std::vector<std::string> lines{"%P00"};
    for (int i = 0; i < 29; ++i) lines.push_back("N010 BAD");
    lines.push_back("; only comments follow");
    const auto out = Compile(lines);  // 29 bad statements + missing END = 30
    EXPECT_FALSE(out.interrupted);
    EXPECT_EQ(out.errorCount, 30);
    EXPECT_EQ(out.entries.back(), "30  Error. Syntax check ends with error.");
}

TEST(Driver, ThirtyFirstFaultyLineInterrupts) {
    std::vector<std::string> lines{"%P00"};
    for (int i = 0; i < 31; ++i) lines.push_back("N010 BAD");
    lines.push_back("END");
    const auto out = Compile(lines);
    EXPECT_TRUE(out.interrupted);
    EXPECT_FALSE(out.success);
    ASSERT_EQ(out.entries.size(), 2u + 30u + 2u);
    EXPECT_EQ(out.entries[0], "PLC, compiling runs...");
    EXPECT_EQ(out.entries[1], "");
    EXPECT_EQ(out.entries[2], "  LINE(002): ERR(05) - Unexpected assignation or unknown command.");
    EXPECT_EQ(out.entries[31], "  LINE(031): ERR(05) - Unexpected assignation or unknown command.");
    EXPECT_EQ(out.entries[32], "");
    EXPECT_EQ(out.entries[33],
              "Maximum number of errors of 30 errors exceeded. Syntax check interrupted.");
}

TEST(Driver, FailedFetchIsCodeEight) {
    CPlcProgram p;
    const auto out = CompileProgramLines(p, 3, false, [](int32_t i, std::string& line) {
        if (i == 1) return false;
        line = i == 0 ? "%P00" : "END";
        return true;
    });
    ASSERT_EQ(out.errors.size(), 1u);
    EXPECT_EQ(out.entries[2], "  LINE(002): ERR(08) - Error at reading the programme line.");
}

class Split : public ::testing::TestWithParam<test::LineEndCase> {};

TEST_P(Split, AsTheEditControlHoldsThem) {
    EXPECT_EQ(SplitLines(GetParam().bytes), GetParam().lines);
    EXPECT_EQ(CountLines(GetParam().bytes), GetParam().lines.size());
}

INSTANTIATE_TEST_SUITE_P(LineEnds, Split, ::testing::ValuesIn(test::LineEndCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Skeleton, HeaderCaptionAndBody) {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_hour = 9;
    t.tm_min = 5;
    EXPECT_EQ(ProgramSkeleton(t, "Plc-Editor"),
              "; 07/12/2026, 09:05, Plc-Editor\r\n\r\n%TEXT(NAME)\r\nEND\r\n\r\n%P00\r\n"
              "N010 NOP\t\t;TODO: Insert own programme code here\r\nEND\r\n");
    // The skeleton compiles.
    CPlcProgram p;
    EXPECT_TRUE(CompileProgramText(p, SplitLines(ProgramSkeleton(t, "x"))).success);
}

}  // namespace
}  // namespace plc::test
