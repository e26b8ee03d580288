// SPDX-License-Identifier: GPL-3.0-or-later
// Renumbering of a source text: the replacement of each statement line with
// its comment, the lines left alone, the entries of the run, and the step
// sizes seen through the text.
#include "decoder/RenumberText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace plc {
namespace {

struct ReplacementCase {
    const char* statement;
    const char* oldLine;
    bool last;
    const char* expected;
};

TEST(RenumberText, ReplacementKeepsTheCommentBehindTwoTabs) {
    const ReplacementCase cases[] = {
        {"N010 NOP", "N001 NOP", false, "N010 NOP"},
        {"N010 NOP", "N001 NOP   ; wait here", false, "N010 NOP\t\t; wait here"},
        {"N010 NOP", "N001 NOP;x;y", false, "N010 NOP\t\t;x;y"},
        {"N010 NOP", "n1 nop\t\t\t;  spaced  ", false, "N010 NOP\t\t;  spaced  "},
        {"N010 NOP", "N001 NOP", true, "N010 NOP\r\n"},
        {"N010 NOP", "N001 NOP ;last", true, "N010 NOP\t\t;last\r\n"},
        {"; ERROR: UNKOWN OPCODE.", "", false, "; ERROR: UNKOWN OPCODE."},
    };
    for (const ReplacementCase& c : cases) {
        EXPECT_EQ(ReplacementText(c.statement, c.oldLine, c.last), c.expected) << c.oldLine;
    }
}

TEST(RenumberText, RewritesStatementLinesOnly) {
    const std::vector<std::string> lines = {
        "; Demo programme",
        "%TEXT(Demo)",
        "DEF H1 = Count",
        "END",
        "",
        "%P00",
        "N001 JMP (H1 = 0) N007   ; skip when zero",
        "n002 call n007",
        "  ; a comment line",
        "N003 JMP (M3 & IE3) END;to the end",
        "N007 RET",
        "END",
        "",
    };
    CPlcProgram program;
    const RenumberTextOutcome out = RenumberProgramText(program, lines);
    ASSERT_TRUE(out.compiled);
    ASSERT_TRUE(out.renumbered);
    EXPECT_EQ(out.lines, (std::vector<std::string>{
                             "; Demo programme",
                             "%TEXT(Demo)",
                             "DEF H1 = Count",
                             "END",
                             "",
                             "%P00",
                             "N010 JMP (H001 = 0) N040\t\t; skip when zero",
                             "N020 CALL N040",
                             "  ; a comment line",
                             "N030 JMP (M003 & IE03) END\t\t;to the end",
                             "N040 RET",
                             "END",
                             "",
                         }));
    ASSERT_EQ(out.edits.size(), 4u);
    EXPECT_EQ(out.edits[0].line, 6);
    EXPECT_EQ(out.edits[0].replacement, "N010 JMP (H001 = 0) N040\t\t; skip when zero");
    EXPECT_EQ(out.edits[3].line, 10);
    EXPECT_EQ(out.entries,
              (std::vector<std::string>{"PLC, Text coding...", "", "Textcoding - 0 Error (s), 0 Warning(s)."}));
    EXPECT_EQ(out.errorCount, 0);

    // The renumbered text compiles to the renumbered image again.
    CPlcProgram again;
    const CompileOutcome recompiled = CompileProgramText(again, out.lines);
    ASSERT_TRUE(recompiled.success);
    EXPECT_EQ(again.Record(10).target(), 40);
    EXPECT_EQ(again.Record(20).opcode(), 34);
    EXPECT_EQ(again.Record(20).target(), 40);
    EXPECT_EQ(again.Record(30).target(), 255);
    EXPECT_EQ(JoinLines(out.lines).substr(0, 18), "; Demo programme\r\n");
}

TEST(RenumberText, CompilationErrorChangesNothing) {
    const std::vector<std::string> lines = {"%P00", "N010 NOP", "N005 FOO", "END"};
    CPlcProgram program;
    const RenumberTextOutcome out = RenumberProgramText(program, lines);
    EXPECT_FALSE(out.compiled);
    EXPECT_FALSE(out.renumbered);
    EXPECT_EQ(out.lines, lines);
    EXPECT_TRUE(out.edits.empty());
    EXPECT_TRUE(out.entries.empty());
    ASSERT_FALSE(out.compile.errors.empty());
    EXPECT_EQ(out.compile.errors[0].line, 3);
}

TEST(RenumberText, EmptyTextIsNotCompiled) {
    CPlcProgram program;
    const RenumberTextOutcome out = RenumberProgramText(program, {""});
    EXPECT_FALSE(out.compiled);
    EXPECT_TRUE(out.compile.emptyText);
}

TEST(RenumberText, TextTooLongForTheLineFieldIsRefused) {
    std::vector<std::string> lines(kMaxRenumberLines + 1);
    lines[0] = "%P00";
    lines[1] = "N010 NOP";
    lines[2] = "END";
    CPlcProgram program;
    const RenumberTextOutcome out = RenumberProgramText(program, lines);
    EXPECT_TRUE(out.tooManyLines);
    EXPECT_FALSE(out.compiled);
    EXPECT_EQ(out.lines.size(), lines.size());
    EXPECT_TRUE(out.edits.empty());
}

// The last index a record can point back to still works.
TEST(RenumberText, StatementOnTheLastAddressableLine) {
    std::vector<std::string> lines(kMaxRenumberLines);
    lines[65533] = "%P00";
    lines[65534] = "N007 NOP ; far down";
    lines[65535] = "END";
    CPlcProgram program;
    const RenumberTextOutcome out = RenumberProgramText(program, lines);
    ASSERT_TRUE(out.renumbered);
    EXPECT_EQ(out.lines[65534], "N010 NOP\t\t; far down");
}

struct TextStepCase {
    int count;
    int step;
};

class RenumberTextStep : public ::testing::TestWithParam<TextStepCase> {};

TEST_P(RenumberTextStep, LabelsFollowTheStepAndJumpsFollowTheirTargets) {
    const TextStepCase c = GetParam();
    // Statements at the top of the label range; the first jumps to the last.
    std::vector<std::string> lines = {"%P00"};
    const int first = kLastLabel - c.count + 1;
    for (int k = 0; k < c.count; ++k) {
        char buf[48];
        if (k == 0) {
            std::snprintf(buf, sizeof buf, "N%03d JMP N%03d ; first", first, kLastLabel);
        } else if (k == 1) {
            std::snprintf(buf, sizeof buf, "N%03d CALL N%03d", first + k, kLastLabel);
        } else {
            std::snprintf(buf, sizeof buf, "N%03d NOP", first + k);
        }
        lines.emplace_back(buf);
    }
    lines.emplace_back("END");
    CPlcProgram program;
    const RenumberTextOutcome out = RenumberProgramText(program, lines);
    ASSERT_TRUE(out.renumbered);
    const int last = c.count * c.step;
    char expected[48];
    std::snprintf(expected, sizeof expected, "N%03d JMP N%03d\t\t; first", c.step, last);
    EXPECT_EQ(out.lines[1], expected);
    if (c.count > 1) {
        std::snprintf(expected, sizeof expected, "N%03d CALL N%03d", 2 * c.step, last);
        EXPECT_EQ(out.lines[2], expected);
    }
    std::snprintf(expected, sizeof expected, "N%03d ", last);
    EXPECT_TRUE(out.lines[static_cast<size_t>(c.count)].starts_with(expected)) << out.lines[static_cast<size_t>(c.count)];
    EXPECT_EQ(out.lines.back(), "END");
    EXPECT_EQ(out.edits.size(), static_cast<size_t>(c.count));
}

INSTANTIATE_TEST_SUITE_P(Counts, RenumberTextStep,
                         ::testing::Values(TextStepCase{1, 10}, TextStepCase{26, 5}, TextStepCase{51, 2},
                                           TextStepCase{254, 1}),
                         [](const auto& info) { return "N" + std::to_string(info.param.count); });

}  // namespace
}  // namespace plc
