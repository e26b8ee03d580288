// SPDX-License-Identifier: GPL-3.0-or-later
// A sweep over every opcode value with random operand bytes: the decoder
// always yields a line, its result agrees with the style of that line, and the
// line depends on nothing but bytes 0 to 7 of the record and its index.
#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>

#include "decoder/DecodeRecord.h"
#include "tests/TestUtil.h"

namespace plc::test {
namespace {

// True when `text` is one of the decoder's error lines: a comment starting
// "; ERROR", a statement with "ERROR: " in front, or "Nnnn (!) ...".
bool IsErrorLine(const std::string& text) {
    if (text.starts_with("; ERROR") || text.starts_with("ERROR:")) return true;
    return text.size() >= 8 && text[0] == 'N' && std::isdigit(static_cast<unsigned char>(text[1])) &&
           std::isdigit(static_cast<unsigned char>(text[2])) &&
           std::isdigit(static_cast<unsigned char>(text[3])) && text.substr(4, 4) == " (!)";
}

std::string LabelOf(int index) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "N%03d ", index);
    return buf;
}

// Operand bytes: often a small value, so that selectors hit their defined
// values as well as the undefined ones.
uint8_t OperandByte(std::mt19937& rng) {
    const uint32_t r = rng();
    return static_cast<uint8_t>((r & 1) != 0 ? (r >> 8) & 3 : (r >> 8) & 0xFF);
}

void Scramble(PlcInstr& rec, std::mt19937& rng) {
    for (auto& b : rec.b) b = static_cast<uint8_t>(rng());
}

class DecodeSweep : public ::testing::TestWithParam<int> {};

TEST_P(DecodeSweep, ResultAgreesWithTheLineAndReadsOnlyTheRecord) {
    const int opcode = GetParam();
    std::mt19937 rng(static_cast<uint32_t>(opcode) * 7919u + 1u);
    CPlcProgram first, second;
    first.Clear();
    second.Clear();
    for (int i = 0; i < kRecordCount; ++i) {
        Scramble(first.Record(i), rng);
        Scramble(second.Record(i), rng);
    }
    for (int trial = 0; trial < 300; ++trial) {
        const int index = std::uniform_int_distribution<int>(1, kLastLabel)(rng);
        PlcInstr rec;
        rec.setOpcode(static_cast<uint8_t>(opcode));
        for (size_t i = 1; i < 8; ++i) rec.b[i] = OperandByte(rng);
        // The same bytes 0 to 7; everything around them differs.
        PlcInstr other = rec;
        for (size_t i = 8; i < 12; ++i) {
            rec.b[i] = static_cast<uint8_t>(rng());
            other.b[i] = static_cast<uint8_t>(rng());
        }
        first.Record(index) = rec;
        second.Record(index) = other;
        Scramble(first.Record(index - 1), rng);
        Scramble(first.Record(index + 1), rng);

        std::string text = "previous content";
        std::string again;
        const int result = DecodeRecord(first, text, index);
        const int resultAgain = DecodeRecord(second, again, index);
        const std::string where = Hex8(rec) + " at " + std::to_string(index) + ": " + text;
        ASSERT_EQ(text, again) << where;
        ASSERT_EQ(result, resultAgain) << where;
        ASSERT_FALSE(text.empty()) << where;
        ASSERT_EQ(result != 0, !IsErrorLine(text)) << where;
        if (result != 0) {
            // A statement begins with its own label; only the reserved
            // comments do without one.
            EXPECT_TRUE(text.starts_with(LabelOf(index)) ||
                        text.starts_with("; PLC: Reserved Command - "))
                << where;
        } else if (text.starts_with("ERROR: ")) {
            EXPECT_TRUE(text.substr(7).starts_with(LabelOf(index))) << where;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllOpcodes, DecodeSweep, ::testing::Range(0, 256));

// Unknown opcodes and opcode 0 are error lines whatever the operand bytes.
TEST(DecodeSweepFixed, UndefinedOpcodesAreErrors) {
    std::mt19937 rng(99);
    for (int opcode = 174; opcode < 256; ++opcode) {
        PlcInstr rec;
        Scramble(rec, rng);
        rec.setOpcode(static_cast<uint8_t>(opcode));
        int result = -1;
        EXPECT_EQ(Render(rec, 40, &result), "; ERROR: UNKOWN OPCODE.") << opcode;
        EXPECT_EQ(result, 0);
    }
    PlcInstr zero;
    Scramble(zero, rng);
    zero.setOpcode(0);
    int result = -1;
    EXPECT_EQ(Render(zero, 40, &result), "N040 (!) ERROR: NO CODE FOUND");
    EXPECT_EQ(result, 0);
}

}  // namespace
}  // namespace plc::test
