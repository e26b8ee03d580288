// SPDX-License-Identifier: GPL-3.0-or-later
// Float constants as text: what the decoder writes must compile back to the
// same single-precision pattern, with "%.10f" where that is enough and the
// fewest further decimals where it is not.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>

#include "compiler/ParseCursor.h"
#include "compiler/Scanners.h"
#include "decoder/RecordPrinter.h"
#include "tests/TestUtil.h"

namespace plc::test {
namespace {

uint32_t Exchange(uint32_t bits) { return (bits << 16) | (bits >> 16); }

// The text read by the float scanner as a constant of a statement; false
// when it is refused or not read to its end.
bool ReadFloat(const std::string& text, uint32_t& bits) {
    ParseCursor cur(text);
    uint32_t swapped = 0;
    if (!ScanFloat(cur, swapped, -3.37e38, 3.37e38) || !cur.AtEnd()) return false;
    bits = Exchange(swapped);
    return true;
}

// The number of decimals after the point.
int Decimals(const std::string& text) {
    const size_t point = text.find('.');
    return point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

// The longest statement a float constant appears in.
constexpr std::string_view kLongestPrefix = "N254 SET F[C010] = ";

// Checks one pattern: the text reads back to it, uses ten decimals or the
// fewest that read back, and fits a source line.
void ExpectExactText(uint32_t bits) {
    const std::string text = FormatFloatConstant(Exchange(bits));
    uint32_t back = 0;
    ASSERT_TRUE(ReadFloat(text, back)) << std::hex << bits << ": " << text;
    ASSERT_EQ(back, bits) << std::hex << bits << ": " << text;
    const int decimals = Decimals(text);
    ASSERT_GE(decimals, 10) << text;
    if (decimals > 10) {
        char shorter[128];
        std::snprintf(shorter, sizeof shorter, "%.*f", decimals - 1,
                      static_cast<double>(std::bit_cast<float>(bits)));
        uint32_t shorterBits = 0;
        EXPECT_FALSE(ReadFloat(shorter, shorterBits) && shorterBits == bits) << "not the fewest: " << text;
    }
    EXPECT_LT(kLongestPrefix.size() + text.size(), 80u) << text;
}

struct FloatCase {
    const char* source;    // the constant as written
    const char* rendered;  // the constant as the decoder writes it
};

void PrintTo(const FloatCase& c, std::ostream* os) { *os << c.source; }

class FloatText : public ::testing::TestWithParam<FloatCase> {};

// Source to record, record to text, text back to the same record.
TEST_P(FloatText, CompilesRendersAndCompilesBack) {
    const FloatCase& c = GetParam();
    const LineResult first = CompileStatementLine(std::string("SET F1 = ") + c.source);
    ASSERT_EQ(first.code, 0) << c.source;
    const std::string text = Render(first.rec, 10);
    EXPECT_EQ(text, std::string("N010 SET F001 = ") + c.rendered);
    const LineResult again = CompileStatementLine(text.substr(5));
    ASSERT_EQ(again.code, 0) << text;
    EXPECT_EQ(Hex8(again.rec), Hex8(first.rec)) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Constants, FloatText,
    ::testing::Values(
        FloatCase{"0.1", "0.1000000015"},
        FloatCase{"-2.5", "-2.5000000000"},
        FloatCase{"1.5", "1.5000000000"},
        FloatCase{"0", "0.0000000000"},
        FloatCase{"-0", "-0.0000000000"},
        FloatCase{"16777217", "16777216.0000000000"},
        FloatCase{"123456.789", "123456.7890625000"},
        // Ten decimals would show 0.0000000000 and lose the value.
        FloatCase{"0.00000000001", "0.00000000001"},
        FloatCase{"-0.00000000001", "-0.00000000001"},
        FloatCase{"0.000012345678", "0.000012345678"},
        // The smallest denormal.
        FloatCase{"0.000000000000000000000000000000000000000000001",
                  "0.000000000000000000000000000000000000000000001"},
        // The single nearest to the bound 3.37e38 lies just beyond it: its
        // own digits would be refused, so the text is a point of its
        // rounding interval inside the bound.
        FloatCase{"336999999000000000000000000000000000000",
                  "336999999924598901998967747424288768000.0000000000"},
        FloatCase{"-336999999000000000000000000000000000000",
                  "-336999999924598901998967747424288768000.0000000000"}));

TEST(FloatTextPatterns, NamedValuesReadBack) {
    for (float f : {0.1f, -2.5f, 3.37e38f, -3.37e38f, 1e-11f, 1e-38f, 1.17549435e-38f, 0.5f, 1e10f,
                    -7.0e-20f, 2.0f / 3.0f, 1e30f}) {
        ExpectExactText(std::bit_cast<uint32_t>(f));
    }
}

TEST(FloatTextPatterns, DenormalsReadBack) {
    for (uint32_t bits = 1; bits < 0x1000; ++bits) ExpectExactText(bits);
    for (uint32_t bits = 0x007FF000; bits <= 0x00800010; ++bits) ExpectExactText(bits);
    for (uint32_t bits : {0x80000001u, 0x80400000u, 0x807FFFFFu, 0x00400000u, 0x00123456u})
        ExpectExactText(bits);
}

// Every finite single the compiler can produce, sampled across all exponents.
TEST(FloatTextPatterns, SampledPatternsReadBack) {
    const uint32_t largest = std::bit_cast<uint32_t>(3.37e38f);
    for (uint64_t pattern = 0; pattern <= 0xFFFFFFFFu; pattern += 104729) {
        const uint32_t bits = static_cast<uint32_t>(pattern);
        if ((bits & 0x7FFFFFFFu) > largest) continue;
        ExpectExactText(bits);
    }
}

// The top of the range, where the text of a value may lie beyond the bound.
TEST(FloatTextPatterns, TopOfRangeReadsBack) {
    const uint32_t largest = std::bit_cast<uint32_t>(3.37e38f);
    for (uint32_t bits = largest - 0x800; bits <= largest; ++bits) {
        ExpectExactText(bits);
        ExpectExactText(bits | 0x80000000u);
    }
}

// Beyond what the compiler accepts no text reads back; the ten-decimal text stays.
TEST(FloatTextPatterns, BeyondTheBoundKeepsTenDecimals) {
    const uint32_t largest = std::bit_cast<uint32_t>(3.37e38f);
    for (uint32_t bits : {largest + 1, 0x7F7FFFFFu, 0xFF7FFFFFu}) {
        char expected[128];
        std::snprintf(expected, sizeof expected, "%.10f", static_cast<double>(std::bit_cast<float>(bits)));
        EXPECT_EQ(FormatFloatConstant(Exchange(bits)), expected);
    }
}

// Every float opcode writes its constant the same way.
TEST(FloatTextPatterns, EveryFloatOpcodeKeepsSmallConstants) {
    const uint32_t bits = Exchange(std::bit_cast<uint32_t>(1e-11f));
    for (const OpcodeRow& row : AssignRows()) {
        for (const Variant& v : row.variants) {
            bool hasFloat = false;
            for (const Operand& op : v.args) hasFloat = hasFloat || op.dom == Dom::Float;
            if (!hasFloat) continue;
            PlcInstr rec;
            rec.setOpcode(row.opcode);
            rec.setMode(3);
            rec.setDword4(bits);
            const std::string text = Render(rec, 10);
            EXPECT_TRUE(text.ends_with(" 0.00000000001")) << text;
            const LineResult back = CompileStatementLine(text.substr(5));
            ASSERT_EQ(back.code, 0) << text;
            EXPECT_EQ(Hex8(back.rec), Hex8(rec)) << text;
        }
    }
}

}  // namespace
}  // namespace plc::test
