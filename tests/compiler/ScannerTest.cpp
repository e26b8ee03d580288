// SPDX-License-Identifier: GPL-3.0-or-later
// The operand scanners: values, ranges, where the cursor ends up.
#include <gtest/gtest.h>

#include "compiler/ParseCursor.h"
#include "compiler/Scanners.h"
#include "image/PlcProgram.h"

namespace plc {
namespace {

enum class Kind { Byte, Word, Dword, Int, Float };

struct ScanCase {
    Kind kind;
    const char* text;
    double lo, hi;
    bool ok;
    int64_t value;    // as stored (floats: the half-swapped pattern)
    size_t consumed;  // cursor position afterwards
};

class Scanners : public ::testing::TestWithParam<ScanCase> {};

TEST_P(Scanners, ReadValueRangeAndCursor) {
    const ScanCase& c = GetParam();
    ParseCursor cur(c.text);
    bool ok = false;
    int64_t value = -1;
    switch (c.kind) {
        case Kind::Byte: { uint8_t v = 0; ok = ScanByte(cur, v, c.lo, c.hi); value = v; break; }
        case Kind::Word: { uint16_t v = 0; ok = ScanWord(cur, v, c.lo, c.hi); value = v; break; }
        case Kind::Dword: { uint32_t v = 0; ok = ScanDword(cur, v, c.lo, c.hi); value = v; break; }
        case Kind::Int: { int32_t v = 0; ok = ScanInt(cur, v, c.lo, c.hi); value = v; break; }
        case Kind::Float: { uint32_t v = 0; ok = ScanFloat(cur, v, c.lo, c.hi); value = v; break; }
    }
    EXPECT_EQ(ok, c.ok) << c.text;
    if (c.ok) {
        EXPECT_EQ(value, c.value) << c.text;
    }
    EXPECT_EQ(cur.Position(), c.consumed) << c.text;
}

constexpr double kIntMax = 2147483647.0;

INSTANTIATE_TEST_SUITE_P(
    Numbers, Scanners,
    ::testing::Values(
        ScanCase{Kind::Byte, "007", 0, 10, true, 7, 3},
        ScanCase{Kind::Byte, "11", 0, 10, false, 0, 2},      // out of range: cursor behind digits
        ScanCase{Kind::Byte, "", 0, 10, false, 0, 0},        // nothing: cursor unchanged
        ScanCase{Kind::Byte, "X1", 0, 10, false, 0, 0},
        ScanCase{Kind::Byte, "255)", 0, 255, true, 255, 3},
        ScanCase{Kind::Byte, "0000000000000000000012", 0, 255, true, 12, 22},
        ScanCase{Kind::Byte, "-1", 0, 255, false, 0, 0},      // no sign for unsigned numbers
        ScanCase{Kind::Word, "254N", 1, 254, true, 254, 3},
        ScanCase{Kind::Word, "0", 1, 254, false, 0, 1},
        ScanCase{Kind::Word, "65535", 0, 65535, true, 65535, 5},
        ScanCase{Kind::Dword, "4294967295", 0, 4294967295.0, true, 4294967295LL, 10},
        ScanCase{Kind::Dword, "4294967296", 0, 4294967295.0, false, 0, 10},
        ScanCase{Kind::Dword, "99999999999999999999999", 0, 4294967295.0, false, 0, 23},
        ScanCase{Kind::Int, "+5", -kIntMax, kIntMax, true, 5, 2},
        ScanCase{Kind::Int, "-2147483647", -kIntMax, kIntMax, true, -2147483647LL, 11},
        ScanCase{Kind::Int, "-2147483648", -kIntMax, kIntMax, false, 0, 11},
        ScanCase{Kind::Int, "2147483648", -kIntMax, kIntMax, false, 0, 10},
        ScanCase{Kind::Int, "-", -kIntMax, kIntMax, false, 0, 1},  // the sign stays consumed
        ScanCase{Kind::Int, "-0", 0, 0, true, 0, 2},
        // Floats: the single-precision pattern with its halves exchanged.
        ScanCase{Kind::Float, "-1.5", -3.37e38, 3.37e38, true, 0x0000BFC0, 4},
        ScanCase{Kind::Float, "1", -3.37e38, 3.37e38, true, 0x00003F80, 1},
        ScanCase{Kind::Float, "-2.5", -3.37e38, 3.37e38, true, 0x0000C020, 4},
        ScanCase{Kind::Float, "0.1", -3.37e38, 3.37e38, true, 0xCCCD3DCC, 3},
        ScanCase{Kind::Float, ".5", -3.37e38, 3.37e38, true, 0x00003F00, 2},
        ScanCase{Kind::Float, "5.", -3.37e38, 3.37e38, true, 0x000040A0, 2},
        ScanCase{Kind::Float, "0.0", 0, 0, true, 0, 3},
        ScanCase{Kind::Float, "0.01", 0, 0, false, 0, 4},
        ScanCase{Kind::Float, ".", -3.37e38, 3.37e38, false, 0, 1},
        ScanCase{Kind::Float, "1.2.3", -3.37e38, 3.37e38, false, 0, 4},
        ScanCase{Kind::Float, "4e5", -3.37e38, 3.37e38, true, 0x00004080, 1},
        ScanCase{Kind::Float, "336000000000000000000000000000000000000", -3.37e38, 3.37e38, true,
                 0xC73F7F7C, 39},
        // Digits accumulate in double precision: written out in full, 3.37e38
        // lands a hair above the bound and is refused.
        ScanCase{Kind::Float, "337000000000000000000000000000000000000", -3.37e38, 3.37e38, false,
                 0, 39},
        ScanCase{Kind::Float, "338000000000000000000000000000000000000", -3.37e38, 3.37e38, false,
                 0, 39}));

struct NameCase {
    const char* text;
    bool ok;
    const char* name;
    size_t consumed;
};

class NameScanner : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameScanner, ReadsTheCasePreservingCopy) {
    const NameCase& c = GetParam();
    ParseCursor cur(c.text);
    std::string name;
    EXPECT_EQ(ScanName(cur, name), c.ok) << c.text;
    if (c.ok) {
        EXPECT_EQ(name, c.name);
    }
    EXPECT_EQ(cur.Position(), c.consumed) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Names, NameScanner,
    ::testing::Values(NameCase{"Abc_9)", true, "Abc_9", 5}, NameCase{"a.b", false, "", 1},
                      NameCase{")", false, "", 0}, NameCase{"", false, "", 0},
                      NameCase{"\xC4rger", false, "", 0},  // bytes above 0x7F are no letters
                      NameCase{"abcdefghijklmnopqrstuvwxyzABCDEF", true,
                               "abcdefghijklmnopqrstuvwxyzABCDEF", 32},
                      NameCase{"abcdefghijklmnopqrstuvwxyzABCDEFG", true,
                               "abcdefghijklmnopqrstuvwxyzABCDEF", 32}));

}  // namespace
}  // namespace plc
