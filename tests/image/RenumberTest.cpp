// SPDX-License-Identifier: GPL-3.0-or-later
// Renumbering of the image: step sizes, targets of jumps and calls, END,
// and what travels with a record unchanged.
#include <gtest/gtest.h>

#include <vector>

#include "image/PlcProgram.h"

namespace plc {
namespace {

// A control-flow record (jump to `target`) or, with kind 2, an assignment.
PlcInstr Statement(uint8_t opcode, uint16_t target, uint8_t kind, uint16_t line) {
    PlcInstr rec;
    rec.setOpcode(opcode);
    rec.setTarget(target);
    rec.setUsed(1);
    rec.setKind(kind);
    rec.setLine(line);
    return rec;
}

// An image with a NOP at each of the labels, in source order.
CPlcProgram WithNops(const std::vector<int>& labels) {
    CPlcProgram program;
    program.Clear();
    uint16_t line = 1;
    for (int label : labels) program.Record(label) = Statement(37, 0, kKindControlFlow, line++);
    program.Record(kEntryRecord) = Statement(1, static_cast<uint16_t>(labels.empty() ? 255 : labels[0]),
                                             kKindControlFlow, 0);
    program.Record(kEndRecord) = Statement(2, 255, kKindControlFlow, 0);
    return program;
}

std::vector<int> UsedLabels(const CPlcProgram& program) {
    std::vector<int> labels;
    for (int i = 0; i < kRecordCount; ++i) {
        if (program.Record(i).used()) labels.push_back(i);
    }
    return labels;
}

TEST(Renumber, SpreadsLabelsAndFollowsTheJump) {
    CPlcProgram program = WithNops({1, 2, 7});
    program.Record(2) = Statement(1, 7, kKindControlFlow, 2);
    int32_t error = -1;
    ASSERT_EQ(program.Renumber(error), 1);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(UsedLabels(program), (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(program.Record(20).opcode(), 1);
    EXPECT_EQ(program.Record(20).target(), 30);
}

struct StepCase {
    int count;
    int step;
};

class RenumberStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(RenumberStep, KthStatementGetsKTimesTheStep) {
    const StepCase c = GetParam();
    // Crowd the statements at the top of the range so that every one moves.
    std::vector<int> labels;
    for (int k = 0; k < c.count; ++k) labels.push_back(kLastLabel - c.count + 1 + k);
    CPlcProgram program = WithNops(labels);
    int32_t error = -1;
    ASSERT_EQ(program.Renumber(error), 1);
    EXPECT_EQ(error, 0);
    std::vector<int> expected;
    for (int k = 1; k <= c.count; ++k) expected.push_back(k * c.step);
    EXPECT_EQ(UsedLabels(program), expected);
    // Lines travel with their records, so the order of the source is kept.
    for (int k = 1; k <= c.count; ++k) EXPECT_EQ(program.Record(k * c.step).line(), k);
}

INSTANTIATE_TEST_SUITE_P(Counts, RenumberStep,
                         ::testing::Values(StepCase{1, 10}, StepCase{25, 10}, StepCase{26, 5}, StepCase{50, 5},
                                           StepCase{51, 2}, StepCase{127, 2}, StepCase{128, 1},
                                           StepCase{254, 1}),
                         [](const auto& info) { return "N" + std::to_string(info.param.count); });

TEST(Renumber, TargetsOfEveryKindOfRecord) {
    CPlcProgram program = WithNops({3, 4, 5, 6, 8, 9});
    program.Record(3) = Statement(34, 9, kKindControlFlow, 1);   // CALL N009
    program.Record(4) = Statement(11, 255, kKindControlFlow, 2); // JMP (H = H) END
    program.Record(5) = Statement(35, 0, kKindControlFlow, 3);   // RET: target 0
    program.Record(6) = Statement(173, 8, kKindControlFlow, 4);  // status jump to N008
    // An assignment whose bytes 4 and 5 look like a label: not a target.
    program.Record(8) = Statement(92, 9, kKindConstant, 5);
    program.Record(8).b[6] = 0x12;
    program.Record(8).setNext(9);
    int32_t error = 0;
    ASSERT_EQ(program.Renumber(error), 1);
    EXPECT_EQ(program.Record(10).target(), 60);   // CALL follows N009
    EXPECT_EQ(program.Record(20).target(), 255);  // END kept
    EXPECT_EQ(program.Record(30).target(), 0);
    EXPECT_EQ(program.Record(40).target(), 50);
    EXPECT_EQ(program.Record(50).target(), 9);    // operand bytes untouched
    EXPECT_EQ(program.Record(50).b[6], 0x12);
    EXPECT_EQ(program.Record(50).next(), 9);      // links are copied as they were
    EXPECT_EQ(program.Record(50).kind(), kKindConstant);
    EXPECT_EQ(program.Record(50).line(), 5);
}

TEST(Renumber, EntryAndEndRecordsAreCleared) {
    CPlcProgram program = WithNops({10, 20, 30});
    int32_t error = 0;
    ASSERT_EQ(program.Renumber(error), 1);
    EXPECT_EQ(program.Record(kEntryRecord), PlcInstr{});
    EXPECT_EQ(program.Record(kEndRecord), PlcInstr{});
    // An evenly numbered programme keeps every statement where it was.
    EXPECT_EQ(UsedLabels(program), (std::vector<int>{10, 20, 30}));
}

TEST(Renumber, EmptyImageStaysEmpty) {
    CPlcProgram program;
    program.Clear();
    program.SetName(VarKind::M, 4, "Kept");
    int32_t error = -1;
    EXPECT_EQ(program.Renumber(error), 1);
    EXPECT_EQ(error, 0);
    for (int i = 0; i < kRecordCount; ++i) EXPECT_EQ(program.Record(i), PlcInstr{}) << i;
    EXPECT_EQ(program.Name(VarKind::M, 4), "Kept");
}

}  // namespace
}  // namespace plc
